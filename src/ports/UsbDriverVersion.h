#pragma once
// The version of the installed USB driver, and whether the packaged one is
// newer.

#include <string>

// FileVersion text of the installed driver file; on 64-bit Windows read with
// the WOW64 file-system redirection off, and an empty text when it cannot be
// switched off (no message). "0.0.0.0" when no driver is installed.
std::string ReadInstalledUsbDriverVersion();

// Results of the comparisons.
constexpr int kUsbDriverNotInstalled = -1;
constexpr int kUsbDriverUpToDate = 0;
constexpr int kUsbDriverPackagedNewer = 1;

// Packaged version text against installed version text: 0 when they are the
// same text; -1 when the installed version is 0.0.0.0 (none or unreadable);
// 1 when the packaged version is newer; 0 otherwise. A version is its first
// four numbers (runs of decimal digits), missing ones 0, compared in order.
int CompareVersionTexts(const std::string& packaged, const std::string& installed);

// The packaged driver of the setup folder against the installed one. On
// 64-bit Windows the installed one is read again with the redirection off;
// what is missing for that is shown ("Can't Load Kernel32.dll", ...).
int CompareUsbDriverVersion();
