#!/usr/bin/env bash
# Sets up a Debian 12 machine for Morvane, builds it, and then
#   build.sh run        starts the program
#   build.sh test       runs every test through CTest
#   build.sh core-test  builds without the window (MORVANE_GUI=OFF) and runs the core's tests
#   build.sh bench      runs the generation benchmark
#   build.sh upload-bench  runs the upload benchmark (against lftp, when it is installed)
#   build.sh package    makes the Debian package build/morvane_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make pkg-config qt6-base-dev libgd-dev libjpeg62-turbo-dev libexif-dev liblcms2-dev
          libheif-dev libwebp-dev libavif-dev libaom3 libcurl4-openssl-dev libssl-dev libx11-dev ca-certificates python3-pyftpdlib
          python3-openssl python3-asyncssh openssl openssh-server openssh-client desktop-file-utils
          appstream man-db dpkg-dev file qt6-l10n-tools qt6-tools-dev qt6-translations-l10n)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

build() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}"
    cmake --build "$1" -j"$(nproc)"
}

build_dir=${MORVANE_BUILD_DIR:-build}
case "${1:-run}" in
    run)       build "$build_dir" && exec "$build_dir/morvane" ;;
    test)      build "$build_dir" && cd "$build_dir" && exec ctest --output-on-failure ;;
    core-test) build "$build_dir-core" -DMORVANE_GUI=OFF && cd "$build_dir-core" &&
                   exec ctest --output-on-failure ;;
    bench)     build "$build_dir" && exec "$build_dir/bench/morvane-bench" "${@:2}" ;;
    upload-bench)
               build "$build_dir" && exec "$build_dir/bench/morvane-upload-bench" "${@:2}" ;;
    package)   build "$build_dir" && cd "$build_dir" && exec cpack -G DEB ;;
    *)         echo "usage: build.sh [run|test|core-test|bench|upload-bench|package]" >&2; exit 2 ;;
esac
