#!/usr/bin/env bash
# The desktop program on a real X server: it starts with a project on its
# command line, shows its window, saves the job on Ctrl+S, takes the file of
# a second copy started with one (which ends at once) and ends cleanly
# through File > Exit. Usage: xvfb_session.sh CORVANRIP DEMO.RIP
set -euo pipefail
bin=$1 demo=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export CORVANRIP_HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config
unset QT_QPA_PLATFORM
cp "$demo" "$scratch/demo.RIP"
# A saved job gets a new time stamp; make the old one clearly older.
touch -d '2020-01-01' "$scratch/demo.RIP"

"$bin" "$scratch/demo.RIP" >"$scratch/out.txt" 2>&1 &
pid=$!
fail() { echo "FAIL: $*"; cat "$scratch/out.txt"; kill "$pid" 2>/dev/null || true; exit 1; }

# The main window is named after its project (the program alone without one).
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^CorvanRIP SE|\.RIP' | head -1) ||
  fail "no main window appeared"
[ -n "$window" ] || fail "no main window appeared"
sleep 1
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 50); do
  [ "$(stat -c %Y "$scratch/demo.RIP")" -gt 1600000000 ] && break
  sleep 0.2
done
[ "$(stat -c %Y "$scratch/demo.RIP")" -gt 1600000000 ] || fail "Ctrl+S did not save the job"
grep -q '^\[EMF Layers\]' "$scratch/demo.RIP" || fail "the saved job lost its layers"

# A second copy hands its file over and ends; the first copy loads it.
cp "$demo" "$scratch/other job.RIP"  # unsaved here: no driver settings to ask about
timeout 20 "$bin" "$scratch/other job.RIP" >"$scratch/second.txt" 2>&1 ||
  fail "the second copy did not end by itself: $(cat "$scratch/second.txt")"
timeout 20 xdotool search --sync --name 'other job\.RIP' >/dev/null ||
  fail "the first copy did not load the second copy's file"
timeout 20 "$bin" >"$scratch/second.txt" 2>&1 || fail "a second copy without a file did not end"
sleep 0.5
xdotool search --name 'other job\.RIP' >/dev/null || fail "a second copy without a file changed the job"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended"
window=$(xdotool search --onlyvisible --name 'other job\.RIP' | head -1)
xdotool windowfocus --sync "$window"

xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
[ -s "$scratch/config/CorvanRip/CorvanRIP.INI" ] || fail "the window state was not stored"
echo "started, saved, took a second copy's file and closed cleanly"
