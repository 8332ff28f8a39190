#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what landed there.
# Usage: install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
source "$(dirname "$0")/common.sh"

cmake --install "$build" --prefix "$work/usr" >/dev/null
check_installed_tree "$work" "$work/usr" "$version"

finish "installed tree"
