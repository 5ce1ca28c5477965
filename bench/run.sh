#!/usr/bin/env bash
# Benchmarks on demand (never part of make test): bench/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "${1:-build}" "${2:-5}"
