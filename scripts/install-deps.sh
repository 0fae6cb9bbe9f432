#!/usr/bin/env bash
# Installs the Debian packages Quorvel is built with, only those that are missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  qt6-base-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  nlohmann-json3-dev
  liberfa-dev
  libqcustomplot-dev qt6-svg-dev libfftw3-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [ "$status" != "install ok installed" ]; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "install-deps: run as root (or install sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
