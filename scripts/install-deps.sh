#!/usr/bin/env bash
# Installs what qelt needs to build, test and run on Debian 12: the Firebird 3.0
# client library, embedded engine, server and tools, the build chain, GoogleTest
# and the locales the tests use. Safe to run again; does nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config libgtest-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-server firebird3.0-utils
  locales strace clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: need root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# Locales the regional-format tests run under.
need_locales=()
for l in de_DE.UTF-8 en_US.UTF-8; do
  locale -a 2>/dev/null | grep -qi "^${l%%.*}\.utf-\?8$" || need_locales+=("$l")
done
if [ ${#need_locales[@]} -gt 0 ] && [ "$(id -u)" -eq 0 ]; then
  for l in "${need_locales[@]}"; do
    grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
