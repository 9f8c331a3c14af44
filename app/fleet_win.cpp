// "/check [/json FILE | /report FILE] [/scan] [/scanrange RANGE]" and
// "/fix [/only RULE[,RULE...]] [/json FILE | /report FILE] [/scan] [/scanrange RANGE]": no window, no
// message box, no elevation prompt, one line on standard output and an exit code (app/fleet.h).
// Both finish within 60 seconds: the checks' network tests run side by side with their own time
// limits, the search is skipped once 20 s have gone, no fix starts after 25 s, the second check
// tests the network only before 35 s, and a watchdog ends the process at 57 s with its own line.
#include <winsock2.h>
#include <windows.h>

#include <stdlib.h>

#include "app/app.h"
#include "app/check.h"
#include "app/fleet.h"
#include "collect/net_cache.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "fixes/fix_this.h"
#include "fixes/unattended.h"
#include "net/addresses.h"
#include "net/search.h"
#include "reports/json_report.h"
#include "reports/report.h"

static Session g_fleet_session; // static: the finding list is far too large for the stack
static volatile LONG g_line_written;
static ULONGLONG g_started;

enum : ULONGLONG {
    kSearchBeforeMs = 20000,
    kFixBeforeMs = 25000,
    kRetestBeforeMs = 35000,
    kWatchdogMs = 57000,
};

static ULONGLONG elapsed_ms() {
    return GetTickCount64() - g_started;
}

// The one line, to whatever standard output the caller handed over: a pipe or a file gets UTF-8, a
// console (when started from one, a windowed program attaches to its parent's) gets the text as it is.
static void write_line(const wchar_t* line) {
    if (InterlockedExchange(&g_line_written, 1)) return;
    static char bytes[kFleetLineBytes + 3];
    size_t n = text_to_utf8(line, bytes, kFleetLineBytes + 1, 0);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!out || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (GetFileType(out) == FILE_TYPE_CHAR) {
        WriteConsoleW(out, line, (DWORD)wcslen(line), &written, nullptr);
        WriteConsoleW(out, L"\r\n", 2, &written, nullptr);
        return;
    }
    bytes[n] = '\r';
    bytes[n + 1] = '\n';
    WriteFile(out, bytes, (DWORD)(n + 2), &written, nullptr);
}

static DWORD WINAPI watchdog(void*) {
    Sleep((DWORD)kWatchdogMs);
    wchar_t line[200];
    error_line(L"the check did not finish within 60 seconds", ERROR_TIMEOUT, line, _countof(line));
    write_line(line);
    ExitProcess(ERROR_TIMEOUT);
    return 0;
}

static int fail(const wchar_t* what, uint32_t code) {
    wchar_t line[600];
    error_line(what, code, line, _countof(line));
    write_line(line);
    return (int)code;
}

static uint32_t write_document(const CommandLine* cmd, const wchar_t* file, const Session* session) {
    if (cmd->reportJson) {
        wchar_t* json = build_json_report(session);
        if (!json) return ERROR_NOT_ENOUGH_MEMORY;
        const uint32_t error = write_json_file(file, json);
        free(json);
        return error;
    }
    wchar_t* text = static_cast<wchar_t*>(malloc(kReportCapacity * sizeof(wchar_t)));
    if (!text) return ERROR_NOT_ENOUGH_MEMORY;
    build_report(session, 1, text, kReportCapacity);
    const uint32_t error = write_report_file(file, text);
    free(text);
    return error;
}

static void read_port_address(const wchar_t* port, wchar_t* out, size_t cap) {
    current_port_address(port, out, cap);
}

int run_fleet_mode(const CommandLine* cmd) {
    g_started = GetTickCount64();
    g_process.headless = 1;
    const int fixing = cmd->mode == ModeFix;
    load_settings(&g_settings, g_process.demo);
    if (HANDLE dog = CreateThread(nullptr, 64 * 1024, watchdog, nullptr, 0, nullptr)) CloseHandle(dog);

    const wchar_t* file = cmd->reportFile[0] ? cmd->reportFile : cmd->jsonFile;
    if ((cmd->reportAsked || cmd->reportJson) && !file[0])
        return fail(L"\"/report\" and \"/json\" need the file to write", ERROR_INVALID_PARAMETER);
    wchar_t unknown[80], what[200];
    if (fixing && unknown_rule_in_list(cmd->onlyRules, unknown, _countof(unknown))) {
        text_format(what, _countof(what), L"no rule is called \"%ls\" (see docs/report-json.md)", unknown);
        return fail(what, ERROR_INVALID_PARAMETER);
    }
    wchar_t refused[200];
    if (g_process.scanRange[0] && scan_range_refusal(g_process.scanRange, refused, _countof(refused)))
        return fail(refused, ERROR_INVALID_PARAMETER);

    Session* session = &g_fleet_session;
    session_init(session);
    WSADATA wsa;
    const int sockets = !g_process.demo && WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    if (!g_process.demo) net_cache_init();
    uint32_t error = 0;
    if (g_process.demo) {
        error = demo_first_check(session);
    } else {
        error = pc_check_now(session, cmd->reportScan, 1);
        // A moved printer can be pointed at its new address only once the search has found it, so
        // "/fix" searches by itself where the window would: when a network printer did not answer.
        if (!error && fixing && !cmd->reportScan && wants_auto_search(session->snapshot) &&
            elapsed_ms() < kSearchBeforeMs) {
            SearchRequest search = {};
            search_request_of(session->snapshot, 0, g_settings.askPrinter, g_process.scanRange, &search);
            session_take_search(session, run_network_search(&search, nullptr));
            refresh_findings(session);
        }
    }
    if (error) return fail(L"the check could not be done", error);

    wchar_t line[2100];
    if (fixing) {
        UnattendedRun run = {};
        if (elapsed_ms() < kFixBeforeMs) {
            RunnerEnv env = {};
            env.demo = g_process.demo;
            env.elevated = g_process.elevated;
            env.mayElevate = 0; // nobody is there to answer a prompt
            env.autoNetTest = 1;
            run_unattended_fixes(&session->findings, session->snapshot, cmd->onlyRules, &env,
                                 read_port_address, &run);
        }
        // What was fixed is judged by a fresh check, not by the runner's word.
        if (run.done > 0 && !g_process.demo) {
            error = pc_check_now(session, 0, elapsed_ms() < kRetestBeforeMs);
            if (error) return fail(L"the check after the fixes could not be done", error);
        }
        fix_line(session->snapshot, &session->findings, &run, g_process.demo, line, _countof(line));
    } else {
        check_line(session->snapshot, &session->findings, g_process.demo, line, _countof(line));
    }
    if (sockets) WSACleanup();

    if (file[0]) {
        error = write_document(cmd, file, session);
        if (error) {
            text_format(what, _countof(what), L"the report could not be written to %ls", file);
            return fail(what, error);
        }
    }
    write_line(line);
    return fleet_exit_code(&session->findings);
}
