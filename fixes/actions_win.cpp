// The action runner's Windows side: the in-process attempt, the elevated copy with its
// message-pumping wait, and the outcome shown to the user.
#include "actions.h"

#include <windows.h>
#include <shellapi.h>

#include "core/state.h"
#include "core/text.h"
#include "core/settings.h"
#include "core/ui_services.h"
#include "history/changes.h"

static const DWORD kQuietWaitMs = 330000;

uint32_t run_elevated_copy(const wchar_t* program_path, const wchar_t* verb, const wchar_t* argument) {
    wchar_t parameters[700];
    if (!build_task_parameters(parameters, _countof(parameters), verb, argument)) return TaskBadVerb;
    HWND owner = static_cast<HWND>(g_ui.main_window());
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = program_path;
    info.lpParameters = parameters;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        DWORD error = GetLastError();
        return error ? error : TaskCanceled;
    }

    if (owner) EnableWindow(owner, FALSE);
    g_ui.status_text(L"Working\x2026 (this can take up to a minute)");
    // Every stretch with messages starts a fresh wait: only 330 s without any input end it early.
    for (;;) {
        DWORD answer = MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, kQuietWaitMs, QS_ALLINPUT);
        if (answer != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }

    DWORD code = ERROR_GEN_FAILURE;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return code == STILL_ACTIVE ? TaskTimedOut : code;
}

uint32_t run_action(TaskVerb verb, const wchar_t* argument, int needs_admin) {
    if (!argument) argument = L"";
    const wchar_t* verb_text = task_verb_text(verb);
    if (!verb_text[0]) return TaskBadVerb;
    if (g_process.elevated || !needs_admin) {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        uint32_t result = run_task(verb_text, argument);
        SetCursor(previous);
        if (g_process.elevated || result != ERROR_ACCESS_DENIED) return result;
    }
    wchar_t program[260] = L"";
    DWORD n = GetModuleFileNameW(nullptr, program, _countof(program));
    if (n == 0 || n >= _countof(program)) return n ? ERROR_INSUFFICIENT_BUFFER : GetLastError();
    return run_elevated_copy(program, verb_text, argument);
}

void windows_error_text(uint32_t code, wchar_t* buf, size_t cap) {
    wchar_t text[300] = L"";
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                        _countof(text), nullptr))
        text[0] = 0;
    trim_error_text(text, _countof(text), code);
    text_copy(buf, cap, text);
}

int report_action(uint32_t result, int32_t change_kind, const wchar_t* detail, const wchar_t* description) {
    if (!description) description = L"";
    if (result == TaskCanceled) {
        g_ui.status_text(L"Canceled \x2014 nothing was changed.");
        return 0;
    }
    if (result != TaskOk) {
        wchar_t said[300];
        windows_error_text(result, said, _countof(said));
        wchar_t message[900];
        build_failure_message(message, _countof(message), description, said, result);
        g_ui.message_box(message, L"Vantrel", MB_ICONWARNING);
        g_ui.start_check(0, nullptr);
        return 0;
    }
    if (!g_process.demo) record_change(change_kind, detail, description);
    wchar_t done[500];
    text_format(done, _countof(done), L"Done: %ls", description);
    g_ui.status_text(done);
    g_ui.start_check(g_settings.autoNetTest, nullptr);
    return 1;
}
