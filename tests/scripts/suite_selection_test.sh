#!/usr/bin/env bash
# A program of a folder's suites runs each suite alone: --suite=NAME chooses
# tests of NAME.cpp only, and some; no two suites share a test, even where
# their tests' groups share a name (BakeRequest in bake_request_test.cpp and
# bake_values_test.cpp); together they are every test of the program; a
# suite without tests there is refused.
#   tests/scripts/suite_selection_test.sh PROGRAM SUITE...
set -euo pipefail
program=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/suite-selection-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $1"; failed=1; }

# The full names of the tests the program would run with ARGS, sorted.
chosen() {
  "$program" "$@" --gtest_list_tests | awk '/^[^ ]/ { group = $1 } /^  / { print group $1 }' | sort
}

chosen >"$work/all"
: >"$work/union"
for suite in "$@"; do
  chosen --suite="$suite" >"$work/$suite"
  [[ -s "$work/$suite" ]] || fail "$suite: no test chosen"
  if [[ -n $(comm -12 "$work/union" "$work/$suite") ]]; then
    fail "$suite: shares tests with a suite before it: $(comm -12 "$work/union" "$work/$suite" | tr '\n' ' ')"
  fi
  sort -m "$work/union" "$work/$suite" >"$work/next" && mv "$work/next" "$work/union"
done
cmp -s "$work/all" "$work/union" || fail "the suites together are not every test of the program"
if "$program" --suite=no_such_test --gtest_list_tests >/dev/null 2>&1; then
  fail "a suite without tests was not refused"
fi
((failed == 0)) && echo "ok   $# suites of $(basename "$program") choose their own tests, together all of them"
exit "$failed"
