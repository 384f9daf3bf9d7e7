#!/usr/bin/env bash
# Measures the tool on this machine and prints Markdown tables:
#  (s) start-up cost: the CPU time of the tool doing a class run with a
#      stand-in java that ends at once, against a minimal static C program
#      that only starts the same stand-in and waits; and of `nerbo
#      missing.class` against a static C program that prints the same bytes;
#      in interleaved rounds;
#  (a) wall time of `nerbo Hello.class` against the same java command run
#      directly, in interleaved pairs;
#  (b) class-name discovery: throughput over class files of 1 KB, 1 MB and
#      100 MB with the name entry at the end and absent, and the peak memory of
#      the tool on each;
#  (c) package detection over sources of the same sizes.
# Every tool run gets a private registry file and no controlling terminal
# (setsid), so the final key wait returns at once.
#   bash bench/run-bench.sh [PAIRS] [ROUNDS]   (30 pairs, 20 rounds by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${1:-30}
rounds=${2:-20}
runs_per_round=50

cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j2 >/dev/null
nerbo=$root/build/release/src/nerbo
scanner_bench=$root/build/release/bench/scanner_bench
java=$(readlink -f "$(command -v java)")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A registry file whose settings key names `java` and `javac` as the kit's
# tools; the values are stored without a terminating zero, as the installer
# writes them.
hex() { printf '%s' "$1" | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'; }
write_registry_file() {  # file java javac
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n"Run"=hex(1):%s\n"Compile"=hex(1):%s\n' \
    "$(hex "$2")" "$(hex "$3")" >"$1"
}
mkdir -p "$work/jdk/bin" "$work/stand-in/bin"
ln -s "$java" "$work/jdk/bin/java"
cc -O2 -static -o "$work/stand-in/bin/java" "$root/bench/stand_in_java.c"
ln -s java "$work/stand-in/bin/javac"
cc -O2 -static -o "$work/spawn_floor" "$root/bench/spawn_floor.c"
cc -O2 -o "$work/cpu_of_runs" "$root/bench/cpu_of_runs.c"
write_registry_file "$work/jdk.reg" "$work/jdk/bin/java" "$work/jdk/bin/javac"
write_registry_file "$work/stand-in.reg" "$work/stand-in/bin/java" "$work/stand-in/bin/javac"

cp -r "$root/examples/hello/src" "$work/src"
cd "$work/src"
javac org/nerbo/demo/Hello.java org/nerbo/text/Banner.java
class_file=org/nerbo/demo/Hello.class
# The command the tool gives java, from the package root.
class_path=".:\$CLASSPATH:$work/jdk/classes:$work/jdk/lib/classes.zip"

now() { date +%s%N; }
tool_run() { NERBO_REGISTRY=$1 setsid -w "$nerbo" "$2" </dev/null >/dev/null 2>&1 || true; }
direct_run() { setsid -w "$1" -classpath "$class_path" org.nerbo.demo.Hello </dev/null >/dev/null 2>&1 || true; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.2f ms", ns / 1e6 }'; }

# (a) Interleaved pairs, after a few warm-up runs, so that drift of the
# machine falls on both sides alike.
for _ in 1 2 3; do tool_run "$work/jdk.reg" "$class_file"; direct_run "$work/jdk/bin/java"; done
: >"$work/tool" >"$work/direct" >"$work/ratio"
for _ in $(seq "$pairs"); do
  t0=$(now); tool_run "$work/jdk.reg" "$class_file"; t1=$(now)
  direct_run "$work/jdk/bin/java"; t2=$(now)
  echo $((t1 - t0)) >>"$work/tool"
  echo $((t2 - t1)) >>"$work/direct"
  awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) 'BEGIN { print a / b }' >>"$work/ratio"
done
tool_median=$(median <"$work/tool")
direct_median=$(median <"$work/direct")
ratio_median=$(median <"$work/ratio")

# (s) Start-up cost. The floor of the missing file prints the very bytes the
# tool prints, built in; both outputs are compared before anything is timed.
NERBO_REGISTRY=$work/stand-in.reg setsid -w "$nerbo" missing.class </dev/null >"$work/missing.out" 2>"$work/missing.err" || true
{ printf 'static const char kText[] = "'; od -An -tx1 -v "$work/missing.out" | tr -s ' \n' ' ' | sed 's/ *$//; s/ /\\x/g'; printf '";\n'; } >"$work/floor_text.h"
cc -O2 -static -I"$work" -o "$work/print_floor" "$root/bench/print_floor.c"
setsid -w "$work/print_floor" </dev/null >"$work/floor.out" 2>"$work/floor.err" || true
cmp -s "$work/missing.out" "$work/floor.out" && cmp -s "$work/missing.err" "$work/floor.err" ||
  { echo "the floor does not print what nerbo missing.class prints" >&2; exit 1; }

# CPU time (user + system, the waited-for stand-in included) per run, in
# microseconds, of $runs_per_round runs of a command in a new session.
cpu_per_run() { echo $(($(NERBO_REGISTRY=$work/stand-in.reg "$work/cpu_of_runs" "$runs_per_round" "$@") / runs_per_round)); }
: >"$work/startup"
for _ in $(seq "$rounds"); do
  echo "$(cpu_per_run "$nerbo" "$class_file") $(cpu_per_run "$work/spawn_floor" "$work/stand-in/bin/java" "$class_file")" \
    "$(cpu_per_run "$nerbo" missing.class) $(cpu_per_run "$work/print_floor")" >>"$work/startup"
done
# Median and spread of column $1 (microseconds), or of the ratio of column $1
# to column $2 round by round.
column_stats() { awk -v c="$1" '{ print $c }' "$work/startup" | sort -n | awk '{ v[NR] = $1 } END { printf "%.3f ms | %.3f-%.3f ms", ((NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1000, v[1] / 1000, v[NR] / 1000 }'; }
ratio_stats() { awk -v a="$1" -v b="$2" '{ print $a / $b }' "$work/startup" | sort -g | awk '{ v[NR] = $1 } END { printf "%.2f | %.2f-%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[1], v[NR] }'; }

# (b) and (c): test files, class files whose constant pool is text entries
# of random bytes, or code lines (source), with the looked-for entry or
# declaration as their last bytes, or without it (the class's own name is
# then a random text, no class name). printf's own escapes: a shell string
# cannot hold the zero bytes.
two_bytes() { printf '\\x%02x\\x%02x' $(($1 >> 8)) $(($1 & 255)); }
entry='\001\000\014pkg/sub/Name\001\000\004Code'
make_class() {  # file bytes with_entry
  local texts=0 left=$2 length
  for ((; left > 0; left -= length + 3, texts++)); do length=$((left < 65535 ? left : 65535)); done
  local own=$((texts + 1)) name=1
  [ "$3" = yes ] && own=$((texts + 3)) name=$((texts + 1))
  {
    printf "\xCA\xFE\xBA\xBE\0\0\0\x37$(two_bytes $((own + 1)))"
    for ((left = $2; left > 0; left -= length + 3)); do
      length=$((left < 65535 ? left : 65535))
      printf "\001$(two_bytes "$length")"
      head -c "$length" /dev/urandom
    done
    [ "$3" = yes ] && printf "$entry"
    printf "\a$(two_bytes $name)\0\x21$(two_bytes $own)\0\0\0\0\0\0\0\0\0\0"
  } >"$1"
}
code_line='    public static void print(String prefix) { /* plain */ out.println(prefix + p.q); } // note'
make_source() {  # file bytes with_declaration: whole lines, so that no comment stays open
  awk -v line="$code_line" -v n=$(($2 / (${#code_line} + 1))) 'BEGIN { for (i = 0; i < n; i++) print line }' >"$1"
  [ "$3" = yes ] && printf 'package a.b.c;\n' >>"$1"
  return 0
}
peak_rss() {  # registry file: the tool's peak resident set in KiB
  NERBO_REGISTRY=$1 /usr/bin/time -f %M -o "$work/rss" setsid -w "$nerbo" "$2" </dev/null >/dev/null 2>&1 || true
  tail -n 1 "$work/rss"
}

mkdir -p "$work/scan/pkg/sub"
scan_rows=""
for size in 1000 1000000 100000000; do
  for where in end absent; do
    with=yes; [ "$where" = absent ] && with=no
    class=$work/scan/pkg/sub/Name.class
    make_class "$class" "$size" "$with"
    read -r class_speed _ class_depth < <("$scanner_bench" class "$class" Name)
    class_rss=$(peak_rss "$work/stand-in.reg" "$class")
    source=$work/scan/pkg/sub/Name.java
    make_source "$source" "$size" "$with"
    read -r source_speed _ source_depth < <("$scanner_bench" source "$source")
    source_rss=$(peak_rss "$work/stand-in.reg" "$source")
    scan_rows+="| $size | $where | $class_speed MB/s (depth $class_depth) | $class_rss KiB | $source_speed MB/s (depth $source_depth) | $source_rss KiB |"$'\n'
    rm -f "$class" "$source"
  done
done

cat <<EOF
Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr); $("$java" -version 2>&1 | head -n1)

| (s) start-up, CPU per run (user+sys), $rounds interleaved rounds of $runs_per_round runs | median | spread (min-max) |
|---|---|---|
| \`nerbo org/nerbo/demo/Hello.class\`, java a static program that ends at once | $(column_stats 1) |
| floor: a static C program that posix_spawns the same java and waits | $(column_stats 2) |
| tool / floor (round by round) | $(ratio_stats 1 2) |
| \`nerbo missing.class\` | $(column_stats 3) |
| floor: a static C program that prints the same bytes | $(column_stats 4) |
| tool / floor (round by round) | $(ratio_stats 3 4) |

| (a) run of Hello.class, $pairs interleaved pairs | median |
|---|---|
| \`nerbo org/nerbo/demo/Hello.class\` | $(ms "$tool_median") |
| \`java -classpath ... org.nerbo.demo.Hello\` directly | $(ms "$direct_median") |
| tool / direct (median of the pair ratios) | $(awk -v r="$ratio_median" 'BEGIN { printf "%.4f (%+.2f %%)", r, (r - 1) * 100 }') |

| (b, c) file bytes | entry / declaration | class-name discovery | tool peak RSS (.class) | package detection | tool peak RSS (.java) |
|---|---|---|---|---|---|
${scan_rows%$'\n'}
EOF
