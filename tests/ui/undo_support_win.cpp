// Cross-process helpers for the History & Undo and report window tests.
#include "tests/ui/undo_support.h"

#include <commctrl.h>

#include "tests/support/remote_controls.h"

namespace {
struct Search {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;
    HWND found;
    int count;
    bool enabledOnly;
};

BOOL CALLBACK match(HWND window, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->pid) return TRUE;
    wchar_t cls[64] = L"", title[256] = L"";
    GetClassNameW(window, cls, _countof(cls));
    if (lstrcmpiW(cls, s->cls) != 0) return TRUE;
    if (s->title) {
        GetWindowTextW(window, title, _countof(title));
        if (lstrcmpW(title, s->title) != 0) return TRUE;
    }
    if (s->enabledOnly && (!IsWindowVisible(window) || !IsWindowEnabled(window))) return TRUE;
    if (!s->found) s->found = window;
    s->count++;
    return TRUE;
}

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
            Search s = {pid, class_name, title, nullptr, 0, false};
            EnumWindows(match, reinterpret_cast<LPARAM>(&s));
            found = s.found;
            return found != nullptr && IsWindowVisible(found);
        },
        timeout_ms);
    return found;
}

HWND wait_for_enabled_box(DWORD pid, DWORD timeout_ms) {
    HWND found = nullptr;
    wait_until(
        [&] {
            Search s = {pid, L"#32770", nullptr, nullptr, 0, true};
            EnumWindows(match, reinterpret_cast<LPARAM>(&s));
            found = s.found;
            return found != nullptr;
        },
        timeout_ms);
    return found;
}

int count_windows(DWORD pid, const wchar_t* class_name) {
    Search s = {pid, class_name, nullptr, nullptr, 0, false};
    EnumWindows(match, reinterpret_cast<LPARAM>(&s));
    return s.count;
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

void list_set_checked(HWND list, int row, bool checked) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return;
    void* at = VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (at && WriteProcessMemory(process, at, &item, sizeof(item), nullptr))
        SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)at);
    if (at) VirtualFreeEx(process, at, 0, MEM_RELEASE);
    CloseHandle(process);
}

bool list_is_checked(HWND list, int row) {
    UINT state = (UINT)SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)row, LVIS_STATEIMAGEMASK);
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
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
