// "/nettest address [community] [/quiet]": test one address, write the page to the temporary
// folder, show it unless asked to be quiet; exit 0, or 87 for an address that is no host name or
// IPv4 address. No mutex, no settings, no window.
#include <winsock2.h>
#include <windows.h>

#include "app/app.h"
#include "app/nettest.h"
#include "core/diagnose.h"
#include "core/session.h"
#include "core/text.h"
#include "net/net_test.h"

// Static: the records are far too large for the stack.
static Snapshot g_nettest_snapshot;
static Session g_nettest_session;

static void write_utf8_file(const wchar_t* path, const wchar_t* text) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    static char bytes[8000 * 4 + 8];
    size_t n = text_to_utf8(text, bytes, sizeof(bytes), 1);
    DWORD written = 0;
    WriteFile(file, bytes, (DWORD)n, &written, nullptr);
    CloseHandle(file);
}

static void write_nettest_file(const wchar_t* text) {
    wchar_t folder[MAX_PATH + 1] = L"";
    DWORD len = GetTempPathW(_countof(folder), folder);
    if (len > 0 && len < _countof(folder)) {
        wchar_t path[MAX_PATH + 40];
        text_format(path, _countof(path), L"%ls%ls", folder, VANTREL_NETTEST_FILE);
        write_utf8_file(path, text);
    }
}

int run_nettest_mode(const CommandLine* cmd) {
    // An empty or malformed address is tested not at all: the file (which an earlier test may have
    // left saying all was well) and the box say so instead, and the exit code is a bad argument.
    static wchar_t refusal[600];
    if (nettest_refusal_text(cmd->netAddress, refusal, _countof(refusal))) {
        write_nettest_file(refusal);
        if (!cmd->quiet)
            MessageBoxW(nullptr, refusal, L"Vantrel \x2014 network test", MB_OK | MB_ICONWARNING);
        return ERROR_INVALID_PARAMETER;
    }
    WSADATA wsa;
    int sockets = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;

    Snapshot* s = &g_nettest_snapshot;
    build_nettest_snapshot(s, cmd->netAddress);
    Session* session = &g_nettest_session;
    session_init(session);
    session->snapshot = s; // static storage: never handed to session_take_snapshot, never freed

    const wchar_t* community = cmd->netCommunity ? cmd->netCommunity : L"";
    net_test_printer(&s->printers[0].net, cmd->netAddress, 1, community);
    diagnose(session);

    static wchar_t text[8000];
    build_nettest_text(s, &session->findings, text, _countof(text));

    write_nettest_file(text);
    if (!cmd->quiet) MessageBoxW(nullptr, text, L"Vantrel \x2014 network test", MB_OK | MB_ICONINFORMATION);
    session->snapshot = nullptr;
    if (sockets) WSACleanup();
    return 0;
}
