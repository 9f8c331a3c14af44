// Choosing the mode from the command line. Every switch is a whole argument, accepted in any case
// (a script's "/QUIET" is as quiet as "/quiet"); a file name, address, community or range that
// merely contains a switch's name is just that argument. Pure: the caller splits the line
// (CommandLineToArgvW).
#pragma once

#include <stdint.h>
#include <wchar.h>

enum StartMode : int32_t {
    ModeWindow = 0,
    ModeTask = 1,
    ModeNetTest = 2,
    ModeReport = 3,      // "/report FILE": write the report headless; reportFile empty = no file given
    ModeCheck = 4,       // "/check": one check, one line on standard output, an exit code for scripts
    ModeFix = 5,         // "/fix": the check, the fixes safe without a person, and the check again
    ModeUpdateCheck = 6, // "/updatecheck URL": the window's copy that fetches the update manifest
};

// The read-only community of SNMP version 1 used when "/nettest" is not given one.
#define VANTREL_DEFAULT_COMMUNITY L"public"

struct CommandLine {
    StartMode mode;
    // Task mode: the word after "/task" and the next one ("" when missing). They point into the
    // split words, which live as long as the process.
    const wchar_t* taskVerb;
    const wchar_t* taskArgument;
    // Update-check mode: the manifest's address.
    const wchar_t* manifestUrl;
    // Network-test mode.
    const wchar_t* netAddress;
    const wchar_t* netCommunity;
    int32_t quiet;
    int32_t demo;
    int32_t updated;           // "/updated OLDVERSION": the new copy after a self-update
    int32_t admin;             // "/admin": the elevated copy started for a fix
    int32_t mayWait;           // updated or admin: wait for the old copy to let go of the mutex
    wchar_t updatedFrom[64];   // the argument after "/updated" (at most 63 characters); "" when absent
    wchar_t scanRange[64];     // as given (one blank when given empty); empty = sweep the local subnets
    const wchar_t* reportFile; // "/report": the file to write; "" when absent
    int32_t reportAsked;       // "/report" was given, with or without its file
    int32_t reportSummary;     // "/summary" with "/report": the summary instead of the full report
    int32_t reportScan;        // "/scan" with "/report": a network search runs before the report
    int32_t reportJson;        // "/json": the JSON document instead of the text
    const wchar_t*
        jsonFile; // "/json FILE" (with "/check" or "/fix"): where the document goes; "" when absent
    const wchar_t* onlyRules; // "/only RULE[,RULE...]" with "/fix"; "" = every rule
};

// argv[0] is the program path; argv may be null when splitting failed (the program then starts
// windowed with no switch set).
void parse_command_line(int argc, wchar_t* const* argv, CommandLine* out);

// Whether an argument is one of the switches (in any case).
int is_command_line_switch(const wchar_t* argument);
