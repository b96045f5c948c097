#!/usr/bin/env bash
# The desktop program on a real X server: it starts with a project on its
# command line, shows its window, saves the job on Ctrl+S and ends cleanly
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

xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
[ -s "$scratch/config/CorvanRip/CorvanRIP.INI" ] || fail "the window state was not stored"
echo "started, saved and closed cleanly"
