#!/usr/bin/env bash
# Installs what Kovara needs on Debian 12, fetches the content sources and builds
# the program and its shipped content into build/. Safe to run again: installed
# packages are skipped and only what changed is rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev libsqlite3-dev zlib1g-dev libfmt-dev libpugixml-dev
  libgtest-dev libgmock-dev googletest xvfb xauth x11-utils sqlite3 xdotool python3
  libbenchmark-dev
  librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
  python3-icalendar dbus-daemon poppler-utils syncthing curl
  qt6-tools-dev qt6-l10n-tools
  libsword-dev diatheke sword-text-web sword-text-kjv sword-text-sparv
  sword-comm-mhcc sword-comm-tdavid sword-dict-strongs-greek sword-dict-strongs-hebrew)

. "$root/scripts/packages.sh"
ensure_packages "${packages[@]}"

# The King James text and the daily verse list come from Debian's packages,
# downloaded and unpacked here without being installed.
src="$root/build/sources"
mkdir -p "$src"
fetch() { # package, file inside it
  local pkg=$1 file=$2
  [ -f "$src/$pkg/$file" ] && return 0
  ( cd "$src" && rm -f "${pkg}"_*.deb
    if ! apt-get download "$pkg" 2>/dev/null; then
      "${sudo_cmd[@]}" apt-get update && apt-get download "$pkg"
    fi
    dpkg-deb -x "${pkg}"_*.deb "$pkg" && rm -f "${pkg}"_*.deb )
}
fetch bibledit-data usr/share/bibledit/sources/kjv.xml
fetch verse usr/share/verse/daily.verse

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOVARA_KJV_XML="$src/bibledit-data/usr/share/bibledit/sources/kjv.xml" \
  -DKOVARA_DAILY_VERSE="$src/verse/usr/share/verse/daily.verse" >/dev/null
cmake --build "$root/build"
