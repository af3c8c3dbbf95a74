#!/usr/bin/env bash
# Reads the export table of Tamblin1.dll and compares it with the fifteen
# names callers link against.  usage: check_exports.sh OBJDUMP DLL
set -euo pipefail
objdump=$1 dll=$2
expected='_DLL_Entry_000_001@0
_DLL_Entry_000_002@0
_DLL_Entry_000_003@4
_DLL_Entry_000_004@20
_DLL_Entry_000_005@32
_DLL_Entry_000_006@12
_DLL_Entry_000_007@0
_DLL_Entry_000_008@32
_DLL_Entry_000_009@0
_DLL_Entry_000_010@0
_DLL_Entry_000_011@4
_DLL_Entry_000_012@8
_DLL_Entry_000_013@8
_DLL_Entry_000_014@4
_DLL_Entry_000_015@0'
actual=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort)
if [ "$actual" != "$expected" ]; then
  echo "export table of $dll differs:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "$dll exports the 15 names:" $actual
