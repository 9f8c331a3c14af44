#include "tests/support/running_window.h"

#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"
#include "ui/commands.h"

VantrelWindow::VantrelWindow(const std::wstring& arguments) {
    process = start_vantrel(arguments, &pid);
    if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
}

VantrelWindow::~VantrelWindow() {
    for (int i = 0; i < 5; i++) {
        HWND open = wait_for_window(pid, L"#32770", 0);
        if (!open) break;
        PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        Sleep(200);
    }
    close_and_wait(window, process, 10000);
}

std::wstring VantrelWindow::status() const {
    return control_text(control(IdStatusBar));
}

bool VantrelWindow::checked() const {
    return wait_until([&] { return status().rfind(L"  Checked at ", 0) == 0; }, 60000);
}

HWND VantrelWindow::box(DWORD timeout_ms) const {
    HWND b = wait_for_window(pid, L"#32770", timeout_ms);
    return b && wait_until([&] { return IsWindowVisible(b) != FALSE; }, 5000) ? b : nullptr;
}

std::wstring box_message(HWND box) {
    return control_text(GetDlgItem(box, 0xFFFF));
}

bool answer_box(HWND box, int button_id) {
    if (!box) return false;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), (LPARAM)GetDlgItem(box, button_id));
    return wait_until([&] { return !IsWindow(box); }, 10000);
}

std::wstring clipboard_text() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* p = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (p) text = p;
    if (data) GlobalUnlock(data);
    CloseClipboard();
    return text;
}
