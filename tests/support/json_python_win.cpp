#include "json_python.h"

#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <sstream>

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

std::wstring from_hex(const std::string& hex) {
    std::wstring out;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4)
        out += (wchar_t)strtoul((hex.substr(i + 2, 2) + hex.substr(i, 2)).c_str(), nullptr, 16);
    return out;
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
    STARTUPINFOW si = {sizeof(si)};
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
    std::istringstream lines(text);
    std::string row;
    std::getline(lines, row);
    if (row != "ok") return "Python refused the document: " + row.substr(row.find('\t') + 1);
    while (std::getline(lines, row)) {
        size_t tab = row.find('\t');
        if (row[0] == '!')
            doc->mistakes += row.substr(1) + "\n";
        else if (tab != std::string::npos && tab + 3 <= row.size())
            doc->leaves[row.substr(0, tab)] = {row[tab + 1], from_hex(row.substr(tab + 3))};
    }
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
