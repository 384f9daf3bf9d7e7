#!/usr/bin/env bash
# The desktop's own launchers start every verb on the clicked file: GLib's
# `gio open` (a double click) and `gio launch` of each verb's entry (Open
# With), xdg-open without a desktop environment (its generic mode), and a
# Nautilus script run as Nautilus runs it. A stand-in terminal emulator, first
# on PATH under every name the launchers look for, records the words it is
# asked to run and runs them without a controlling terminal, so that the
# tool's final key wait returns at once. The tool is installed from a kit whose
# path holds a blank, then from one whose path holds a '%'; its java runs
# jars with the JDK's java, so that a jar made by the JDK's jar tool shows
# its output, its arguments and its status. Everything lives in a private
# HOME. Skipped (77) when a launcher or the JDK is missing.
#
#   desktop_launch_test.sh <nerbo> <a class file of the default package>
set -u
for program in gio xdg-open xdg-mime mimetype setsid java javac jar; do
  command -v "$program" >/dev/null || { echo "SKIP: no $program"; exit 77; }
done
nerbo=$(realpath "$1")
class_file=$(realpath "$2")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" NERBO_REGISTRY="$work/registry.reg"
# The launchers' own caches, kept out of HOME, which the tool must leave empty.
export XDG_CACHE_HOME="$work/cache"
# No desktop environment, no session bus, no display but where xdg-open needs
# one, and no terminal of the user's choice.
unset XDG_DATA_DIRS XDG_CONFIG_DIRS XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
  DBUS_SESSION_BUS_ADDRESS DISPLAY WAYLAND_DISPLAY TERMINAL BROWSER
mkdir -p "$HOME" "$work/bin"

export NERBO_TEST_RECORD="$work/terminal"
cat >"$work/bin/terminal" <<'SH'
#!/bin/sh
# Drops the option that introduces the command, records the command's words,
# one a line, then runs it and records its exit status.
case "$1" in -e | -x | --) shift ;; esac
printf '%s\n' "$@" >"$NERBO_TEST_RECORD.words"
setsid -w "$@" <"${NERBO_TEST_TYPED:-/dev/null}" >"$NERBO_TEST_RECORD.output" 2>&1
echo $? >"$NERBO_TEST_RECORD.status"
SH
chmod +x "$work/bin/terminal"
for name in x-terminal-emulator xdg-terminal-exec kgx gnome-terminal mate-terminal xfce4-terminal tilix konsole \
  nxterm color-xterm rxvt dtterm xterm; do
  ln -s terminal "$work/bin/$name"
done
printf '#!/bin/sh\nexit 0\n' >"$work/bin/editor"
chmod +x "$work/bin/editor"
export PATH="$work/bin:$PATH" VISUAL="$work/bin/editor"

# The clicked files, in a directory with a blank: a class and its source.
files="$work/my classes"
mkdir -p "$files"
cp "$class_file" "$files/Hello.class"
printf 'public class Hello {}\n' >"$files/Hello.java"
# A jar that prints where it runs and its arguments, with a Class-Path jar
# beside it, in a folder with a blank.
jars="$work/my jars"
bash "$(dirname "${BASH_SOURCE[0]}")/../support/demo_jar/make.sh" "$jars" || exit 1

failures=0
printed=()  # lines the next run must print
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Waits for the stand-in terminal to finish (launchers may not wait for it)
# and checks the words it ran and their status.
expect_run() {  # what status word...
  local what=$1 status=$2 deadline=$((SECONDS + 30))
  shift 2
  until [ -e "$NERBO_TEST_RECORD.status" ] || ((SECONDS > deadline)); do sleep 0.1; done
  if [ ! -e "$NERBO_TEST_RECORD.status" ]; then
    fail "$what: no terminal was started"
    return
  fi
  local expected ran
  expected=$(printf '%s\n' "$@")
  ran=$(cat "$NERBO_TEST_RECORD.words")
  [ "$ran" = "$expected" ] || fail "$what: ran <$ran>, expected <$expected>"
  [ "$(cat "$NERBO_TEST_RECORD.status")" = "$status" ] ||
    fail "$what: ended with $(cat "$NERBO_TEST_RECORD.status"), expected $status: $(cat "$NERBO_TEST_RECORD.output")"
  local line
  for line in "${printed[@]}"; do
    grep -qxF -- "$line" "$NERBO_TEST_RECORD.output" || fail "$what: no <$line> in $(cat "$NERBO_TEST_RECORD.output")"
  done
  rm -f "$NERBO_TEST_RECORD".*
}

launch() {  # how... (a command that starts a launcher)
  rm -f "$NERBO_TEST_RECORD".*
  setsid -w "$@" </dev/null >"$work/launcher.out" 2>&1 || fail "$*: $(cat "$work/launcher.out")"
}

for kit in "$work/my jdk/bin" "$work/100%/bin"; do
  echo "kit $kit"
  mkdir -p "$kit"
  cp "$nerbo" "$kit/nerbo"
  printf '#!/bin/sh\n[ "$1" = -jar ] && exec java "$@"\nexit 0\n' >"$kit/java"
  printf '#!/bin/sh\nexit 0\n' >"$kit/javac"
  chmod +x "$kit/java" "$kit/javac"
  status=0
  (cd "$kit" && setsid -w ./nerbo </dev/null >"$work/install.out" 2>&1) || status=$?
  [ "$status" = 15 ] || { echo "install ended with $status: $(cat "$work/install.out")"; exit 1; }
  tool="$XDG_DATA_HOME/nerbo/nerbo"
  entries="$XDG_DATA_HOME/applications"

  launch gio open "$files/Hello.class"
  expect_run "gio open class" 14 "$tool" "$files/Hello.class"
  launch gio open "$files/Hello.java"
  expect_run "gio open source" 14 "$tool" "$files/Hello.java" /ExecuteAfterCompile

  launch gio launch "$entries/nerbo-class.desktop" "$files/Hello.class"
  expect_run "Run" 14 "$tool" "$files/Hello.class"
  launch gio launch "$entries/nerbo-run-with-args.desktop" "$files/Hello.class"
  expect_run "Run with args..." 14 "$tool" "$files/Hello.class" /ArgsToNerbo
  launch gio launch "$entries/nerbo-source.desktop" "$files/Hello.java"
  expect_run "Compile+Run" 14 "$tool" "$files/Hello.java" /ExecuteAfterCompile
  launch gio launch "$entries/nerbo-compile.desktop" "$files/Hello.java"
  expect_run "Compile" 11 "$tool" "$files/Hello.java"
  launch gio launch "$entries/nerbo-edit.desktop" "$files/Hello.java"
  expect_run "Edit" 0 "$work/bin/editor" "$files/Hello.java"

  launch env DISPLAY=:0 xdg-open "$files/Hello.class"
  expect_run "xdg-open class" 14 "$tool" "$files/Hello.class"
  launch env DISPLAY=:0 xdg-open "$files/Hello.java"
  expect_run "xdg-open source" 14 "$tool" "$files/Hello.java" /ExecuteAfterCompile

  # A jar, by a double click and by each verb: the JDK's java runs it in its
  # folder, with the line typed at the prompt.
  printed=("lib from Class-Path, cwd=$jars")
  launch gio open "$jars/App.jar"
  expect_run "gio open jar" 14 "$tool" "$jars/App.jar"
  launch gio launch "$entries/nerbo-jar.desktop" "$jars/App.jar"
  expect_run "jar Run" 14 "$tool" "$jars/App.jar"
  launch env DISPLAY=:0 xdg-open "$jars/App.jar"
  expect_run "xdg-open jar" 14 "$tool" "$jars/App.jar"
  export NERBO_TEST_TYPED="$work/typed"
  printf 'one "two three" exit=3\n' >"$NERBO_TEST_TYPED"
  printed+=("<one>" "<two three>")
  launch gio launch "$entries/nerbo-jar-run-with-args.desktop" "$jars/App.jar"
  expect_run "jar Run with args..." 13 "$tool" "$jars/App.jar" /ArgsToNerbo
  unset NERBO_TEST_TYPED
  printed=()

  # Nautilus starts a script in the folder shown, with the selected names as
  # arguments and their full paths in the environment.
  rm -f "$NERBO_TEST_RECORD".*
  (cd "$files" && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$files/Hello.class"$'\n' \
    setsid -w "$XDG_DATA_HOME/nautilus/scripts/Nerbo/Run with args..." Hello.class </dev/null) ||
    fail "Nautilus script ended with $?"
  expect_run "Nautilus script" 14 "$tool" "$files/Hello.class" /ArgsToNerbo
  # The class files' Run script serves jars too.
  rm -f "$NERBO_TEST_RECORD".*
  (cd "$jars" && NAUTILUS_SCRIPT_SELECTED_FILE_PATHS="$jars/App.jar"$'\n' \
    setsid -w "$XDG_DATA_HOME/nautilus/scripts/Nerbo/Run" App.jar </dev/null) || fail "Nautilus script ended with $?"
  expect_run "Nautilus script on a jar" 14 "$tool" "$jars/App.jar"

  # What GLib lists under Open With for each type.
  for type in application/x-java:nerbo-class:nerbo-run-with-args \
    text/x-java:nerbo-source:nerbo-compile:nerbo-edit application/x-java-archive:nerbo-jar:nerbo-jar-run-with-args; do
    registered=$(gio mime "${type%%:*}")
    for entry in $(tr : ' ' <<<"${type#*:}"); do
      grep -qxF $'\t'"$entry.desktop" <<<"$registered" || fail "gio mime ${type%%:*} lacks $entry: $registered"
    done
  done
done

status=0
(cd "$work" && setsid -w "$nerbo" /u </dev/null >/dev/null 2>&1) || status=$?
[ "$status" = 16 ] || fail "uninstall ended with $status"
left=$(cd "$HOME" && find . -mindepth 1)
[ -z "$left" ] || fail "left in HOME: $left"

[ "$failures" = 0 ] || exit 1
echo "desktop launch: ok"
