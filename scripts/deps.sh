#!/usr/bin/env bash
# Installs what building and testing Tollwick on Debian 12 needs, when it is missing. Run as root.
set -euo pipefail
packages=(cmake make g++ googletest g++-mingw-w64-x86-64 wine64 xvfb xauth imagemagick x11-utils
          locales procps)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Wine takes its regional settings from the Unix locale: the tests run in en_GB.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^en_GB\.utf-\?8$'; then
  sed -i 's/^# *en_GB.UTF-8 UTF-8/en_GB.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^en_GB.UTF-8 UTF-8' /etc/locale.gen || echo 'en_GB.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
