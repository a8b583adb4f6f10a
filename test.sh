#!/bin/sh
# Runs every test. The whole suite runs under a virtual X display, so the GUI
# and global-input tests have a screen to work on.
set -eu
cd "$(dirname "$0")"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure --timeout 600 "$@"
if [ -x .ci/mingw-check.sh ]; then
    .ci/mingw-check.sh
fi
