#!/usr/bin/env bash
# Line coverage of the engine's libraries (store/, mime/, platform/, app/ without the window)
# by the whole test suite: builds the `coverage` preset (gcc --coverage), runs the tests and
# prints the figures per folder; the HTML report lands in build-cov/coverage/index.html.
#   tools/coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
dir=build-cov
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "${JOBS:-2}"
lcov --quiet --zerocounters --directory "$dir"
ctest --test-dir "$dir" --output-on-failure -j2 || echo "coverage: some tests failed" >&2
lcov --quiet --capture --directory "$dir" --output-file "$dir/all.info" --rc lcov_branch_coverage=0
lcov --quiet --extract "$dir/all.info" "$root/store/*" "$root/mime/*" "$root/platform/*" \
  "$root/app/*" --output-file "$dir/engine.info"
# The window is measured by its own tests, and the Windows sources are not built here.
lcov --quiet --remove "$dir/engine.info" "$root/app/window/*" "*_windows.cpp" \
  --output-file "$dir/engine.info"
for folder in store mime platform app; do
  lcov --quiet --extract "$dir/engine.info" "$root/$folder/*" --output-file "$dir/$folder.info"
  printf '%-9s ' "$folder/"
  lcov --summary "$dir/$folder.info" 2>&1 | grep -E '^ *lines'
done
printf '%-9s ' "all"
lcov --summary "$dir/engine.info" 2>&1 | grep -E '^ *lines'
genhtml --quiet "$dir/engine.info" --output-directory "$dir/coverage"
