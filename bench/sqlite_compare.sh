#!/usr/bin/env bash
# Times the record store's filter shapes against the same rows in an
# in-memory SQLite database and prints ours/SQLite for each (below 1.0: we
# are faster). Run from the repository root after scripts/bench.sh has built
# build-bench, or through scripts/bench.sh sqlite.
set -euo pipefail
bench=${1:-build-bench/bench/bench_recordstore}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$bench" --dump "$tmp"
"$bench" > "$tmp/ours.txt"

cat > "$tmp/load.sql" <<SQL
CREATE TABLE persons(ClientID INT, Name TEXT, SurName TEXT, MidName TEXT, GivenName TEXT, Position TEXT,
  Address TEXT, Zip TEXT, EMail TEXT, Phone TEXT, Fax TEXT, Mobile TEXT, Pager TEXT, Birthday TEXT, Memo TEXT,
  "Update" TEXT, OrgID INT, Cardtemplete INT, Group1 INT, Group2 INT, Group3 INT, Group4 INT, ICQ TEXT,
  Searched INT, DPhone TEXT, URL TEXT, Yellow INT, NID INT, CID TEXT);
.mode tabs
.nullvalue \N
.import $tmp/persons.tsv persons
UPDATE persons SET MidName=NULL WHERE MidName='\N';
SQL

# label (as the benchmark prints it) | SQL condition
queries=(
  "filter: category (Group1..4 OR)|Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005"
  "filter: surname prefix, case-insensitive|SurName LIKE 'mc%' AND NOT (Yellow=1)"
  "filter: surname prefix, case-sensitive|SurName GLOB 'Mc*' AND NOT (Yellow=1)"
  "filter: white pages|NOT (Yellow=1)"
  "filter: yellow pages|Yellow=1"
  "filter: LIKE contains, case-insensitive|Address LIKE '%street%'"
  "filter: LIKE contains, two fields OR|instr(Phone,'0171')>0 OR instr(Mobile,'0171')>0"
  "filter: Month and Day|CAST(strftime('%m',Birthday) AS INT)=3 AND CAST(strftime('%d',Birthday) AS INT)=14"
  "filter: Month|CAST(strftime('%m',Birthday) AS INT)=3"
  "filter: OrgID list of 20|OrgID IN (2001,2038,2075,2112,2149,2186,2223,2260,2297,2334,2371,2408,2445,2482,2519,2556,2593,2630,2667,2704)"
  "filter: exact name|Name='Mary Smith'"
  "filter: empty result OrgID=-1|OrgID=-1"
)

{
  cat "$tmp/load.sql"
  echo ".mode list"
  echo ".timer on"
  for q in "${queries[@]}"; do
    for run in 1 2 3 4 5 6 7; do
      echo "SELECT '${q%%|*}', count(*) FROM persons WHERE ${q#*|};"
    done
  done
} > "$tmp/run.sql"

# Loading through .import is not timed: the comparison is of the queries.
sqlite3 :memory: < "$tmp/run.sql" 2>/dev/null | awk -F'Run Time: real ' '
  /\|/ { split($0, a, "|"); label = a[1]; count = a[2]; next }
  /Run Time/ { split($2, t, " "); print label "\t" t[1] * 1000 "\t" count }
' | sort -t$'\t' -k1,1 -k2,2g | awk -F'\t' '
  # the median of the seven runs of each query
  $1 != last { n = 0; last = $1 } { n++; if (n == 4) print }
' > "$tmp/sqlite.txt"

printf "%-44s %10s %10s %7s\n" "shape" "ours ms" "SQLite ms" "ratio"
while IFS=$'\t' read -r label sqlite count; do
  ours=$(grep -F "$label " "$tmp/ours.txt" | sed -E 's/.* ([0-9.]+) ms.*/\1/')
  awk -v l="$label" -v o="$ours" -v s="$sqlite" -v c="$count" \
    'BEGIN { printf "%-44s %10.2f %10.2f %7.2f   (SQLite rows %s)\n", l, o, s, (s > 0 ? o / s : 0), c }'
done < <(sort "$tmp/sqlite.txt")
