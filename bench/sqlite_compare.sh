#!/usr/bin/env bash
# Times the record store's filter shapes against the same rows in an
# in-memory SQLite database and prints ours/SQLite for each (below 1.0: we
# are faster). Both sides must select the same number of rows: the script
# stops with a non-zero exit at the first shape where they differ, or where
# a shape is timed on one side only. Run from the repository root after
# scripts/bench.sh has built build-bench, or through scripts/bench.sh sqlite.
set -euo pipefail
bench=${1:-build-bench/bench/bench_recordstore}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
  echo "sqlite_compare: $*" >&2
  exit 1
}

"$bench" --dump "$tmp"
"$bench" > "$tmp/ours.txt"

# The person table's fields in order, with the SQLite type of each.
columns=(
  "ClientID INT" "Name TEXT" "SurName TEXT" "MidName TEXT" "GivenName TEXT" "Position TEXT" "Address TEXT"
  "Zip TEXT" "EMail TEXT" "Phone TEXT" "Fax TEXT" "Mobile TEXT" "Pager TEXT" "Birthday TEXT" "Memo TEXT"
  "\"Update\" TEXT" "OrgID INT" "Cardtemplete INT" "Group1 INT" "Group2 INT" "Group3 INT" "Group4 INT"
  "ICQ TEXT" "Searched INT" "DPhone TEXT" "URL TEXT" "Yellow INT" "NID INT" "CID TEXT"
)
definitions=$(printf '%s, ' "${columns[@]}")
# .import reads the dump's \N as that text; every such cell becomes NULL.
nulls=$(for c in "${columns[@]}"; do name=${c% *}; printf '%s=NULLIF(%s, '"'"'\\N'"'"'), ' "$name" "$name"; done)

cat > "$tmp/load.sql" <<SQL
CREATE TABLE persons(${definitions%, });
.mode tabs
.import $tmp/persons.tsv persons
UPDATE persons SET ${nulls%, };
SQL

# label (exactly as the benchmark prints it) | SQL condition. An empty field
# fails every comparison, and "not" of such a comparison holds, hence IS NOT.
queries=(
  "filter: category (Group1..4 OR)|Group1=1005 OR Group2=1005 OR Group3=1005 OR Group4=1005"
  "filter: surname prefix, case-insensitive|SurName LIKE 'mc%' AND Yellow IS NOT 1"
  "filter: surname prefix, case-sensitive|SurName GLOB 'Mc*' AND Yellow IS NOT 1"
  "filter: white pages|Yellow IS NOT 1"
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
sqlite3 -bail :memory: < "$tmp/run.sql" > "$tmp/sqlite_runs.txt"
awk -F'Run Time: real ' '
  /\|/ { split($0, a, "|"); label = a[1]; count = a[2]; next }
  /Run Time/ { split($2, t, " "); print label "\t" t[1] * 1000 "\t" count }
' "$tmp/sqlite_runs.txt" | sort -t$'\t' -k1,1 -k2,2g | awk -F'\t' '
  # the median of the seven runs of each query
  $1 != last { n = 0; last = $1 } { n++; if (n == 4) print }
' > "$tmp/sqlite.txt"

# Our figures as label, ms and rows, the label without its padding.
sed -nE 's/^(filter: .*[^ ]) +([0-9.]+) ms +\(([0-9]+) rows\)$/\1\t\2\t\3/p' "$tmp/ours.txt" > "$tmp/ours.tsv"
for q in "${queries[@]}"; do
  [ "$(awk -F'\t' -v l="${q%%|*}" '$1 == l' "$tmp/sqlite.txt" | wc -l)" = 1 ] || fail "SQLite gave no time for \"${q%%|*}\""
done
while IFS=$'\t' read -r label _ _; do
  [ "$(awk -F'\t' -v l="$label" '$1 == l' "$tmp/sqlite.txt" | wc -l)" = 1 ] || fail "no SQL query for \"$label\""
done < "$tmp/ours.tsv"

printf "%-44s %10s %10s %7s %10s\n" "shape" "ours ms" "SQLite ms" "ratio" "rows"
while IFS=$'\t' read -r label sqlite count; do
  line=$(awk -F'\t' -v l="$label" '$1 == l' "$tmp/ours.tsv")
  [ "$(printf '%s' "$line" | grep -c '')" = 1 ] || fail "the benchmark printed no single figure for \"$label\""
  IFS=$'\t' read -r _ ours rows <<< "$line"
  [ "$rows" = "$count" ] || fail "\"$label\": we select $rows rows, SQLite $count"
  awk -v l="$label" -v o="$ours" -v s="$sqlite" -v c="$count" \
    'BEGIN { printf "%-44s %10.2f %10.2f %7.2f %10s\n", l, o, s, (s > 0 ? o / s : 0), c }'
done < <(sort "$tmp/sqlite.txt")
