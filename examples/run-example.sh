#!/usr/bin/env bash
# Builds nerbo, installs it into a kit made of links to this machine's JDK
# (with a private registry file and desktop folders, so nothing of yours
# is touched), then
# compiles and runs examples/hello through it as the Compile+Run verb would.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NERBO_REGISTRY="$work/registry.reg"
# The desktop entries and default applications of the Linux installation too.
export XDG_DATA_HOME="$work/share" XDG_CONFIG_HOME="$work/config"
kit="$work/kit/bin"
mkdir -p "$kit"
ln -s "$(readlink -f "$(command -v java)")" "$kit/java"
ln -s "$(readlink -f "$(command -v javac)")" "$kit/javac"
cp build/release/src/nerbo "$kit/nerbo"
cp -r examples/hello "$work/hello"

# Without a controlling terminal (setsid) the final key wait returns at once.
status=0
(cd "$kit" && setsid -w ./nerbo </dev/null) || status=$?
[ "$status" -eq 15 ] || { echo "installation ended with $status, expected 15"; exit 1; }
echo "--- the registry file after installation: $NERBO_REGISTRY"
cat "$NERBO_REGISTRY"

echo "--- $kit/nerbo $work/hello/src/org/nerbo/demo/Hello.java /ExecuteAfterCompile mondo"
status=0
setsid -w "$kit/nerbo" "$work/hello/src/org/nerbo/demo/Hello.java" /ExecuteAfterCompile mondo </dev/null || status=$?
[ "$status" -eq 14 ] || { echo "the compile and run ended with $status, expected 14"; exit 1; }
echo "example done: installed (15), compiled and ran (14)"
