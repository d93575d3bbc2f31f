#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Quick when
# everything is already there: it only asks dpkg.
set -eu

need=(cmake make g++ g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine64 xvfb xdotool imagemagick x11-utils
      googletest libgtest-dev libbenchmark-dev libfreetype-dev
      fonts-dejavu-core fonts-dejavu-extra pkg-config)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages: ${missing[*]}; run as root or install them" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
