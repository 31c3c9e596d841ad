#!/bin/bash
# Every statement text the program sends lives in a store (a store/ folder beside the code
# that uses it), in the database adapter or in the schema scripts: a reader looking for what
# the program writes to a table finds it there. Prints every statement text found elsewhere
# in the program's sources and fails when there is one.
#   statements_test.sh SOURCE_DIR
set -u
cd "$1" || exit 2
pattern='"\s*(select|insert into|update [a-z_$]+ set|delete from|execute (procedure|block)|alter (table|user|sequence)|create (user|table|generator|sequence)|drop (user|table)|merge into|update or insert)\b'
found=$(grep -rniE "$pattern" common platform schedule state contracts import app cli gui \
          --include=*.h --include=*.cpp | grep -vE '^[^:]*/store/|^platform/db/')
[ -n "$found" ] && echo "$found"
echo "statement texts outside the stores: $(grep -c . <<<"$found" | sed 's/^0$/0/')"
[ -z "$found" ]
