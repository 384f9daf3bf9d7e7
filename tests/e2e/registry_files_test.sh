#!/bin/bash
# The registry file as users have it, with the whole program: a file the
# user may only read serves a class run (run as an unprivileged user, dropping
# root's rights when the test runs as root); a relative NERBO_REGISTRY names
# the file from where the tool started; a FIFO, a link to /dev/zero or a
# directory in its place ends the run at once with the unreadable-file status
# and stays as it is; an install whose write fails ends 20 and leaves the file.
#   registry_files_test.sh <nerbo> <class file>
set -eu
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -p "$work/kit" "$work/run" "$work/start/conf" "$work/readonly"
cp "$1" "$work/kit/nerbo"
cp "$2" "$work/run/Hello.class"
printf '#!/bin/sh\nexit 0\n' >"$work/kit/java"
chmod 755 "$work/kit/java"
chmod -R a+rX "$work"
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

fail() { echo "FAIL: $*" >&2; exit 1; }

hex() { printf '%s' "$1" | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//;s/,$//'; }
settings_file() {  # file: a registry whose settings name the stand-in java
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk\\Nerbo]\n"Run"=hex(1):%s\n' "$(hex "$work/kit/java")" >"$1"
}
# A class run from `directory` with NERBO_REGISTRY=`registry`; prints its exit status.
class_run() {  # directory registry [command prefix...]
  local directory=$1 registry=$2 status=0
  shift 2
  (cd "$directory" && NERBO_REGISTRY=$registry timeout 10 setsid "$@" "$work/kit/nerbo" "$work/run/Hello.class" \
    </dev/null >/dev/null 2>&1) || status=$?
  echo "$status"
}

# Read-only: the file and its directory.
settings_file "$work/readonly/registry.reg"
chmod 444 "$work/readonly/registry.reg"
chmod 555 "$work/readonly"
as_user=()
if [ "$(id -u)" = 0 ]; then
  if command -v setpriv >/dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  else
    echo "SKIP: running as root and cannot drop to an unprivileged user" >&2
    exit 77
  fi
fi
status=$(class_run "$work/run" "$work/readonly/registry.reg" "${as_user[@]}")
[ "$status" = 14 ] || fail "a class run over a read-only registry ended $status"
[ ! -e "$work/readonly/registry.reg.lock" ] || fail "a class run created a lock file"

# Relative: the run changes to the class's directory before it reads the settings.
settings_file "$work/start/conf/registry.reg"
status=$(class_run "$work/start" conf/registry.reg)
[ "$status" = 14 ] || fail "a relative NERBO_REGISTRY was not found from the starting directory: $status"

# Not a regular file: refused at once (timeout would end a blocked run with 124).
mkfifo "$work/fifo.reg"
ln -s /dev/zero "$work/zero.reg"
mkdir "$work/directory.reg"
for odd in fifo zero directory; do
  path="$work/$odd.reg"
  before=$(ls -ld "$path")
  status=$(class_run "$work/run" "$path")
  [ "$status" = 78 ] || fail "a class run over the $odd ended $status"
  status=0
  (cd "$work/kit" && NERBO_REGISTRY=$path timeout 10 setsid ./nerbo </dev/null >/dev/null 2>&1) || status=$?
  [ "$status" = 78 ] || fail "an install over the $odd ended $status"
  [ "$(ls -ld "$path")" = "$before" ] || fail "the $odd was replaced"
done
# A write that fails (past the file size limit) ends the install with 20 and
# leaves the file as it was.
settings_file "$work/limited.reg"
before=$(cat "$work/limited.reg")
status=0
(cd "$work/kit" && ulimit -f 1 && trap '' XFSZ && NERBO_REGISTRY=$work/limited.reg setsid ./nerbo </dev/null \
  >/dev/null 2>&1) || status=$?
[ "$status" = 20 ] || fail "an install whose write failed ended $status"
[ "$(cat "$work/limited.reg")" = "$before" ] || fail "a failed write changed the file"
echo "registry files: ok"
