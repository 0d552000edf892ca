#!/usr/bin/env bash
# Builds the Debian package from this build, unpacks it into a scratch root, checks the files Debian asks for
# (scripts/package runs lintian on top) and runs the installed tool.
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
[ -x "$scratch/root/usr/lib/tessara/Ser_48210_Update" ] || { echo "the updater is not beside the executable"; exit 1; }
for file in copyright changelog.gz; do
  [ -f "$scratch/root/usr/share/doc/tessara/$file" ] || { echo "the package has no $file"; exit 1; }
done
# This build keeps its debug information; the package must not.
for binary in tessara tessara-wizard Ser_48210_Update; do
  sections=$(readelf --section-headers "$scratch/root/usr/lib/tessara/$binary")
  [[ $sections != *.symtab* ]] || { echo "$binary is not stripped in the package"; exit 1; }
done

# The manual page's synopsis names the command words and options of --help, no more and no fewer.
usage_terms() { grep -oE '^(Usage:)? +tessara [a-z]+|--[a-z][a-z-]*' | sed 's/.* //' | sort -u; }
page="$scratch/root/usr/share/man/man1/tessara.1.gz"
synopsis=$(MANWIDTH=200 man -l "$page" | sed -n '/^SYNOPSIS/,/^DESCRIPTION/p')
diff <("$tool" --help | usage_terms) <(usage_terms <<<"$synopsis") ||
  { echo "the manual page's synopsis (>) and --help (<) disagree"; exit 1; }

# The command line loads no Qt; the windows are in the wizard beside it.
if readelf -d "$scratch/root/usr/lib/tessara/tessara" | grep -q 'NEEDED.*libQt'; then echo "tessara links Qt"; exit 1; fi

# Without a command word the tool hands its arguments to the wizard, which makes the workspace it was given.
QT_QPA_PLATFORM=offscreen "$tool" --app-dir "$scratch/ws" &
wizard=$!
for _ in $(seq 100); do [ -d "$scratch/ws/PROJECTS" ] && break; sleep 0.1; done
kill "$wizard"
wait "$wizard" || true
[ -d "$scratch/ws/PROJECTS" ] || { echo "the wizard did not start in the workspace given"; exit 1; }

# The package ships the example project; the installed tool builds its image headless, with no display at all.
example="$scratch/root/usr/share/tessara/examples/Plant1"
for document in pargen.xml DNET_Net.xml DefByte.xml; do
  cmp -s "$example/$document" "$source/examples/Plant1/$document" || { echo "the package's example lacks $document"; exit 1; }
done
cp -r "$example" "$scratch/Plant1"
mkdir -p "$scratch/Plant1/bin"  # as the wizard's copy makes it
env -u DISPLAY -u QT_QPA_PLATFORM "$tool" image "$scratch/Plant1"
size=$(stat -c %s "$scratch/Plant1/bin/bank.bin")
[ "$size" = 47 ] || { echo "the example image has $size bytes, not 47"; exit 1; }
echo "installed package runs: $version"
