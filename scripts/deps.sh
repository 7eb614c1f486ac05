#!/usr/bin/env bash
# Installs what building and testing Tollwick on Debian 12 needs, when it is missing, then checks
# that every command the scripts and tests call is there. Run as root.
set -euo pipefail
source "$(dirname "$0")/needs.sh"
# The package of every command in needs.sh, and those that bring no command of their own:
# GoogleTest's sources, the PDF printer driver, the fuzzer runtime, Wine's own fonts (its captions
# draw their buttons' glyphs with them).
packages=(
  cmake make g++ googletest                                    # cmake ctest make gcc g++
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64               # the MinGW compilers, windres
  nsis                                                         # makensis
  wine wine64 fonts-wine                                       # wine wineboot wineserver winepath
  xvfb xauth x11-utils                                         # Xvfb xvfb-run, xauth, xwininfo
  python3 imagemagick imagemagick-6.q16 locales                # python3, convert, locale-gen
  cups cups-daemon cups-client printer-driver-cups-pdf         # cupsd, lpadmin lpstat
  poppler-utils                                                # pdftotext pdftoppm pdfinfo
  clang libclang-rt-14-dev                                     # clang clang++, -fsanitize=fuzzer
  iproute2                                                     # ip: the network journey's namespace
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # Another apt-get at work (a second build, an unattended upgrade) is waited for, not failed on.
  apt=(apt-get -o DPkg::Lock::Timeout=600)
  "${apt[@]}" update -qq
  "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
require_commands "${build_commands[@]}" "${wine_commands[@]}" "${e2e_commands[@]}" \
                 "${print_commands[@]}" "${fuzz_commands[@]}" locale-gen
# Wine takes its regional settings from the Unix locale: the tests run in en_GB.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^en_GB\.utf-\?8$'; then
  sed -i 's/^# *en_GB.UTF-8 UTF-8/en_GB.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^en_GB.UTF-8 UTF-8' /etc/locale.gen || echo 'en_GB.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
