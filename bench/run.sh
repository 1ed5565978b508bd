#!/usr/bin/env bash
# The benchmark: builds and installs the module as scripts/setup.sh does, compiles the
# double-precision twin, then prints one row per workload. Arguments select workloads by name
# prefix ('W2', 'W5 tangent'); none runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

mkdir -p build/bench
g++ -std=c++20 -O3 -DNDEBUG -Wall -Wextra -ffp-contract=off -fno-fast-math -shared -fPIC \
  -o build/bench/libtwin.so bench/twin/twin_boolean.cpp bench/twin/twin_deboor.cpp
.venv/bin/python bench/bench.py build/bench/libtwin.so "$@"
