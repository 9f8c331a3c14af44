// The update tests' shared helpers (see update_fixture.h).
#include "tests/update/update_fixture.h"

#include <wincrypt.h>

#include "core/messages.h"
#include "core/ui_services.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "ui/command_handlers.h"
#include "update/update.h"

std::wstring server_dir() {
    return path_from_environment(L"VANTREL_UPDATE_SERVER");
}

std::wstring server_url(const wchar_t* path) {
    std::string base = read_test_file(server_dir() + L"\\base_url");
    if (base == "(no file)") return L"";
    return from_utf8(base) + path;
}

std::wstring good_sha256() {
    return from_utf8(read_test_file(server_dir() + L"\\good.sha256"));
}

std::string server_requests() {
    return read_test_file(server_dir() + L"\\requests.log");
}

bool trust_test_ca() {
    static bool trusted = false;
    if (trusted) return true;
    std::string der = read_test_file(server_dir() + L"\\ca.der");
    if (der == "(no file)" || der.empty()) return false;
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) return false;
    trusted =
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, (const BYTE*)der.data(), (DWORD)der.size(),
                                         CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
    CertCloseStore(store, 0);
    return trusted;
}

std::wstring file_sha256(const std::wstring& path) {
    wchar_t hex[65];
    return sha256_file_hex(path.c_str(), hex, 65) ? std::wstring(hex) : std::wstring();
}

bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {
UiRecorder g_recorder;

void* recorder_window() {
    return g_recorder.window;
}
void recorder_status(const wchar_t* text) {
    g_recorder.status.push_back(text);
}
int32_t recorder_box(const wchar_t* text, const wchar_t* title, uint32_t flags) {
    g_recorder.boxes.push_back(std::wstring(title) + L"|" + std::to_wstring(flags) + L"|" + text);
    return g_recorder.answer;
}

LRESULT CALLBACK recorder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case MsgUpdateChecked:
        g_recorder.checksDone++;
        on_update_checked(reinterpret_cast<void*>(lparam));
        return 0;
    case MsgDownloadProgress:
        g_recorder.progress.push_back((int)wparam);
        on_download_progress((int32_t)wparam);
        return 0;
    case MsgDownloadDone:
        g_recorder.downloadsDone++;
        // A download that passed would be swapped for this process's own file, the test program;
        // only the real program may get that far.
        if (lparam)
            on_download_done(reinterpret_cast<wchar_t*>(lparam));
        else
            g_recorder.downloadsPassed++;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
} // namespace

UiRecorder& recorder() {
    return g_recorder;
}

void install_recorder() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = recorder_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VantrelUpdateTestWindow";
        atom = RegisterClassW(&wc);
    }
    HWND window = g_recorder.window;
    g_recorder = UiRecorder();
    g_recorder.window = window ? window
                               : CreateWindowExW(0, L"VantrelUpdateTestWindow", L"", 0, 0, 0, 0, 0,
                                                 HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    ui_services_defaults(&g_ui);
    g_ui.main_window = recorder_window;
    g_ui.status_text = recorder_status;
    g_ui.message_box = recorder_box;
}

void remove_recorder() {
    ui_services_defaults(&g_ui);
}
