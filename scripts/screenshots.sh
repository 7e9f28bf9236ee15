#!/usr/bin/env bash
# Takes the README's pictures under Wine: the test host korvik.exe with the add-in's pane in each of
# the five views on the bundled sample log, the search dialog, the ID selection dialog, the progress
# window and the About box. Writes docs/screenshots/*.png (small 8-bit PNGs).
#
#     scripts/screenshots.sh            # needs what scripts/wine-suite.sh needs, and ImageMagick
#
# Builds the Windows side and uses the Wine prefix of the suite (scripts/wine-env.sh picks which).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out="$root/docs/screenshots"

. scripts/wine-env.sh
qor_wine_pick
read -r -a packages <<<"$(qor_wine_packages)"
command -v import >/dev/null || packages+=(imagemagick)
command -v xwininfo >/dev/null || packages+=(x11-utils)
command -v xdotool >/dev/null || packages+=(xdotool)
if [ ${#packages[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || { echo "screenshots: missing ${packages[*]}" >&2; exit 1; }
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}" >/dev/null
  qor_wine_pick
fi

cmake --preset "$QOR_WINDOWS_PRESET" >/dev/null
cmake --build --preset "$QOR_WINDOWS_PRESET" -j2 --target korvik QORMAIL >/dev/null
qor_wine_start 140 180
windows_build="$root/$QOR_WINDOWS_BUILD"

# A scratch directory on drive B: with the sample log, a big log for the progress window, and the
# add-in beside a QOR.DAT so that it offers the ID registration.
work=$(mktemp -d "$windows_build/screenshots-XXXXXX")
trap 'wineserver -k >/dev/null 2>&1 || true; kill $QOR_XVFB >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
cp samples/session.log "$work/"
for _ in $(seq 3000); do cat samples/session.log; done >"$work/big.log"
mkdir -p "$work/addin" "$out"
cp "$windows_build/bin/QORMAIL.DLL" "$work/addin/"
printf '\x03QOR\x05Zolka' >"$work/addin/QOR.DAT"
cd "$work"

# The main window's place on the screen: x, y, width, height.
window_geometry() {
  xwininfo -name "$1" 2>/dev/null |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
         END {if (w) print x, y, w, h}'
}

wait_for_window() {
  for _ in $(seq 200); do
    [ -n "$(window_geometry "$1")" ] && return 0
    sleep 0.05
  done
  echo "screenshots: no window \"$1\"" >&2
  return 1
}

# shoot NAME WAIT-FOR-WINDOW LOG [korvik open options...]: runs the host on the log, waits for the
# window named, lets it paint, and keeps the main window's part of the screen. With RIGHT_CLICK=1
# the mouse first clicks the pane with its right button (the host shows the pane's menu).
shoot() {
  local name=$1 awaited=$2 log=$3
  shift 3
  rm -f QORMAIL.INI
  "$WINE" "$windows_build/bin/korvik.exe" open --profile-dir . "$@" "$log" >/dev/null 2>&1 &
  local host=$!
  wait_for_window "$awaited"
  sleep "${SETTLE:-4}"
  local geometry
  geometry=$(window_geometry "Korvik - $log")
  read -r x y w h <<<"$geometry"
  if [ "${RIGHT_CLICK:-0}" = 1 ]; then
    xdotool mousemove $((x + 120)) $((y + 260)) click 3
    sleep 1
  fi
  import -window root -crop "${w}x${h}+${x}+${y}" +repage -colors 96 "PNG8:$out/$name.png"
  kill "$host" >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p 60 >/dev/null 2>&1 || true
  echo "screenshots: $out/$name.png"
}

shoot view1-received-in-order "Korvik - session.log" session.log
shoot view2-received-by-id "Korvik - session.log" session.log --command 102
shoot view3-sent-in-order "Korvik - session.log" session.log --command 103
shoot view4-sent-by-id "Korvik - session.log" session.log --command 104
shoot view5-sent-and-received-by-id "Korvik - session.log" session.log --command 105
shoot search-dialog "メール題名からの検索" session.log --answer "search 忘年会" --command 110 --command 110
shoot id-selection "追加するIDの選択" session.log --addin addin/QORMAIL.DLL --command 105 \
  --answer "answer yes" --command 130
RIGHT_CLICK=1 shoot pane-menu "Korvik - session.log" session.log --command 103
shoot about-box "メール　ゾルカについて" session.log --command 1000
# The whole big log with ALLDISP on: the window shows while the scan runs.
SETTLE=0.3 shoot progress "メールを探しています，しばらくお待ち下さい。" big.log --command 120
