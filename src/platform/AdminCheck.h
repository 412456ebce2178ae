#pragma once
// Whether the user holds administrator rights.

// 1 when the caller's access token holds the built-in Administrators group
// (membership alone counts, also deny-only), 0 otherwise and on any failure.
int IsUserAdmin();
