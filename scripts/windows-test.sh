#!/usr/bin/env bash
# Cross-builds the Windows program into build-windows/ with MinGW-w64 and runs
# its tests under Wine: the Windows unit tests, and the end-to-end tests that
# drive qelt.exe against the fake gds32.dll (tests/windows/README.md).
# Installs what it needs as root; safe to run again. Reads no standard input.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows-test: need root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

out=$PWD/build-windows
jobs=$(nproc)

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j"$jobs"

cmake -S tests/windows/wine -B "$out/wine-tests" -DQELT_WINDOWS_BUILD="$out" >/dev/null
cmake --build "$out/wine-tests" -j"$jobs"

# A prefix of the build's own. Wine's services start with the first program
# and live as long as the server: they are started here with no terminal or
# pipe of ours, and everything Wine left running is stopped however the
# tests end.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
trap '"$wineserver" -k >/dev/null 2>&1; "$wineserver" -w >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Without 32-bit Wine, wineboot reports the parts of a prefix that only
  # 32-bit programs use as failures; the prefix serves all the same.
  "$wine" wineboot -i </dev/null >"$out/wineboot.log" 2>&1 || true
  # The server writes the prefix's registry when it ends.
  "$wineserver" -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    cat "$out/wineboot.log" >&2
    exit 1
  fi
fi
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

cd "$out/wine-tests"
ctest --output-on-failure -j"$jobs" --timeout 300
