#!/bin/sh
# Installs GMT with the GSHHG coastlines (low, high and full resolution) and unpacks Natural Earth's admin-1 layer from the
# qgis-common package (without installing QGIS) into tools/sources/, at the versions that
# tools/README.md records; stops with an error when Debian offers other ones. Run as root on
# Debian 12.
set -eu

gmt_version=6.4.0+dfsg-2
gshhg_version=2.3.7-6
qgis_common_version=3.22.16+dfsg-1

here=$(cd "$(dirname "$0")" && pwd)
sources="$here/sources"

# Stops unless package $1 is installed at version $2.
check_installed() {
    have=$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true)
    if [ "$have" != "$2" ]; then
        echo "fetch-sources: $1 is ${have:-not installed}, the maps were drawn with $2" >&2
        exit 1
    fi
}

"$here/../scripts/packages" map-sources
check_installed gmt "$gmt_version"
check_installed gmt-gshhg-low "$gshhg_version"
check_installed gmt-gshhg-high "$gshhg_version"
check_installed gmt-gshhg-full "$gshhg_version"

mkdir -p "$sources"
cd "$sources"
# The layer is taken from the package once; the stamp says which version it came from.
if [ ! -f world_map.gpkg ] || [ "$(cat world_map.gpkg.version 2>/dev/null)" != "$qgis_common_version" ]; then
    rm -rf qgis-common qgis-common_*.deb world_map.gpkg world_map.gpkg.version
    apt-get download "qgis-common=$qgis_common_version"
    dpkg-deb -x qgis-common_*.deb qgis-common
    cp "$(find qgis-common -name world_map.gpkg | head -n 1)" world_map.gpkg
    rm -rf qgis-common qgis-common_*.deb
    echo "$qgis_common_version" > world_map.gpkg.version
fi
ls -l "$sources/world_map.gpkg"
echo "qgis-common $(cat world_map.gpkg.version), $(gmt --version | sed 's/^/gmt /')"
