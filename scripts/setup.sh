#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing (Debian, as root).
#   scripts/setup.sh          the build and the tests
#   scripts/setup.sh clang    also clang, its fuzzer runtime and LLVM's coverage tools (the presets
#                             fuzz and coverage: scripts/fuzz.sh, scripts/coverage.sh)
set -euo pipefail

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v python3 >/dev/null || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
[ -d /usr/lib/x86_64-linux-gnu/gconv ] || need+=(libc6)
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
[ -f /usr/include/zlib.h ] || need+=(zlib1g-dev)
[ -f /usr/include/lzma.h ] || need+=(liblzma-dev)
if [ "${1:-}" = clang ]; then
  major=14  # Debian's default clang
  if command -v clang++ >/dev/null; then
    major=$(clang++ -dumpversion | cut -d. -f1)
    [ -f "$(clang++ --print-runtime-dir)/libclang_rt.fuzzer-x86_64.a" ] || need+=("libclang-rt-$major-dev")
  else
    need+=(clang "libclang-rt-$major-dev")
  fi
  command -v llvm-profdata >/dev/null && command -v llvm-cov >/dev/null || need+=(llvm)
fi

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing ${need[*]}; run as root or install them" >&2
    exit 1
  fi
  echo "setup: installing ${need[*]}"
  . "$(dirname "$0")/apt-install.sh"
  qor_apt_update
  qor_apt_install "${need[@]}" || { echo "setup: could not install ${need[*]}" >&2; exit 1; }
fi
