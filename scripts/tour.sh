#!/usr/bin/env bash
# Builds and installs the module, then runs the tour of what it does.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
.venv/bin/python examples/tour.py
