#pragma once
// Resource identifiers of the program.

#define IDR_MAINFRAME 128

// Progress window.
#define IDD_PROGRESS 141
#define IDC_PROGRESS 1079
