#!/usr/bin/env bash
# Measures the Linux registry file at sizes users may have, and prints a
# Markdown table:
#  - a class run (java = /bin/true) over a registry file with 1 MB of other
#    keys against the same run over a file that holds only the settings key:
#    wall time per run (RUNS runs each, in turn) and CPU time per run (the
#    waited-for children's user and system time over RUNS runs each);
#  - an install and an uninstall over files of 1 MB and 100 MB of other keys
#    (written out of order, so that the parser must sort them);
#  - how many times an install writes the registry file (strace, if present);
#  - the instructions of one class run over each of the two files (callgrind,
#    if present: the same count on every run, however busy the machine).
#   bash bench/registry_file_bench.sh [RUNS]      (200 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-200}

cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j2 >/dev/null
nerbo=$root/build/release/src/nerbo

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/kit" "$work/run" "$work/data" "$work/config"
cp "$nerbo" "$work/kit/nerbo"
ln -s /bin/true "$work/kit/java"
ln -s /bin/true "$work/kit/javac"
cp "$root/tests/fuzz/corpus/class_name/Hello.class" "$work/run/"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

hex() { printf '%s' "$1" | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'; }
settings() {
  printf '\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n"Run"=hex(1):%s\n"Compile"=hex(1):%s\n' \
    "$(hex "$work/kit/java")" "$(hex "$work/kit/javac")"
}
# A registry file of about BYTES bytes: file types and their open commands,
# in an order far from the registry's, then the settings key.
write_registry_file() {  # file bytes
  awk -v bytes="$2" 'BEGIN {
    print "REGEDIT4"; n = int(bytes / 190); size = 9
    for (k = 0; size < bytes; k++) {
      i = (k * 7919) % n
      s = sprintf("\n[HKEY_CLASSES_ROOT\\.x%d]\n@=\"Other.%d\"\n\n[HKEY_CLASSES_ROOT\\Other.%d\\Shell\\Open\\command]\n@=\"viewer.exe \\\"%%1\\\" /k%d\"\n", i, i, i, i)
      printf "%s", s; size += length(s)
    }
  }' >"$1"
  settings >>"$1"
}
write_registry_file "$work/1mb.reg" 1000000
{ echo REGEDIT4; settings; } >"$work/small.reg"

now() { date +%s%N; }
class_run() { NERBO_REGISTRY=$1 setsid -w "$work/kit/nerbo" Hello.class </dev/null >/dev/null 2>&1 || true; }
children_cpu() { awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }'; }
repeat_runs() { for _ in $(seq "$runs"); do class_run "$1"; done; }
per_run_ms() { awk -v t="$1" -v n="$runs" 'BEGIN { printf "%.3f", t / n * 1000 }'; }

cd "$work/run"
for _ in 1 2 3; do class_run "$work/small.reg"; class_run "$work/1mb.reg"; done
small_cpu=$( (repeat_runs "$work/small.reg"; times) | children_cpu)
big_cpu=$( (repeat_runs "$work/1mb.reg"; times) | children_cpu)
# Wall time in turn, so that drift of the machine falls on both alike.
small_ns=0 big_ns=0
for _ in $(seq "$runs"); do
  t0=$(now); class_run "$work/small.reg"; t1=$(now); class_run "$work/1mb.reg"; t2=$(now)
  small_ns=$((small_ns + t1 - t0)) big_ns=$((big_ns + t2 - t1))
done
small_wall=$(awk -v t=$small_ns 'BEGIN { print t / 1e9 }')
big_wall=$(awk -v t=$big_ns 'BEGIN { print t / 1e9 }')

# Seconds of one install, then one uninstall, over a fresh copy of `file`.
install_times() {  # file
  cp "$1" "$work/registry.reg"
  local t0 t1 t2
  cd "$work/kit"
  t0=$(now); NERBO_REGISTRY=$work/registry.reg setsid -w ./nerbo </dev/null >/dev/null 2>&1 || true
  t1=$(now); NERBO_REGISTRY=$work/registry.reg setsid -w ./nerbo /u </dev/null >/dev/null 2>&1 || true
  t2=$(now)
  cd "$work/run"
  awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) 'BEGIN { printf "%.3f s | %.3f s", a / 1e9, b / 1e9 }'
}
install_1mb=$(install_times "$work/1mb.reg")
write_registry_file "$work/100mb.reg" 100000000
install_100mb=$(install_times "$work/100mb.reg")
rm -f "$work/100mb.reg"

writes="(strace not found)"
if command -v strace >/dev/null; then
  cp "$work/1mb.reg" "$work/registry.reg"
  (cd "$work/kit" && NERBO_REGISTRY=$work/registry.reg strace -f -e trace=rename,renameat,renameat2 \
    -o "$work/trace" setsid -w ./nerbo </dev/null >/dev/null 2>&1) || true
  writes=$(grep -c "registry\.reg\"" "$work/trace" || true)
fi

instructions() { echo "(valgrind not found)"; }
if command -v valgrind >/dev/null; then
  instructions() {  # file
    NERBO_REGISTRY=$1 setsid -w valgrind --tool=callgrind --callgrind-out-file=/dev/null \
      "$work/kit/nerbo" Hello.class </dev/null 2>&1 >/dev/null | awk '/Collected/ { print $NF }'
  }
fi

cat <<EOF
| registry file | per class run, wall | per class run, CPU | instructions |
|---|---|---|---|
| settings key only | $(per_run_ms "$small_wall") ms | $(per_run_ms "$small_cpu") ms | $(instructions "$work/small.reg") |
| 1 MB of other keys | $(per_run_ms "$big_wall") ms | $(per_run_ms "$big_cpu") ms | $(instructions "$work/1mb.reg") |

| registry file (out of order) | install | uninstall (file in order now) |
|---|---|---|
| 1 MB of other keys | $install_1mb |
| 100 MB of other keys | $install_100mb |

Registry file writes per install: $writes
EOF
