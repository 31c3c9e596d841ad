#!/bin/bash
# The floors of the house, lowest first: a source file may include a file of its own floor or
# of a floor below it, never one above (a face is not included by the engine, the engine not
# by the platform adapters, nor those by the helpers they stand on). Prints every arrow that
# runs back up and fails when there is one.
#   layering_test.sh SOURCE_DIR
set -u
cd "$1" || exit 2
floors=(common platform schedule state contracts import app "cli gui")
declare -A floor
for i in "${!floors[@]}"; do for f in ${floors[$i]}; do floor[$f]=$i; done; done
upward=0
for dir in "${!floor[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$hit")
    [ -n "${floor[$target]+set}" ] || continue
    if [ "${floor[$target]}" -gt "${floor[$dir]}" ]; then
      echo "up: $file includes ${hit#*#include }"
      upward=$((upward + 1))
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$dir" --include=*.h --include=*.cpp)
done
echo "arrows that run back up: $upward"
[ "$upward" -eq 0 ]
