#!/usr/bin/env bash
# Makes the Wine prefix for the Windows build's tests and screenshots, once. Call it as
# scripts/wine-env.sh's qor_wine_start does: with WINE (the loader), WINEPREFIX, WINEARCH, DISPLAY,
# the Japanese locale and QOR_WINDOWS_BUILD (the Windows build directory, default build-win) set.
#
# Drive B: is the Windows build directory (the programs, the DLL and the tests' directories all lie
# below it) and
# the root file system gets no drive: the file dialogs ask every drive for its volume label, and
# Wine's answer for "/" is a complaint on standard error. Windows are left unmanaged (no window
# manager runs on the virtual display, and Wine would wait for one each time a window closes);
# the suite's run under openbox switches that for its time (wine-env.sh, qor_wine_managed).
# Fonts: the templates' Japanese fonts are mapped to the IPA fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${QOR_WINDOWS_BUILD:-build-win}"
wine=${WINE:-wine}
version=1
marker="$WINEPREFIX/.korvik-prefix"

if [ -f "$marker" ] && [ "$(cat "$marker")" = "$version" ]; then exit 0; fi
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w

printf 'korvik\n' >"$build/.windows-label"
printf '4b6f7276\n' >"$build/.windows-serial"
ln -sfn "$build" "$WINEPREFIX/dosdevices/b:"
rm -f "$WINEPREFIX/dosdevices/z:"

registry="$WINEPREFIX/drive_c/korvik.reg"
python3 - "$registry" <<'PY'
import sys
fonts = {  # the dialogs' fonts, and the ones Wine's own dialogs ask for
    "ＭＳ Ｐゴシック": "IPAPGothic", "ＭＳ ゴシック": "IPAGothic", "ＭＳ 明朝": "IPAMincho",
    "ＭＳ Ｐ明朝": "IPAPMincho", "MS UI Gothic": "IPAPGothic", "MS Gothic": "IPAGothic",
    "MS PGothic": "IPAPGothic", "MS Mincho": "IPAMincho",
}
lines = ["Windows Registry Editor Version 5.00", "",
         "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]", '"Managed"="N"', "",
         "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]"]
lines += [f'"{name}"="{face}"' for name, face in fonts.items()]
with open(sys.argv[1], "w", encoding="utf-16") as f:
    f.write("\r\n".join(lines) + "\r\n")
PY
"$wine" regedit /S 'C:\korvik.reg' >/dev/null 2>&1
wineserver -w
echo "$version" >"$marker"
