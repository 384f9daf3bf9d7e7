#!/usr/bin/env bash
# Runs the tool on real files, with a kit whose java and javac only record
# what they are started with (bench/recording_kit.c):
#  - every class file of a JDK's modules (jmod extract), of a runtime image
#    (jimage extract) and of the jars in a folder, each lying where javac -d
#    puts it below its module's or jar's root: java must be started in that
#    root with the class's name (a module's descriptor ends with 25);
#  - every source of a src.zip, below its module's folder: javac's class path
#    must climb from the source's folder to that folder (0 levels for
#    module-info.java).
# Prints how many files, how long and how many differ; the differing files
# are listed in differences.txt in the work folder, kept with KEEP=1.
#   bash bench/real_files.sh [NERBO]   (the release build's program by default)
# Where the files come from (a missing one is skipped): JMODS
# (/usr/lib/jvm/java-17-openjdk-amd64/jmods), IMAGE
# (/usr/lib/jvm/temurin-25-jdk-amd64/lib/modules), JARS (/usr/share/java),
# SRC_ZIP (the lib/src.zip beside JMODS; Debian's openjdk-17-source has it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jmods=${JMODS:-/usr/lib/jvm/java-17-openjdk-amd64/jmods}
image=${IMAGE:-/usr/lib/jvm/temurin-25-jdk-amd64/lib/modules}
jars=${JARS:-/usr/share/java}
src_zip=${SRC_ZIP:-$jmods/../lib/src.zip}
if [ $# -gt 0 ]; then
  nerbo=$(realpath "$1")
else
  cmake --preset release -S "$root" >/dev/null && cmake --build --preset release -j2 >/dev/null
  nerbo=$root/build/release/src/nerbo
fi

work=$(mktemp -d)
[ "${KEEP:-}" = 1 ] || trap 'rm -rf "$work"' EXIT
export NERBO_REGISTRY=$work/registry.reg XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
unset CLASSPATH
mkdir -p "$work/kit/bin" "$work/classes" "$work/sources"
cc -O2 -o "$work/kit/bin/java" "$root/bench/recording_kit.c"
ln -s java "$work/kit/bin/javac"
(cd "$work/kit/bin" && setsid -w "$nerbo" </dev/null >/dev/null 2>&1) || [ $? -eq 15 ] || { echo "install failed"; exit 1; }

echo "extracting"
if [ -d "$jmods" ]; then
  for module in "$jmods"/*.jmod; do jmod extract --dir "$work/classes/jdk-modules/$(basename "$module" .jmod)" "$module"; done
fi
if [ -f "$image" ]; then
  "$(dirname "$image")/../bin/jimage" extract --dir "$work/classes/jdk-image" "$image"
fi
for jar in "$jars"/*.jar; do
  [ -L "$jar" ] && continue  # a version's link to a jar there
  mkdir -p "$work/classes/jars/$(basename "$jar" .jar)"
  unzip -qo "$jar" '*.class' -d "$work/classes/jars/$(basename "$jar" .jar)" 2>/dev/null || true
done
[ -f "$src_zip" ] && unzip -qo "$src_zip" '*.java' -d "$work/sources"

# Runs the tool on every file named on standard input, two at a time, with no
# controlling terminal (the final key wait returns at once). Each run adds to
# its worker's log what the kit recorded, if it was started (a line that
# begins with its folder), then "#status<TAB>file".
run_all() {  # log prefix
  xargs -0 -P2 -n 200 setsid -w bash -c 'log=$0.$$ nerbo=$1; shift; for f; do
    NERBO_RECORD=$log "$nerbo" "$f" </dev/null >/dev/null 2>&1; printf "#%s\t%s\n" $? "$f" >>"$log"; done' \
    "$1" "$nerbo" 2>/dev/null || true
  # One line a run: the file, the status, then the kit's folder and arguments.
  { cat "$1".* 2>/dev/null || true; } | awk -F'\t' '/^#/ { print $2 "\t" substr($1, 2) "\t" kit; kit = ""; next } { kit = $0 }'
}

started=$SECONDS
find "$work/classes" -name '*.class' -print0 | run_all "$work/class-log" >"$work/class-runs.txt"
class_seconds=$((SECONDS - started))
started=$SECONDS
find "$work/sources" -name '*.java' -print0 | run_all "$work/source-log" >"$work/compiles.txt"
source_seconds=$((SECONDS - started))

# A class file's root: its module's or jar's folder, or the folder of the
# version it is for in a multi-release jar.
awk -F'\t' -v classes="$work/classes/" '
  {
    path = substr($1, length(classes) + 1)
    n = split(path, part, "/")
    first = part[1] == "jdk-modules" ? 4 : 3
    if (part[first] == "META-INF" && part[first + 1] == "versions") first += 3
    root = classes; for (i = 1; i < first; i++) root = root part[i] (i < first - 1 ? "/" : "")
    name = part[first]; for (i = first + 1; i <= n; i++) name = name "." part[i]
    sub(/\.class$/, "", name)
    ok = name == "module-info" ? $2 == 25 : $2 == 14 && $3 == root && $6 == name
    if (!ok) print "class\t" $0
  }' "$work/class-runs.txt" >"$work/differences.txt"
awk -F'\t' -v sources="$work/sources/" '
  {
    n = split(substr($1, length(sources) + 1), part, "/")
    levels = part[n] == "module-info.java" ? 0 : n - 2
    entry = $5; sub(/:.*/, "", entry)
    climbs = gsub(/\.\.\//, "", entry)
    if ($2 != 11 || climbs != levels || (levels == 0 && entry != ".")) print "source\t" $0
  }' "$work/compiles.txt" >>"$work/differences.txt"

printf '| files | how many | seconds | differ |\n|---|---|---|---|\n'
printf '| class files | %d | %d | %d |\n' "$(wc -l <"$work/class-runs.txt")" "$class_seconds" \
  "$(grep -c '^class' "$work/differences.txt" || true)"
printf '| sources | %d | %d | %d |\n' "$(wc -l <"$work/compiles.txt")" "$source_seconds" \
  "$(grep -c '^source' "$work/differences.txt" || true)"
head -n 20 "$work/differences.txt"
