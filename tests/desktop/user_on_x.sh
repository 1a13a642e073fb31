#!/usr/bin/env bash
# A new user's hands on the suite, on a real X server under the openbox
# window manager, with real pointer and key events (xdotool):
#   - Tab reaches "Save Record" in the word-book editor and Space saves;
#   - Vocabra's Option form opens above the always-on-top word window;
#   - a click on a character in Reader's list, and in Dialogra's settings
#     (reached through the menu the bar's button opens under the pointer),
#     chooses it at once, without a message box.
# Usage: user_on_x.sh PROGRAM_FOLDER [SCREENSHOT_FOLDER]
# Every wait is on a condition, with a time limit; nothing sleeps blindly.
set -euo pipefail

bin=$(cd "${1:?usage: user_on_x.sh PROGRAM_FOLDER [SCREENSHOT_FOLDER]}" && pwd)
shots=${2:-}
work=$(mktemp -d)
pids=()

cleanup() {
  local p
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    p=${pids[i]}
    kill "$p" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [[ -n "${DISPLAY:-}" ]]; then
    mkdir -p "${shots:-/tmp}"
    import -window root "${shots:-/tmp}/user_on_x_failure.png" 2>/dev/null || true
    xprop -root _NET_CLIENT_LIST_STACKING >&2 || true
  fi
  for log in "$work"/*.log; do [[ -s $log ]] && { echo "--- $log"; tail -n 20 "$log"; }; done >&2
  exit 1
}

# wait_for DESCRIPTION COMMAND...: runs COMMAND until it succeeds, 20 s at most.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 200); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "waited in vain for: $what"
}

shot() {
  [[ -n $shots ]] && command -v import >/dev/null || return 0
  mkdir -p "$shots"
  import -window root "$shots/$1.png"
}

# --- a private home, a private copy of the word books, a display ----------------------
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_RUNTIME_DIR=$work/home/run
export XDG_CACHE_HOME=$work/home/cache XDG_CONFIG_HOME=$work/home/config
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
export TAVRINEL_PROGRAM_DIR=$work/bin TAVRINEL_SYSTEM_DIR=$bin/system TAVRINEL_AUDIO=none
mkdir -p "$TAVRINEL_PROGRAM_DIR"
cp "$bin"/*.ocx "$bin"/dictionary.dll "$TAVRINEL_PROGRAM_DIR"/
for f in "$bin"/*; do [[ -e $TAVRINEL_PROGRAM_DIR/$(basename "$f") ]] || ln -s "$f" "$TAVRINEL_PROGRAM_DIR"/; done
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SESSION_MANAGER

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for "the X server" test -s "$work/display"
export DISPLAY=:$(head -n 1 "$work/display")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for "the window manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
(cd "$TAVRINEL_PROGRAM_DIR" && "$bin/regcontrol" "$TAVRINEL_PROGRAM_DIR/Ornatek.ocx") >"$work/regcontrol.log" 2>&1 ||
  fail "the menu control did not register"

# start NAME: starts a program of the folder with its own settings folder.
start() {
  local name=$1
  export XDG_CONFIG_HOME=$work/home/config-$name
  mkdir -p "$XDG_CONFIG_HOME"
  "$bin/$name" >"$work/$name.log" 2>&1 &
  pids+=($!)
  last=$!
}

# The visible window of process $1 titled exactly $2 (the first one found).
window_of() {
  xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1
}
has_window() { [[ -n $(window_of "$1" "$2") ]]; }
windows_of() { xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null | wc -l; }

# Whether process $1 shows a dialog window (a message box).
shows_dialog() {
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG && return 0
  done
  return 1
}

# Where the window's client area starts on the screen: "X Y".
origin_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# move_to WINDOW X Y: the pointer to a point of the window's client area.
move_to() {
  local o
  read -r -a o <<<"$(origin_of "$1")"
  xdotool mousemove --sync $((o[0] + $2)) $((o[1] + $3))
}

# click_at WINDOW X Y [BUTTON]: a real click at a point of the window's client area.
click_at() {
  move_to "$1" "$2" "$3"
  xdotool click "${4:-1}"
}

# The stacking place of a window among the managed ones, bottom first.
stacking_place() {
  xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep -n -i "^$(printf '0x%x' "$1")\$" |
    cut -d: -f1
}
above() { (($(stacking_place "$1") > $(stacking_place "$2"))); }

setting_is() {  # setting_is NAME KEY VALUE: the stored setting of program NAME
  grep -rqix "$2 *= *$3" "$work/home/config-$1" 2>/dev/null
}

# SQLite keeps text as it is: the saved word shows in the file (or its log).
record_saved() { grep -aq keyboard "$TAVRINEL_PROGRAM_DIR"/word.ocx* && grep -aq tastiera "$TAVRINEL_PROGRAM_DIR"/word.ocx*; }

key() { xdotool key --clearmodifiers "$@"; }

echo "display $DISPLAY, home $HOME"

# --- Vocabra: the Option form above the always-on-top word window ---------------------
start Vocabra
vocabra=$last
wait_for "Vocabra's word window" has_window "$vocabra" Vocabra
word=$(window_of "$vocabra" Vocabra)
# popup ITEMS: opens the word window's menu and chooses the item ITEMS down.
popup() {
  local geometry
  read -r -a geometry <<<"$(xwininfo -id "$word" | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')"
  local before
  before=$(windows_of "$vocabra")
  click_at "$word" $((geometry[0] / 2)) $((geometry[1] / 2)) 3
  wait_for "the popup menu" bash -c "(( \$(xdotool search --all --onlyvisible --pid $vocabra --name '.*' | wc -l) > $before ))"
  key $(printf 'Down %.0s' $(seq "$1")) Return
}
popup 2
wait_for "the Option form" has_window "$vocabra" "Setting..."
option=$(window_of "$vocabra" "Setting...")
wait_for "the Option form above the word window" above "$option" "$word"
shot vocabra-option
click_at "$option" 542 15  # its close button
wait_for "the Option form to close" sh -c "! xdotool search --all --onlyvisible --pid $vocabra --name '^Setting\.\.\.\$'"

# --- the word-book editor: Tab to the buttons, Space presses them ---------------------
popup 5
wait_for "the editor, its title as it reads" has_window "$vocabra" "Adding & Manage New Words"
editor=$(window_of "$vocabra" "Adding & Manage New Words")
xdotool windowactivate --sync "$editor" 2>/dev/null || true
# The own word book comes empty: the editor opens ready for a new word, the
# focus in "English"; "Italian" and "Save Record" follow.
grep -aq tastiera "$TAVRINEL_PROGRAM_DIR"/word.ocx* && fail "the word book already holds the test's word"
xdotool type --delay 20 keyboard
key Tab
xdotool type --delay 20 tastiera
key Tab
shot editor-save-focused
key space
wait_for "the record saved by Space on Save Record" record_saved
kill "$vocabra" 2>/dev/null || true

# --- a click on a character chooses it at once, without a message box ------------------
start Reader
reader=$last
wait_for "Reader's window" has_window "$reader" Lectoria
lectoria=$(window_of "$reader" Lectoria)
click_at "$lectoria" 350 292  # the first file of the character list: Gufo.acs
wait_for "Reader to store the character clicked" setting_is Reader Agent Gufo
shows_dialog "$reader" && fail "Reader showed a message box for a click on a character"
shot reader-character
kill "$reader" 2>/dev/null || true

# --- Dialogra: the bar's menu button, its settings, a click on a character -------------
start Dialogra
dialogra=$last
wait_for "Dialogra's bar" has_window "$dialogra" Dialogra
bar=$(window_of "$dialogra" Dialogra)
# The open menu: a window of the program's name beside the bar, on the screen
# (a popup names no process, so it is found by its name).
menu_open() {
  local w
  for w in $(xwininfo -root -children | awk '$2 == "\"Dialogra\":" {print $1}'); do
    (($w == bar)) && continue
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
# The menu opens as the pointer comes over the button at the bar's left end,
# without a click. The pointer comes from below the bar in steps, as a hand
# moves it; should the menu not show within two seconds, it comes again.
hover_menu_button() {
  local point
  for point in "60 60" "30 30" "16 16" "12 11" "10 9"; do
    move_to "$bar" $point
    sleep 0.05
  done
  for _ in $(seq 20); do
    menu_open && return 0
    sleep 0.1
  done
  return 1
}
SECONDS=0
until hover_menu_button; do
  ((SECONDS < 20)) || fail "waited in vain for Dialogra's menu under the pointer"
done
key Down Return  # its first item: Settings...
wait_for "Dialogra's settings" has_window "$dialogra" "Setting..."
settings=$(window_of "$dialogra" "Setting...")
shot dialogra-settings
setting_is Dialogra Agent Gufo && fail "Dialogra already stores the character the test chooses"
click_at "$settings" 40 346  # the first file of the "Change Character" list: Gufo.acs
wait_for "Dialogra to store the character clicked" setting_is Dialogra Agent Gufo
shows_dialog "$dialogra" && fail "Dialogra showed a message box for a click on a character"
shot dialogra-character

echo "user_on_x: all steps passed"
