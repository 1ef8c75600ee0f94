#!/usr/bin/env bash
# Every C++ source of the project is clang-format clean.
set -euo pipefail
cd "$HUEBADGE_SOURCE_DIR"
if ! command -v clang-format >/dev/null; then echo "clang-format missing"; exit 1; fi
git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run -Werror
