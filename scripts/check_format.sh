#!/usr/bin/env bash
# Checks that every C and C++ file under src/, tests/ and bench/ is laid out as
# .clang-format says; names each file that is not, and how to fix it.
#   check_format.sh [CLANG_FORMAT]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool=${1:-clang-format}
cd "$repo"
mapfile -d '' files < <(find src tests bench -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.inl' \) \
  -print0 | sort -z)
echo "$("$tool" --version) on ${#files[@]} files"
if report=$("$tool" --dry-run --Werror "${files[@]}" 2>&1); then
  echo "ok"
  exit 0
fi
off=$(grep -o '^[^:]*:[0-9]*:[0-9]*: error:' <<<"$report" | cut -d: -f1 | sort -u || true)
if [ -z "$off" ]; then
  echo "$report"
  exit 1
fi
echo "Not formatted as .clang-format says:"
sed 's/^/  /' <<<"$off"
echo "Fix with: clang-format -i $(tr '\n' ' ' <<<"$off")"
exit 1
