#!/usr/bin/env bash
# Installs what qelt needs, builds it and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
bash scripts/build.sh
# The Windows program, cross-built and tested under Wine.
bash scripts/windows-test.sh

# The network tests need a server on loopback; one started here is stopped
# again however the tests end.
pidfile=$PWD/build/firebird-server.pid
bash scripts/firebird-server.sh start "$pidfile"
trap 'bash "$root/scripts/firebird-server.sh" stop "$pidfile"' EXIT
QELT_SERVER_PASSWORD=$(bash scripts/firebird-server.sh password)
export QELT_SERVER_PASSWORD

cd build
ctest --output-on-failure -j2 --timeout 300

# The same suite under AddressSanitizer and UBSan (the server still runs for
# its tests), then a short run of every fuzz target.
cd "$root"
bash scripts/sanitize.sh
bash scripts/fuzz.sh
