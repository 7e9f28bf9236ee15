#!/usr/bin/env bash
# Makes the download for users: dist/QORMAIL-VERSION.zip with QORMAIL.DLL built for release
# (preset release: optimised, no debug information), the user guide in Japanese (code page 932,
# as Notepad on every Windows reads it) and English, and the licence.
#
#     scripts/release.sh
#
# Checks the DLL before packing it: its headers (32-bit, GiveAddinInterface alone, system imports
# only), its size (under 512 KiB), and, where this machine runs 32-bit programs, the whole Wine
# suite on this very DLL. Where it does not, the Wine suite (scripts/wine-suite.sh) covers the same
# sources in its 64-bit build; the script says so.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh
. scripts/wine-env.sh
qor_wine_pick
read -r -a packages <<<"$(qor_wine_packages)"
if [ ${#packages[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || { echo "release: missing ${packages[*]}; run as root or install them" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq && apt-get install -y -qq "${packages[@]}" >/dev/null
  qor_wine_pick
fi

version=$(sed -n 's/^project(MailZolka VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake --preset release >/dev/null
cmake --build --preset release -j2
dll=build-release/bin/QORMAIL.DLL

python3 tests/wine/check_dll.py --objdump i686-w64-mingw32-objdump --machine i686 "$dll"
size=$(stat -c %s "$dll")
if [ "$size" -ge $((512 * 1024)) ]; then
  echo "release: $dll is $size bytes, over 512 KiB" >&2
  exit 1
fi

if [ "$QOR_WINE_ARCH" = 32 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target mailzolka QORMAIL >/dev/null
  export QOR_WINDOWS_BUILD=build-release WINEPREFIX="$root/build-release/wineprefix"
  qor_wine_start 131 139
  ctest --test-dir build-release -j2 --output-on-failure
else
  echo "release: this machine runs no 32-bit programs; the Wine suite runs these sources in their 64-bit build (scripts/wine-suite.sh)"
fi

mkdir -p dist
zip="dist/QORMAIL-$version.zip"
python3 - "$zip" "$dll" "$version" <<'PY'
import sys, zipfile
zip_path, dll, version = sys.argv[1:]
def text(path, encoding):
    body = open(path, encoding="utf-8").read().replace("@VERSION@", version)
    return body.replace("\n", "\r\n").encode(encoding)
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(dll, "QORMAIL.DLL")
    z.writestr("README-ja.txt", text("docs/release/guide-ja.txt", "cp932"))
    z.writestr("README-en.txt", text("docs/release/guide-en.txt", "utf-8-sig"))
    z.writestr("LICENSE.txt", text("LICENSE", "ascii"))
PY
echo "release: $zip ($(stat -c %s "$zip") bytes; QORMAIL.DLL $size bytes)"
