#!/usr/bin/env bash
# Installs what the build, the program and the tests need on a Debian bookworm
# machine. Does nothing (and needs no network) when everything is already there.
#   scripts/setup.sh            the build and the tests
#   scripts/setup.sh package    also what makes and checks the Debian package
#   scripts/setup.sh pictures   also what makes the README's pictures
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  poppler-utils
  clang-14 libclang-rt-14-dev llvm-14
)
case "${1:-}" in
  "") ;;
  package) packages+=(dpkg-dev file lintian appstream desktop-file-utils man-db) ;;
  pictures) packages+=(pngquant optipng librsvg2-bin imagemagick) ;;
  *) echo "setup: unknown group \"$1\" (package, pictures)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Another apt run on the machine holds its lock for a while; wait for it.
$SUDO apt-get -o DPkg::Lock::Timeout=300 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=300 install -y -qq "${missing[@]}"
