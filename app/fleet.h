// The fleet modes' one line and exit code. "/check" and "/fix" are run by remote-management tools
// (Intune remediations, RMM agents, PowerShell remoting) on many PCs at once: they write exactly one
// line to standard output, never anything to standard error, and answer with an exit code a
// script can branch on. Pure: the modes themselves are in fleet_win.cpp.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/snapshot.h"
#include "fixes/unattended.h"

// The longest line, in UTF-8 bytes, without its line end.
enum { kFleetLineBytes = 2048 };

// 0 when no finding is a PROBLEM, 1 when at least one is: the "needs remediation" answer Intune
// and most RMM tools expect. Codes of 2 and above are Windows errors of a check that could not be
// done or a file that could not be written.
int fleet_exit_code(const FindingList* findings);

// "RED: 3 problems, 1 heads-up. Most serious: Front Desk - Nothing answers at the printer's
// address (printer-not-answering)"; the colour is the window's verdict.
void check_line(const Snapshot* s, const FindingList* findings, int32_t demo, wchar_t* out, size_t cap);

// What "/fix" did and what the check after it found: "GREEN: fixed 1 (use-printer-offline: Front
// Desk). Now 0 problems, 0 heads-ups. No problems found".
void fix_line(const Snapshot* s, const FindingList* findings, const UnattendedRun* run, int32_t demo,
              wchar_t* out, size_t cap);

// The line for a mode that could not run ("ERROR: ..."), with Windows' code.
void error_line(const wchar_t* what, uint32_t code, wchar_t* out, size_t cap);
