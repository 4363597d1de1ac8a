#!/usr/bin/env bash
# Installs what the build and the tests need, on Debian, as root. Safe to run again.
set -euo pipefail
packages=(
  cmake make g++ pkg-config git
  juce-modules-source-data
  libgtest-dev libbenchmark-dev
  libsndfile1-dev libcairo2-dev libx11-dev libfontconfig-dev nlohmann-json3-dev
  clang libclang-rt-14-dev valgrind
  libxcb1-dev libxkbcommon-x11-dev libxcb-xkb-dev libxcb-xtest0-dev libfreetype-dev
  fonts-liberation2 xvfb xauth
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
# Parameter texts are also tested under a locale that writes a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
