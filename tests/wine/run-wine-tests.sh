#!/bin/sh
# Runs the Wine tests of a Windows build tree (its CTest tests labelled "wine") under a 32-bit
# Wine, all in one go. Written for any POSIX shell, busybox's included: the same script runs
# in the 32-bit test machine and on a host that runs 32-bit Wine itself. Run it from the
# source folder, with `wine`, `wineserver` and `ctest` on the PATH and a display:
#
#   sh tests/wine/run-wine-tests.sh build/win32
#
# Prints CTest's report, then the result line of every direct check ("ok     ...",
# "FAILED ...", "skip   ...: why"), and last "N passed, N failed".
build=${1:-build/win32}

# Wine starts its own helper processes (services, explorer, devices) with the first program,
# and they inherit that program's output. Started here, with no output of ours, they cannot
# keep a test's output open after the test has ended; the persistent server keeps them for
# every test.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

report="$build/wine-tests.txt"
# Three at a time: every test finds its own windows, so none can press another's button.
ctest --test-dir "$build" -L '^wine$' --output-on-failure -j3 2>&1 | tee "$report"

echo "== the result line of every check"
tr -d '\r' <"$build/Testing/Temporary/LastTest.log" | grep -E '^(ok |FAILED |skip )' || true
wineserver -k >/dev/null 2>&1

# CTest's own count: "N% tests passed, N tests failed out of N".
summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$report" | tail -n 1)
failed=$(echo "$summary" | sed -n 's/.*passed, \([0-9]*\) tests\{0,1\} failed out of.*/\1/p')
total=$(echo "$summary" | sed -n 's/.*failed out of \([0-9]*\).*/\1/p')
if [ -z "$total" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "$((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
