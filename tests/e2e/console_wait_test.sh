#!/usr/bin/env bash
# Runs the tool in a real console (a tmux pane) on a missing class file and
# checks that it prints the banner and message 6, that Shift alone does not
# end the final key wait, that "a" does, and that the exit status is 6.
#
#   console_wait_test.sh linux <nerbo>
#   console_wait_test.sh wine <wine-runner> <key_queue.exe> <Nerbo.exe>
set -u
mode=$1
shift
command -v tmux >/dev/null || { echo "tmux is missing"; exit 1; }

work=$(mktemp -d)
socket="nerbo-console-$$"
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

case "$mode" in
  linux)
    run="NERBO_REGISTRY='$work/registry.reg' '$(realpath "$1")' missing.class"
    ready_timeout=20 ;;
  wine)
    # Shift is pressed before the tool starts: the key wait finds it queued.
    run="'$1' '$2' shift '$(windows_path "$3")' missing.class"
    ready_timeout=90 ;;
  *) echo "unknown mode $mode"; exit 1 ;;
esac

tmux -L "$socket" new-session -d -x 120 -y 40 \
  "cd '$work' && $run; echo \$? > '$work/status'; sleep 60"

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

wait_for "Impossibile trovare il file missing.class" "$ready_timeout" || fail "message 6 not shown"
screen | grep -qF "****   Nerbo.exe (ver. 1.3.4)   ****" || fail "banner not shown"

if [ "$mode" = linux ]; then
  # A terminal sends nothing for Shift alone unless it reports every key;
  # that protocol's report of a left Shift press is sent here.
  tmux -L "$socket" send-keys -l $'\e[57441u'
fi
sleep 2
[ -e "$work/status" ] && fail "the wait ended without a key that counts (status $(cat "$work/status"))"

tmux -L "$socket" send-keys a
deadline=$((SECONDS + 30))
while [ ! -s "$work/status" ] && ((SECONDS < deadline)); do sleep 0.2; done
[ -s "$work/status" ] || fail "the key a did not end the wait"
status=$(cat "$work/status")
[ "$status" = 6 ] || fail "exit status $status, expected 6"
echo "console wait: banner, message 6, Shift skipped, a ends the wait, status 6"
