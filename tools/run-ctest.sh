#!/usr/bin/env bash
# Runs CTest inside an X server of its own, for the tests that render through GL.
#   tools/run-ctest.sh BUILD_DIR [CTEST_ARGUMENTS...]
set -euo pipefail
build=$1
shift
cd "$build"
exec xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j "$(nproc)" --timeout 300 "$@"
