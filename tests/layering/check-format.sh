#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says.
#   check-format.sh <source root> [clang-format]
set -u
root="${1:?usage: check-format.sh <source root> [clang-format]}"
format="${2:-clang-format}"
cd "$root" || exit 2
mapfile -d '' files < <(find src tests tools bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
unformatted=()
for file in "${files[@]}"; do
    if ! "$format" --style=file "$file" | cmp -s - "$file"; then unformatted+=("$file"); fi
done
if [ "${#unformatted[@]}" -ne 0 ]; then
    printf '%s\n' "${unformatted[@]}"
    echo "${#unformatted[@]} file(s) need clang-format -i"
    exit 1
fi
echo "${#files[@]} files formatted"
