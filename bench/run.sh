#!/usr/bin/env bash
# The benchmark: builds and installs the module as scripts/setup.sh does, builds the
# double-precision twin and the side-test counter in build/bench, then prints one row per
# workload. Arguments select workloads by name prefix ('W2', 'W5 tangent'); none runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

.venv/bin/cmake -S . -B build/bench -G Ninja -DBREVANT_BUILD_MODULE=OFF -DBREVANT_BUILD_BENCH=ON \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" >/dev/null
.venv/bin/cmake --build build/bench --target brevant_twin side_tests >/dev/null
.venv/bin/python bench/bench.py build/bench/bench "$@"
