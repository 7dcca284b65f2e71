#!/bin/sh
# Installs GMT with the GSHHG coastlines and unpacks Natural Earth's admin-1 layer from the
# qgis-common package (without installing QGIS) into tools/sources/. Run as root on Debian 12.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
sources="$here/sources"

apt-get install -y --no-install-recommends gmt gmt-gshhg-low gmt-gshhg-high

mkdir -p "$sources"
cd "$sources"
if [ ! -f world_map.gpkg ]; then
    rm -f qgis-common_*.deb
    apt-get download qgis-common
    rm -rf qgis-common
    dpkg-deb -x qgis-common_*.deb qgis-common
    cp "$(find qgis-common -name world_map.gpkg | head -n 1)" world_map.gpkg
    rm -rf qgis-common qgis-common_*.deb
fi
ls -l "$sources/world_map.gpkg"
gmt --version
