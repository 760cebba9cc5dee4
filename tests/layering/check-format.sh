#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says, and names it.
#   check-format.sh <source root> [clang-format]
set -u
root="${1:?usage: check-format.sh <source root> [clang-format]}"
format="${2:-clang-format}"
cd "$root" || exit 2
mapfile -d '' files < <(find src tests tools bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
if ! "$format" --style=file --dry-run -Werror "${files[@]}" 2>&1 | grep -E '^[^ ].*: error' | cut -d: -f1 | sort -u |
    sed 's/$/: needs clang-format -i/' | grep .; then
    echo "${#files[@]} files formatted"
    exit 0
fi
exit 1
