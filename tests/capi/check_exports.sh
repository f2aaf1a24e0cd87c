#!/usr/bin/env bash
# The library exports exactly the functions that its header declares.
#
#   check_exports.sh LIBRARY HEADER
set -euo pipefail
lib=$1 header=$2
declared=$(sed -n 's/^STRIPEWRIGHT_API .*\b\(stripewright_[a-z_]*\)(.*/\1/p' "$header" | sort)
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort)
[ -n "$declared" ] || { echo "FAIL: no functions found in $header" >&2; exit 1; }
if [ "$declared" != "$exported" ]; then
  echo "FAIL: the header declares (<) and the library exports (>) different symbols:" >&2
  diff <(echo "$declared") <(echo "$exported") >&2 || true
  exit 1
fi
echo "The library exports the $(wc -l <<<"$declared") functions of its header and nothing else."
