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
  libfontconfig-dev fonts-ipafont-gothic
  locales
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

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Another apt run on the machine holds its lock for a while; wait for it.
  $SUDO apt-get -o DPkg::Lock::Timeout=300 update -qq
  $SUDO apt-get -o DPkg::Lock::Timeout=300 install -y -qq "${missing[@]}"
fi

# The tests run the program under the locales of the schools that use it
# (Japanese, in UTF-8 and in Shift-JIS) and under ones that write a decimal
# comma or case letters their own way. Each is made once, when missing.
have_locales=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-')
for wanted in ja_JP:UTF-8:ja_JP.UTF-8 ja_JP:SHIFT_JIS:ja_JP.SJIS de_DE:UTF-8:de_DE.UTF-8 tr_TR:UTF-8:tr_TR.UTF-8; do
  IFS=: read -r source charmap name <<<"$wanted"
  key=$(echo "$name" | tr '[:upper:]' '[:lower:]' | tr -d '-')
  if ! grep -qx "$key" <<<"$have_locales"; then
    echo "setup: making the locale $name"
    # Shift-JIS is not ASCII-compatible in glibc's eyes; the locale works all
    # the same, so that warning is not one.
    $SUDO localedef --no-warnings=ascii -i "$source" -f "$charmap" "$name"
  fi
done
