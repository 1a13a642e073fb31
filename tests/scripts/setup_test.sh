#!/usr/bin/env bash
# ./setup asks the package manager once for the whole list, installs only
# what is missing, and, as ./run calls it (--quick), not at all while the
# list is unchanged since its last check. Run on a copy of the script with
# stand-ins for dpkg-query, apt-get, sudo and ninja that log their calls.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/deps" "$work/tree/build" "$work/bin"
cp "$source_dir/setup" "$work/tree/setup"
printf '# packages\nalpha\nbeta\n\ngamma\n' > "$work/tree/deps/apt-packages.txt"
touch "$work/tree/build/build.ninja"
log=$work/calls.log
installed="alpha beta gamma"

stand_in() {
  printf '#!/bin/sh\n%s\n' "$2" > "$work/bin/$1"
  chmod +x "$work/bin/$1"
}
stand_in dpkg-query 'shift 2
echo "dpkg-query $*" >> "$LOG"
[ -n "$BUSY" ] && exit 2
for p in "$@"; do
  case " $INSTALLED " in *" $p "*) echo "$p install ok installed" ;;
  *) echo "dpkg-query: no packages found matching $p" >&2 ;; esac
done'
stand_in apt-get 'echo "apt-get $*" >> "$LOG"'
stand_in sudo '"$@"'
stand_in ninja 'echo "ninja $*" >> "$LOG"'

run_setup() {
  : > "$log"
  (cd "$work/tree" && PATH="$work/bin:$PATH" LOG=$log INSTALLED=$installed BUSY=${busy:-} \
     ./setup "$@" >/dev/null)
}
fail() {
  echo "FAIL: $*"
  sed 's/^/  /' "$log"
  exit 1
}
count() { grep -c "^$1" "$log" || true; }

# A first start: one query for every package, nothing to install, a build.
run_setup --quick
[[ $(count dpkg-query) == 1 ]] || fail "one query for the whole list"
grep -qx "dpkg-query alpha beta gamma" "$log" || fail "the query names every package"
[[ $(count apt-get) == 0 ]] || fail "nothing is installed when nothing is missing"
[[ $(count ninja) == 1 ]] || fail "the build runs"

# The next starts need no package manager, even a busy one, and no build
# while nothing changed.
busy=1 run_setup --quick || fail "a busy package manager stops a start"
[[ $(count dpkg-query) == 0 ]] || fail "an unchanged list is not asked again"
[[ $(count ninja) == 0 ]] || fail "an up-to-date tree is not built again"
mkdir -p "$work/tree/src" && touch "$work/tree/src/new.cpp"
run_setup --quick
[[ $(count ninja) == 1 ]] || fail "a changed checkout is built"
run_setup --quick
[[ $(count ninja) == 0 ]] || fail "built once is enough"
mkdir -p "$work/tree/build/bin" && touch "$work/tree/build/bin/reg.ocx"
run_setup --quick
[[ $(count ninja) == 1 ]] || fail "a program folder that changed is built"

# A new package in the list is looked for, and only the missing one installed.
echo delta >> "$work/tree/deps/apt-packages.txt"
run_setup --quick
[[ $(count dpkg-query) == 1 ]] || fail "a changed list is checked"
grep -q "apt-get install .* delta$" "$log" || fail "the missing package is installed"
grep "apt-get install" "$log" | grep -q alpha && fail "only what is missing is installed"

# ./setup alone always asks, once, and builds.
installed="alpha beta gamma delta"
run_setup
[[ $(count dpkg-query) == 1 ]] || fail "./setup asks the package manager once"
[[ $(count apt-get) == 0 ]] || fail "nothing left to install"
[[ $(count ninja) == 1 ]] || fail "./setup always builds"
echo "setup: all checks passed"
