#!/bin/sh
# Runs every test: the cross-compile check of the Windows-only code, then the
# whole ctest suite under a virtual X display, so the GUI and global-input
# tests have a screen to work on; then the same suite built with sanitizers
# (.ci/sanitize.sh) and a bounded run of the fuzz targets (.ci/fuzz.sh).
# QUILL_QUICK=1 runs the first two only.
set -eu
cd "$(dirname "$0")"
.ci/mingw-check.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure --timeout 600 "$@"
if [ "${QUILL_QUICK:-0}" != 1 ]; then
    .ci/sanitize.sh
    .ci/fuzz.sh
fi
