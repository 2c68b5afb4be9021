#!/usr/bin/env bash
# Benchmarks qelt's export of "select * from TABLE" against two baselines
# measured in the same run, alternating repetition by repetition:
#   floor  bench/floor.cc: the same client calls, every row fetched and
#          dropped (blobs read fully), i.e. what the client library costs;
#   isql   isql-fb writing the same rows to a file (OUTPUT), the tool a user
#          would pick instead.
# Tables: T (1,000,000 rows of ten column types), T100K (its first 100,000
# rows, for the growth from 100k to 1M) and B (100,000 rows with a ~1 KiB
# text blob each), first through the embedded engine, then through a server
# on loopback. Prints medians, ratios and qelt's peak memory; the last line
# holds the headline ratios. See bench/README.md.
#
#   bash bench/run.sh
# Repetitions: 5 where one takes a few seconds, 3 for the 1M-row table, 1 for
# the blob table through the server (a round trip per blob call makes one
# repetition take over a minute), so the run stays at a few minutes;
# BENCH_REPS=N sets every case to N.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/bench
out=$work/out
# reps MODE TABLE: the repetitions of one case.
reps() {
  if [ -n "${BENCH_REPS:-}" ]; then echo "$BENCH_REPS"; return; fi
  case $1:$2 in
    *:T) echo 3 ;;
    server:B) echo 1 ;;
    *) echo 5 ;;
  esac
}
database=$work/bench.fdb
pidfile=$work/firebird.pid

# ---- Tools ----

# The peak memory comes from GNU time's "Maximum resident set size".
if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "bench: /usr/bin/time is missing; install the package 'time'" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends time </dev/null
fi
for tool in isql-fb g++; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

mkdir -p "$work" "$out"
[ -x build/qelt ] || bash scripts/build.sh qelt

# qelt reads qelt.ini beside itself, so it runs from a copy in build/bench.
cp -p build/qelt "$work/qelt"
printf '[SELECT]\r\nOutFile=%s\r\n' "$out/qelt.txt" >"$work/qelt.ini"

if [ ! -x "$work/floor" ] || [ bench/floor.cc -nt "$work/floor" ]; then
  g++ -std=c++17 -O2 -Wall -Wextra -o "$work/floor" bench/floor.cc -lfbclient
fi

# ---- The database, made once ----

# Rows are made by the engine itself (PSQL loops), which takes seconds rather
# than the minutes a million INSERT statements would. The columns are
# INTEGER, VARCHAR(40), NUMERIC(15,2), DOUBLE PRECISION, TIMESTAMP, DATE,
# CHAR(10), SMALLINT, BIGINT, FLOAT; NAME is NULL in every 50th row. Blob
# texts hold no line break, so the result file has one line per row.
columns='ID INTEGER, NAME VARCHAR(40), AMOUNT NUMERIC(15,2), RATIO DOUBLE PRECISION,
  STAMP TIMESTAMP, DAY_ DATE, CODE CHAR(10), SMALL SMALLINT, BIG BIGINT, FL FLOAT'
generate_sql() {
  cat <<SQL
SET WARNINGS OFF;
SET SQL DIALECT 3;
CREATE DATABASE '$1' USER 'SYSDBA' DEFAULT CHARACTER SET NONE;
CREATE TABLE T ($columns);
CREATE TABLE T100K ($columns);
CREATE TABLE B (ID INTEGER, NOTE BLOB SUB_TYPE TEXT);
COMMIT;
SET TERM ^;
EXECUTE BLOCK AS
DECLARE i INTEGER = 1;
BEGIN
  WHILE (i <= 1000000) DO
  BEGIN
    INSERT INTO T VALUES (:i,
      CASE WHEN MOD(:i, 50) = 0 THEN NULL
           ELSE 'Name ' || :i || ' ' || SUBSTRING('abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ'
                                                  FROM 1 + MOD(:i, 26) FOR MOD(:i * 7, 25)) END,
      (MOD(:i * 7919, 20000001) - 10000000) / 100.00,
      :i / 7e0 * (1 - 2 * MOD(:i, 2)),
      DATEADD(:i * 37 SECOND TO TIMESTAMP '2000-01-01 00:00:00'),
      DATEADD(MOD(:i, 20000) DAY TO DATE '1990-01-01'),
      'C' || MOD(:i * 13, 100000),
      MOD(:i, 65536) - 32768,
      CAST(:i AS BIGINT) * 1000003 * 1000,
      :i / 3e0);
    i = i + 1;
  END
  i = 1;
  WHILE (i <= 100000) DO
  BEGIN
    INSERT INTO B VALUES (:i, RPAD('Note ' || :i || ': ', 1000 + MOD(:i, 49),
                                   'The quick brown fox jumps over the lazy dog. '));
    i = i + 1;
  END
END^
SET TERM ;^
COMMIT;
INSERT INTO T100K SELECT * FROM T WHERE ID <= 100000;
COMMIT;
SQL
}

# The cache is keyed by the generating script, so a changed script makes a
# new database; it is built under a temporary name so that an interrupted
# run never leaves a half-filled one behind.
stamp=$(generate_sql "$database" | sha1sum | cut -c1-16)
if [ ! -f "$database" ] || [ "$(cat "$database.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "bench: creating $database (once)"
  rm -f "$database" "$database.tmp" "$database.stamp"
  generate_sql "$database.tmp" | ISC_USER=SYSDBA ISC_PASSWORD=masterkey isql-fb -q -b
  mv "$database.tmp" "$database"
  echo "$stamp" >"$database.stamp"
fi

# ---- Measuring ----

declare -A wall cpu rss rows filesize
# Stops only a server this script started: the pid file is written only
# then, and stays empty when one was already listening.
cleanup() { bash scripts/firebird-server.sh stop "$pidfile"; }
trap cleanup EXIT

# measure KEY COMMAND...: runs the command, adds its wall time (ms), its CPU
# time (user + system, ms) and its peak resident memory (KiB) to the lists
# for KEY.
measure() {
  local key=$1
  shift
  local start end
  start=$(date +%s%N)
  if ! /usr/bin/time -v -o "$work/time.txt" "$@" >"$out/run.log" 2>&1; then
    echo "bench: failed: $*" >&2
    cat "$out/run.log" >&2
    exit 1
  fi
  end=$(date +%s%N)
  wall[$key]+="$(((end - start) / 1000000)) "
  rss[$key]+="$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$work/time.txt") "
  cpu[$key]+="$(awk -F': ' '/User time|System time/ {t += $2} END {printf "%d", t * 1000}' "$work/time.txt") "
}

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# bench_table MODE TABLE CONNECTION PASSWORD
bench_table() {
  local mode=$1 table=$2 db=$3 password=$4 key=$1:$2 r count lines n
  n=$(reps "$mode" "$table")
  printf 'OUTPUT %s;\nSELECT * FROM %s;\nOUTPUT;\n' "$out/isql.txt" "$table" >"$work/isql.sql"
  for ((r = 1; r <= n; r++)); do
    measure "$key:floor" "$work/floor" "$db" SYSDBA "$password" "$table"
    count=$(sed -n 's/^\([0-9]*\) rows.*/\1/p' "$out/run.log")

    # A failure while qelt exports ends with status 0 and no file, so the
    # file is removed first and its lines are counted afterwards.
    rm -f "$out/qelt.txt"
    measure "$key:qelt" "$work/qelt" "$db" SYSDBA "$password" "select * from $table"
    [ -f "$out/qelt.txt" ] || { echo "bench: qelt wrote no file for $table ($mode)" >&2; exit 1; }
    lines=$(wc -l <"$out/qelt.txt")
    if [ "$lines" != "$count" ]; then
      echo "bench: qelt wrote $lines lines for $count rows of $table ($mode)" >&2
      exit 1
    fi
    filesize[$key]=$(stat -c %s "$out/qelt.txt")

    # isql's OUTPUT appends to an existing file.
    rm -f "$out/isql.txt"
    measure "$key:isql" isql-fb -b -q -u SYSDBA -p "$password" "$db" -i "$work/isql.sql"
    [ -s "$out/isql.txt" ] || { echo "bench: isql wrote nothing for $table" >&2; exit 1; }
  done
  rows[$key]=$count
  rm -f "$out/qelt.txt" "$out/isql.txt"
}

# ---- Embedded, then the server (the server holds the file open while
# attached, so the two never run on it at the same time) ----

for table in T100K T B; do
  bench_table embedded "$table" "$database" masterkey
done

bash scripts/firebird-server.sh start "$pidfile"
# The server runs as firebird and must be able to reach and open the file.
chown firebird:firebird "$database"
password=$(bash scripts/firebird-server.sh password)
for table in T100K T B; do
  bench_table server "$table" "localhost:$database" "$password"
done
cleanup

# ---- Report ----

ms() { median "${wall[$1]}"; }
cpu_ms() { median "${cpu[$1]}"; }
kib() { median "${rss[$1]}"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else printf "-"}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

echo
echo "qelt export of \"select * from TABLE\": medians over reps, alternating floor, qelt, isql"
echo "qelt: build/qelt of $(date -r "$work/qelt" '+%Y-%m-%d %H:%M:%S'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %-5s %8s %4s %8s %8s %8s %10s %9s %9s %9s %9s %9s %8s %8s\n' \
  mode table rows reps floor_s qelt_s isql_s qelt/floor isql/qelt cpu_q/f floor_MiB qelt_MiB file_MiB rss/file rss/goal
for mode in embedded server; do
  for table in T100K T B; do
    k=$mode:$table
    size=${filesize[$k]}
    # The memory goal: at most 1.5 times the result file plus 32 MiB.
    goal_kib=$(awk -v s="$size" 'BEGIN {print 1.5 * s / 1024 + 32 * 1024}')
    printf '%-8s %-5s %8s %4s %8.2f %8.2f %8.2f %10s %9s %9s %9s %9s %9s %8s %8s\n' \
      "$mode" "$table" "${rows[$k]}" "$(reps "$mode" "$table")" \
      "$(awk -v m="$(ms "$k:floor")" 'BEGIN {print m / 1000}')" \
      "$(awk -v m="$(ms "$k:qelt")" 'BEGIN {print m / 1000}')" \
      "$(awk -v m="$(ms "$k:isql")" 'BEGIN {print m / 1000}')" \
      "$(ratio "$(ms "$k:qelt")" "$(ms "$k:floor")")" \
      "$(ratio "$(ms "$k:isql")" "$(ms "$k:qelt")")" \
      "$(ratio "$(cpu_ms "$k:qelt")" "$(cpu_ms "$k:floor")")" \
      "$(mib "$(kib "$k:floor")")" "$(mib "$(kib "$k:qelt")")" "$(mib $((size / 1024)))" \
      "$(ratio "$(kib "$k:qelt")" $((size / 1024)))" "$(ratio "$(kib "$k:qelt")" "$goal_kib")"
  done
done

echo
echo "growth from T100K to T (10x the rows):"
for mode in embedded server; do
  printf '  %-8s qelt time x%s (floor x%s), qelt peak memory x%s, result file x%s\n' "$mode" \
    "$(ratio "$(ms "$mode:T:qelt")" "$(ms "$mode:T100K:qelt")")" \
    "$(ratio "$(ms "$mode:T:floor")" "$(ms "$mode:T100K:floor")")" \
    "$(ratio "$(kib "$mode:T:qelt")" "$(kib "$mode:T100K:qelt")")" \
    "$(ratio "${filesize[$mode:T]}" "${filesize[$mode:T100K]}")"
done

echo
printf 'headline: qelt/floor embedded T %s, server T %s, embedded B %s, server B %s; isql/qelt embedded T %s; qelt peak memory / goal (1.5 x file + 32 MiB) embedded T %s, B %s\n' \
  "$(ratio "$(ms embedded:T:qelt)" "$(ms embedded:T:floor)")" \
  "$(ratio "$(ms server:T:qelt)" "$(ms server:T:floor)")" \
  "$(ratio "$(ms embedded:B:qelt)" "$(ms embedded:B:floor)")" \
  "$(ratio "$(ms server:B:qelt)" "$(ms server:B:floor)")" \
  "$(ratio "$(ms embedded:T:isql)" "$(ms embedded:T:qelt)")" \
  "$(ratio "$(kib embedded:T:qelt)" "$(awk -v s="${filesize[embedded:T]}" 'BEGIN {print 1.5 * s / 1024 + 32768}')")" \
  "$(ratio "$(kib embedded:B:qelt)" "$(awk -v s="${filesize[embedded:B]}" 'BEGIN {print 1.5 * s / 1024 + 32768}')")"
