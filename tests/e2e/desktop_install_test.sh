#!/bin/bash
# The program installed from a kit directory whose path has a blank, as a
# Linux desktop user installs it: the desktop entries name the program by
# its own full path, and uninstalling puts the user's mimeapps.list back
# byte for byte.
#   desktop_install_test.sh <nerbo>
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kit="$work/my jdk/bin"
mkdir -p "$kit" "$work/config"
cp "$1" "$kit/nerbo"
touch "$kit/java" "$kit/javac"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" NERBO_REGISTRY="$work/registry.reg"
printf '[Added Associations]\ntext/x-java=code.desktop;\n\n[Default Applications]\ntext/x-java=gedit.desktop\n' \
  > "$work/config/mimeapps.list"
cp "$work/config/mimeapps.list" "$work/before"

fail() { echo "FAIL: $*" >&2; exit 1; }

status=0
(cd "$kit" && setsid ./nerbo </dev/null >/dev/null) || status=$?
[ "$status" = 15 ] || fail "install ended with $status"
entry="$XDG_DATA_HOME/applications/nerbo-class.desktop"
grep -qxF "Exec=\"$kit/nerbo\" %f" "$entry" || fail "class entry does not start the program: $(cat "$entry")"

status=0
(cd "$kit" && setsid ./nerbo /u </dev/null >/dev/null) || status=$?
[ "$status" = 16 ] || fail "uninstall ended with $status"
cmp "$work/before" "$work/config/mimeapps.list" || fail "mimeapps.list not restored"
[ ! -e "$entry" ] || fail "class entry left behind"
echo "desktop install: ok"
