#!/usr/bin/env bash
# Builds the Debian package of the tree as it is (committed or not; what git ignores left out)
# in DEB_BUILD (default build-deb, which git ignores), then checks it: lintian must report no
# error and no warning, the package must hold the programs, their manual pages, the desktop
# files and the German translations, and its desktop entry and metainfo must validate. JOBS (default 2) compile at once.
set -euo pipefail
cd "$(dirname "$0")/.."

out="${DEB_BUILD:-build-deb}"
jobs="${JOBS:-2}"
version=$(dpkg-parsechangelog -S Version)
upstream=${version#*:}
upstream=${upstream%-*}
source="$out/quillet-$upstream"

rm -rf "$out"
mkdir -p "$source"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
        tar --null -T - -cf - | tar -xf - -C "$source"
else
    tar --exclude=./.git --exclude='./build*' -cf - . | tar -xf - -C "$source"
fi

# ccache only where the machine has it; debhelper gives the build a HOME of its own, so the
# cache is named.
flags=""
if command -v ccache >/dev/null; then
    flags="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    CCACHE_DIR=$(ccache -k cache_dir)
    export CCACHE_DIR
fi
(cd "$source" && QUILLET_CMAKE_FLAGS="$flags" dpkg-buildpackage -b -us -uc -j"$jobs")

deb="$out/quillet_${version#*:}_$(dpkg-architecture -q DEB_HOST_ARCH).deb"
echo "Checking $deb"
lintian --display-info --fail-on error,warning "$deb"

contents="$out/contents"
dpkg-deb -x "$deb" "$contents"
app_id=$(basename "$(find "$contents/usr/share/metainfo" -name '*.metainfo.xml')" .metainfo.xml)
for file in usr/bin/quillet usr/bin/quillet-cli usr/share/man/man1/quillet.1.gz \
    usr/share/man/man1/quillet-cli.1.gz "usr/share/applications/$app_id.desktop" \
    "usr/share/metainfo/$app_id.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "usr/share/mime/packages/$app_id.xml" usr/share/doc/quillet/copyright \
    usr/share/locale/de/LC_MESSAGES/quillet.mo usr/share/quillet/translations/quillet_de.qm; do
    if [ ! -s "$contents/$file" ]; then
        echo "make-deb: the package lacks /$file" >&2
        exit 1
    fi
done
desktop-file-validate "$contents/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net --strict "$contents/usr/share/metainfo/$app_id.metainfo.xml"
rm -rf "$contents"
echo "Built $deb"
