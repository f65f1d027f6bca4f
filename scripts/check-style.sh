#!/usr/bin/env bash
# Checks the C++ files against the .clang-format and .clang-tidy at the root of the tree.
#
#   scripts/check-style.sh           the files changed in the last commit (git diff HEAD~1)
#   scripts/check-style.sh COMMIT    the files changed since COMMIT (committed or not)
#   scripts/check-style.sh --all     every C++ file of the tree
#
# clang-tidy reads the compile commands of the build folder STYLE_BUILD (default: build); when it
# has none, the folder is configured with CMAKE_EXPORT_COMPILE_COMMANDS=ON (nothing is built).
# JOBS (default 2) clang-tidy processes run at once. Exits non-zero when a file is not formatted
# as clang-format would format it or clang-tidy finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${STYLE_BUILD:-build}"
jobs="${JOBS:-2}"

usage() {
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
}

all_files() {
    git ls-files -- '*.cpp' '*.h'
}

case "${1:-}" in
    -h | --help) usage ;;
    --all) mapfile -t files < <(all_files) ;;
    *)
        base="${1:-HEAD~1}"
        if ! git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
            if [ $# -gt 0 ]; then
                echo "check-style: no commit $base" >&2
                exit 2
            fi
            # The first commit of a history: everything in it is new.
            mapfile -t files < <(all_files)
        else
            mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
        fi
        ;;
esac

if [ ${#files[@]} -eq 0 ]; then
    echo "check-style: no C++ file to check"
    exit 0
fi
echo "check-style: ${#files[@]} file(s)"

status=0
echo "== clang-format"
clang-format --dry-run -Werror "${files[@]}" || status=1

echo "== clang-tidy"
if [ ! -f "$build/compile_commands.json" ]; then
    cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
fi
# A header is checked on its own, with the flags of its neighbours; there its #pragma once
# stands in the main file, which is no fault.
# clang-tidy counts the warnings it hid in system headers; only what it shows matters.
if ! printf '%s\0' "${files[@]}" |
    xargs -0 -n 1 -P "$jobs" clang-tidy -p "$build" --quiet --extra-arg=-Wno-pragma-once-outside-header 2>&1 |
    { grep -v -E '^[0-9]+ warnings? generated\.$' || true; }; then
    status=1
fi

if [ $status -ne 0 ]; then
    echo "check-style: style faults found (clang-format -i FILE fixes the format)" >&2
else
    echo "check-style: all ${#files[@]} file(s) pass"
fi
exit $status
