# Helpers of the process tests (sourced): running isql on a test database and checking that
# every stored contract of a tagged workbook (bench/import_make_workbook.pl with a TAG) is whole
# and tied to its own row.
#   ISQL_AUTH  user and password options for isql-fb (empty for the embedded engine)

fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

sql() {  # sql DATABASE STATEMENTS: the statements' output, one value a line, no headings
  # shellcheck disable=SC2086
  printf 'SET HEADING OFF;\n%s\n' "$2" | env -u FIREBIRD isql-fb -q -ch UTF8 $ISQL_AUTH "$1" |
    sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$'
}

# One line per stored contract: number|tenant|identity number|cadastral number|annexes|annex
# price sum|schedule months|schedule sum|file links naming the contract.
signatures() {
  sql "$1" "SELECT d.doc_nomtxt || '|' || COALESCE(p.per_name, '') || '|' ||
    COALESCE(p.per_egn, '') || '|' || COALESCE(i.im_npar, '')
    || '|' || (SELECT COUNT(*) FROM anecs a WHERE a.an_id = d.doc_id)
    || '|' || COALESCE((SELECT SUM(a.an_price) FROM anecs a WHERE a.an_id = d.doc_id), 0)
    || '|' || (SELECT COUNT(*) FROM rentsinfo r WHERE r.ri_docid = d.doc_id)
    || '|' || COALESCE((SELECT SUM(r.ri_price) FROM rentsinfo r WHERE r.ri_docid = d.doc_id), 0)
    || '|' || (SELECT COUNT(*) FROM storage s
               WHERE s.st_id = d.doc_imotid AND s.st_doctype CONTAINING d.doc_nomtxt)
    FROM documents d LEFT JOIN persons p ON p.per_id = d.da_if1
    LEFT JOIN imot i ON i.im_id = d.doc_imotid;"
}

# Contracts whose tenant, property, annexes, schedule or link are not those of their own
# workbook row (the generator's rules: one annex row, a 24-month term; the schedule of row n is
# the same in every tagged workbook). Prints them; the count is the last line.
misattributed() {
  signatures "$1" | awk -F'|' '
    {
      split($1, a, /[-\/]/); tag = a[1]; n = a[2]; id = tag * 100000 + n
      bad = $2 != "Наемател Номер " tag "-" n || $3 != sprintf("%.0f", 7000000000 + id) ||
            $4 != id || $5 != 2 || $6 + 0 != 221 + 2 * (n % 400) || $7 != 25 || $9 < 1
      if (n in schedule && schedule[n] != $8 + 0) bad = 1
      schedule[n] = $8 + 0
      if (bad) { print "  misattributed: " $0; count++ }
    }
    END { print count + 0 }'
}

# Rows that belong to no stored contract: annexes, schedule rows, tenants and representatives,
# properties and file links. Classifier entries may stay. Prints one count.
orphans() {
  sql "$1" "SELECT
    (SELECT COUNT(*) FROM anecs a WHERE NOT EXISTS
       (SELECT 1 FROM documents d WHERE d.doc_id = a.an_id)) +
    (SELECT COUNT(*) FROM rentsinfo r WHERE NOT EXISTS
       (SELECT 1 FROM documents d WHERE d.doc_id = r.ri_docid)) +
    (SELECT COUNT(*) FROM persons p WHERE NOT EXISTS
       (SELECT 1 FROM documents d WHERE d.da_if1 = p.per_id) AND NOT EXISTS
       (SELECT 1 FROM persons t JOIN documents d ON d.da_if1 = t.per_id
        WHERE t.per_mol = p.per_id)) +
    (SELECT COUNT(*) FROM imot i WHERE NOT EXISTS
       (SELECT 1 FROM documents d WHERE d.doc_imotid = i.im_id)) +
    (SELECT COUNT(*) FROM storage s WHERE NOT EXISTS
       (SELECT 1 FROM documents d WHERE d.doc_imotid = s.st_id))
    FROM rdb\$database;"
}

# Classifier texts stored more than once (the look-up would find either).
duplicated_classifiers() {
  sql "$1" "SELECT
    (SELECT COUNT(*) FROM (SELECT UPPER(ob_text) AS t FROM obsh_kl GROUP BY 1 HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT UPPER(nm_text) AS t FROM nm_kl GROUP BY 1 HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT UPPER(me_text) AS t FROM me_kl GROUP BY 1 HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT UPPER(jk_text) AS t FROM jk_kl GROUP BY 1 HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT UPPER(ul_text) AS t FROM ul_kl GROUP BY 1 HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT ot_app AS a, UPPER(ot_text) AS t FROM objtype_kl GROUP BY 1, 2
                           HAVING COUNT(*) > 1)) +
    (SELECT COUNT(*) FROM (SELECT rt_app AS a, UPPER(rt_text) AS t FROM renttypes GROUP BY 1, 2
                           HAVING COUNT(*) > 1))
    FROM rdb\$database;"
}

finish() {
  if [ "$fails" -gt 0 ]; then echo "$fails check(s) failed"; exit 1; fi
  echo "all checks passed"
}

# Four programs importing at once into DATABASE (run by the caller's `run` function, which
# gives the program its database): three workbooks of 40 contracts that share 20 new tenants and
# 15 new properties (and their new classifier texts), the third by two programs. Every contract
# is stored once, every tenant and property once, no row is refused, and each property's file
# links are numbered 1, 2, ... without a gap. Then the same three workbooks one after another
# into SERIAL_DATABASE, for the time. Prints one line of figures.
#   overlapping_imports FOLDER DATABASE SERIAL_DATABASE GENERATOR
overlapping_imports() {
  local dir=$1 db=$2 serial=$3 generator=$4 tag i code pids=() started took serial_started
  local serial_took
  for tag in 1 2 3; do
    [ -f "$dir/shared$tag.xls" ] ||
      perl "$generator" "$dir/shared$tag.xls" 40 1 0 24 $tag 20 15 >/dev/null
  done
  started=$(date +%s%N)
  for tag in 1 2 3 3; do
    (cd "$dir" && run import --user demo --password demo-pass --summary-json "overlap.${#pids[@]}.json" \
      "shared$tag.xls" >"$dir/overlap.${#pids[@]}.out" 2>&1) &
    pids+=($!)
  done
  for i in "${!pids[@]}"; do
    wait "${pids[$i]}"
    code=$?
    [ $code -eq 0 ] || fail "overlapping import $i ended with $code: $(grep -m3 FATAL "$dir/overlap.$i.out")"
  done
  took=$((($(date +%s%N) - started) / 1000000))
  local contracts persons properties refused gaps wrong
  contracts=$(sql "$db" "SELECT COUNT(DISTINCT doc_nomtxt) || ' ' || COUNT(*) FROM documents;")
  persons=$(sql "$db" "SELECT COUNT(*) FROM persons;")
  properties=$(sql "$db" "SELECT COUNT(*) FROM imot;")
  refused=$(cat "$dir"/overlap.*.json | sed -n 's/.*"rows\(Refused\|Busy\)": \([0-9]*\).*/\2/p' |
    awk '{ s += $1 } END { print s + 0 }')
  gaps=$(sql "$db" "SELECT COUNT(*) FROM (SELECT st_id FROM storage GROUP BY st_id
    HAVING COUNT(*) <> MAX(st_num) OR MIN(st_num) <> 1);")
  # Contract TAG-n is let to shared tenant 1 + (n - 1) % 20 on shared property 1 + (n - 1) % 15.
  wrong=$(sql "$db" "SELECT d.doc_nomtxt || '|' || p.per_egn || '|' || i.im_npar FROM documents d
    JOIN persons p ON p.per_id = d.da_if1 JOIN imot i ON i.im_id = d.doc_imotid;" |
    awk -F'|' '{ split($1, a, /[-\/]/); n = a[2]
      if ($2 != 7100000000 + 1 + (n - 1) % 20 || $3 != 800000 + 1 + (n - 1) % 15) c++ }
      END { print c + 0 }')
  serial_started=$(date +%s%N)
  for tag in 1 2 3; do
    (cd "$dir" && run import --database "$serial" --user demo --password demo-pass \
      "shared$tag.xls" >/dev/null 2>&1) || fail "serial import of shared$tag.xls failed"
  done
  serial_took=$((($(date +%s%N) - serial_started) / 1000000))
  echo "overlapping runs 4: contracts (distinct, stored) $contracts of 120, persons $persons of 20," \
    "properties $properties of 15, rows refused $refused, properties with link gaps $gaps," \
    "misattributed $wrong; $took ms at once, $serial_took ms one after another"
  [ "$contracts" = "120 120" ] || fail "contracts (distinct, stored): $contracts, not 120 120"
  [ "$persons" -eq 20 ] || fail "$persons persons stored for 20 tenants"
  [ "$properties" -eq 15 ] || fail "$properties properties stored for 15"
  [ "$refused" -eq 0 ] || fail "$refused rows refused: $(grep -h FATAL "$dir"/overlap.*.out | head -3)"
  [ "$gaps" -eq 0 ] || fail "$gaps properties whose links are not numbered 1..n"
  [ "$wrong" -eq 0 ] || fail "$wrong contracts on another tenant or property than their row's"
  rm -f "$dir"/overlap.* "$dir"/log_shared*
}
