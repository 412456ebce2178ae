#!/usr/bin/env bash
# Checks that 32-bit DLLs export the named functions under their plain names
# (no "@n" stdcall decoration), as callers that look them up by name need.
# Usage: check-exports.sh <objdump> <Export1,Export2,...> <dll>...
set -euo pipefail
objdump="$1"
IFS=',' read -r -a expected <<<"$2"
shift 2

status=0
for dll in "$@"; do
  # The names of the export table, one a line.
  names="$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
    | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')"
  for fn in "${expected[@]}"; do
    if ! grep -qx "$fn" <<<"$names"; then
      echo "$(basename "$dll"): does not export $fn"
      status=1
    fi
  done
  if grep -q '@' <<<"$names"; then
    echo "$(basename "$dll"): exports decorated names: $(grep '@' <<<"$names" | tr '\n' ' ')"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "exports: ok ($# DLLs)"
exit "$status"
