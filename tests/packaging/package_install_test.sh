#!/usr/bin/env bash
# Builds the Debian package from this build, unpacks it into a scratch root and runs the installed tool.
# Usage: package_install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null
deb=$(ls "$scratch"/out/tessara_*.deb)
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || { echo "Depends does not name Qt Widgets"; exit 1; }
dpkg -x "$deb" "$scratch/root"

tool="$scratch/root/usr/bin/tessara"
version=$("$tool" --version)
[ "$version" = "tessara 1.100" ] || { echo "unexpected version: $version"; exit 1; }
[ -x "$scratch/root/usr/lib/tessara/tessara" ] || { echo "the executable is not in its own folder"; exit 1; }
desktop-file-validate "$scratch/root/usr/share/applications/tessara.desktop"
echo "installed package runs: $version"
