#!/bin/bash
# Builds the stand-in packages and one flat apt repository per state into the folder $1:
#   pool/                 every package file
#   <state>/              Packages, Release and the package files that state offers
# Usage: make-repo.sh OUTDIR STUBDIR
set -euo pipefail
out=$1 stubs=$2
rm -rf "$out"
mkdir -p "$out/pool" "$out/build"

# make_package NAME VERSION STUB PROGRAM...: every PROGRAM is the stub script, its name and the
# package's version written into it.
make_package() {
  local name=$1 version=$2 stub=$3 dir prog
  shift 3
  dir=$out/build/${name}_$version
  mkdir -p "$dir/DEBIAN" "$dir/usr/bin"
  cat >"$dir/DEBIAN/control" <<CONTROL
Package: $name
Version: $version
Architecture: amd64
Maintainer: Sivrant sandbox <sandbox@localhost>
Section: otherosfs
Priority: optional
Description: sandbox stand-in of $name $version
CONTROL
  for prog in "$@"; do
    sed -e "s/@PACKAGE@/$name/g" -e "s/@VERSION@/$version/g" "$stubs/$stub" >"$dir/usr/bin/$prog"
    chmod 755 "$dir/usr/bin/$prog"
  done
  dpkg-deb --root-owner-group -Zgzip --build "$dir" "$out/pool/${name}_${version}_amd64.deb" >/dev/null
}

for v in 8.19 8.20 9.0; do
  make_package wine "$v" wine wine wine64 wineboot wineserver wine-preloader wine64-preloader
done
make_package winetricks 20240105 winetricks winetricks

# make_state STATE PACKAGE_FILE...
make_state() {
  local dir=$out/$1 f
  shift
  mkdir -p "$dir"
  for f in "$@"; do ln "$out/pool/$f" "$dir/$f"; done
  (
    cd "$dir"
    dpkg-scanpackages -m . /dev/null >Packages 2>/dev/null
    gzip -9nk Packages
    {
      printf 'Origin: sivrant-sandbox\nLabel: sivrant-sandbox\nSuite: stable\n'
      printf 'Codename: 1.8_x86-64\nDate: %s\nArchitectures: amd64 all\nSHA256:\n' \
        "$(LC_ALL=C date -Ru)"
      for f in Packages Packages.gz; do
        printf ' %s %s %s\n' "$(sha256sum <"$f" | cut -d' ' -f1)" "$(stat -c%s "$f")" "$f"
      done
    } >Release
  )
}
make_state new wine_9.0_amd64.deb winetricks_20240105_amd64.deb
make_state must-update wine_9.0_amd64.deb winetricks_20240105_amd64.deb
make_state not-supported wine_8.20_amd64.deb winetricks_20240105_amd64.deb
make_state no-winetricks wine_9.0_amd64.deb
rm -rf "$out/build"
