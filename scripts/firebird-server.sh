#!/usr/bin/env bash
# Starts or stops a Firebird server on loopback for the tests and benchmarks.
#   firebird-server.sh start PIDFILE   starts one unless a server listens on
#                                      port 3050; writes its pid to PIDFILE
#                                      (nothing when one was already there)
#   firebird-server.sh stop PIDFILE    stops the server PIDFILE names
#   firebird-server.sh password        prints the SYSDBA password
# These machines run no service manager, so the server is run directly, as
# the firebird user, the way its service would run it.
set -euo pipefail

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

case "${1:-}" in
  start)
    pidfile=$2
    rm -f "$pidfile"
    if listening; then exit 0; fi
    install -d -o firebird -g firebird /run/firebird3.0
    setpriv --reuid=firebird --regid=firebird --init-groups /usr/sbin/firebird \
      </dev/null >/dev/null 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 50); do
      listening && exit 0
      sleep 0.2
    done
    echo "firebird-server: the server did not start listening" >&2
    exit 1
    ;;
  stop)
    pidfile=$2
    [ -s "$pidfile" ] || exit 0
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pidfile"
    ;;
  password)
    sed -n 's/^ISC_PASSWORD="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' /etc/firebird/3.0/SYSDBA.password
    ;;
  *)
    echo "usage: $0 start PIDFILE | stop PIDFILE | password" >&2
    exit 2
    ;;
esac
