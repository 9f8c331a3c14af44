// Cross-process control reading for the window tests.
#include "tests/support/remote_controls.h"

#include <commctrl.h>

namespace {
// A block inside the control's process, freed on scope exit.
struct RemoteBlock {
    HANDLE process = nullptr;
    void* at = nullptr;
    explicit RemoteBlock(HWND control, size_t bytes) {
        DWORD pid = 0;
        GetWindowThreadProcessId(control, &pid);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process) at = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (at) VirtualFreeEx(process, at, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
    }
    bool put(const void* data, size_t bytes, size_t offset = 0) {
        return at && WriteProcessMemory(process, (char*)at + offset, data, bytes, nullptr);
    }
    bool get(void* data, size_t bytes, size_t offset = 0) {
        return at && ReadProcessMemory(process, (char*)at + offset, data, bytes, nullptr);
    }
};
const size_t kTextChars = 1024;
} // namespace

std::wstring control_text(HWND control) {
    wchar_t buf[4096] = L"";
    SendMessageTimeoutW(control, WM_GETTEXT, _countof(buf), (LPARAM)buf, SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}

int list_row_count(HWND list) {
    return (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
}

int list_column_count(HWND list) {
    HWND header = (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0);
    return header ? (int)SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 0;
}

std::wstring list_cell(HWND list, int row, int column) {
    RemoteBlock block(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.cchTextMax = kTextChars;
    item.pszText = (wchar_t*)((char*)block.at + sizeof(LVITEMW));
    if (!block.put(&item, sizeof(item))) return L"<unreadable>";
    SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)block.at);
    wchar_t text[kTextChars] = L"";
    block.get(text, sizeof(text), sizeof(LVITEMW));
    text[kTextChars - 1] = 0;
    return text;
}

int list_selected_row(HWND list) {
    return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

namespace {
void set_item_state(HWND list, int row, UINT mask, UINT state) {
    RemoteBlock block(list, sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = mask;
    item.state = state;
    if (block.put(&item, sizeof(item))) SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)block.at);
}
} // namespace

void list_select_row(HWND list, int row) {
    set_item_state(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void list_set_checked(HWND list, int row, bool checked) {
    set_item_state(list, row, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1));
}

bool list_is_checked(HWND list, int row) {
    UINT state = (UINT)SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)row, LVIS_STATEIMAGEMASK);
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void list_click_row(HWND list, int row) {
    RemoteBlock block(list, sizeof(RECT));
    RECT r = {LVIR_LABEL, 0, 0, 0};
    if (!block.put(&r, sizeof(r)) || !SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)block.at) ||
        !block.get(&r, sizeof(r)))
        return;
    const LPARAM at = MAKELPARAM(r.left + 8, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_MOUSEMOVE, 0, at);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    wait_until([&] { return list_selected_row(list) == row; }, 3000);
    Sleep(200);
}

std::wstring status_part_text(HWND bar, int part) {
    RemoteBlock block(bar, kTextChars * sizeof(wchar_t));
    if (!block.at) return L"<unreadable>";
    SendMessageW(bar, SB_GETTEXTW, (WPARAM)part, (LPARAM)block.at);
    wchar_t text[kTextChars] = L"";
    block.get(text, sizeof(text));
    text[kTextChars - 1] = 0;
    return text;
}

void ribbon_wheel(HWND main_window, int steps) {
    HWND ribbon = FindWindowExW(main_window, nullptr, L"NSRibbon", nullptr);
    if (!ribbon) return;
    POINT at = {40, 10};
    ClientToScreen(ribbon, &at);
    for (int i = 0; i < (steps < 0 ? -steps : steps); i++)
        SendMessageW(ribbon, WM_MOUSEWHEEL, MAKEWPARAM(0, steps > 0 ? -WHEEL_DELTA : WHEEL_DELTA),
                     MAKELPARAM(at.x, at.y));
}
