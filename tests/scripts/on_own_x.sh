#!/usr/bin/env bash
# on_own_x.sh WxH COMMAND...: runs COMMAND on an X server of its own.
# The server picks a free display number itself (-displayfd), so tests that
# start at the same moment never share one, as they could when each looked
# for a free number first and then started a server on it.
set -euo pipefail
screen=$1; shift
dir=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$dir/display" || { echo "on_own_x: the X server did not start" >&2; exit 1; }
export DISPLAY=":$number"
"$@"
