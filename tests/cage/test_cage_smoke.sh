#!/usr/bin/env bash
# Starts the kiosk inside cage (wlroots' headless backend, software renderer) once natively
# on Wayland and once through cage's Xwayland, and checks it from outside as a visitor's
# screen reader would: atspi_smoke.py. cage refuses to run as root, so as root the test runs
# it as an unprivileged user of its own.
set -euo pipefail
kalmo="$1"
probe="$2"
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# The system's Python, where python3-pyatspi lives (not a developer's own Python).
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
for tool in cage grim dbus-run-session python3 ffmpeg; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps installs it)"
done
/usr/bin/python3 -c 'import importlib.util, sys; sys.exit(importlib.util.find_spec("pyatspi") is None)' || skip "python3-pyatspi is not installed"
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
  ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  skip "qt6-wayland is not installed"

user="$(id -un)"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=kalmo-smoke
  id "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
  as_user=(runuser -u "$user" --)
fi

work="$(mktemp -d)"
chmod 755 "$work"
cage_pid=
# Killing the runuser in front of cage leaves cage, its bus and the kiosk running: as root the
# smoke user's processes are all the session's, so they all go.
stop_session() {
  [ -n "$cage_pid" ] && kill "$cage_pid" 2>/dev/null || true
  if [ ${#as_user[@]} -gt 0 ]; then
    pkill -KILL -u "$user" 2>/dev/null || true
    for _ in $(seq 1 100); do
      pgrep -u "$user" >/dev/null || break
      sleep 0.1
    done
  fi
  [ -n "$cage_pid" ] && wait "$cage_pid" 2>/dev/null || true
  cage_pid=
}
cleanup() {
  stop_session
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A checkout under root's home is closed to that user: then it gets copies of its own.
if ! "${as_user[@]}" test -x "$kalmo" || ! "${as_user[@]}" test -r "$probe"; then
  cp "$kalmo" "$work/kalmo"
  cp "$probe" "$work/atspi_smoke.py"
  chmod 755 "$work/kalmo" "$work/atspi_smoke.py"
  kalmo="$work/kalmo"
  probe="$work/atspi_smoke.py"
fi

# What runs inside cage: notes the session's addresses for the probe, then the kiosk.
cat >"$work/inside" <<'INSIDE'
#!/bin/sh
env | grep -E '^(DBUS_SESSION_BUS_ADDRESS|WAYLAND_DISPLAY|DISPLAY)=' >"$XDG_RUNTIME_DIR/session.env"
exec "$@"
INSIDE
chmod 755 "$work/inside"

run() {
  local platform="$1"
  local dir="$work/$platform"
  mkdir -p "$dir/run" "$dir/base/photo"
  chmod 700 "$dir/run"
  # Three photos, all red, so that the screen shows red whichever the slideshow picks.
  for n in 1 2 3; do
    ffmpeg -loglevel error -f lavfi -i color=c=red:s=640x480 -frames:v 1 "$dir/base/photo/smoke$n.jpg"
  done
  printf '[dir]\nDirimage=%s\n' "$dir/base/photo/" >"$dir/base/kalmora.ini"
  chown -R "$user" "$dir"
  "${as_user[@]}" env -i PATH="$PATH" HOME="$dir/run" XDG_RUNTIME_DIR="$dir/run" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    QT_QPA_PLATFORM="$platform" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    dbus-run-session -- cage -- "$work/inside" "$kalmo" --base "$dir/base/" \
    >"$dir/cage.log" 2>&1 &
  cage_pid=$!
  for _ in $(seq 1 300); do
    [ -s "$dir/run/session.env" ] && break
    kill -0 "$cage_pid" 2>/dev/null || { cat "$dir/cage.log"; fail "cage ($platform) exited"; }
    sleep 0.1
  done
  [ -s "$dir/run/session.env" ] || { cat "$dir/cage.log"; fail "cage ($platform) did not start the kiosk"; }
  local status=0
  # shellcheck disable=SC2046
  "${as_user[@]}" env -i PATH="$PATH" HOME="$dir/run" XDG_RUNTIME_DIR="$dir/run" \
    $(cat "$dir/run/session.env") /usr/bin/python3 "$probe" "$platform" "$dir/shot.ppm" || status=$?
  stop_session
  if [ "$status" -ne 0 ]; then
    cat "$dir/cage.log"
    cat "$dir/base/kalmo.log" 2>/dev/null || true
    fail "the kiosk under cage ($platform)"
  fi
}

run wayland
run xcb
echo "cage smoke test: the kiosk paints and its calendar opens and closes, on Wayland and Xwayland"
