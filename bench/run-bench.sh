#!/usr/bin/env bash
# Measures the tool on this machine and prints a Markdown table:
#  (a) wall time of `nerbo Hello.class` against the same java command run
#      directly, in interleaved pairs, and the tool's own CPU time, taken with
#      a stand-in java that is /bin/true;
#  (b) class-name discovery: throughput over class files of 1 KB, 1 MB and
#      100 MB with the name entry at the end and absent, and the peak memory of
#      the tool on each;
#  (c) package detection over sources of the same sizes.
# Every tool run gets a private registry file and no controlling terminal
# (setsid), so the final key wait returns at once.
#   bash bench/run-bench.sh [PAIRS]      (30 pairs by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${1:-30}
cpu_runs=200

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
write_hive() {  # file java javac
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n"Run"=hex(1):%s\n"Compile"=hex(1):%s\n' \
    "$(hex "$2")" "$(hex "$3")" >"$1"
}
mkdir -p "$work/jdk/bin" "$work/stand-in/bin"
ln -s "$java" "$work/jdk/bin/java"
ln -s /bin/true "$work/stand-in/bin/java"
ln -s /bin/true "$work/stand-in/bin/javac"
write_hive "$work/jdk.reg" "$work/jdk/bin/java" "$work/jdk/bin/javac"
write_hive "$work/stand-in.reg" "$work/stand-in/bin/java" "$work/stand-in/bin/javac"

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

# The tool's own cost: with /bin/true as java, the CPU time of the runs less
# that of running the stand-in directly, read from the shell's `times` (user
# and system time of the waited-for children, grandchildren included).
# `times` runs in the same subshell as the loop; its second line is the
# children's user and system time.
children_cpu() { awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }'; }
repeat_tool() { for _ in $(seq "$cpu_runs"); do tool_run "$work/stand-in.reg" "$class_file"; done; }
repeat_direct() { for _ in $(seq "$cpu_runs"); do direct_run "$work/stand-in/bin/java"; done; }
tool_cpu=$( (repeat_tool; times) | children_cpu)
direct_cpu=$( (repeat_direct; times) | children_cpu)
t0=$(now); repeat_tool; t1=$(now); repeat_direct; t2=$(now)
own_cpu_ms=$(awk -v a="$tool_cpu" -v b="$direct_cpu" -v n="$cpu_runs" 'BEGIN { printf "%.3f", (a - b) / n * 1000 }')
own_wall_ms=$(awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) -v n="$cpu_runs" 'BEGIN { printf "%.3f", (a - b) / n / 1e6 }')

# (b) and (c): test files, random bytes (class) or code lines (source), with
# the looked-for entry or declaration as their last bytes, or without it.
# printf's own escapes: a shell string cannot hold the zero bytes.
entry='\001\000\014pkg/sub/Name\001\000\004Code'
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

| (a) run of Hello.class, $pairs interleaved pairs | median |
|---|---|
| \`nerbo org/nerbo/demo/Hello.class\` | $(ms "$tool_median") |
| \`java -classpath ... org.nerbo.demo.Hello\` directly | $(ms "$direct_median") |
| tool / direct (median of the pair ratios) | $(awk -v r="$ratio_median" 'BEGIN { printf "%.4f (%+.2f %%)", r, (r - 1) * 100 }') |
| tool's own CPU (user+sys, java = /bin/true, $cpu_runs runs) | $own_cpu_ms ms |
| tool's own wall time (java = /bin/true, $cpu_runs runs) | $own_wall_ms ms |

| (b, c) file bytes | entry / declaration | class-name discovery | tool peak RSS (.class) | package detection | tool peak RSS (.java) |
|---|---|---|---|---|---|
${scan_rows%$'\n'}
EOF
