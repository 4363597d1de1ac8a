#!/usr/bin/env bash
# Tries the built plug-in in Debian's Ardour 7 as a user would, on a virtual display:
# insert it on a track, open its window, turn the decay knob, type a predelay, save,
# quit, reopen; optionally pick a factory preset from Ardour's own preset menu, in the
# plug-in's window and in Ardour's generic controls. Keeps screenshots and logs in the
# output folder. Developer tool only; it works in a scratch HOME and never touches the
# real one.
#
# usage: tools/ardour/check-in-ardour.sh [--vst2] [--build DIR] [--out DIR] [--preset NAME]
#   --vst2         load the VST 2.4 form (the same .so from ~/.vst) instead of the VST 3 bundle
#   --build DIR    build folder holding Quillmere.vst3 and presets/ (default: build)
#   --out DIR      where the scratch HOME, session, pictures and logs go
#                  (default: /tmp/quillmere-ardour-vst3 or -vst2); emptied first
#   --preset NAME  VST 3 only: after reopening, choose the factory preset NAME from
#                  Ardour's preset menu in the plug-in's window, check that Ardour still
#                  answers (a backtrace of every thread is kept if it does not) and save;
#                  then once more in Ardour's generic controls, starting from the session
#                  as it was right after insert
#
# Ardour's own values of the controls (what its generic controls and automation use) are
# read from the saved session: host-controls-*.txt, one name=value a line.
#
# Needs: ardour, ardour7-lua, /usr/lib/ardour7/ardour-vst{,3}-scanner, Xvfb, xdotool,
# xwininfo, imagemagick's import; gdb for the backtrace of a hang.
set -euo pipefail
cd "$(dirname "$0")/../.."

format=VST3
build=build
out=
preset=
while [ $# -gt 0 ]; do
  case "$1" in
    --vst2) format=VST2 ;;
    --build) build=$2; shift ;;
    --out) out=$2; shift ;;
    --preset) preset=$2; shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done
lower=${format,,}
out=${out:-/tmp/quillmere-ardour-$lower}
bundle=$build/Quillmere.vst3
[ -f "$bundle/Contents/x86_64-linux/Quillmere.so" ] || { echo "no bundle at $bundle" >&2; exit 1; }
if [ -n "$preset" ]; then
  [ "$format" = VST3 ] || { echo "--preset works with the VST 3 form only" >&2; exit 2; }
  [ -f "$build/presets/$preset.vstpreset" ] || { echo "no preset $build/presets/$preset.vstpreset" >&2; exit 1; }
fi
for tool in ardour ardour7-lua Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
home=$out/home
session=$out/session
log=$out/check.log
: > "$log"
say () { echo "$*" | tee -a "$log"; }

# ---------------------------------------------------------------- install and scan
mkdir -p "$home/.vst3" "$home/.vst" "$home/.config/ardour7" "$home/.local/share"
cp -R "$bundle" "$home/.vst3/"
# As scripts/install.sh does: a link, so the editor finds its artwork beside the object.
ln -s "$home/.vst3/Quillmere.vst3/Contents/x86_64-linux/Quillmere.so" "$home/.vst/Quillmere.so"
preset_dir="$home/.vst3/presets/Quillmere Audio/Quillmere"
if [ -d "$build/presets" ]; then
  mkdir -p "$preset_dir"
  cp "$build"/presets/*.vstpreset "$preset_dir/"
fi
# Ardour trusts a cache entry only when it is strictly newer than the plug-in, and the
# scanners stamp it with the plug-in's own time: age the plug-in, then freshen the cache.
find "$home/.vst3/Quillmere.vst3" -exec touch -d '2 minutes ago' {} +
HOME=$home LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f \
  "$home/.vst3/Quillmere.vst3" >> "$out/scan.log" 2>&1
HOME=$home LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f \
  "$home/.vst/Quillmere.so" >> "$out/scan.log" 2>&1
touch "$home"/.cache/ardour7/vst/*
say "VST 2 cache says: $(grep -o 'has_editor="[01]"' "$home"/.cache/ardour7/vst/*.v2i)"

# An empty marker skips the first-run dialog; the engine state starts the dummy backend.
touch "$home/.config/ardour7/.a7"
cat > "$home/.config/ardour7/config" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
    <Option name="use-lxvst" value="1"/>
    <Option name="conceal-vst2-if-vst3-exists" value="0"/>
    <Option name="plugin-path-lxvst" value="$home/.vst"/>
    <Option name="plugin-path-vst3" value="$home/.vst3"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="Normal Speed" device="Silence" input-device="" output-device="" sample-rate="48000" buffer-size="1024" n-periods="0" input-latency="0" output-latency="0" lm-input="" lm-output="" active="1" use-buffered-io="0" midi-option="" lru="1"/>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
EOF

# ---------------------------------------------------------------- session with the plug-in
cat > "$out/make-session.lua" <<'EOF'
local dir, name = os.getenv ("SESSION_DIR"), os.getenv ("SESSION_NAME")
local ptype = os.getenv ("PLUGIN_TYPE") == "VST2" and ARDOUR.PluginType.LXVST or ARDOUR.PluginType.VST3
local backend = AudioEngine:set_backend ("None (Dummy)", "", "")
backend:set_device_name ("Silence")
local s = assert (create_session (dir, name, 48000), "cannot create the session")
local tracks = s:new_audio_track (2, 2, nil, 1, "Audio", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
local track
for t in tracks:iter () do track = t end
local proc = ARDOUR.LuaAPI.new_plugin (s, "Quillmere", ptype, "")
assert (not proc:isnil (), "Quillmere not found: is the plug-in cache valid?")
assert (track:add_processor_by_index (proc, 0, nil, true) == 0, "cannot insert the plug-in")
local plugin = proc:to_insert ():plugin (0)
print ("window", "P-" .. track:to_stateful ():id ():to_s () .. "-" .. proc:to_stateful ():id ():to_s ())
for i = 0, plugin:parameter_count () - 1 do
  local id, ok = plugin:nth_parameter (i, true)
  if ok[2] then
    local _, d = plugin:get_parameter_descriptor (id, ARDOUR.ParameterDescriptor ())
    print ("param", id, d[2].label, (ARDOUR.LuaAPI.get_processor_param (proc, id, true)))
  end
end
s:save_state ("", false, false, false, false, false)
close_session ()
EOF
HOME=$home SESSION_DIR=$session SESSION_NAME=session PLUGIN_TYPE=$format \
  timeout 120 ardour7-lua "$out/make-session.lua" > "$out/make-session.out" 2>&1
window=$(awk '$1 == "window" { print $2 }' "$out/make-session.out")
[ -n "$window" ] || { cat "$out/make-session.out" >&2; exit 1; }
grep '^param' "$out/make-session.out" | cut -f2- > "$out/host-values-after-insert.txt"
say "plug-in's values as Ardour reads them right after insert (id, name, value): $out/host-values-after-insert.txt"
processor=${window##*-}
# Ardour's own values of the plug-in's controls, as a saved session keeps them.
host_controls () { # $1: session file, $2: output name
  awk -v id="$processor" '$0 ~ "<Processor id=\"" id "\"" { on = 1 }
    on && /<Controllable name=/ { print } on && /<\/Processor>/ { exit }' "$1" |
    sed -n 's/.*name="\([^"]*\)".* value="\([^"]*\)".*/\1=\2/p' > "$out/$2"
  say "Ardour's own control values ($2): $(grep -E '^(Decay t|Predela|Room si|Wet)[^=]*=' "$out/$2" | paste -sd ' ')"
}
host_controls "$session/session.ardour" host-controls-after-insert.txt
# Open the plug-in's own window at start-up.
sed -i "s|</Session>|  <Extra><UI><Window name=\"$window\" visible=\"1\" custom-ui=\"1\"/></UI></Extra>\n</Session>|" \
  "$session/session.ardour"
cp "$session/session.ardour" "$out/session-after-insert.ardour"

# ---------------------------------------------------------------- display and Ardour
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1600x1000x24 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb_pid=$!
ardour_pid=
cleanup () {
  if [ -n "$ardour_pid" ]; then kill "$ardour_pid" 2>/dev/null || true; fi
  if [ -n "${hung_pid:-}" ]; then kill -9 "$hung_pid" 2>/dev/null || true; fi
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

tag="\\[$format\\]"
[ "$format" = VST2 ] && tag="\\[VST\\]"

start_ardour () { # $1: log name
  (cd "$session" && HOME=$home LXVST_PATH=$home/.vst exec timeout 300 ardour session.ardour) \
    > "$out/$1.log" 2>&1 &
  ardour_pid=$!
  run_name=$1
  plugin_window=
  for _ in $(seq 120); do
    plugin_window=$(xdotool search --onlyvisible --name "$tag" 2>/dev/null | head -n 1 || true)
    [ -n "$plugin_window" ] && break
    sleep 0.5
  done
  sleep 3
  main_window=$(xdotool search --onlyvisible --name " - Ardour$" 2>/dev/null | head -n 1 || true)
}

backtrace () { # $1: process, $2: file name
  if [ -n "$1" ] && command -v gdb >/dev/null; then
    timeout 120 gdb -batch -p "$1" -ex 'thread apply all bt' > "$out/$2" 2>&1 || true
    say "backtrace of every thread: $out/$2"
  fi
}

# Ctrl+S in the main window; true when Ardour has written the session within 20 s, which
# also shows that its user-interface thread still answers.
save_session () {
  touch -d '1 hour ago' "$session/session.ardour"
  xdotool windowfocus "$main_window" 2>/dev/null || true; sleep 0.5
  xdotool key ctrl+s
  for _ in $(seq 40); do
    [ -n "$(find "$session/session.ardour" -mmin -1)" ] && { sleep 0.5; return 0; }
    sleep 0.5
  done
  return 1
}

stop_ardour () { # saves first when $1 is "save"
  if [ -n "$main_window" ]; then
    [ "${1:-}" = save ] && { save_session || say "FAIL: Ardour did not save the session"; }
    xdotool windowfocus "$main_window" 2>/dev/null || true; sleep 0.5
    xdotool key ctrl+q
  fi
  for _ in $(seq 40); do kill -0 "$ardour_pid" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$ardour_pid" 2>/dev/null; then
    picture "$run_name-not-quitting.png"
    hung_pid=$(pgrep -P "$ardour_pid" | head -n 1 || true)
    if xdotool search --onlyvisible --name '^Unsaved Session$' >/dev/null 2>&1; then
      say "Ardour asked whether to save (it counts the session as modified); stopped it"
    else
      say "Ardour did not quit; stopped it"
      backtrace "$hung_pid" "$run_name-not-quitting-backtrace.txt"
    fi
    kill "$ardour_pid" 2>/dev/null || true
    sleep 2
    # A hung Ardour may ignore the signal timeout passes on.
    [ -n "$hung_pid" ] && kill -9 "$hung_pid" 2>/dev/null || true
    hung_pid=
  fi
  wait "$ardour_pid" 2>/dev/null || true
  ardour_pid=
}

# Chooses a factory preset from the preset menu of Ardour's plug-in window: the menu lists
# the presets by name, so the preset's rank in that order is the number of Down keys.
# $1: preset, $2: the menu button's distance from the window's right edge.
pick_preset () {
  local rank
  rank=$(cd "$preset_dir" && ls -- *.vstpreset | sed 's/\.vstpreset$//' | LC_ALL=C sort |
    grep -n -x -F -- "$1" | cut -d: -f1)
  eval "$(xdotool getwindowgeometry --shell "$plugin_window")"
  xdotool mousemove $((X + WIDTH - $2)) $((Y + 16)) click 1
  sleep 1
  xdotool key --delay 60 --repeat "$rank" Down
  xdotool key Return
  sleep 2
}

# After a preset was chosen: Ardour must still answer. If it does not, keep a backtrace of
# every thread. $1: name of the step.
check_answering () {
  if save_session; then
    say "Ardour answers after $1 (the session was saved)"
    return 0
  fi
  say "FAIL: Ardour stopped answering after $1"
  backtrace "$(pgrep -P "$ardour_pid" | head -n 1 || true)" "$run_name-hang-backtrace.txt"
  return 1
}

# The embedded editor: the plug-in window's descendant with the skin's size.
editor_origin () {
  xwininfo -id "$plugin_window" -tree | awk '/ 1105x381\+/ { split($NF, p, "+"); print p[2], p[3]; exit }'
}

picture () { # $1: file name, $2: window (default: whole screen)
  import -window "${2:-root}" "$out/$1"
  say "picture: $out/$1"
}

start_ardour ardour-first
if [ -z "$plugin_window" ]; then
  picture no-plugin-window.png
  say "FAIL: no window titled $tag appeared"
  exit 1
fi
say "plug-in window: $(xdotool getwindowname "$plugin_window")"
xwininfo -id "$plugin_window" -tree > "$out/window-tree.txt"
picture 01-screen.png
picture 02-plugin-window.png "$plugin_window"

origin=$(editor_origin)
if [ -n "$origin" ]; then
  say "editor embedded at 1105x381 (screen position $origin)"
  read -r ex ey <<< "$origin"
  # Decay knob: drag it up by 60 pixels.
  xdotool mousemove $((ex + 248)) $((ey + 284)) mousedown 1
  for _ in $(seq 12); do xdotool mousemove_relative -- 0 -5; sleep 0.05; done
  xdotool mouseup 1
  sleep 1
  picture 03-after-decay-drag.png "$plugin_window"
  # Predelay value field: click, type, Return.
  xdotool mousemove $((ex + 124)) $((ey + 194)) click 1
  sleep 0.5
  xdotool type --delay 60 "35"
  xdotool key Return
  sleep 1
  picture 04-after-typing-predelay.png "$plugin_window"
else
  say "no embedded 1105x381 editor: Ardour shows its generic controls"
fi

stop_ardour save
host_controls "$session/session.ardour" host-controls-after-edits.txt

start_ardour ardour-reopened
if [ -n "$plugin_window" ]; then
  picture 05-reopened.png "$plugin_window"
  # Ardour marks a modified session with a star before its name in the title.
  case "$(xdotool getwindowname "$main_window" 2>/dev/null)" in
    \**) say "NOTE: Ardour counts the reopened session as modified although nothing was changed" ;;
    *) say "the reopened session counts as unmodified" ;;
  esac
else
  picture 05-reopened-screen.png
  say "FAIL: the plug-in window did not reopen"
fi
if [ -n "$preset" ] && [ -n "$plugin_window" ]; then
  say "choosing \"$preset\" in Ardour's preset menu of the plug-in's window"
  pick_preset "$preset" 248
  picture 06-after-preset.png "$plugin_window"
  if check_answering "the preset"; then
    host_controls "$session/session.ardour" host-controls-after-preset.txt
    picture 06-after-preset-saved.png "$plugin_window"
  fi
fi
stop_ardour

if [ -n "$preset" ]; then
  # Ardour's generic controls: the same window with custom-ui="0", from the fresh insert.
  sed 's/custom-ui="1"/custom-ui="0"/' "$out/session-after-insert.ardour" > "$session/session.ardour"
  start_ardour ardour-generic
  if [ -n "$plugin_window" ]; then
    picture 07-generic-after-insert.png "$plugin_window"
    say "choosing \"$preset\" in Ardour's preset menu of its generic controls"
    pick_preset "$preset" 210
    picture 08-generic-after-preset.png "$plugin_window"
    check_answering "the preset in the generic controls" &&
      host_controls "$session/session.ardour" host-controls-generic-after-preset.txt
  else
    picture 07-generic-screen.png
    say "FAIL: Ardour's generic controls did not open"
  fi
  stop_ardour
fi
grep -h -i -E "error|warning|crash|assert" "$out"/ardour-*.log | grep -v -E "ALSA|locked memory|Gtk-WARNING" \
  > "$out/ardour-problems.txt" || true
say "Ardour log lines with error/warning: $out/ardour-problems.txt ($(wc -l < "$out/ardour-problems.txt") lines)"
say "done: $out"
