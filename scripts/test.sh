#!/usr/bin/env bash
# Every test: the C++ unit tests through ctest, then the Python suite against the installed module,
# then both again under the sanitizers, then each fuzz target for its short budget.
#
#   bash scripts/test.sh           # everything
#   bash scripts/test.sh --quick   # while working: the C++ tests and the Python suite without the
#                                  # tests marked heavy; no sanitizers, no fuzzing
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
case "${1:-}" in
  "") ;;
  --quick) quick=true ;;
  *) echo "usage: bash scripts/test.sh [--quick]" >&2; exit 2 ;;
esac
bash scripts/setup.sh --test

.venv/bin/cmake -S . -B build/cpp-tests -G Ninja -DBREVANT_BUILD_MODULE=OFF -DBREVANT_BUILD_TESTS=ON \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" >/dev/null
.venv/bin/cmake --build build/cpp-tests
.venv/bin/ctest --test-dir build/cpp-tests --output-on-failure -j2

if $quick; then
  .venv/bin/python -m pytest tests -q -m "not heavy"
  exit
fi
.venv/bin/python -m pytest tests -q

bash scripts/sanitize.sh
bash scripts/fuzz.sh
