#!/usr/bin/env bash
# The scripts that keep the docs true, on made-up inputs:
# - scripts/check-doc-links names each broken link, picture and anchor by
#   file and line, and passes over code, addresses with a scheme, and
#   anchors of repeated headings and of headings with code;
# - scripts/time-test-run turns run-tests' step headings into each step's
#   time and the median of the runs, from saved logs (--from-log) and from
#   fresh clones of a made-up repository, and refuses a run that did not
#   pass, leaving the old figures as they were and stopping what a failed
#   run left running.
#   tests/scripts/doc_scripts_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/doc-scripts-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

report() {  # CONDITION-STATUS TEXT
  if [ "$1" -eq 0 ]; then echo "ok   $2"; else echo "FAIL $2"; sed 's/^/     | /' "$work/out"; failed=$((failed + 1)); fi
}
# expect_line WHAT TEXT: the last command's output holds TEXT as a whole line.
expect_line() { grep -qxF -- "$2" "$work/out" && report 0 "$1" || report 1 "$1: no line \"$2\""; }
expect_absent() { ! grep -qF -- "$2" "$work/out" && report 0 "$1" || report 1 "$1: \"$2\" in the output"; }

# --- check-doc-links ---
tree=$work/tree
mkdir -p "$tree/docs" "$tree/pictures"
touch "$tree/pictures/a.png"
cat >"$tree/docs/b.md" <<'EOF'
# First
## Second heading
## Twice
## Twice
## In `code`: plof-host.js
EOF
cat >"$tree/README.md" <<'EOF'
# Top
[fine](docs/b.md#second-heading) [repeated](docs/b.md#twice-1) [code](docs/b.md#in-code-plof-hostjs)
![fine](pictures/a.png) [here](#top) [web](https://example.com/missing.md) [folder](docs)
[missing page](docs/missing.md)
![missing picture](pictures/b.png)
[no such anchor](docs/b.md#third)
```sh
[in a fence](nowhere.md)
```
`[in a span](nowhere.md)` [outside](../elsewhere.md)
[definition]: docs/gone.md
EOF
if "$source_dir/scripts/check-doc-links" "$tree" >"$work/out" 2>&1; then report 1 "broken links fail the check"; else
  report 0 "broken links fail the check"
fi
expect_line "a missing page, by file and line" "README.md:4: link to docs/missing.md: no such file or folder"
expect_line "a missing picture" "README.md:5: link to pictures/b.png: no such file or folder"
expect_line "an anchor no heading makes" \
  "README.md:6: link to docs/b.md#third: no heading with the anchor #third in docs/b.md"
expect_line "a link out of the repository" "README.md:10: link to ../elsewhere.md: leads outside the repository"
expect_line "a reference definition" "README.md:11: link to docs/gone.md: no such file or folder"
expect_line "the count" "check-doc-links: 5 broken links: mend the path or the anchor"
expect_absent "code, addresses with a scheme and good anchors pass" "nowhere.md"
sed -i '4,6d;10,11d' "$tree/README.md"
"$source_dir/scripts/check-doc-links" "$tree" >"$work/out" 2>&1 && report 0 "the mended page passes" ||
  report 1 "the mended page passes"

# --- time-test-run --from-log ---
run_log() {  # FILE BUILD_END SUITES_END
  cat >"$1" <<EOF
install-deps: installing the npm packages (npm ci)
== include layering (after 5 s)
== layout of the C and C++ files (after 6 s)
[ 50%] Building CXX object x.o
== builds (after 9 s)
== suites (after $2 s)
run-tests: 1 of 2 suites
== fuzzing (after $3 s)
== every check passed (after $(($3 + 35)) s)
EOF
}
run_log "$work/one.log" 451 700
run_log "$work/two.log" 471 720
figures=$work/test-run.md
"$source_dir/scripts/time-test-run" --out "$figures" --from-log "$work/one.log" "$work/two.log" >"$work/out" 2>&1 &&
  cp "$figures" "$work/out" && report 0 "two passing logs make a table" || report 1 "two passing logs make a table"
expect_line "the time before the first step" "| before the first step (scripts/install-deps) | 5 s | 5 s | 5 s |"
expect_line "a step's time runs to the next heading" "| builds | 7 min 22 s | 7 min 42 s | 7 min 32 s |"
expect_line "the whole run, with the median" "| **the whole run** | 12 min 15 s | 12 min 35 s | 12 min 25 s |"
expect_absent "no row for the closing heading" "| every check passed"

head -n -1 "$work/one.log" >"$work/failed.log"
cp "$figures" "$work/before.md"
if "$source_dir/scripts/time-test-run" --out "$figures" --from-log "$work/failed.log" >"$work/out" 2>&1; then
  report 1 "a run that did not pass is refused"
else
  grep -qF "$work/failed.log: no \"== every check passed\" heading" "$work/out" && cmp -s "$figures" "$work/before.md" &&
    report 0 "a run that did not pass is refused, the old figures kept" ||
    report 1 "a run that did not pass is refused, the old figures kept"
fi

# --- time-test-run on fresh clones of a made-up repository ---
repo=$work/repo
mkdir -p "$repo/scripts/lib" "$work/tmp"
cp "$source_dir/scripts/time-test-run" "$repo/scripts/"
cp "$source_dir/scripts/lib/figure_file.js" "$repo/scripts/lib/"
cat >"$repo/scripts/run-tests" <<'RUN_TESTS'
#!/usr/bin/env bash
# Passes in two steps; with a file "fail", fails after starting a build in the background.
echo "== build (after 0 s)" >&2
if [ -f fail ]; then
  sleep 60 &
  echo $! >"$LEFT_BEHIND"
  exit 1
fi
echo "== every check passed (after 1 s)"
RUN_TESTS
chmod +x "$repo/scripts/run-tests"
commit_all() { git -C "$repo" add -A && git -C "$repo" -c user.name=test -c user.email=test@example.com commit -qm "$1"; }
git init -q "$repo" && commit_all "passing"
export TMPDIR=$work/tmp LEFT_BEHIND=$work/left-behind
"$repo/scripts/time-test-run" --runs 2 --out "$figures" >"$work/out" 2>&1 && cp "$figures" "$work/out" &&
  report 0 "two fresh clones timed" || report 1 "two fresh clones timed"
expect_line "each clone's run, with the median" "| build | 1 s | 1 s | 1 s |"
grep -q "^Machine: .*run 1: other work took .*run 2: other work took" "$work/out" &&
  report 0 "the machine and how busy it was" || report 1 "the machine and how busy it was"
[ -s "$repo/build/test-runs/run-2.log" ] && [ -z "$(ls "$work/tmp")" ] &&
  report 0 "the logs kept, the clones removed" || report 1 "the logs kept, the clones removed"

touch "$repo/fail" && commit_all "failing"
cp "$figures" "$work/before.md"
started=$SECONDS
if "$repo/scripts/time-test-run" --runs 1 --out "$figures" >"$work/out" 2>&1; then
  report 1 "a failing run fails the timing"
else
  grep -qF "run 1 failed (exit 1)" "$work/out" && cmp -s "$figures" "$work/before.md" &&
    report 0 "a failing run fails the timing, the old figures kept" ||
    report 1 "a failing run fails the timing, the old figures kept"
fi
# A process stopped but not yet reaped by whoever adopted it counts as stopped.
running() { local state; state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]; }
! running "$(cat "$LEFT_BEHIND")" && ((SECONDS - started < 30)) && [ -z "$(ls "$work/tmp")" ] &&
  report 0 "what the failed run left running is stopped at once, its clone removed" ||
  report 1 "what the failed run left running is stopped at once, its clone removed"

if ((failed > 0)); then
  echo "$failed check(s) failed"
  exit 1
fi
