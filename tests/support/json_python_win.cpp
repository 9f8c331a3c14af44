#include "json_python.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <vector>

#include "remote_controls.h"
#include "test_pc.h"
#include "test_support.h"

namespace {
std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
} // namespace

std::string read_json_report(const std::wstring& path, const std::wstring& text_report, JsonDocument* doc) {
    *doc = JsonDocument();
    // The script reads the text report from beside the document and writes its answer there too.
    const std::wstring output = path + L".leaves", text_path = path + L".text.txt";
    DeleteFileW(output.c_str());
    DeleteFileW(text_path.c_str());
    if (!text_report.empty()) {
        FILE* f = _wfopen(text_path.c_str(), L"wb");
        if (!f) return "the text report could not be written beside the document";
        fwrite(text_report.data(), sizeof(wchar_t), text_report.size(), f);
        fclose(f);
    }
    // Wine's own export that names the Unix file behind a Windows path.
    using ToUnix = char*(__cdecl*)(LPCWSTR);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix_path = to_unix ? to_unix(path.c_str()) : nullptr;
    const std::wstring python = path_from_environment(L"VANTREL_PYTHON");
    const wchar_t* script = _wgetenv(L"VANTREL_JSON_LEAVES");
    if (python.empty() || !script || !unix_path)
        return "no Python, no script or no Unix path (VANTREL_PYTHON, VANTREL_JSON_LEAVES)";
    std::wstring line = L"python3 \"" + std::wstring(script) + L"\" \"" +
                        std::wstring(unix_path, unix_path + strlen(unix_path)) + L"\"";
    HeapFree(GetProcessHeap(), 0, unix_path);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(python.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "Python did not start: " + std::to_string(GetLastError());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Wine does not wait for a Unix program it started; the script renames its answer into place.
    std::string text;
    wait_until([&] { return (text = read_test_file(output)) != "(no file)"; }, 30000);
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

std::wstring JsonDocument::texts(std::initializer_list<std::string> paths) const {
    std::wstring joined;
    for (const std::string& path : paths)
        joined += text(path) + L"|";
    return joined;
}
