// Version numbers as the program compares them: up to four dot-separated decimal parts.
#pragma once

// -1 when a is older than b, 1 when newer, 0 when equal. Missing or unreadable parts count as 0,
// so "1.2" equals "1.2.0.0" and "1.10.0" is newer than "1.9.9".
int compare_versions(const wchar_t* a, const wchar_t* b);
