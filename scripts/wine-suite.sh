#!/usr/bin/env bash
# The end-to-end suite on real windows: builds QORMAIL.DLL and the Windows test host korvik.exe
# (preset mingw, in build-win/), and runs under Wine (32-bit, a virtual X display, the Japanese
# locale so that the ANSI code page is 932) the DLL's export/import check, the resource read-back
# and every scenario script, each compared with mailzolka's run on the simulated desktop.
#
# Installs what is missing on Debian as root (the MinGW-w64 toolchain, Wine, Xvfb, the ja_JP
# locale, CJK fonts); when it cannot, it says in one line which suite it did not run and why, and
# exits 0. Wine's prefix is build-win/wineprefix, made afresh when missing (about 20 s).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

not_run() {
  echo "wine-suite: the Wine end-to-end suite was not run: $*"
  exit 0
}

# ---- Packages
packages=()
command -v i686-w64-mingw32-g++-win32 >/dev/null || packages+=(g++-mingw-w64-i686)
command -v wine >/dev/null || packages+=(wine)
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" || packages+=(wine32:i386)
command -v Xvfb >/dev/null || packages+=(xvfb)
command -v localedef >/dev/null || packages+=(locales)
fc-list 2>/dev/null | grep -qi "IPAPGothic" || packages+=(fonts-ipafont-gothic)
fc-list 2>/dev/null | grep -qi "IPAMincho" || packages+=(fonts-ipafont-mincho)
if [ ${#packages[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || not_run "missing ${packages[*]} and not root to install them"
  command -v apt-get >/dev/null || not_run "missing ${packages[*]} and no apt-get"
  echo "wine-suite: installing ${packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq >/dev/null || not_run "apt-get update failed"
  apt-get install -y -qq "${packages[@]}" >/dev/null 2>&1 || not_run "could not install ${packages[*]}"
fi
if ! locale -a 2>/dev/null | grep -qix "ja_JP.utf8"; then
  [ "$(id -u)" = 0 ] || not_run "no ja_JP.UTF-8 locale and not root to make it"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || not_run "could not make the ja_JP.UTF-8 locale"
fi

# ---- Builds: mailzolka on the simulated desktop (the other side of the comparison), and the
# Windows build.
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target mailzolka QORMAIL >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2

# ---- Wine
export WINEARCH=win32
export WINEPREFIX="$root/build-win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer at the first start
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
unset LANGUAGE

# A free display for Xvfb.
display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || not_run "no free X display number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" >/dev/null 2>&1 || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# Wine processes of the prefix left from an earlier run may be tied to a display that is gone.
wineserver -k >/dev/null 2>&1 || true
scripts/wine-prefix.sh
wineserver -p 60 >/dev/null 2>&1 || true
# Wine's services start with the first program and keep its standard handles open: they start now,
# away from the pipes of the runs that are read to their end.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

# ---- The tests: registered in the Windows build (tests/wine/CMakeLists.txt).
ctest --test-dir build-win -j2 --output-on-failure

# Once more as a user's machine has it: the profile functions write the prefix's Windows directory
# (no redirection into the case's directory; the profile cases, one at a time, since the directory
# is shared), and the pane's parent asks the tree for Unicode notifications (the W codes).
KORVIK_REAL_PROFILES=1 ctest --test-dir build-win -R '^wine\.scenario\.(settings|registration|attach_menu)$' -j1 \
  --output-on-failure
KORVIK_UNICODE_NOTIFY=1 ctest --test-dir build-win -R '^wine\.scenario\.(linking|search|listings_both)$' -j2 \
  --output-on-failure
