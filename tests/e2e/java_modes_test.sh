#!/usr/bin/env bash
# The class run and the source compile of the tool, end to end, with the real
# JDK: classes are compiled with javac, then the built tool is run on their
# class files and sources as the file manager runs it (the full path of the
# clicked file), with no controlling terminal so that the final key wait
# returns at once. Skipped (77) when the JDK is missing.
#
#   java_modes_test.sh <nerbo>
set -u
nerbo=$(realpath "$1")
command -v javac >/dev/null && command -v java >/dev/null || { echo "SKIP: no JDK"; exit 77; }
command -v setsid >/dev/null || { echo "SKIP: no setsid"; exit 77; }
jdk_bin=$(dirname "$(readlink -f "$(command -v javac)")")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset CLASSPATH
# The installer's desktop entries go to private directories too.
export NERBO_REGISTRY="$work/registry.reg" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
failures=0

# The kit's tools as the installer finds them: java and javac in one bin
# directory of the kit (links to the real ones).
make_kit() {  # directory
  mkdir -p "$1/bin"
  ln -s "$jdk_bin/java" "$1/bin/java"
  ln -s "$jdk_bin/javac" "$1/bin/javac"
}

# Installs the tool from the kit's bin directory, as a user does: it records
# that directory's java and javac.
install_kit() {  # directory
  local status=0
  (cd "$1/bin" && setsid -w "$nerbo" </dev/null >"$work/install.out" 2>&1) || status=$?
  [ "$status" -eq 15 ] || { echo "install from $1 ended with $status"; cat "$work/install.out"; exit 1; }
}

# Runs the tool in a new session without a terminal; sets $status, $out, $err.
run_tool() {
  local started=$SECONDS
  (cd "$work" && setsid -w "$nerbo" "$@" </dev/null >"$work/out" 2>"$work/err")
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
  echo "  ran nerbo $* -> $status ($((SECONDS - started)) s)"
}

fail() {
  echo "FAIL: $1"
  echo "--- stdout ---"; printf '%s\n' "$out"
  echo "--- stderr ---"; printf '%s\n' "$err"
  failures=$((failures + 1))
}

expect_status() { [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1"; }
expect_out() { grep -qF -- "$1" <<<"$out" || fail "$2: stdout lacks: $1"; }
expect_err() { grep -qF -- "$1" <<<"$err" || fail "$2: stderr lacks: $1"; }
reject_out() { ! grep -qF -- "$1" <<<"$out" || fail "$2: stdout holds: $1"; }

# Prints each argument in angle brackets and the directory it runs in; an
# argument exit=N ends it with status N.
write_echo() {  # directory package
  local package_line="" directory=$1
  [ -n "$2" ] && package_line="package $2;"
  mkdir -p "$directory"
  cat >"$directory/Echo.java" <<JAVA
$package_line
public class Echo {
  public static void main(String[] args) {
    System.out.println("echo from " + Echo.class.getName());
    System.out.println("cwd=" + System.getProperty("user.dir"));
    for (String a : args) System.out.println("<" + a + ">");
    for (String a : args) if (a.startsWith("exit=")) System.exit(Integer.parseInt(a.substring(5)));
  }
}
JAVA
}

make_kit "$work/kit"
kit="$work/kit/"
install_kit "$work/kit"

echo "class run, default package"
write_echo "$work/plain" ""
javac -d "$work/plain" "$work/plain/Echo.java" || exit 1
run_tool "$work/plain/Echo.class" a b
expect_status 14 "default package"
expect_out 'Sto avviando il programma (className: "Echo").' "default package"
expect_out "echo from Echo" "default package"
expect_out "cwd=$work/plain" "default package"
expect_out "<a>" "default package"
expect_out "<b>" "default package"
reject_out "<>" "default package (an empty argument)"
expect_out "Programma Java terminato correttamente." "default package"

echo "class run, no arguments"
run_tool "$work/plain/Echo.class"
expect_status 14 "no arguments"
reject_out "<" "no arguments"

echo "class run, three package levels"
write_echo "$work/tree/org/nerbo/demo" "org.nerbo.demo"
javac -d "$work/tree" "$work/tree/org/nerbo/demo/Echo.java" || exit 1
run_tool "$work/tree/org/nerbo/demo/Echo.class" "one two" three
expect_status 14 "three levels"
expect_out 'Sto avviando il programma (className: "org.nerbo.demo.Echo").' "three levels"
expect_out "cwd=$work/tree" "three levels"
reject_out "cwd=$work/tree/" "three levels"
# The argument string is one text: the blank inside an argument splits it.
expect_out "<one>" "three levels"
expect_out "<two>" "three levels"
expect_out "<three>" "three levels"

echo "class run, Java program ends with status 3"
run_tool "$work/tree/org/nerbo/demo/Echo.class" exit=3
expect_status 13 "status 3"
expect_out "Programma Java terminato in maniera non corretta." "status 3"

echo "class run, the kit installed from is gone"
make_kit "$work/gone"
install_kit "$work/gone"
rm -rf "$work/gone"
run_tool "$work/plain/Echo.class"
expect_status 8 "java gone"
expect_err "No such file or directory" "java gone"

echo "class run, kit path and class directory with blanks"
make_kit "$work/my kit"
install_kit "$work/my kit"
write_echo "$work/class dir" ""
javac -d "$work/class dir" "$work/class dir/Echo.java" || exit 1
run_tool "$work/class dir/Echo.class" x
expect_status 14 "blanks"
expect_out "cwd=$work/class dir" "blanks"
expect_out "<x>" "blanks"
install_kit "$work/kit"

# A kit whose java notes each start in java.log before it hands over to the
# real one: the classes outside their package's folder must start nothing.
make_kit "$work/noting kit"
rm "$work/noting kit/bin/java"
printf '#!/bin/sh\necho started >>"%s"\nexec "%s" "$@"\n' "$work/java.log" "$jdk_bin/java" >"$work/noting kit/bin/java"
chmod +x "$work/noting kit/bin/java"
install_kit "$work/noting kit"
expect_no_java() { [ ! -s "$work/java.log" ] || fail "$1: java was started"; }
expect_outside_package() {  # what
  expect_status 24 "$1"
  expect_err "La classe demo.Echo non si trova nella directory del suo package." "$1"
  expect_err "Il file Echo.class deve stare in demo/ sotto la directory radice dei package:" "$1"
  reject_out "Sto avviando" "$1"
  expect_no_java "$1"
}

echo "class run, package demo compiled in place without -d"
write_echo "$work/desk" "demo"
(cd "$work/desk" && javac Echo.java) || exit 1
run_tool "$work/desk/Echo.class"
expect_outside_package "compiled in place"

echo "class run, the same class moved into demo/"
mkdir "$work/desk/demo"
mv "$work/desk/Echo.class" "$work/desk/demo/"
run_tool "$work/desk/demo/Echo.class"
expect_status 14 "moved into demo/"
expect_out "echo from demo.Echo" "moved into demo/"
expect_out "cwd=$work/desk" "moved into demo/"
[ -s "$work/java.log" ] || fail "moved into demo/: java was not started through the kit"
rm -f "$work/java.log"

echo "compile and run, package demo in a folder of another name"
write_echo "$work/desk2" "demo"
run_tool "$work/desk2/Echo.java" /ExecuteAfterCompile
expect_out "Compilazione Java terminata correttamente." "compile and run outside the package"
[ -f "$work/desk2/Echo.class" ] || fail "compile and run outside the package: nothing compiled"
expect_outside_package "compile and run outside the package"

# java would run the Echo.class beside the copy, not the copy.
echo "class run, a copy of a class file"
cp "$work/desk/demo/Echo.class" "$work/desk/demo/Echo (1).class"
run_tool "$work/desk/demo/Echo (1).class"
expect_status 25 "a copy"
expect_err "La classe demo.Echo si trova nel file Echo (1).class, ma java la cerca in Echo.class." "a copy"
expect_no_java "a copy"
install_kit "$work/kit"

# javac puts a number after Wide's own name, and Date mentions java.util.Date
# first: the byte scan asked java for "Wide", and ended Date's run with 24.
# The class file holds the name beyond U+FFFF in the two halves of its
# surrogate pair, the file name its four UTF-8 bytes.
echo "class run, the class file's own name"
mkdir -p "$work/own/demo/sql"
printf 'package demo;\npublic class Wide {\n  static final float F = 0.75f; float f = F;\n  %s\n}\n' \
  'public static void main(String[] a) { System.out.println("wide " + new Wide().f); }' >"$work/own/demo/Wide.java"
printf 'package demo.sql;\npublic class Date extends java.util.Date {\n  %s\n}\n' \
  'public static void main(String[] a) { System.out.println("date " + Date.class.getName()); }' \
  >"$work/own/demo/sql/Date.java"
printf 'package demo;\npublic class \360\235\222\234 {\n  %s\n}\n' \
  'public static void main(String[] a) { System.out.println("wide A"); }' >"$work/own/demo/$(printf '\360\235\222\234').java"
(cd "$work/own" && LC_ALL=C.UTF-8 javac -encoding UTF-8 -d . demo/*.java demo/sql/Date.java) || exit 1
for class in Wide:"wide 0.75" sql/Date:"date demo.sql.Date" "$(printf '\360\235\222\234')":"wide A"; do
  LC_ALL=C.UTF-8 run_tool "$work/own/demo/${class%%:*}.class"
  expect_status 14 "${class%%:*}"
  expect_out "${class#*:}" "${class%%:*}"
done

echo "compile and run with the user's CLASSPATH set"
# The class it uses is found only through CLASSPATH, which must reach both
# tools expanded.
mkdir -p "$work/extra/lib" "$work/user"
printf 'package lib;\npublic class Tool {\n  public static String name() { return "tool from CLASSPATH"; }\n}\n' \
  >"$work/extra/lib/Tool.java"
javac -d "$work/extra" "$work/extra/lib/Tool.java" || exit 1
printf 'public class User {\n  public static void main(String[] a) { System.out.println(lib.Tool.name()); }\n}\n' \
  >"$work/user/User.java"
CLASSPATH="$work/extra" run_tool "$work/user/User.java" /ExecuteAfterCompile
expect_status 14 "user class path"
expect_out "classpath: .:$work/extra:${kit}classes:${kit}lib/classes.zip" "user class path"
expect_out "tool from CLASSPATH" "user class path"

# A three-level source that uses a class of a sibling package, compiled in
# place beforehand: the class path's first entry must reach the package root.
src="$work/src"
mkdir -p "$src/org/nerbo/text" "$src/org/nerbo/demo"
cat >"$src/org/nerbo/text/Banner.java" <<'JAVA'
package org.nerbo.text;
public class Banner {
  public static String frame(String text) { return "[" + text + "]"; }
}
JAVA
cat >"$src/org/nerbo/demo/Hello.java" <<'JAVA'
package org.nerbo.demo;
import org.nerbo.text.Banner;
public class Hello {
  public static void main(String[] args) {
    System.out.println(Banner.frame("hello"));
    for (String a : args) System.out.println("<" + a + ">");
  }
}
JAVA
(cd "$src" && javac org/nerbo/text/Banner.java) || exit 1

echo "compile only, three package levels"
run_tool "$src/org/nerbo/demo/Hello.java"
expect_status 11 "compile only"
expect_out 'Sto compilando il file "Hello.java". Attendere.' "compile only"
expect_out "classpath: ../../../:\$CLASSPATH:${kit}classes:${kit}lib/classes.zip" "compile only"
expect_out "Compilazione Java terminata correttamente." "compile only"
[ -f "$src/org/nerbo/demo/Hello.class" ] || fail "compile only: no Hello.class beside the source"
reject_out "Sto avviando" "compile only"

echo "compile and run"
rm -f "$src/org/nerbo/demo/Hello.class"
run_tool "$src/org/nerbo/demo/Hello.java" /ExecuteAfterCompile a b
expect_status 14 "compile and run"
expect_out 'Sto avviando il programma (className: "org.nerbo.demo.Hello").' "compile and run"
expect_out "[hello]" "compile and run"
first_argument=$(grep -m1 '^<' <<<"$out")
[ "$first_argument" = "<a>" ] || fail "compile and run: first argument $first_argument"
expect_out "<a>" "compile and run"
expect_out "<b>" "compile and run"
compiled_line=$(grep -n "Compilazione Java terminata correttamente." <<<"$out" | cut -d: -f1)
starting_line=$(grep -n "Sto avviando il programma" <<<"$out" | cut -d: -f1)
[ -n "$compiled_line" ] && [ -n "$starting_line" ] && [ "$compiled_line" -lt "$starting_line" ] ||
  fail "compile and run: message 11 does not come before the class run"

# "package" in a string is no declaration: javac finds the class beside it.
echo "compile and run, no package, the word in a string"
mkdir -p "$work/words"
printf 'class Helper { static String name() { return "helper beside it"; } }\n' >"$work/words/Helper.java"
printf 'public class Words {\n  %s\n}\n' 'public static void main(String[] a) {
    System.out.println("Install the package first. " + Helper.name()); }' >"$work/words/Words.java"
run_tool "$work/words/Words.java" /ExecuteAfterCompile
expect_status 14 "the word in a string"
expect_out "helper beside it" "the word in a string"

echo "compile errors"
mkdir -p "$work/broken"
printf 'public class Broken {\n  int x = ;\n}\n' >"$work/broken/Broken.java"
run_tool "$work/broken/Broken.java" /ExecuteAfterCompile
expect_status 10 "compile errors"
expect_err "Broken.java:2: error" "compile errors"
expect_out "Compilazione Java terminata in maniera non corretta." "compile errors"
reject_out "Sto avviando" "compile errors"

echo "compile, source name with blanks"
mkdir -p "$work/blank name"
printf 'class Spaced {}\n' >"$work/blank name/My Prog.java"
run_tool "$work/blank name/My Prog.java"
expect_status 11 "source with blanks"
expect_out 'Sto compilando il file "My Prog.java". Attendere.' "source with blanks"
[ -f "$work/blank name/Spaced.class" ] || fail "source with blanks: nothing compiled"

# Linux names may hold a quote or a backslash: javac gets the name as it is.
echo "compile, names with a quote and a backslash"
for name in 'Say"Hi' 'back\slash'; do
  printf 'class %s {}\n' "Odd${#name}" >"$work/blank name/$name.java"
  run_tool "$work/blank name/$name.java"
  expect_status 11 "$name.java"
  [ -f "$work/blank name/Odd${#name}.class" ] || fail "$name.java: nothing compiled"
done

echo "class run, hello.class beside Hello.class"
mkdir -p "$work/case"
printf 'public class Hello { public static void main(String[] a) { System.out.println("upper"); } }\n' >"$work/case/Hello.java"
printf 'public class hello { public static void main(String[] a) { System.out.println("lower"); } }\n' >"$work/case/hello.java"
(cd "$work/case" && javac Hello.java && javac hello.java) || exit 1
run_tool "$work/case/hello.class"
expect_status 14 "hello.class beside Hello.class"
expect_out "lower" "hello.class beside Hello.class"
reject_out "upper" "hello.class beside Hello.class"

echo "class run, a pipe and a link to /dev/zero named as classes"
mkfifo "$work/case/Pipe.class"
ln -s /dev/zero "$work/case/Zero.class"
for target in Pipe Zero; do
  run_tool "$work/case/$target.class"
  expect_status 6 "$target.class"
done

echo "jar run: made by the jar tool, a Class-Path jar beside it, a folder with blanks"
jars="$work/jar dir"
bash "$(dirname "${BASH_SOURCE[0]}")/../support/demo_jar/make.sh" "$jars" || exit 1
install_kit "$work/kit"
run_tool "$jars/App.jar" "one two" three
expect_status 14 "jar"
expect_out 'Sto avviando il programma (jar: "App.jar").' "jar"
expect_out "lib from Class-Path, cwd=$jars" "jar"
for argument in "<one>" "<two>" "<three>"; do expect_out "$argument" "jar"; done
expect_out "Programma Java terminato correttamente." "jar"
run_tool "$jars/App.jar" exit=3
expect_status 13 "jar ending with status 3"

echo "jar run: a library, a cut jar, a text file, a manifest that inflates without end"
cp "$jars/Lib.jar" "$jars/Library.jar"
head -c 600 "$jars/App.jar" >"$jars/Cut.jar"
printf 'Main-Class: demo.Main\n' >"$jars/Notes.jar"
python3 - "$jars/Bomb.jar" <<'PYTHON' || exit 1
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as archive:
    archive.writestr("META-INF/MANIFEST.MF", "Main-Class: demo.Main\n" + " " * 10_000_000)
data = bytearray(open(sys.argv[1], "rb").read())
entry = data.rfind(b"PK\x01\x02")  # the directory states 100 bytes
data[entry + 24:entry + 28] = (100).to_bytes(4, "little")
open(sys.argv[1], "wb").write(data)
PYTHON
install_kit "$work/noting kit"
rm -f "$work/java.log"
for refusal in "Library:26:L'archivio Library.jar non indica la classe da avviare" \
  "Cut:27:Il file Cut.jar non e' un archivio jar leggibile: l'archivio e' troncato o danneggiato." \
  "Notes:27:non e' un archivio zip." "Bomb:27:il manifest si espande oltre la dimensione dichiarata."; do
  IFS=: read -r name code text <<<"$refusal"
  run_tool "$jars/$name.jar"
  expect_status "$code" "$name.jar"
  expect_err "$text" "$name.jar"
  reject_out "Sto avviando" "$name.jar"
  expect_no_java "$name.jar"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all passed"
