#pragma once
// Whether the 32-bit program runs on 64-bit Windows.

// The 64-bit flag: set once at start, before the first configuration object is
// built, and only read afterwards (also by the install worker).
extern bool g_bWow64;

// Non-zero when the process runs as a 32-bit process on 64-bit Windows. Every
// failure reads as 32-bit Windows.
int IsWow64();
