#!/usr/bin/env bash
# sudoku.exe starts on Windows 7 SP1 and 8.1: it imports only DLLs of Windows itself and no DPI
# function or DLL of a newer Windows (those are looked up while it runs), its header asks for
# Windows 6.1 at most, and its manifest names Windows 7, 8, 8.1 and 10 as supported.
#   imports.sh OBJDUMP sudoku.exe
set -uo pipefail
objdump=$1 exe=$2
dump="$("$objdump" -p "$exe")" || { echo "FAILED: $objdump -p $exe"; exit 1; }
errors=0
fail() { echo "FAILED: $*"; errors=$((errors + 1)); }

# Windows 8 and later: user32's per-DPI functions, shcore and the API sets.
newer_functions=(GetDpiForWindow GetDpiForSystem GetDpiForMonitor AdjustWindowRectExForDpi GetSystemMetricsForDpi
  SystemParametersInfoForDpi SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext
  GetWindowDpiAwarenessContext AreDpiAwarenessContextsEqual EnableNonClientDpiScaling SetProcessDpiAwareness
  GetProcessDpiAwareness GetSystemTimePreciseAsFileTime)
imports="$(sed -n '/^The Import Tables/,/^The Export Tables\|^PE File Base Relocations/p' <<<"$dump")"
for f in "${newer_functions[@]}"; do
  grep -qw "$f" <<<"$imports" && fail "imports $f"
done
while read -r dll; do
  case "${dll,,}" in
    shcore.dll | api-ms-win-* | ext-ms-win-* | ucrtbase.dll | vcruntime140*.dll | msvcp140*.dll) fail "imports $dll" ;;
    # Windows' own, on every Windows from 7 on (oleacc and the OLE libraries for screen readers).
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | oleacc.dll) ;;
    *) fail "imports $dll, which is not part of Windows" ;;
  esac
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")

for field in OSystem Subsystem; do
  major="$(sed -n "s/^Major${field}Version\s\+//p" <<<"$dump")"
  minor="$(sed -n "s/^Minor${field}Version\s\+//p" <<<"$dump")"
  if [ -z "$major" ] || [ "$major" -gt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -gt 1 ]; }; then
    fail "$field version $major.$minor is above 6.1"
  fi
done

# The manifest is kept as text among the resources.
declare -A os=([7]=35138b9a-5d96-4fbd-8e2d-a2440225f93a [8]=4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
  [8.1]=1f676c76-80e1-4239-95bb-83d0f6d0da78 [10]=8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a)
for v in "${!os[@]}"; do
  grep -aq "supportedOS Id=\"{${os[$v]}}\"" "$exe" || fail "the manifest does not name Windows $v"
done

[ "$errors" -eq 0 ] || exit 1
echo "passed: only Windows' own DLLs, no import newer than Windows 7, header version 6.1 at most, manifest for 7 to 10"
