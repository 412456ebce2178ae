#!/usr/bin/env bash
# Checks a Windows executable's import table: only DLLs that every Windows the
# program knows has, and none of the functions that Windows 2000 or XP lack
# (those the program needs on newer systems it looks up at run time).
# Usage: check-imports.sh <objdump> <exe>
set -euo pipefail
objdump="$1"
exe="$2"

allowed_dlls='^((KERNEL32|USER32|GDI32|ADVAPI32|COMCTL32|SHELL32|VERSION|SETUPAPI|MSVCRT|OLE32|COMDLG32|SHLWAPI)\.DLL|WINSPOOL\.DRV)$'
newer_functions=(
  GetTickCount64 GetNativeSystemInfo IsWow64Process
  Wow64DisableWow64FsRedirection Wow64RevertWow64FsRedirection SetDefaultPrinterA
  InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
  WakeConditionVariable WakeAllConditionVariable InitializeSRWLock
  AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive ReleaseSRWLockShared
  TryAcquireSRWLockExclusive TryAcquireSRWLockShared InitOnceExecuteOnce InitOnceBeginInitialize
  InitOnceComplete FlsAlloc FlsFree FlsGetValue FlsSetValue GetFileInformationByHandleEx
  SetFileInformationByHandle CreateSymbolicLinkA CreateSymbolicLinkW GetFinalPathNameByHandleA
  GetFinalPathNameByHandleW CompareStringEx LCMapStringEx GetLocaleInfoEx GetUserDefaultLocaleName
  LocaleNameToLCID CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW CreateSemaphoreExW
  InitializeCriticalSectionEx GetCurrentProcessorNumber GetSystemTimePreciseAsFileTime
  QueryFullProcessImageNameA QueryFullProcessImageNameW RegGetValueA RegGetValueW RegDeleteKeyExA
  RegDeleteKeyExW RegSetKeyValueA RegSetKeyValueW GetErrorMode SetThreadErrorMode
  GetThreadId GetProcessId SetFileCompletionNotificationModes
)

dump="$("$objdump" -p "$exe")"
dlls="$(grep -E '^\s*DLL Name:' <<<"$dump" | awk '{print toupper($3)}' | sort -u)"
status=0
while read -r dll; do
  [ -z "$dll" ] && continue
  if ! grep -Eq "$allowed_dlls" <<<"$dll"; then
    echo "imports a DLL that is not part of Windows: $dll"
    status=1
  fi
done <<<"$dlls"

for fn in "${newer_functions[@]}"; do
  if grep -Eq "^\s+[0-9a-f]+\s+[0-9]+\s+${fn}\$" <<<"$dump"; then
    echo "imports $fn, which older Windows versions lack"
    status=1
  fi
done

echo "imported DLLs: $(tr '\n' ' ' <<<"$dlls")"
[ "$status" -eq 0 ] && echo "import table: ok"
exit "$status"
