// The pure half of the Details command and of Save Report: which text a Details click shows for
// the current selection, the texts of a Windows log entry and of a printer found on the network,
// and the report's default file name and status line. The Win32 half is ui/report_commands_win.cpp.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/findings.h"
#include "core/search_result.h"
#include "core/snapshot.h"

enum DetailsShow : int32_t {
    DetailsNothing = 0,      // no snapshot
    DetailsFixThis = 1,      // a finding about the whole PC: Fix This shows its full explanation
    DetailsFoundPrinter = 2, // a row of the Network Printers view
    DetailsLogEntry = 3,     // a row of the Windows Log view
    DetailsPrinter = 4,      // the selected printer's details page (index -1: ask for one)
};

struct DetailsChoice {
    DetailsShow show;
    int32_t index; // the finding, found printer, log entry or printer
};

// bottom_row: the bottom list's selected row while it was the list used last, else -1;
// selected_printer: the interface's selected printer (which already follows a selected finding or
// job), or -1.
DetailsChoice choose_details(const Snapshot* snapshot, const FindingList* findings,
                             const NetworkSearchResult* search, int32_t view, int32_t bottom_row,
                             int32_t selected_printer);

// "Windows print log entry\n\nWhen: ..." with the search tip at the end.
void log_entry_text(const LogEntry* entry, wchar_t* out, size_t cap);

// "Found on the network\n\nIP address: ..." ending in the question whether to open its web page.
void found_printer_text(const FoundPrinter* printer, wchar_t* out, size_t cap);

// "Vantrel-%ls-%04d-%02d-%02d.txt"; an empty computer name reads as "PC".
void report_file_name(const wchar_t* computer_name, int year, int month, int day, wchar_t* out, size_t cap);

// "Report saved to %ls", at most 319 characters.
void report_saved_status(const wchar_t* path, wchar_t* out, size_t cap);

// The warning shown when Save Report could not write the file: the path, Windows' own explanation
// with its code, and that the file there (if any) was left as it was.
void report_not_saved_text(const wchar_t* path, const wchar_t* windows_text, uint32_t code, wchar_t* out,
                           size_t cap);
