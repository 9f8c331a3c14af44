// Mode and switch tests of the command line.
#include "cmdline.h"

#include <string.h>

#include "core/text.h"

void parse_command_line(const wchar_t* raw, int argc, wchar_t* const* argv, CommandLine* out) {
    memset(out, 0, sizeof(*out));
    out->mode = ModeWindow;
    out->taskVerb = L"";
    out->taskArgument = L"";
    out->netAddress = L"";
    out->netCommunity = VANTREL_DEFAULT_COMMUNITY;
    out->updatedFrom = L"";
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
        out->quiet = wcsstr(raw, L"/quiet") != nullptr;
        return;
    }

    out->demo = wcsstr(raw, L"/demo") != nullptr;
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

    const wchar_t* updated = wcsstr(raw, L"/updated ");
    out->updated = updated != nullptr;
    if (updated) out->updatedFrom = updated + wcslen(L"/updated ");
    out->admin = wcsstr(raw, L"/admin") != nullptr;
    out->mayWait = out->updated || out->admin;
}
