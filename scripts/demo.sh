#!/usr/bin/env bash
# Installs what qelt needs, builds it, creates a small sample database in
# embedded mode (a local file, no server) and runs qelt on it: one insert,
# then a select whose rows go to the result file, which is shown at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh qelt

demo=$PWD/build/demo
rm -rf "$demo"
mkdir -p "$demo"
database=$demo/sample.fdb
export ISC_USER=SYSDBA ISC_PASSWORD=masterkey

isql-fb -q -b <<SQL
CREATE DATABASE '$database' USER 'SYSDBA' DEFAULT CHARACTER SET NONE;
CREATE TABLE CUSTOMERS (
  ID      INTEGER NOT NULL PRIMARY KEY,
  NAME    VARCHAR(40),
  BALANCE NUMERIC(15,2),
  SINCE   DATE,
  SEEN    TIMESTAMP,
  NOTE    BLOB SUB_TYPE TEXT
);
INSERT INTO CUSTOMERS VALUES (1, 'Anna Berg', 1250.50, '2003-07-15', '2003-07-15 13:05:09', 'first customer');
INSERT INTO CUSTOMERS VALUES (2, 'Bert Kaiser', -0.05, '1999-12-31', '2000-01-01 00:00:00', NULL);
COMMIT;
SQL

# The program reads its settings file and writes its default result file
# next to itself.
cp build/qelt "$demo/qelt"
cd "$demo"

echo "== A command: one more customer"
./qelt "$database" SYSDBA masterkey \
  "insert into customers values (3, 'Cora Lind', 100, '2010-03-01', '2010-03-01 08:30:00', 'added by qelt')"

echo "== A query: every customer"
./qelt "$database" SYSDBA masterkey "select * from customers order by id"

echo "== The result file, $demo/qeltresult.txt (TAB shown as ^I, CR LF as ^M\$):"
cat -A "$demo/qeltresult.txt"
