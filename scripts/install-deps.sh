#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need, when they are missing.
# gettext: the PO tests check the texts export and import with its tools.
# nlohmann-json3-dev: the tests read the command-line tool's JSON output with a real parser.
# clang-format, clang-tidy: scripts/check-style.sh.
# acl, attr: the save tests set an access control list and an extended attribute to keep.
# xvfb, openbox, xdotool: the window tests on a real X server, driven as a person would.
# With --fuzz, only what the libFuzzer build needs: clang and its fuzzer and sanitizer runtimes.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev gettext nlohmann-json3-dev acl attr
          clang-format clang-tidy qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
          fonts-dejavu-core xvfb xauth openbox xdotool desktop-file-utils shared-mime-info)
if [ "${QUILLET_GUI:-ON}" = "OFF" ]; then
    packages=(cmake g++ make libgtest-dev libgmock-dev gettext nlohmann-json3-dev acl attr clang-format clang-tidy)
fi
if [ "${1:-}" = "--fuzz" ]; then
    packages=(cmake make g++ clang libclang-rt-14-dev)
fi
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
