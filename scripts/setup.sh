#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine, then builds the module into
# the virtual environment .venv with pip, as users get it. Safe to run again: it only adds what is
# missing, and pip reuses the CMake build directory under build/.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
[ -e /usr/include/gmp.h ] || [ -e "/usr/include/$(gcc -print-multiarch)/gmp.h" ] || missing+=(libgmp-dev)
[ -e /usr/lib/"$(gcc -print-multiarch)"/cmake/GTest/GTestConfig.cmake ] || missing+=(libgtest-dev)
command -v g++ >/dev/null || missing+=(g++)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]} with apt-get"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

PYTHON=${PYTHON:-python3}
[ -x .venv/bin/python ] || "$PYTHON" -m venv .venv
.venv/bin/python -m pip install -q --disable-pip-version-check scikit-build-core cmake ninja pytest hypothesis \
  trimesh dask distributed mypy
.venv/bin/python -m pip install -q --disable-pip-version-check --no-build-isolation .
