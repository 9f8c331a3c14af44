#include "json_python.h"

#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <vector>

#include "test_pc.h"
#include "test_support.h"

namespace {
// Wine's own export that names the Unix file behind a Windows path, quoted for Python's command
// line; "" when there is none.
std::wstring unix_argument(const std::wstring& path) {
    using ToUnix = char*(__cdecl*)(LPCWSTR);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = to_unix ? to_unix(path.c_str()) : nullptr;
    if (!name) return L"";
    std::string s = name;
    HeapFree(GetProcessHeap(), 0, name);
    return L" \"" + std::wstring(s.begin(), s.end()) + L"\"";
}

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
} // namespace

std::string read_json_report(const std::wstring& path, const std::wstring& text_report, JsonDocument* doc) {
    *doc = JsonDocument();
    std::wstring python = path_from_environment(L"VANTREL_PYTHON"), output = path + L".leaves";
    std::wstring text_path = path + L".text.txt", text_argument;
    if (!text_report.empty()) {
        FILE* f = _wfopen(text_path.c_str(), L"wb");
        if (!f) return "the text report could not be written beside the document";
        fwrite(text_report.data(), sizeof(wchar_t), text_report.size(), f);
        fclose(f);
        text_argument = unix_argument(text_path);
    }
    const wchar_t* script = _wgetenv(L"VANTREL_JSON_LEAVES");
    std::wstring document = unix_argument(path), answer = unix_argument(output);
    if (python.empty() || !script || document.empty() || answer.empty())
        return "no Python, no script or no Unix path (VANTREL_PYTHON, VANTREL_JSON_LEAVES)";
    DeleteFileW(output.c_str());
    std::wstring line = L"python3 \"" + std::wstring(script) + L"\"" + document + answer + text_argument;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(python.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "Python did not start: " + std::to_string(GetLastError());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Wine does not wait for a Unix program it started; the script renames its answer into place.
    std::string text = read_test_file(output);
    for (int i = 0; i < 300 && text == "(no file)"; i++) {
        Sleep(100);
        text = read_test_file(output);
    }
    DeleteFileW(output.c_str());
    DeleteFileW(text_path.c_str());
    if (text == "(no file)") return "Python did not answer within 30 seconds";
    // "ok", the mistakes, then each value's path, kind and text; or "error" and why. Each ends in a 0.
    std::wstring all(reinterpret_cast<const wchar_t*>(text.data()), text.size() / 2);
    std::vector<std::wstring> f;
    for (size_t at = 0, end; (end = all.find(L'\0', at)) != std::wstring::npos; at = end + 1)
        f.push_back(all.substr(at, end - at));
    if (f.size() < 2 || f[0] != L"ok")
        return "Python refused the document: " + narrow(f.size() > 1 ? f[1] : L"");
    doc->mistakes = narrow(f[1]);
    for (size_t i = 2; i + 2 < f.size(); i += 3)
        doc->leaves[narrow(f[i])] = {(char)f[i + 1][0], f[i + 2]};
    return "";
}

std::wstring JsonDocument::text(const std::string& path) const {
    auto at = leaves.find(path);
    return at == leaves.end() ? L"(missing)" : at->second.second;
}

char JsonDocument::kind(const std::string& path) const {
    auto at = leaves.find(path);
    return at == leaves.end() ? '?' : at->second.first;
}

std::wstring JsonDocument::texts(std::initializer_list<std::string> paths) const {
    std::wstring joined;
    for (const std::string& path : paths)
        joined += text(path) + L"|";
    return joined;
}
