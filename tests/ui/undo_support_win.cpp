// Cross-process helpers for the tests of the running window.
#include "tests/ui/undo_support.h"

#include <commctrl.h>

#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"

namespace {
BOOL CALLBACK longest_static(HWND child, LPARAM param) {
    std::wstring* best = reinterpret_cast<std::wstring*>(param);
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, _countof(cls));
    if (lstrcmpiW(cls, L"Static") == 0) {
        std::wstring text = control_text(child);
        if (text.size() > best->size()) *best = text;
    }
    return TRUE;
}
} // namespace

HWND wait_for_titled_window(DWORD pid, const wchar_t* class_name, const wchar_t* title, DWORD timeout_ms) {
    HWND found = nullptr;
    wait_until(
        [&] {
            for (found = FindWindowExW(nullptr, nullptr, class_name, title); found;
                 found = FindWindowExW(nullptr, found, class_name, title)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == pid && IsWindowVisible(found)) return true;
            }
            return false;
        },
        timeout_ms);
    return found;
}

std::wstring box_message(HWND box) {
    std::wstring best;
    EnumChildWindows(box, longest_static, reinterpret_cast<LPARAM>(&best));
    return best;
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
    if (data) {
        const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data));
        if (p) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

VantrelWindow::VantrelWindow(const std::wstring& arguments) {
    process = start_vantrel(arguments, &pid);
    if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
}

VantrelWindow::~VantrelWindow() {
    for (int i = 0; i < 5; i++) {
        HWND open = wait_for_titled_window(pid, L"#32770", nullptr, 0);
        if (!open) break;
        PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        Sleep(200);
    }
    close_and_wait(window, process, 10000);
}

std::wstring VantrelWindow::status() const {
    return control_text(GetDlgItem(window, 105));
}

bool VantrelWindow::checked() const {
    return wait_until([&] { return status().rfind(L"  Checked at ", 0) == 0; }, 60000);
}

HWND VantrelWindow::box(const wchar_t* title) const {
    return wait_for_titled_window(pid, L"#32770", title, 15000);
}
