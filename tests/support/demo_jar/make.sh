#!/bin/bash
# Makes App.jar (demo.Main) and Lib.jar, which App.jar's manifest names in
# its Class-Path, in the directory $1, with the JDK's own javac and jar.
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
javac -d "$work/lib" "$here/Lib.java"
jar cf "$out/Lib.jar" -C "$work/lib" .
printf 'Class-Path: Lib.jar\n' >"$work/manifest"
javac -cp "$out/Lib.jar" -d "$work/app" "$here/Main.java"
jar cfem "$out/App.jar" demo.Main "$work/manifest" -C "$work/app" .
