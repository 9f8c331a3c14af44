// Mode and switch tests of the command line. A switch is a whole argument, compared without regard
// to case, and nothing else: a path such as "C:/Demo/x.txt" or a community such as "ab/quiet" is just
// that argument. Every switch is one row of the table below; what follows a switch is taken by the
// row's rule, so a new switch is one row and, where it sets something new, one small function.
#include "cmdline.h"

#include <string.h>

#include "core/text.h"

namespace {

// What a switch takes from the argument after it.
enum SwitchTakes : int32_t {
    TakesNothing = 0,
    TakesNext = 1,         // the next argument, whatever it is; without one the switch is ignored
    TakesUnlessSwitch = 2, // the next argument unless it is a switch itself; "" when there is none
};

struct SwitchRow {
    const wchar_t* name;
    SwitchTakes takes;
    void (*apply)(CommandLine* out, const wchar_t* value);
};

void set_quiet(CommandLine* out, const wchar_t*) {
    out->quiet = 1;
}
void set_demo(CommandLine* out, const wchar_t*) {
    out->demo = 1;
}
void set_admin(CommandLine* out, const wchar_t*) {
    out->admin = 1;
}
void set_updated(CommandLine* out, const wchar_t* version) {
    out->updated = 1;
    text_copy(out->updatedFrom, _countof(out->updatedFrom), version);
}
// If given several times, the last one wins. An empty range is kept as one blank, which is refused
// like any range that does not parse: left empty it would read as none given, and the search would
// sweep the PC's own networks instead of nothing.
void set_scan_range(CommandLine* out, const wchar_t* range) {
    text_copy(out->scanRange, _countof(out->scanRange), range[0] ? range : L" ");
}
// "/report" alone (or followed by a switch) still chooses the mode, so no window opens, and the
// mode then refuses the missing file with a bad-argument code.
void set_report(CommandLine* out, const wchar_t* file) {
    if (out->mode == ModeWindow) out->mode = ModeReport; // "/check /report FILE" stays a check
    out->reportFile = file;
    out->reportAsked = 1;
}
void set_check(CommandLine* out, const wchar_t*) {
    out->mode = ModeCheck;
}
void set_fix(CommandLine* out, const wchar_t*) {
    out->mode = ModeFix;
}
void set_only(CommandLine* out, const wchar_t* rules) {
    out->onlyRules = rules;
}
void set_summary(CommandLine* out, const wchar_t*) {
    out->reportSummary = 1;
}
void set_scan(CommandLine* out, const wchar_t*) {
    out->reportScan = 1;
}
// "/report FILE /json" names the file before; "/check /json FILE" after.
void set_json(CommandLine* out, const wchar_t* file) {
    out->reportJson = 1;
    out->jsonFile = file;
}

// The switches of every mode but "/task" and "/nettest", which are told by argument 1 (below).
const SwitchRow kSwitches[] = {
    {L"/quiet", TakesNothing, set_quiet},       {L"/demo", TakesNothing, set_demo},
    {L"/admin", TakesNothing, set_admin},       {L"/updated", TakesNext, set_updated},
    {L"/scanrange", TakesNext, set_scan_range}, {L"/report", TakesUnlessSwitch, set_report},
    {L"/summary", TakesNothing, set_summary},   {L"/scan", TakesNothing, set_scan},
    {L"/json", TakesUnlessSwitch, set_json},    {L"/check", TakesNothing, set_check},
    {L"/fix", TakesNothing, set_fix},           {L"/only", TakesNext, set_only},
};

const SwitchRow* switch_row(const wchar_t* argument) {
    for (const SwitchRow& row : kSwitches)
        if (text_equal_ci(argument, row.name)) return &row;
    return nullptr;
}

// Applies every switch from argv[first] on; arguments that are no switch and were not taken by one
// are ignored.
void apply_switches(int argc, wchar_t* const* argv, int first, CommandLine* out) {
    for (int i = first; i < argc; i++) {
        const SwitchRow* row = switch_row(argv[i]);
        if (!row) continue;
        const wchar_t* value = L"";
        const bool have_next = i + 1 < argc;
        if (row->takes == TakesNext) {
            if (!have_next) continue;
            value = argv[++i];
        } else if (row->takes == TakesUnlessSwitch && have_next && !switch_row(argv[i + 1])) {
            value = argv[++i];
        }
        row->apply(out, value);
    }
}

} // namespace

int is_command_line_switch(const wchar_t* argument) {
    return argument && (switch_row(argument) || text_equal_ci(argument, L"/task") ||
                        text_equal_ci(argument, L"/nettest") || text_equal_ci(argument, L"/updatecheck"));
}

void parse_command_line(int argc, wchar_t* const* argv, CommandLine* out) {
    memset(out, 0, sizeof(*out));
    out->mode = ModeWindow;
    out->taskVerb = L"";
    out->taskArgument = L"";
    out->netAddress = L"";
    out->manifestUrl = L"";
    out->netCommunity = VANTREL_DEFAULT_COMMUNITY;
    out->reportFile = L"";
    out->jsonFile = L"";
    out->onlyRules = L"";
    if (!argv) argc = 0;

    // The task mode takes the rest of the line as it is: the verb and its argument are the elevated
    // copy's protocol, and an argument such as "/demo" is a printer's name there.
    if (argc >= 3 && text_equal_ci(argv[1], L"/task")) {
        out->mode = ModeTask;
        out->taskVerb = argv[2];
        out->taskArgument = argc >= 4 ? argv[3] : L"";
        return;
    }
    // The window's own protocol with the copy that fetches the update manifest: the address only.
    if (argc >= 3 && text_equal_ci(argv[1], L"/updatecheck")) {
        out->mode = ModeUpdateCheck;
        out->manifestUrl = argv[2];
        return;
    }
    if (argc >= 3 && text_equal_ci(argv[1], L"/nettest")) {
        out->mode = ModeNetTest;
        out->netAddress = argv[2];
        int next = 3;
        if (argc >= 4 && !is_command_line_switch(argv[3])) out->netCommunity = argv[next++];
        apply_switches(argc, argv, next, out); // only "/quiet" means anything here
        out->mode = ModeNetTest;               // a "/report" after it does not change the mode
        return;
    }
    apply_switches(argc, argv, 1, out);
    out->mayWait = out->updated || out->admin;
}
