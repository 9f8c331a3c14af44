// The action runner's Windows side: the in-process attempt and the elevated copy with its
// message-pumping wait.
#include "actions.h"

#include <windows.h>
#include <shellapi.h>

#include "core/text.h"

static const DWORD kQuietWaitMs = 330000;

uint32_t run_elevated_copy(const wchar_t* program_path, const wchar_t* verb, const wchar_t* argument,
                           const RunnerEnv* env) {
    wchar_t parameters[700];
    if (!build_task_parameters(parameters, _countof(parameters), verb, argument)) return TaskBadVerb;
    HWND owner = env ? static_cast<HWND>(env->owner) : nullptr;
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
    if (env && env->working) env->working(env->ctx);
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

uint32_t run_action(TaskVerb verb, const wchar_t* argument, const RunnerEnv* env) {
    if (!argument) argument = L"";
    const wchar_t* verb_text = task_verb_text(verb);
    if (!verb_text[0]) return TaskBadVerb;
    const int elevated = env && env->elevated;
    const int may_elevate = !env || env->mayElevate;
    const TaskPlatform* platform = env && env->platform ? env->platform : windows_task_platform();
    if (elevated || !task_needs_admin(verb)) {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        uint32_t result = run_task(verb, argument, platform);
        SetCursor(previous);
        if (elevated || !may_elevate || result != ERROR_ACCESS_DENIED) return result;
    }
    if (!may_elevate) return ERROR_ACCESS_DENIED;
    wchar_t program[260] = L"";
    DWORD n = GetModuleFileNameW(nullptr, program, _countof(program));
    if (n == 0 || n >= _countof(program)) return n ? ERROR_INSUFFICIENT_BUFFER : GetLastError();
    return run_elevated_copy(program, verb_text, argument, env);
}

void windows_error_text(uint32_t code, wchar_t* buf, size_t cap) {
    wchar_t text[300] = L"";
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                        _countof(text), nullptr))
        text[0] = 0;
    trim_error_text(text, _countof(text), code);
    text_copy(buf, cap, text);
}
