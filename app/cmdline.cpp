// Mode and switch tests of the command line.
#include "cmdline.h"

#include <string.h>

#include "core/text.h"

// Where a switch occurs in the raw line, in any case; null when it does not.
static const wchar_t* find_switch(const wchar_t* raw, const wchar_t* name) {
    for (const wchar_t* p = raw; *p; p++)
        if (text_starts_with_ci(p, name)) return p;
    return nullptr;
}

// The one word after "/updated ": the blanks before it skipped, up to the next blank, or between
// quotes when it is quoted.
static void updated_version(const wchar_t* after, wchar_t* out, size_t cap) {
    while (*after == L' ' || *after == L'\t')
        after++;
    wchar_t end = L' ';
    if (*after == L'"') {
        end = L'"';
        after++;
    }
    size_t n = 0;
    for (; after[n] && after[n] != end && (end == L'"' || after[n] != L'\t') && n + 1 < cap; n++)
        out[n] = after[n];
    out[n] = 0;
}

void parse_command_line(const wchar_t* raw, int argc, wchar_t* const* argv, CommandLine* out) {
    memset(out, 0, sizeof(*out));
    out->mode = ModeWindow;
    out->taskVerb = L"";
    out->taskArgument = L"";
    out->netAddress = L"";
    out->netCommunity = VANTREL_DEFAULT_COMMUNITY;
    out->reportFile = L"";
    if (!raw) raw = L"";
    if (!argv) argc = 0;

    if (argc >= 3 && text_equal_ci(argv[1], L"/task")) {
        out->mode = ModeTask;
        out->taskVerb = argv[2];
        out->taskArgument = argc >= 4 ? argv[3] : L"";
        return;
    }
    if (argc >= 3 && text_equal_ci(argv[1], L"/nettest")) {
        out->mode = ModeNetTest;
        out->netAddress = argv[2];
        if (argc >= 4 && argv[3][0] != L'/') out->netCommunity = argv[3];
        out->quiet = find_switch(raw, L"/quiet") != nullptr;
        return;
    }

    out->demo = find_switch(raw, L"/demo") != nullptr;
    for (int i = 1; i + 1 < argc; i++)
        if (text_equal_ci(argv[i], L"/scanrange"))
            text_copy(out->scanRange, _countof(out->scanRange), argv[i + 1]);

    // "/report FILE": the word after it is the file, unless it is one of the switches (then no file
    // was given and the mode answers with a bad-argument code instead of writing a file named "/demo").
    for (int i = 1; i < argc; i++) {
        if (text_equal_ci(argv[i], L"/summary")) out->reportSummary = 1;
        if (text_equal_ci(argv[i], L"/scan")) out->reportScan = 1;
        if (text_equal_ci(argv[i], L"/json")) out->reportJson = 1;
        if (!text_equal_ci(argv[i], L"/report")) continue;
        out->mode = ModeReport;
        const wchar_t* next = i + 1 < argc ? argv[i + 1] : L"";
        out->reportFile = next[0] == L'/' || next[0] == 0 ? L"" : next;
        if (out->reportFile[0]) i++;
    }

    const wchar_t* updated = find_switch(raw, L"/updated ");
    out->updated = updated != nullptr;
    if (updated)
        updated_version(updated + wcslen(L"/updated "), out->updatedFrom, _countof(out->updatedFrom));
    out->admin = find_switch(raw, L"/admin") != nullptr;
    out->mayWait = out->updated || out->admin;
}
