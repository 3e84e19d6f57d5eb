#!/usr/bin/env bash
# scripts/check-includes on copies of src/, host/ and tools/: the clean
# copies pass; an include across a forbidden line planted in one file fails
# the check, which names that file and line; so do a folder without a row
# and a table whose layers are not in order.
#   tests/scripts/check_includes_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/check-includes-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/tree
failed=0

fresh_copy() {
  rm -rf "$tree"
  mkdir -p "$tree/scripts"
  cp -R "$source_dir/src" "$source_dir/host" "$source_dir/tools" "$tree/"
  cp "$source_dir/scripts/check-includes" "$tree/scripts/"
}

report() {  # CONDITION-STATUS TEXT
  if [ "$1" -eq 0 ]; then echo "ok   $2"; else echo "FAIL $2"; sed 's/^/     | /' "$work/out"; failed=$((failed + 1)); fi
}

# expect_pass WHAT / expect_failure WHAT TEXT: runs the check on the copy.
expect_pass() {
  "$tree/scripts/check-includes" "$tree" >"$work/out" 2>&1 && report 0 "$1" || report 1 "$1"
}
expect_failure() {
  if "$tree/scripts/check-includes" "$tree" >"$work/out" 2>&1; then report 1 "$1: the check passed"; return; fi
  grep -qF -- "$2" "$work/out" && report 0 "$1" || report 1 "$1: no \"$2\" in the output"
}

# Appends `#include "PATH"` to the first C++ file of FOLDER; prints FILE:LINE.
plant() {
  local file
  file=$(cd "$tree" && find "$1" -name '*.cpp' | sort | head -n 1)
  printf '%s\n' "${3:-#include} \"$2\"" >>"$tree/$file"
  echo "$file:$(wc -l <"$tree/$file"):"
}

# The first and last folder of a table (its lowest and its highest).
rows() { grep -oE '^\| `[a-z_]+/`' "$source_dir/$1/README.md" | tr -d '|` /'; }
src_lowest=$(rows src | head -n 1)
src_highest=$(rows src | tail -n 1)
host_lowest=$(rows host | head -n 1)
host_highest=$(rows host | tail -n 1)

fresh_copy
expect_pass "the clean copies pass"

where=$(plant "src/$src_lowest" "$src_highest/anything.h")
expect_failure "src/$src_lowest/ including src/$src_highest/" "$where includes \"$src_highest/anything.h\""
fresh_copy
where=$(plant "src/$src_lowest" "plof/abi.h" "  #  include")
expect_failure "src/$src_lowest/ including include/plof, written with spaces" "$where includes \"plof/abi.h\""
fresh_copy
where=$(plant "src/$src_highest" "host/$host_lowest/anything.h")
expect_failure "src/ including host/" "$where the module includes"
fresh_copy
where=$(plant "host/$host_lowest" "host/$host_highest/anything.h")
expect_failure "host/$host_lowest/ including host/$host_highest/" "$where includes \"host/$host_highest/anything.h\""
fresh_copy
where=$(plant tools "math/portable_math.h")
expect_failure "tools/ including src/math by its include path" "$where includes \"math/portable_math.h\"; tools/ may include"
fresh_copy
where=$(plant tools "src/$src_lowest/anything.h")
expect_failure "tools/ including src/ from the top" "$where includes \"src/$src_lowest/anything.h\"; tools/ may include"
fresh_copy
plant tools "host/$host_lowest/anything.h" >/dev/null
plant tools "plof/module.h" >/dev/null
expect_pass "tools/ including host/ and include/plof"

fresh_copy
mkdir "$tree/src/unlisted"
expect_failure "a folder of src/ without a row" "src/unlisted/ has no row in src/README.md"
fresh_copy
# The lowest layer allowed to include the highest: the table is no order.
sed -i -E "0,/^\| \`$src_lowest\/\` \|/s/^(\| \`$src_lowest\/\` \|.*\|)[^|]*\|\$/\1 \`$src_highest\` |/" "$tree/src/README.md"
expect_failure "a src/README.md row allowing a layer below it" "$src_lowest/ may include $src_highest/, which is not a layer above it"

echo "check-includes test: $failed failed"
[ "$failed" -eq 0 ]
