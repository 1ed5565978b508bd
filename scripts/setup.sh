#!/usr/bin/env bash
# Installs what building the module needs on a fresh Debian machine, then builds the module into
# the virtual environment .venv with pip, as users get it. With --test it also installs what the
# tests need (GoogleTest, pytest and the packages the tests use as oracles or drive). Safe to run
# again: it only adds what is missing, and pip reuses the CMake build directory under build/.
#
#   bash scripts/setup.sh          # enough to build the module and run examples/tour.py
#   bash scripts/setup.sh --test   # and everything scripts/test.sh runs
set -euo pipefail
cd "$(dirname "$0")/.."

testing=false
case "${1:-}" in
  "") ;;
  --test) testing=true ;;
  *) echo "usage: bash scripts/setup.sh [--test]" >&2; exit 2 ;;
esac

missing=()
if command -v g++ >/dev/null; then
  multiarch=$(gcc -print-multiarch)
  [ -e /usr/include/gmp.h ] || [ -e "/usr/include/$multiarch/gmp.h" ] || missing+=(libgmp-dev)
  if $testing; then
    [ -e "/usr/lib/$multiarch/cmake/GTest/GTestConfig.cmake" ] || missing+=(libgtest-dev)
  fi
else
  missing+=(g++ libgmp-dev)
  if $testing; then missing+=(libgtest-dev); fi
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]} with apt-get"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

packages=(scikit-build-core cmake ninja)
if $testing; then packages+=(pytest hypothesis trimesh dask distributed mypy); fi
PYTHON=${PYTHON:-python3}
[ -x .venv/bin/python ] || "$PYTHON" -m venv .venv
.venv/bin/python -m pip install -q --disable-pip-version-check "${packages[@]}"
.venv/bin/python -m pip install -q --disable-pip-version-check --no-build-isolation .
