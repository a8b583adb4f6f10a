#!/bin/sh
# Installs the Debian packages the program, its tests and its demo need,
# configures and builds into build/ (the program lands in build/bin/ with its
# modules/ data tree beside it).
set -eu
cd "$(dirname "$0")"

if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends \
        cmake g++ make ccache pkg-config git ca-certificates python3 \
        qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools \
        qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript \
        qml6-module-qtquick-templates qml6-module-qtquick-controls qml6-module-qtquick-layouts \
        qt6-qpa-plugins libgl-dev \
        libhidapi-dev libudev-dev libx11-dev libxi-dev \
        xvfb xauth xdotool x11-utils trayer fonts-wqy-microhei \
        qml6-module-qttest python3-pyatspi at-spi2-core dbus imagemagick \
        libglib2.0-bin gsettings-desktop-schemas cinnamon-desktop-data libkf5config-bin xfconf libxfconf-0-3 \
        g++-mingw-w64-x86-64 \
        clang libclang-rt-14-dev
    # The Debian package (icon rendering, dpkg-shlibdeps) and the checks of
    # its desktop files.
    apt-get install -y --no-install-recommends \
        librsvg2-bin dpkg-dev desktop-file-utils appstream
else
    echo "setup.sh: not root, skipping the package installation" >&2
fi

# ccache keeps rebuilds (and the same sources in other checkouts) quick.
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher
cmake --build build -j"$(nproc)"
