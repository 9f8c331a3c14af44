// What the share run tests need around the real program: a stand-in registered for every kind of
// link, the addresses it received, the program's message boxes found and answered, the clipboard,
// and the Share window's fields read and written from this process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "share/share_message.h"
#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"

namespace share_run {
const wchar_t* const kRoots[] = {L"Software\\Classes\\"};
const HKEY kHives[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

inline std::wstring beside_this_program(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + name;
}

// Both hives, so the stand-in wins whichever the shell reads: Windows prefers the user's classes,
// Wine's own browser and mail handlers are registered for the machine.
inline void register_handler(const wchar_t* protocol, const std::wstring& capture_file) {
    std::wstring command =
        L"\"" + beside_this_program(L"share_capture.exe") + L"\" \"" + capture_file + L"\" \"%1\"";
    for (HKEY hive : kHives) {
        std::wstring base = std::wstring(kRoots[0]) + protocol;
        HKEY key;
        if (RegCreateKeyExW(hive, base.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            continue;
        RegSetValueExW(key, L"URL Protocol", 0, REG_SZ, (const BYTE*)L"", sizeof(wchar_t));
        RegCloseKey(key);
        std::wstring open = base + L"\\shell\\open\\command";
        if (RegCreateKeyExW(hive, open.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            continue;
        RegSetValueExW(key, nullptr, 0, REG_SZ, (const BYTE*)command.c_str(),
                       (DWORD)((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

inline void unregister_handler(const wchar_t* protocol) {
    for (HKEY hive : kHives)
        RegDeleteTreeW(hive, (std::wstring(kRoots[0]) + protocol).c_str());
}

inline std::vector<std::wstring> captured(const std::wstring& file) {
    std::vector<std::wstring> lines;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lines;
    std::string bytes(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(h, &bytes[0], (DWORD)bytes.size(), &read, nullptr);
    CloseHandle(h);
    bytes.resize(read);
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = bytes.substr(start, end - start);
        std::wstring wide(line.size(), L'\0');
        wide.resize(
            MultiByteToWideChar(CP_UTF8, 0, line.data(), (int)line.size(), &wide[0], (int)wide.size()));
        lines.push_back(wide);
    }
    return lines;
}

// The next address the stand-in received, or "" when none came within ten seconds.
inline std::wstring next_capture(const std::wstring& file, size_t* seen) {
    std::vector<std::wstring> lines;
    if (!wait_until([&] { return (lines = captured(file)).size() > *seen; }, 10000)) return L"";
    return lines[(*seen)++];
}

struct BoxSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

inline BOOL CALLBACK match_box(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t cls[32], title[128];
    if (owner == search->pid && IsWindowVisible(window) && GetClassNameW(window, cls, 32) &&
        lstrcmpW(cls, L"#32770") == 0 && GetWindowTextW(window, title, 128) &&
        lstrcmpW(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND wait_for_box(DWORD pid, const wchar_t* title) {
    BoxSearch search = {pid, title, nullptr};
    wait_until([&] { return EnumWindows(match_box, (LPARAM)&search), search.found != nullptr; }, 10000);
    return search.found;
}

// The box's text, after it was answered with OK.
inline std::wstring answer_box(HWND box) {
    std::wstring text = control_text(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    wait_until([&] { return !IsWindow(box); }, 5000);
    return text;
}

inline std::wstring clipboard_text() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const wchar_t* p = data ? (const wchar_t*)GlobalLock(data) : nullptr) {
        text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

inline void empty_clipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

inline std::wstring registry_text(const wchar_t* name) {
    wchar_t value[600] = L"";
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Corvalen\\Vantrel", name, RRF_RT_REG_SZ, nullptr, value,
                     &size))
        return L"<missing>";
    return value;
}

inline std::wstring without_cr(std::wstring text) {
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'\r') out += c;
    return out;
}

inline std::wstring address_of(int method, const wchar_t* to, const wchar_t* phone, const wchar_t* subject,
                               const std::wstring& message) {
    static SharePlan plan;
    share_plan(method, to, phone, subject, message.c_str(), &plan);
    return plan.address;
}

struct Running {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
    explicit Running(const wchar_t* arguments) {
        process = start_vantrel(arguments, &pid);
        if (process) window = wait_for_window(pid, L"CorvalenVantrel", 30000);
    }
    ~Running() { close_and_wait(window, process, 10000); }
    void command(int id) const { PostMessageW(window, WM_COMMAND, id, 0); }
};

struct ShareDialog {
    HWND window;
    HWND item(int id) const { return GetDlgItem(window, id); }
    std::wstring text(int id) const { return control_text(item(id)); }
    void set(int id, const wchar_t* text) const { SendMessageW(item(id), WM_SETTEXT, 0, (LPARAM)text); }
    void click(int id) const {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)item(id));
    }
    std::wstring message() const { return without_cr(text(306)); }
    bool status_is(const std::wstring& line) const {
        return wait_until([&] { return text(331) == line; }, 10000);
    }
};

inline std::wstring temp_file(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, dir);
    return (n && n < MAX_PATH ? std::wstring(dir) : std::wstring(L"C:\\")) + name;
}

const wchar_t kLink[] = L"https://github.com/Corvalen/vantrel-releases";
} // namespace share_run
