#!/usr/bin/env bash
# Profiles qelt in embedded mode on the benchmark database (made by
# bench/run.sh): callgrind on one table, with the floor beside it so the
# client library's share can be told apart, and massif for where the memory
# goes. Results land in build/bench/profile/.
#
#   bash bench/profile.sh [TABLE]     TABLE: T100K (default), T or B
# Under callgrind a run takes about 40 times as long: T100K and B take
# seconds, T several minutes; massif is left out for T, where it would take
# longer still and show the same shape as T100K.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$PWD/build/bench
profile=$work/profile
table=${1:-T100K}
database=$work/bench.fdb

[ -f "$database" ] && [ -x "$work/qelt" ] && [ -x "$work/floor" ] ||
  { echo "profile: run bench/run.sh first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "profile: valgrind is missing" >&2; exit 1; }
mkdir -p "$profile" "$work/out"

# The readable names of the engine's functions are not in its shipped
# library, so its share shows under addresses; the inclusive figures of
# isc_dsql_fetch and isc_get_segment carry it.
annotate() {
  callgrind_annotate --inclusive="$2" "$1" 2>/dev/null |
    sed -E 's/std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >/string/g'
}

cd "$work"
valgrind --tool=callgrind --callgrind-out-file="$profile/callgrind.qelt.$table.out" \
  ./qelt "$database" SYSDBA masterkey "select * from $table" >"$profile/qelt.$table.log" 2>&1
valgrind --tool=callgrind --callgrind-out-file="$profile/callgrind.floor.$table.out" \
  ./floor "$database" SYSDBA masterkey "$table" >"$profile/floor.$table.log" 2>&1
for who in qelt floor; do
  annotate "$profile/callgrind.$who.$table.out" yes >"$profile/$who.$table.inclusive.txt"
  annotate "$profile/callgrind.$who.$table.out" no >"$profile/$who.$table.self.txt"
done

if [ "$table" != T ]; then
  # massif with --pages-as-heap counts every mapped page, the engine's too,
  # which is what the peak resident memory is made of.
  valgrind --tool=massif --pages-as-heap=yes --massif-out-file="$profile/massif.qelt.$table.out" \
    ./qelt "$database" SYSDBA masterkey "select * from $table" >"$profile/massif.$table.log" 2>&1
  valgrind --tool=massif --massif-out-file="$profile/massif.heap.qelt.$table.out" \
    ./qelt "$database" SYSDBA masterkey "select * from $table" >>"$profile/massif.$table.log" 2>&1
  ms_print "$profile/massif.qelt.$table.out" >"$profile/massif.qelt.$table.txt"
  ms_print "$profile/massif.heap.qelt.$table.out" >"$profile/massif.heap.qelt.$table.txt"
fi

total() { sed -n 's/^\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' "$1" | tr -d ,; }
q=$(total "$profile/qelt.$table.inclusive.txt")
f=$(total "$profile/floor.$table.inclusive.txt")
echo "instructions, $table: qelt $q, floor $f, qelt/floor $(awk -v a="$q" -v b="$f" 'BEGIN {printf "%.2f", a / b}')"
echo "reports in $profile: {qelt,floor}.$table.{inclusive,self}.txt$([ "$table" = T ] || echo ", massif{,.heap}.qelt.$table.txt")"
rm -f "$work/out/qelt.txt"
