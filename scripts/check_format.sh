#!/usr/bin/env bash
# Fails when clang-format would change a C or C++ file of src/, tests/, bench/ or fuzz/:
# the style is .clang-format's, as clang-format 14 (Debian 12's package) applies it.
# Installs the project's packages, clang-format among them, when it is missing.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
command -v clang-format >/dev/null || "$root/scripts/setup.sh" --packages
cd "$root"
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tests/*.c' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' | xargs -0 clang-format --dry-run --Werror
echo "check_format: every file formatted"
