#!/usr/bin/env bash
# The end-to-end suite on real windows: builds QORMAIL.DLL and the Windows test host korvik.exe,
# and runs under Wine (a virtual X display, the Japanese locale so that the ANSI code page is 932)
# the DLL's export/import check, the resource read-back and every scenario script, each compared
# with mailzolka's run on the simulated desktop; then the scenarios that show the add-in's texts
# again under Chinese, English and Hindi locales, whose ANSI code pages (936, 1252, 65001) are not
# 932.
#
# The DLL the host loads is 32-bit (preset mingw, build-win/) and its headers are always checked.
# Where this machine runs no 32-bit programs, the suite runs the 64-bit build of the same sources
# (preset mingw64, build-win64/) under 64-bit Wine instead (scripts/wine-env.sh).
#
# Installs what is missing on Debian as root (the MinGW-w64 toolchains, Wine, Xvfb, the ja_JP
# locale, CJK fonts), retrying a package index that fails to download (scripts/apt-install.sh).
# Exit status: 0 when every test passed, 1 when one failed, 3 when the suite could not run at all
# (the reason on the last line); scripts/test.sh fails on 3 unless told to leave Wine out. The
# last line names the build that ran and the counts, e.g. "wine: 32-bit, 27 passed, 0 failed"
# (also appended to $QOR_SUMMARY_FILE when set). Wine's prefix lies in the Windows build directory,
# made afresh when missing (about 20 s).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
. scripts/apt-install.sh

summary() {
  echo "$*"
  [ -z "${QOR_SUMMARY_FILE:-}" ] || echo "$*" >>"$QOR_SUMMARY_FILE"
}

cannot_run() {
  summary "wine: not run: $*"
  exit 3
}

# ---- Packages
qor_wine_pick
read -r -a packages <<<"$(qor_wine_packages)"
if [ ${#packages[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || cannot_run "missing ${packages[*]} and not root to install them"
  command -v apt-get >/dev/null || cannot_run "missing ${packages[*]} and no apt-get"
  echo "wine-suite: installing ${packages[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  qor_apt_update
  if ! qor_apt_install "${packages[@]}"; then
    # The 32-bit packages may be the ones that cannot be had: the 64-bit build runs instead.
    missing32=()
    for package in "${packages[@]}"; do
      case $package in *:i386 | wine) missing32+=("$package") ;; esac
    done
    echo "wine-suite: could not install the 32-bit Wine packages ${missing32[*]}; trying the 64-bit build"
    QOR_WINE_FORCE_ARCH=64 qor_wine_pick
    read -r -a packages <<<"$(qor_wine_packages)"
    [ ${#packages[@]} = 0 ] || qor_apt_install "${packages[@]}" || cannot_run "could not install ${packages[*]}"
    export QOR_WINE_FORCE_ARCH=64
  fi
  qor_wine_pick  # what was installed may change the choice
fi
if ! locale -a 2>/dev/null | grep -qix "ja_JP.utf8"; then
  [ "$(id -u)" = 0 ] || cannot_run "no ja_JP.UTF-8 locale and not root to make it"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || cannot_run "could not make the ja_JP.UTF-8 locale"
fi
# The locales of the pass on Windows of other ANSI code pages (below): Chinese (936), English (1252),
# Hindi (a locale with no ANSI code page of its own, for which Wine, like Windows with the UTF-8
# option, takes 65001).
for other in zh_CN en_US hi_IN; do
  if ! locale -a 2>/dev/null | grep -qix "$other.utf8"; then
    [ "$(id -u)" = 0 ] || cannot_run "no $other.UTF-8 locale and not root to make it"
    localedef -i "$other" -f UTF-8 "$other.UTF-8" >/dev/null 2>&1 || cannot_run "could not make the $other.UTF-8 locale"
  fi
done
"$WINE" --version >/dev/null 2>&1 || cannot_run "$WINE does not run on this machine"

# ---- Test runs: every ctest call adds to the counts of the closing line.
passed=0 failed=0
run_ctest() {
  local log status
  log=$(mktemp)
  set +e
  ctest "$@" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  set -e
  local counts
  counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2 \1/p' "$log" | tail -1)
  rm -f "$log"
  if [ -n "$counts" ]; then
    read -r total bad <<<"$counts"
    passed=$((passed + total - bad)) failed=$((failed + bad))
  elif [ "$status" != 0 ]; then
    failed=$((failed + 1))
  fi
}

# ---- Builds: mailzolka on the simulated desktop (the other side of the comparison), the DLL the
# host loads, and (where it differs) the Windows build the suite runs.
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target mailzolka QORMAIL tree_probe profile_probe >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2
if [ "$QOR_WINDOWS_PRESET" != mingw ]; then
  echo "wine-suite: this machine runs no 32-bit programs: the suite runs the $QOR_WINE_ARCH-bit build ($QOR_WINDOWS_BUILD/)"
  run_ctest --test-dir build-win -R '^wine\.dll_exports_and_imports$' --output-on-failure
  cmake --preset "$QOR_WINDOWS_PRESET" >/dev/null
  cmake --build --preset "$QOR_WINDOWS_PRESET" -j2
fi

# ---- Wine, then the tests registered in the Windows build (tests/wine/CMakeLists.txt).
qor_wine_start 90 130 || cannot_run "Wine could not be started"
run_ctest --test-dir "$QOR_WINDOWS_BUILD" -j2 --output-on-failure

# Once more as a user's machine has it: the profile functions write the prefix's Windows directory
# (no redirection into the case's directory; the profile cases, one at a time, since the directory
# is shared), and the pane's parent asks the tree for Unicode notifications (the W codes).
KORVIK_REAL_PROFILES=1 run_ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.scenario\.(settings|registration|attach_menu)$' \
  -j1 --output-on-failure
KORVIK_UNICODE_NOTIFY=1 run_ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.scenario\.(linking|search|listings_both)$' \
  -j2 --output-on-failure

# Once more on Windows whose ANSI code page is not 932, the scenarios that show and read back the
# add-in's texts: Chinese (936), where QOR.INI holds the names in that code page (compared as text,
# tests/wine/wine_suite.py --ansi-code-page), and English (1252), which has no Japanese at all, so
# registration (whose names QOR.INI could not hold) is left out. Wine takes each program's code
# page from its locale.
text_scenarios='^wine\.scenario\.(search|listings_received|about|registration|controls|cli_export)$'
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 QOR_ANSI_CODE_PAGE=gbk run_ctest --test-dir "$QOR_WINDOWS_BUILD" \
  -R "$text_scenarios" -j2 --output-on-failure
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 QOR_ANSI_CODE_PAGE=cp1252 run_ctest --test-dir "$QOR_WINDOWS_BUILD" \
  -R '^wine\.scenario\.(search|listings_received|about|controls)$' -j2 --output-on-failure
# And under code page 65001, as Japanese Windows runs with "Use Unicode UTF-8 for worldwide language
# support": labels read back from the tree must still be the log's bytes for the search to match,
# and QOR.INI holds the names in UTF-8. The add-in looks at the code page only, never the language.
LANG=hi_IN.UTF-8 LC_ALL=hi_IN.UTF-8 QOR_ANSI_CODE_PAGE=utf-8 run_ctest --test-dir "$QOR_WINDOWS_BUILD" \
  -R "$text_scenarios" -j2 --output-on-failure

# Once more under a window manager, as a desktop has it: openbox manages Wine's windows. The
# dialogs' and boxes' owner, place and activation (checked by korvik in every session) and the
# About box's places, with the scenarios that open dialogs and boxes.
# The prefix is set unmanaged again whatever the tests' result.
qor_wine_managed on
run_ctest --test-dir "$QOR_WINDOWS_BUILD" -R '^wine\.(windows|scenario\.(about|export|registration|search|progress))$' \
  -j1 --output-on-failure
qor_wine_managed off
summary "wine: $QOR_WINE_ARCH-bit${QOR_WINE_NOTE:+ ($QOR_WINE_NOTE)}, $passed passed, $failed failed"
[ "$failed" = 0 ]
