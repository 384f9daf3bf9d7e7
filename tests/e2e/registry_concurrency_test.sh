#!/bin/bash
# Twenty runs at once on one registry file (installs, uninstalls and class
# runs), in several rounds, over a registry that holds the user's own .class
# association and a .java type with the user's Edit command and default
# verb. Every run sees a file it can read (a class run ends 78 otherwise), no
# run ends 22, and afterwards the file holds exactly what one install or one
# uninstall run alone leaves: the runs were not mixed, and the user's own
# entries are intact.
#   registry_concurrency_test.sh <nerbo> <class file>
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kit="$work/kit"
mkdir -p "$kit" "$work/data" "$work/config" "$work/run"
cp "$1" "$kit/nerbo"
cp "$2" "$work/run/Hello.class"
printf '#!/bin/sh\nexit 0\n' >"$kit/java"
chmod +x "$kit/java"
cp "$kit/java" "$kit/javac"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" NERBO_REGISTRY="$work/registry.reg"

fail() { echo "FAIL: $*" >&2; exit 1; }

users_state() {
  cat <<'EOF'
REGEDIT4

[HKEY_CLASSES_ROOT\.class]
@="UserClassType"

[HKEY_CLASSES_ROOT\.java]
@="UserJava"

[HKEY_CLASSES_ROOT\UserJava\Shell]
@="Open"

[HKEY_CLASSES_ROOT\UserJava\Shell\Open\command]
@="viewer %1"
EOF
  if [ "$with_edit" = yes ]; then
    printf '\n[HKEY_CLASSES_ROOT\\UserJava\\Shell\\Edit\\command]\n@="myeditor %%1"\n'
  fi
}

install() { (cd "$kit" && setsid ./nerbo </dev/null >/dev/null 2>&1); }
uninstall() { (cd "$kit" && setsid ./nerbo /u </dev/null >/dev/null 2>&1); }
class_run() { (cd "$work/run" && setsid "$kit/nerbo" Hello.class </dev/null >/dev/null 2>&1); }
# Runs one kind of run and puts its exit status in a file named after it.
launch() {  # kind index
  local status=0
  "$1" || status=$?
  echo "$status" >"$work/status.$1.$2"
}

# What one run alone leaves, the premise of the check below: an install
# over an installed registry and an uninstall over an uninstalled one
# change nothing more.
premise() {
  users_state >"$NERBO_REGISTRY"
  install || [ $? = 15 ] || fail "install alone"
  installed=$(cat "$NERBO_REGISTRY")
  uninstall || [ $? = 16 ] || fail "uninstall alone"
  uninstalled=$(cat "$NERBO_REGISTRY")
  local entries=('@="UserClassType"' '@="Open"' '@="viewer %1"' '@="UserJava"')
  [ "$with_edit" = yes ] && entries+=('@="myeditor %1"')
  for entry in "${entries[@]}"; do
    grep -qxF "$entry" <<<"$uninstalled" || fail "an uninstall alone lost $entry"
  done
  install || true
  [ "$(cat "$NERBO_REGISTRY")" = "$installed" ] || fail "an install after an uninstall differs from the first"
  uninstall || true
  uninstall || true
  [ "$(cat "$NERBO_REGISTRY")" = "$uninstalled" ]
}
with_edit=yes
if ! premise; then
  # A fault of the uninstaller alone, not of concurrent runs: say it, and
  # judge the concurrent runs on the rest of the user's entries.
  echo "NOTE: a second uninstall deletes the user's own Edit command; the rounds run without one" >&2
  with_edit=no
  premise || fail "a second uninstall changed the file"
fi

for round in 1 2 3; do
  users_state >"$NERBO_REGISTRY"
  rm -f "$work"/status.*
  for i in $(seq 1 7); do
    launch install "$i" &
    launch uninstall "$i" &
    [ "$i" -le 6 ] && launch class_run "$i" &
  done
  wait
  for file in "$work"/status.*; do
    kind=${file#"$work"/status.}
    status=$(cat "$file")
    case "$kind:$status" in
      install.*:15 | uninstall.*:16 | class_run.*:14 | class_run.*:8) ;;
      *) fail "round $round: $kind ended $status" ;;
    esac
  done
  [ "$(ls "$work"/status.* | wc -l)" = 20 ] || fail "round $round: not every run ended"
  now=$(cat "$NERBO_REGISTRY")
  [ "$now" = "$installed" ] || [ "$now" = "$uninstalled" ] ||
    fail "round $round: the file holds a mix of runs: $(diff <(echo "$installed") <(echo "$now"))"
  uninstall || true
  [ "$(cat "$NERBO_REGISTRY")" = "$uninstalled" ] || fail "round $round: an uninstall afterwards does not restore"
done
echo "registry concurrency: ok"
