#!/usr/bin/env bash
# Measures what reading a jar's manifest costs against the jar's size: three
# jars made by the JDK's jar tool, with the manifest where the tool puts it
# (second entry): a small one, one of 100 MB in 100 entries of random data,
# and one of 100 MB in 20,000 entries. Prints Markdown tables:
#  - the manifest read alone (bench/scanner_bench jar), microseconds a read,
#    with the file in the page cache, and the program's peak memory;
#  - the whole tool, `nerbo X.jar` with a stand-in java that ends at once:
#    CPU time a run (user+sys, bench/cpu_of_runs), in interleaved rounds.
#   bash bench/jar_bench.sh [ROUNDS]   (20 rounds of 50 runs by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-20}
runs_per_round=50

cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j2 >/dev/null
nerbo=$root/build/release/src/nerbo
scanner_bench=$root/build/release/bench/scanner_bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p kit/bin app/demo big many
cc -O2 -static -o kit/bin/java "$root/bench/stand_in_java.c"
cc -O2 -o cpu_of_runs "$root/bench/cpu_of_runs.c"
hex() { printf '%s' "$1" | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'; }
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n"Run"=hex(1):%s\n' "$(hex "$work/kit/bin/java")" >bench.reg

printf 'package demo;\npublic class Main { public static void main(String[] a) {} }\n' >app/demo/Main.java
javac -d app app/demo/Main.java
cp -r app/demo big/ && cp -r app/demo many/
for i in $(seq 100); do head -c 1000000 /dev/urandom >"big/data$i.bin"; done
mkdir many/data && for i in $(seq 20000); do head -c 5000 /dev/urandom >"many/data/$i.bin"; done
jar cfe Small.jar demo.Main -C app .
jar cfe0 Big.jar demo.Main -C big .
jar cfe Many.jar demo.Main -C many .
jars=(Small Big Many)

echo "| jar | bytes | entries | manifest read | peak RSS of the read |"
echo "|---|---|---|---|---|"
for jar in "${jars[@]}"; do
  read -r micros rss manifest_bytes < <("$scanner_bench" jar "$jar.jar")
  [ "$manifest_bytes" -gt 0 ] || { echo "no manifest read from $jar.jar" >&2; exit 1; }
  entries=$(unzip -l "$jar.jar" | tail -1 | awk '{ print $2 }')
  echo "| $jar.jar | $(stat -c %s "$jar.jar") | $entries | $micros µs | $rss KiB |"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for jar in "${jars[@]}"; do : >"$jar.cpu"; done
for _ in $(seq "$rounds"); do
  for jar in "${jars[@]}"; do
    total=$(NERBO_REGISTRY=$work/bench.reg ./cpu_of_runs "$runs_per_round" "$nerbo" "$jar.jar")
    echo $((total / runs_per_round)) >>"$jar.cpu"
  done
done
echo
echo "| \`nerbo X.jar\`, stand-in java, CPU a run, $rounds interleaved rounds of $runs_per_round runs | median | spread (min-max) |"
echo "|---|---|---|"
for jar in "${jars[@]}"; do
  sorted=$(sort -n "$jar.cpu")
  awk -v jar="$jar" -v median="$(median <"$jar.cpu")" -v low="$(head -1 <<<"$sorted")" -v high="$(tail -1 <<<"$sorted")" \
    'BEGIN { printf "| %s.jar | %.3f ms | %.3f-%.3f ms |\n", jar, median / 1000, low / 1000, high / 1000 }'
done
