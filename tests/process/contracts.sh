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
