#!/usr/bin/env bash
# Runs the tool in a real console (a tmux pane) and checks that a failed run
# prints its message, that Shift alone does not end the final key wait, that
# "a" does, and the exit status after it: a missing class file (6) and, on
# Linux, a registry file that cannot be read (78).
#
#   console_wait_test.sh linux <nerbo>
#   console_wait_test.sh wine <wine-runner> <key_queue.exe> <Nerbo.exe>
set -u
mode=$1
shift
command -v tmux >/dev/null || { echo "tmux is missing"; exit 1; }

work=$(mktemp -d)
# Each scenario has a tmux server of its own: a new session on a server that
# is still shutting down can fail to start.
socket=
cleanup() {
  [ -n "$socket" ] && tmux -L "$socket" kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

scenarios=0
screen() { tmux -L "$socket" capture-pane -p -J; }

wait_for() {  # text seconds
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

fail() {
  echo "FAIL: $1"
  echo "--- screen ---"
  screen
  exit 1
}

# scenario <command> <message shown> <exit status> <seconds to wait for it>
scenario() {
  rm -f "$work/status"
  [ -n "$socket" ] && tmux -L "$socket" kill-server 2>/dev/null
  socket="nerbo-console-$$-$((++scenarios))"
  tmux -L "$socket" new-session -d -x 120 -y 40 \
    "cd '$work' && $1; echo \$? > '$work/status'; sleep 60"
  wait_for "$2" "$4" || fail "'$2' not shown"
  screen | grep -qF "****   Nerbo.exe (ver. 1.3.4)   ****" || fail "banner not shown"

  if [ "$mode" = linux ]; then
    # A terminal sends nothing for Shift alone unless it reports every key;
    # that protocol's report of a left Shift press is sent here.
    tmux -L "$socket" send-keys -l $'\e[57441u'
  fi
  sleep 2
  [ -e "$work/status" ] && fail "the wait ended without a key that counts (status $(cat "$work/status"))"

  tmux -L "$socket" send-keys a
  local deadline=$((SECONDS + 30))
  while [ ! -s "$work/status" ] && ((SECONDS < deadline)); do sleep 0.2; done
  [ -s "$work/status" ] || fail "the key a did not end the wait"
  local status
  status=$(cat "$work/status")
  [ "$status" = "$3" ] || fail "exit status $status, expected $3"
  echo "console wait: banner, '$2', Shift skipped, a ends the wait, status $3"
}

case "$mode" in
  linux)
    nerbo=$(realpath "$1")
    scenario "NERBO_REGISTRY='$work/registry.reg' '$nerbo' missing.class" \
      "Impossibile trovare il file missing.class" 6 20
    printf 'REGEDIT4\n[HKEY_CLASSES_ROOT]\n@=wrong\n' > "$work/broken.reg"
    touch "$work/Hello.class"
    scenario "NERBO_REGISTRY='$work/broken.reg' '$nerbo' Hello.class" "broken.reg, line 3:" 78 20 ;;
  wine)
    # Shift is pressed before the tool starts: the key wait finds it queued.
    scenario "'$1' '$2' shift '$(windows_path "$3")' missing.class" \
      "Impossibile trovare il file missing.class" 6 90 ;;
  *) echo "unknown mode $mode"; exit 1 ;;
esac
