#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks its file list, unpacks it into a
# temporary root with dpkg -x and starts the unpacked kiosk on a new base folder: the first
# start writes its files and the weather panel finds its pictures in the data folder.
set -euo pipefail
build="$(cd "$1" && pwd)"
src="$(cd "$2" && pwd)"
work="$(mktemp -d)"
kiosk=
server=
cleanup() {
  [ -n "$kiosk" ] && kill "$kiosk" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1. The package.
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/out/kalmo_*.deb)"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/kalmo ./usr/bin/kalmo-settings \
         ./usr/share/kalmo/cloudiness/00.png ./usr/share/kalmo/cloudiness/39.png \
         ./usr/share/kalmo/sample/text.txt \
         ./usr/share/applications/kalmo.desktop \
         ./usr/lib/systemd/user/kalmo.service \
         ./usr/lib/systemd/system/kalmo-cage.service; do
  grep -qxF "$f" "$work/files" || fail "the package lacks $f"
done
if grep -E 'CMake|/tests?/|bench|\.o$|\.a$' "$work/files"; then
  fail "build tree files in the package"
fi
dpkg-deb -f "$deb" Depends | grep -q 'vlc-plugin-base' || fail "Depends lacks vlc-plugin-base"
grep -qx 'Restart=always' "$src/packaging/kalmo.service" || fail "the unit does not restart"
dpkg-deb -f "$deb" Recommends | grep -qw 'cage' || fail "Recommends lacks cage"
# The console unit: cage on tty1 as a named user, restarting like the user unit.
cage_unit="$src/packaging/kalmo-cage.service"
for line in 'ExecStart=/usr/bin/cage -- /usr/bin/kalmo' 'TTYPath=/dev/tty1' 'PAMName=login' \
            'Restart=always' 'RestartSec=2'; do
  grep -qxF "$line" "$cage_unit" || fail "kalmo-cage.service lacks $line"
done
grep -qE '^User=[a-z_][a-z0-9_-]*$' "$cage_unit" || fail "kalmo-cage.service runs as no named user"
if command -v systemd-analyze >/dev/null; then
  systemd-analyze verify "$cage_unit" 2>&1 | grep -iE 'unknown|invalid|failed to parse' &&
    fail "kalmo-cage.service does not parse"
fi

# 2. Unpacked into a root of its own.
dpkg -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/kalmo" ] || fail "no executable after dpkg -x"
# The administrators' tool works from the package on its own.
"$work/root/usr/bin/kalmo-settings" set "$work/tool.ini" time image 7 || fail "kalmo-settings set"
[ "$("$work/root/usr/bin/kalmo-settings" get "$work/tool.ini" TIME Image)" = 7 ] ||
  fail "kalmo-settings get"

# 3. A local weather informer with a forecast for the default city.
mkdir -p "$work/www/xml"
cp "$src/tests/data/weather/forecast.xml" "$work/www/xml/27611.xml"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/www" >"$work/http.log" 2>&1 &
server=$!
port=
for _ in $(seq 1 100); do
  port="$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/http.log" | head -n1)"
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the local informer did not start"

# 4. A new base folder: only the informer's address is given.
base="$work/base"
mkdir -p "$base" "$work/home"
printf '[weather]\ninformer=http://127.0.0.1:%s\n' "$port" >"$base/kalmora.ini"
HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" \
  "$work/root/usr/bin/kalmo" --base "$base" >"$work/kiosk.out" 2>&1 &
kiosk=$!

# Wait (generously) for the weather panel to show the forecast.
shown=
for _ in $(seq 1 1200); do
  if grep -q 'kalmo.weather: forecast shown' "$base/kalmo.log" 2>/dev/null; then shown=1; break; fi
  kill -0 "$kiosk" 2>/dev/null || { cat "$work/kiosk.out"; fail "the kiosk exited"; }
  sleep 0.1
done
[ -n "$shown" ] || { cat "$base/kalmo.log" 2>/dev/null; fail "no forecast shown within 120 s"; }

for f in filesetting.ini kalmora.ini raspisanie.ini; do
  [ -s "$base/$f" ] || fail "first start did not write $f"
done
grep -q '^\[Name\]' "$base/kalmora.ini" || fail "kalmora.ini lacks its first-start keys"
if grep -E 'kalmo\.weather: .*(missing|cannot load)' "$base/kalmo.log"; then
  fail "weather pictures not found from the data folder"
fi
echo "package test: $(basename "$deb") installs, starts and shows the weather"
