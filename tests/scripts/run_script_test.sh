#!/usr/bin/env bash
# scripts/run as its user meets it: the help, a command's output that a pipe takes whole, and a workspace in
# the user's data folder rather than in the build folder that `rm -rf build` deletes.
# Usage: run_script_test.sh SOURCE_DIR
set -euo pipefail
source=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch/data"
fail() { echo "$1"; exit 1; }

for help in -h --help; do
  out=$("$source/scripts/run" "$help" 2>"$scratch/err") || fail "scripts/run $help failed: $(cat "$scratch/err")"
  [[ $out == Usage:\ tessara* ]] || fail "scripts/run $help printed no usage: $out"
  [[ $out == *"This run uses: $XDG_DATA_HOME/Tessara"* ]] || fail "scripts/run $help names another workspace: $out"
done

cp -r "$source/examples/Plant1" "$scratch/Plant1"
"$source/scripts/run" check --json "$scratch/Plant1" 2>/dev/null | python3 -m json.tool >/dev/null ||
  fail "the output of scripts/run check --json is not JSON alone"

# Every command word of the tool runs without a display, map included; the wizard is refused with the way to run it.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${no_display[@]}" "$source/scripts/run" map "$scratch/Plant1" >"$scratch/map" 2>"$scratch/err" ||
  fail "scripts/run map without a display failed: $(cat "$scratch/err")"
grep -q "Valve" "$scratch/map" || fail "scripts/run map printed no map: $(cat "$scratch/map")"
if "${no_display[@]}" "$source/scripts/run" --app-dir "$scratch/ws" 2>"$scratch/err"; then
  fail "scripts/run started the wizard without a display"
fi
grep -q "^  xvfb-run -a scripts/run --app-dir $scratch/ws$" "$scratch/err" &&
  grep -q "^The command words (image gsd check report inspect map tag) need no display.$" "$scratch/err" ||
  fail "scripts/run without a display did not say how to run the wizard: $(cat "$scratch/err")"

# The wizard started from the build folder without --app-dir makes its workspace in the user's data folder.
QT_QPA_PLATFORM=offscreen "$source/build/tessara" &
wizard=$!
for _ in $(seq 100); do [ -d "$XDG_DATA_HOME/Tessara/PROJECTS" ] && break; sleep 0.1; done
kill "$wizard"
wait "$wizard" || true
[ -d "$XDG_DATA_HOME/Tessara/PROJECTS" ] || fail "the wizard from the build folder made no workspace in $XDG_DATA_HOME"
echo "scripts/run keeps its output apart and its workspace in $XDG_DATA_HOME/Tessara"
