# Sourced by the scripts that run the Windows build under Wine (wine-suite.sh, screenshots.sh and
# the benchmarks on the real controls): picks the Wine that runs on this machine and starts it on a
# virtual display.
#
# QORMAIL.DLL is a 32-bit DLL and is always built so (preset mingw, build-win/). Where the kernel
# runs 32-bit programs, the tests run that build under 32-bit Wine. Where it does not (some virtual
# machines refuse them with "Exec format error"), they run the same sources built for 64-bit Windows
# (preset mingw64, build-win64/) under 64-bit Wine: the same real controls, another pointer size.
#
#   qor_wine_pick       (QOR_WINE_FORCE_ARCH=64 forces the 64-bit build) sets QOR_WINE_ARCH (32 or 64), QOR_WINDOWS_PRESET, QOR_WINDOWS_BUILD and
#                       WINE (the loader to run programs with); exports WINEARCH, WINEPREFIX,
#                       WINELOADER, WINEDEBUG, the Japanese locale
#   qor_wine_packages   the Debian packages that pick still needs (none when all are there)
#   qor_wine_start N M  starts Xvfb on a free display from :N to :M, makes the prefix and starts its
#                       server; stops both when the sourcing script exits
#   qor_wine_managed on|off
#                       on: starts openbox on the display and lets it manage Wine's windows (the
#                       prefix's X11 driver setting Managed=Y, read by each program as it starts);
#                       off: stops it and sets Managed=N again

qor_wine_pick() {
  local wine32=/usr/lib/wine/wine wine64=/usr/lib/wine/wine64
  if [ "${QOR_WINE_FORCE_ARCH:-}" = 64 ]; then
    QOR_WINE_ARCH=64 QOR_WINDOWS_PRESET=mingw64 QOR_WINDOWS_BUILD=build-win64 WINE=$wine64
    export WINEARCH=win64 WINELOADER=$wine64
  elif [ ! -x "$wine32" ] && [ ! -x "$wine64" ] && command -v wine >/dev/null; then
    # A Wine installed elsewhere: its own choice.
    QOR_WINE_ARCH=32 QOR_WINDOWS_PRESET=mingw QOR_WINDOWS_BUILD=build-win WINE=$(command -v wine)
    export WINEARCH=win32
  elif qor_kernel_runs_32bit && ! qor_wine_emulated && { [ ! -x "$wine32" ] || "$wine32" --version >/dev/null 2>&1; }; then
    # Debian's 32-bit Wine, or none yet: qor_wine_packages names what to install.
    QOR_WINE_ARCH=32 QOR_WINDOWS_PRESET=mingw QOR_WINDOWS_BUILD=build-win WINE=$wine32
    export WINEARCH=win32
    unset WINELOADER
  else
    QOR_WINE_ARCH=64 QOR_WINDOWS_PRESET=mingw64 QOR_WINDOWS_BUILD=build-win64 WINE=$wine64
    export WINEARCH=win64 WINELOADER=$wine64
    if ! qor_kernel_runs_32bit || qor_wine_emulated; then
      export QOR_WINE_NOTE="the 32-bit DLL's headers checked; this machine's kernel runs no 32-bit programs, so the 64-bit build ran"
    else
      export QOR_WINE_NOTE="the 32-bit DLL's headers checked; $wine32 does not start, so the 64-bit build ran"
    fi
  fi
  export QOR_WINE_ARCH QOR_WINDOWS_PRESET QOR_WINDOWS_BUILD WINE
  export WINEPREFIX="$PWD/$QOR_WINDOWS_BUILD/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer at the first start
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  unset LANGUAGE
}

# True when the kernel starts a 32-bit program: a 93-byte i386 ELF that only exits, written here so
# that the answer needs no 32-bit package (a kernel without IA-32 emulation refuses it with "Exec
# format error").
qor_kernel_runs_32bit() {
  local probe status
  probe=$(mktemp) || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return "$status"
}

# True when 32-bit programs run here only through a user-mode emulator registered with binfmt_misc
# (a kernel with IA-32 emulation disabled, as some virtual machines have): Debian's qemu-user 7.2
# cannot start 32-bit Wine (it takes Wine's MAP_FIXED_NOREPLACE reservations as hints), so the
# 64-bit build runs instead, and the summary says why.
qor_wine_emulated() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/qemu-i386 /proc/sys/fs/binfmt_misc/qemu-i386-dyn; do
    [ -f "$entry" ] && grep -qx enabled "$entry" && return 0
  done
  return 1
}

qor_wine_packages() {
  local need=()
  command -v i686-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-i686)
  if [ "$QOR_WINE_ARCH" = 64 ]; then
    [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
    command -v x86_64-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-x86-64)
  else
    command -v wine >/dev/null || need+=(wine)
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" || need+=(wine32:i386)
  fi
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v openbox >/dev/null || need+=(openbox)
  command -v localedef >/dev/null || need+=(locales)
  fc-list 2>/dev/null | grep -i "IPAPGothic" >/dev/null || need+=(fonts-ipafont-gothic)
  fc-list 2>/dev/null | grep -i "IPAMincho" >/dev/null || need+=(fonts-ipafont-mincho)
  echo "${need[@]}"
}

qor_wine_start() {
  local n
  DISPLAY=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then DISPLAY=":$n"; break; fi
  done
  [ -n "$DISPLAY" ] || { echo "no free X display number from :$1 to :$2" >&2; return 1; }
  export DISPLAY
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QOR_XVFB=$!
  QOR_OPENBOX=""
  trap 'wineserver -k >/dev/null 2>&1 || true; [ -z "$QOR_OPENBOX" ] || kill $QOR_OPENBOX >/dev/null 2>&1 || true; kill $QOR_XVFB >/dev/null 2>&1 || true' EXIT
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  # Wine processes of the prefix left from an earlier run may be tied to a display that is gone.
  wineserver -k >/dev/null 2>&1 || true
  scripts/wine-prefix.sh || return 1
  wineserver -p 60 >/dev/null 2>&1 || true
  # Unmanaged, also when an earlier run was stopped during its managed part: without a window
  # manager, Wine waits two seconds for one each time a managed window closes.
  qor_wine_managed off
  # Wine's services start with the first program and keep its standard handles open: they start
  # now, away from the pipes of the runs that are read to their end.
  "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

qor_wine_managed() {
  if [ "$1" = on ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    QOR_OPENBOX=$!
    sleep 1  # it takes over the display
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
    export KORVIK_CHECK_FOREGROUND=1
  else
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    unset KORVIK_CHECK_FOREGROUND
    [ -z "$QOR_OPENBOX" ] || kill "$QOR_OPENBOX" >/dev/null 2>&1 || true
    QOR_OPENBOX=""
  fi
}
