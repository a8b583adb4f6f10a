#!/bin/sh
# Runs every test: the cross-compile check of the Windows-only input code,
# then the whole ctest suite under a virtual X display, so the GUI and
# global-input tests have a screen to work on.
set -eu
cd "$(dirname "$0")"
.ci/mingw-check.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure --timeout 600 "$@"
