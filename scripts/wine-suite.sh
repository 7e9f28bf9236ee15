#!/usr/bin/env bash
# The end-to-end suite on real windows: builds QORMAIL.DLL and the Windows test host korvik.exe,
# and runs under Wine (a virtual X display, the Japanese locale so that the ANSI code page is 932)
# the DLL's export/import check, the resource read-back and every scenario script, each compared
# with mailzolka's run on the simulated desktop.
#
# The DLL the host loads is 32-bit (preset mingw, build-win/) and its headers are always checked.
# Where this machine runs no 32-bit programs, the suite runs the 64-bit build of the same sources
# (preset mingw64, build-win64/) under 64-bit Wine instead (scripts/wine-env.sh).
#
# Installs what is missing on Debian as root (the MinGW-w64 toolchains, Wine, Xvfb, the ja_JP
# locale, CJK fonts); when it cannot, it says in one line which suite it did not run and why, and
# exits 0. Wine's prefix lies in the Windows build directory, made afresh when missing (about 20 s).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

not_run() {
  echo "wine-suite: the Wine end-to-end suite was not run: $*"
  exit 0
}

# ---- Packages
qor_wine_pick
read -r -a packages <<<"$(qor_wine_packages)"
if [ ${#packages[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || not_run "missing ${packages[*]} and not root to install them"
  command -v apt-get >/dev/null || not_run "missing ${packages[*]} and no apt-get"
  echo "wine-suite: installing ${packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq >/dev/null || not_run "apt-get update failed"
  apt-get install -y -qq "${packages[@]}" >/dev/null 2>&1 || not_run "could not install ${packages[*]}"
  qor_wine_pick  # what was installed may change the choice
fi
if ! locale -a 2>/dev/null | grep -qix "ja_JP.utf8"; then
  [ "$(id -u)" = 0 ] || not_run "no ja_JP.UTF-8 locale and not root to make it"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || not_run "could not make the ja_JP.UTF-8 locale"
fi
"$WINE" --version >/dev/null 2>&1 || not_run "$WINE does not run on this machine"

# ---- Builds: mailzolka on the simulated desktop (the other side of the comparison), the DLL the
# host loads, and (where it differs) the Windows build the suite runs.
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target mailzolka QORMAIL tree_probe >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2
if [ "$QOR_WINDOWS_PRESET" != mingw ]; then
  echo "wine-suite: this machine runs no 32-bit programs: the suite runs the $QOR_WINE_ARCH-bit build ($QOR_WINDOWS_BUILD/)"
  ctest --test-dir build-win -R '^wine\.dll_exports_and_imports$' --output-on-failure
  cmake --preset "$QOR_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$QOR_WINDOWS_PRESET" -j2
fi

# ---- Wine, then the tests registered in the Windows build (tests/wine/CMakeLists.txt).
qor_wine_start 90 130 || not_run "Wine could not be started"
ctest --test-dir "$QOR_WINDOWS_BUILD" -j2 --output-on-failure

# Once more as a user's machine has it: the profile functions write the prefix's Windows directory
# (no redirection into the case's directory; the profile cases, one at a time, since the directory
# is shared), and the pane's parent asks the tree for Unicode notifications (the W codes).
KORVIK_REAL_PROFILES=1 ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.scenario\.(settings|registration|attach_menu)$' \
  -j1 --output-on-failure
KORVIK_UNICODE_NOTIFY=1 ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.scenario\.(linking|search|listings_both)$' \
  -j2 --output-on-failure

# Once more under a window manager, as a desktop has it: openbox manages Wine's windows. The
# dialogs' and boxes' owner, place and activation (checked by korvik in every session) and the
# About box's places, with the scenarios that open dialogs and boxes.
# The prefix is set unmanaged again whatever the tests' result.
qor_wine_managed on
managed_status=0
ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.(windows|scenario\.(about|export|registration|search|progress))$' \
  -j1 --output-on-failure || managed_status=$?
qor_wine_managed off
exit "$managed_status"
