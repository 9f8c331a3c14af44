// Carrying out a share plan: the shell's "open" verb for links, Simple MAPI loaded at run time (so
// the program starts on a PC without any mail program), and the clipboard.
#include "share/share_send.h"

#include <shellapi.h>

#include <stdlib.h>
#include <string.h>

#include "core/text.h"
#include "share/share_message.h"

// Simple MAPI's wide-character records and call, as mapi32.dll exports them; the MinGW headers
// carry only the ANSI ones.
namespace {
struct MapiRecipDescW {
    ULONG ulReserved, ulRecipClass;
    PWSTR lpszName, lpszAddress;
    ULONG ulEIDSize;
    void* lpEntryID;
};
struct MapiFileDescW {
    ULONG ulReserved, flFlags, nPosition;
    PWSTR lpszPathName, lpszFileName;
    void* lpFileType;
};
struct MapiMessageW {
    ULONG ulReserved;
    PWSTR lpszSubject, lpszNoteText, lpszMessageType, lpszDateReceived, lpszConversationID;
    ULONG flFlags;
    MapiRecipDescW* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDescW* lpRecips;
    ULONG nFileCount;
    MapiFileDescW* lpFiles;
};
typedef ULONG(WINAPI* MapiSendMailW)(ULONG_PTR session, ULONG_PTR ui_param, MapiMessageW* message,
                                     ULONG flags, ULONG reserved);
const ULONG MapiSuccess = 0, MapiUserAbort = 1, MapiFailure = 2;
const ULONG MapiLogonUi = 0x1, MapiDialog = 0x8, MapiTo = 1;
} // namespace

int32_t copy_text_to_clipboard(HWND owner, const wchar_t* text) {
    // A clipboard someone else holds open is not worth a message: the copy is skipped quietly.
    if (!text || !OpenClipboard(owner)) return 0;
    EmptyClipboard();
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    int32_t ok = 0;
    if (block) {
        void* p = GlobalLock(block);
        if (p) {
            memcpy(p, text, bytes);
            GlobalUnlock(block);
            ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!ok) GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

static int shell_open(HWND owner, const wchar_t* address) {
    return (INT_PTR)ShellExecuteW(owner, L"open", address, nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

static void info(HWND owner, const wchar_t* text, const wchar_t* caption) {
    MessageBoxW(owner, text, caption, MB_OK | MB_ICONINFORMATION);
}

void share_send(HWND owner, int32_t method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                const wchar_t* message, wchar_t* result, size_t result_cap) {
    if (result_cap) result[0] = 0;
    if (method == ShareEmailAttached) {
        send_with_attachment(owner, to, subject, message);
        return;
    }
    SharePlan* plan = static_cast<SharePlan*>(malloc(sizeof(SharePlan)));
    if (!plan) return;
    share_plan(method, to, phone, subject, message, plan);
    if (plan->copyFirst) copy_text_to_clipboard(owner, message);
    if (plan->boxText) info(owner, plan->boxText, plan->boxCaption);
    int opened = 1;
    if (plan->address[0]) {
        opened = shell_open(owner, plan->address);
        if (!opened && plan->fallback[0]) opened = shell_open(owner, plan->fallback);
    }
    if (!opened && plan->failureReported) {
        if (plan->copyOnFailure) copy_text_to_clipboard(owner, message);
        info(owner, plan->failureText, VANTREL_SHARE_CAPTION);
    } else if (plan->result[0]) {
        text_copy(result, result_cap, plan->result);
    }
    free(plan);
}

void send_with_attachment(HWND owner, const wchar_t* to, const wchar_t* subject, const wchar_t* message) {
    ULONG result = MapiFailure;
    HMODULE mapi = LoadLibraryW(L"mapi32.dll");
    MapiSendMailW send = mapi ? (MapiSendMailW)(void*)GetProcAddress(mapi, "MAPISendMailW") : nullptr;
    if (send) {
        static wchar_t subject_text[300], body[3991], path[MAX_PATH + 1], to_text[256], address[300];
        text_copy(subject_text, _countof(subject_text), subject);
        share_to_crlf(message, body, _countof(body));
        path[0] = 0;
        GetModuleFileNameW(nullptr, path, _countof(path));
        MapiFileDescW file = {};
        file.nPosition = (ULONG)-1; // not placed in the text
        file.lpszPathName = path;
        file.lpszFileName = const_cast<PWSTR>(L"Vantrel.exe");
        MapiRecipDescW recipient = {};
        MapiMessageW mail = {};
        mail.lpszSubject = subject_text;
        mail.lpszNoteText = body;
        mail.nFileCount = 1;
        mail.lpFiles = &file;
        if (to && to[0]) {
            text_copy(to_text, _countof(to_text), to);
            text_format(address, _countof(address), L"SMTP:%ls", to);
            recipient.ulRecipClass = MapiTo;
            recipient.lpszName = to_text;
            recipient.lpszAddress = address;
            mail.nRecipCount = 1;
            mail.lpRecips = &recipient;
        }
        result = send(0, (ULONG_PTR)owner, &mail, MapiLogonUi | MapiDialog, 0);
    }
    if (mapi) FreeLibrary(mapi);
    if (result == MapiSuccess || result == MapiUserAbort) return;
    wchar_t text[600];
    attachment_failure_text(text, _countof(text));
    info(owner, text, VANTREL_SHARE_CAPTION);
}

void show_program_file(HWND owner) {
    wchar_t path[MAX_PATH + 1] = L"", parameters[MAX_PATH + 20];
    GetModuleFileNameW(nullptr, path, _countof(path));
    text_format(parameters, _countof(parameters), L"/select,\"%ls\"", path);
    ShellExecuteW(owner, L"open", L"explorer.exe", parameters, nullptr, SW_SHOWNORMAL);
}
