#!/bin/sh
# The Wine tests of the 32-bit Zavrik.dll, run in a folder that holds the DLL, the 32-bit test
# programs, scenarios/ (each scenario with its expected timeline) and broken.txt. Written for
# any POSIX shell, busybox's included: the same script runs in the 32-bit test machine and
# on a host that runs 32-bit Wine itself.
#
#   WINE=wine sh run-wine-tests.sh
#
# Prints one line per check, "ok     NAME" or "FAILED NAME: why" (with what shows the fault
# after it), and last "N passed, N failed". Exits non-zero when a check failed. Each program
# runs under a time limit (ZAVRIK_WINE_TEST_LIMIT, default 120 s), so a plug-in that hangs or
# crashes fails its own check and the others still run.
WINE=${WINE:-wine}
limit=${ZAVRIK_WINE_TEST_LIMIT:-120}
passed=0
failed=0
mkdir -p results

pass() {
  echo "ok     $1"
  passed=$((passed + 1))
}

fail() {
  echo "FAILED $1: $2"
  failed=$((failed + 1))
}

# Runs a program under Wine within the time limit, its output in results/NAME.out and .err.
# Never into a pipe: Wine's helper processes inherit the program's output and outlive it.
run() {
  name=$1
  shift
  timeout "$limit" $WINE "$@" >"results/$name.out" 2>"results/$name.err" </dev/null
}

# What an exit status says beyond its number.
status_text() {
  case $1 in
    5) echo "exit status 5: the program crashed (an access violation)" ;;
    124 | 143) echo "exit status $1: still running after $limit s, stopped" ;;
    *) echo "exit status $1" ;;
  esac
}

# The differential test: every scenario gives, with the real DLL on Wine, the very timeline
# it gives on Linux, which is its expected file.
for scenario in scenarios/*.txt; do
  name=$(basename "$scenario" .txt)
  rc=0
  run "$name" zavrik-sim.exe --color=never "$scenario" || rc=$?
  if [ "$rc" -ne 0 ]; then
    fail "scenario $name" "$(status_text "$rc")"
    tail -n 20 "results/$name.err"
  elif cmp -s "results/$name.out" "scenarios/$name.expected"; then
    pass "scenario $name gives its expected timeline"
  else
    fail "scenario $name" "the timeline differs from scenarios/$name.expected"
    diff -u "scenarios/$name.expected" "results/$name.out" | head -n 60
  fi
done

# A bad scenario file is refused before the plug-in is loaded, naming the file and line.
rc=0
run broken zavrik-sim.exe broken.txt || rc=$?
if [ "$rc" -eq 2 ] && [ ! -s results/broken.out ] && grep -qF "broken.txt:4: unknown directive 'lok'" results/broken.err; then
  pass "a bad scenario file is refused with its file and line"
else
  fail "a bad scenario file is refused with its file and line" "$(status_text "$rc")"
  cat results/broken.out results/broken.err
fi

# The direct checks print their own result lines.
rc=0
run checks wine_checks.exe || rc=$?
tr -d '\r' <results/checks.out >results/checks.txt
grep -E '^(ok|FAILED) ' results/checks.txt
checks_passed=$(grep -c '^ok ' results/checks.txt)
checks_failed=$(grep -c '^FAILED ' results/checks.txt)
passed=$((passed + checks_passed))
failed=$((failed + checks_failed))
if [ "$rc" -ne 0 ] && [ "$checks_failed" -eq 0 ]; then
  fail "wine_checks.exe" "$(status_text "$rc") after $checks_passed checks"
  tail -n 20 results/checks.err
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
