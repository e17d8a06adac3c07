#!/bin/sh
# Every page of `make screens` drawn on the classic SDL 1.2 and on sdl12-compat, byte for byte the
# same. usage: same_screens.sh SCREENS_PROGRAM WORKDIR
set -eu
screens=$1
work=$2
compat=$(pkg-config --variable=libdir sdl)/sdl12-compat
if [ ! -e "$compat/libSDL-1.2.so.0" ]; then
  echo "same_screens: sdl12-compat is not installed in $compat (make setup installs it)"
  exit 1
fi
rm -rf "$work"
mkdir -p "$work/classic" "$work/compat"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
env -u LD_LIBRARY_PATH "$screens" "$work/classic" > "$work/classic.list" 2> "$work/classic.err" ||
  { cat "$work/classic.err"; exit 1; }
# (in the sanitizer build: sdl12-compat's libraries keep no frame pointers, and only the slow
# unwinder reaches the frames that the leak suppressions name)
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0" LD_LIBRARY_PATH=$compat \
  "$screens" "$work/compat" > "$work/compat.list" 2> "$work/compat.err" ||
  { cat "$work/compat.err"; exit 1; }
a=$(grep '^screens: SDL' "$work/classic.err")
b=$(grep '^screens: SDL' "$work/compat.err")
echo "$a / $b"
if [ "$a" = "$b" ]; then
  echo "same_screens: both runs used the same library"
  exit 1
fi
n=0
for f in "$work"/classic/*.png; do
  name=$(basename "$f")
  if ! cmp -s "$f" "$work/compat/$name"; then
    echo "same_screens: $name differs (see $work/classic and $work/compat)"
    exit 1
  fi
  n=$((n + 1))
done
[ "$n" -gt 0 ] || { echo "same_screens: no pictures were written"; exit 1; }
[ "$(ls "$work/compat" | wc -l)" -eq "$n" ] || { echo "same_screens: not the same pages"; exit 1; }
echo "same_screens: $n pages byte-identical"
