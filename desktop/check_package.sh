#!/usr/bin/env bash
# Builds the Debian package from a built tree, has lintian check it (no error, no warning),
# unpacks it into a scratch root with dpkg -x, checks what it holds and declares, then starts the
# unpacked program headless and closes it with SIGTERM (SDL turns it into a window close): the
# program must end by itself with status 0.
# usage: check_package.sh BUILD_DIR APP_ID
set -euo pipefail
build=$(cd "$1" && pwd)
app=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "check_package: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb=$(find "$scratch/out" -name "*.deb" | head -n 1)
[ -n "$deb" ] || fail "no .deb made"
echo "package: $(basename "$deb")"

# Debian's own checks: every error and warning fails (lintian prints them, one a line)
lintian --fail-on error,warning "$deb" 2> "$scratch/lintian.err" ||
  { grep -v 'root privileges' "$scratch/lintian.err" >&2; fail "lintian finds faults in the package"; }
echo "lintian: no error, no warning"

# the libraries the program is linked with, as dpkg-shlibdeps names them, versioned where the
# library's package says from which version on it has what the program uses
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libsdl1.2debian libsdl-mixer1.2 libpng16-16; do
  versioned=", $lib \(>= [^)]+\),"
  [[ ", $depends," =~ $versioned ]] || fail "Depends lacks a versioned $lib: $depends"
done
[[ ", $depends," == *", libsdl-ttf2.0-0"* ]] || fail "Depends lacks libsdl-ttf2.0-0: $depends"

root="$scratch/root"
dpkg -x "$deb" "$root"
for f in usr/games/talmyr "usr/share/applications/$app.desktop" "usr/share/metainfo/$app.metainfo.xml" \
         usr/share/man/man6/talmyr.6.gz usr/share/doc/talmyr/changelog.gz usr/share/doc/talmyr/copyright; do
  [ -s "$root/$f" ] || fail "missing $f"
done
[ -x "$root/usr/games/talmyr" ] || fail "usr/games/talmyr is not executable"
[ ! -e "$root/usr/bin" ] || fail "the program is in usr/bin as well as in usr/games"
# the changelog's latest entry is this version
head -n 1 <(gzip -dc "$root/usr/share/doc/talmyr/changelog.gz") |
  grep -q "^talmyr ($(dpkg-deb -f "$deb" Version))" || fail "the changelog does not begin with this version"
for size in 32 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
  [ -s "$icon" ] || fail "missing the ${size}px icon"
  # PNG header: the width and height are the big-endian words at bytes 16 and 20
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}px icon is $dims"
done
desktop-file-validate "$root/usr/share/applications/$app.desktop"
gzip -dc "$root/usr/share/man/man6/talmyr.6.gz" | mandoc -Tlint -W warning ||
  fail "the packaged manual page does not pass the linter"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" > /dev/null

# Run it headless. SDL installs its SIGTERM handler once video is up, so wait for the program to
# have started (1.5 s is far beyond its start-up) before asking it to close.
log="$scratch/run.log"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$scratch/config" LANG=C LANGUAGE= \
  "$root/usr/games/talmyr" > "$log" 2>&1 &
pid=$!
sleep 1.5
kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the program ended before it was asked to"; }
kill -TERM "$pid"
status=0
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  fail "the program did not close within 10 s of SIGTERM"
fi
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { cat "$log" >&2; fail "the program exited with status $status"; }
echo "check_package: the unpacked program started and closed with status 0"
