#!/bin/bash
# The program installed from a kit directory whose path has a blank, as a
# Linux desktop user installs it: the desktop entries start the program
# through the link in the tool's data directory, and uninstalling leaves the
# user's folders as they were, mimeapps.list byte for byte.
#   desktop_install_test.sh <nerbo>
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kit="$work/my jdk/bin"
mkdir -p "$kit" "$work/config" "$work/data/applications"
cp "$1" "$kit/nerbo"
touch "$kit/java" "$kit/javac"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" NERBO_REGISTRY="$work/registry.reg"
printf '[Added Associations]\ntext/x-java=code.desktop;\n\n[Default Applications]\ntext/x-java=gedit.desktop\n%s\n' \
  'application/x-java-archive=org.kde.ark.desktop;' > "$work/config/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other\n' \
  > "$work/data/applications/other.desktop"

# Every directory, file and link below the user's folders, with the bytes.
tree() { (cd "$work" && find data config | sort | while read -r path; do echo "$path"; [ -f "$path" ] && cat "$path"; done); }
before=$(tree)

fail() { echo "FAIL: $*" >&2; exit 1; }

status=0
(cd "$kit" && setsid ./nerbo </dev/null >/dev/null) || status=$?
[ "$status" = 15 ] || fail "install ended with $status"
link="$XDG_DATA_HOME/nerbo/nerbo"
[ "$(readlink "$link")" = "$kit/nerbo" ] || fail "the link names $(readlink "$link")"
entry="$XDG_DATA_HOME/applications/nerbo-class.desktop"
grep -qxF "Exec=$link %f" "$entry" || fail "class entry does not start the program: $(cat "$entry")"
grep -qxF 'application/x-java-archive=org.kde.ark.desktop;' "$work/config/mimeapps.list" ||
  fail "the user's jar default was replaced: $(cat "$work/config/mimeapps.list")"

status=0
(cd "$kit" && setsid ./nerbo /u </dev/null >/dev/null) || status=$?
[ "$status" = 16 ] || fail "uninstall ended with $status"
[ "$(tree)" = "$before" ] || fail "not as before: $(diff <(echo "$before") <(tree))"
echo "desktop install: ok"
