#!/usr/bin/env bash
# Runs the test suites of the builds under $1; called by scripts/test inside a private network
# namespace.
set -uo pipefail

build=$1
jobs=$2
here=$(cd "$(dirname "$0")" && pwd)

ip link set lo up
ip link set lo multicast on
ip route add 224.0.0.0/4 dev lo

passed=0
failed=0
run_ctest() { # name, build dir, extra ctest arguments...
  local name=$1 dir=$2 log="$build/$1.ctest.log"
  shift 2
  echo "== testing $name"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure "$@" 2>&1 | tee "$log"
  local line p t
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -z "$line" ]; then
    if grep -q 'No tests were found' "$log"; then return; fi
    failed=$((failed + 1)); return
  fi
  t=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<< "$line")
  f=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/' <<< "$line")
  passed=$((passed + t - f))
  failed=$((failed + f))
}

run_ctest native "$build/native"
run_ctest fuzz "$build/fuzz"
source "$here/tsan-tests.sh"
run_ctest tsan "$build/tsan" -R "$tsan_regex"

source "$here/wine.sh"
trap wine_down EXIT
wine_up "$build/wine" "$build/win64/tests/fixtures/desktop/desktop_holder.exe" || { echo "tests: $passed passed, $failed failed; the win64 tests could not run"; exit 1; }
run_ctest win64 "$build/win64"

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
