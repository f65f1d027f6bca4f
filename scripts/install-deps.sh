#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need, when they are missing.
# gettext: the PO tests check the texts export and import with its tools.
# nlohmann-json3-dev, jq: the tests read the command-line tool's JSON output with a real parser,
# and with the one scripts use.
# clang-format, clang-tidy: scripts/check-style.sh.
# acl, attr: the save tests set an access control list and an extended attribute to keep.
# openbox, xdotool, x11-utils: tests/gui drives the window on Xvfb through the window system, as a
# person would; qt6-gtk-platformtheme with GTK's dark Adwaita shows it in a dark desktop theme.
# help2man: the manual pages; desktop-file-utils, appstream: the tests validate the desktop entry
# and the metainfo.
# qt6-l10n-tools, qt6-tools-dev: Qt Linguist's tools and their CMake package, which compile the
# window's translations; qt6-translations-l10n: Qt's own texts in other languages; locales: the
# sources localedef makes the German locale from for the translation tests.
# With --fuzz, only what the libFuzzer build needs: clang and its fuzzer and sanitizer runtimes.
# With --deb, what make deb needs: the Build-Depends of debian/control, the packaging tools, and
# the validators its checks run on the package.
# With --bench, only the yardsticks the benchmarks measure the tool against: ripgrep.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev gettext nlohmann-json3-dev jq acl attr
          clang-format clang-tidy qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
          fonts-dejavu-core xvfb xauth openbox xdotool x11-utils qt6-gtk-platformtheme desktop-file-utils
          shared-mime-info help2man appstream qt6-l10n-tools qt6-tools-dev qt6-translations-l10n locales)
if [ "${QUILLET_GUI:-ON}" = "OFF" ]; then
    packages=(cmake g++ make libgtest-dev libgmock-dev gettext nlohmann-json3-dev jq acl attr clang-format
              clang-tidy help2man locales)
fi
if [ "${1:-}" = "--fuzz" ]; then
    packages=(cmake make g++ clang libclang-rt-14-dev)
fi
if [ "${1:-}" = "--deb" ]; then
    packages=(dpkg-dev fakeroot debhelper lintian git desktop-file-utils appstream)
fi
if [ "${1:-}" = "--bench" ]; then
    packages=(ripgrep)
fi

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
updated=no
apt_get() {
    if [ $updated = no ]; then
        $sudo_cmd apt-get update -qq
        updated=yes
    fi
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get -y -qq --no-install-recommends "$@"
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get install "${missing[@]}"
fi
# The package's build dependencies are named once, in debian/control.
if [ "${1:-}" = "--deb" ] && ! dpkg-checkbuilddeps 2>/dev/null; then
    echo "Installing the build dependencies of debian/control"
    apt_get build-dep ./
fi
