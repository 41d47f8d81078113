#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again:
# packages already present are left alone and nothing is fetched then.
set -euo pipefail

packages=(
  build-essential g++ cmake ninja-build pkg-config clang-format ccache
  libxml2-dev libxml2-utils libicu-dev libsqlite3-dev nlohmann-json3-dev libstb-dev libtag1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev media-types libgumbo-dev
  qt6-base-dev fonts-noto-cjk fonts-ipafont-gothic xvfb xdotool dbus at-spi2-core python3-dbus
  binutils-mingw-w64-i686
  python3 python3-feedparser python3-podcastparser
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
