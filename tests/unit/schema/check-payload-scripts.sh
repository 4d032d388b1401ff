#!/bin/bash
# Usage: check-payload-scripts.sh PAYLOAD_FOLDER
# Checks every bash script of the payload with "bash -n" and, where it is installed, shellcheck.
set -euo pipefail

payload=$1
status=0
count=0
have_shellcheck=true
command -v shellcheck >/dev/null 2>&1 || have_shellcheck=false

while IFS= read -r -d '' script; do
  count=$((count + 1))
  bash -n "$script" || status=1
  if $have_shellcheck; then
    shellcheck -s bash "$script" || status=1
  fi
done < <(find "$payload" -name '*.sh' -print0)

if [ "$count" -eq 0 ]; then
  echo "no scripts found under $payload" >&2
  exit 1
fi
$have_shellcheck || echo "shellcheck is not installed: only the syntax was checked"
exit "$status"
