#include "json_python.h"

#include <stdio.h>

#include <sstream>
#include <vector>

#include "test_pc.h"
#include "test_support.h"

namespace {
// Wine's own export that names the Unix file behind a Windows path; Python is given Unix paths.
std::string unix_path(const std::wstring& path) {
    using ToUnix = char*(__cdecl*)(LPCWSTR);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!to_unix) return "";
    char* name = to_unix(path.c_str());
    if (!name) return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::wstring widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring from_hex(const std::string& hex) {
    std::wstring out;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4) {
        unsigned lo = 0, hi = 0;
        sscanf(hex.substr(i, 2).c_str(), "%x", &lo);
        sscanf(hex.substr(i + 2, 2).c_str(), "%x", &hi);
        out += (wchar_t)(lo | (hi << 8));
    }
    return out;
}

std::wstring environment_unix(const wchar_t* name) {
    wchar_t value[1024];
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n == 0 || n >= 1024 ? L"" : value;
}
} // namespace

std::string narrow_text(const std::wstring& text) {
    std::string s;
    for (wchar_t c : text)
        s += c < 128 ? (char)c : '?';
    return s;
}

bool parse_json_with_python(const std::wstring& path, JsonLeaves* leaves, std::string* error) {
    leaves->clear();
    std::wstring python = path_from_environment(L"VANTREL_PYTHON");
    std::wstring script = environment_unix(L"VANTREL_JSON_LEAVES");
    std::wstring output = path + L".leaves";
    std::string document_unix = unix_path(path), output_unix = unix_path(output);
    if (python.empty() || script.empty() || document_unix.empty() || output_unix.empty()) {
        *error = "no Python, no script or no Unix path (VANTREL_PYTHON, VANTREL_JSON_LEAVES)";
        return false;
    }
    DeleteFileW(output.c_str());
    std::wstring line =
        L"python3 \"" + script + L"\" \"" + widen(document_unix) + L"\" \"" + widen(output_unix) + L"\"";
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(python.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        *error = "Python did not start: " + std::to_string(GetLastError());
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Wine does not wait for a Unix program it started; the script renames its answer into place.
    std::string text;
    for (int i = 0; i < 300; i++) {
        text = read_test_file(output);
        if (text != "(no file)") break;
        Sleep(100);
    }
    DeleteFileW(output.c_str());
    if (text == "(no file)") {
        *error = "Python did not answer within 30 seconds";
        return false;
    }
    std::istringstream lines(text);
    std::string first;
    std::getline(lines, first);
    if (first != "ok") {
        *error = "Python refused the document: " + narrow_text(from_hex(first.substr(first.find('\t') + 1)));
        return false;
    }
    for (std::string row; std::getline(lines, row);) {
        size_t tab1 = row.find('\t'), tab2 = row.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos) continue;
        (*leaves)[row.substr(0, tab1)] = JsonLeaf{row[tab1 + 1], from_hex(row.substr(tab2 + 1))};
    }
    return true;
}

std::wstring leaf_text(const JsonLeaves& leaves, const std::string& path) {
    auto at = leaves.find(path);
    return at == leaves.end() ? L"(missing)" : at->second.value;
}

char leaf_kind(const JsonLeaves& leaves, const std::string& path) {
    auto at = leaves.find(path);
    return at == leaves.end() ? '?' : at->second.kind;
}

long long leaf_number(const JsonLeaves& leaves, const std::string& path) {
    auto at = leaves.find(path);
    if (at == leaves.end() || at->second.kind != 'i') return -999999;
    return _wtoi64(at->second.value.c_str());
}

namespace {
// The part of the text report between two headings.
std::wstring between(const std::wstring& text, const std::wstring& from, const std::wstring& to) {
    size_t a = text.find(from);
    if (a == std::wstring::npos) return L"";
    size_t b = text.find(to, a + from.size());
    return text.substr(a + from.size(), b == std::wstring::npos ? std::wstring::npos : b - a - from.size());
}

// Finds each part after the one before; reports the first that is missing.
void expect_in_order(const std::wstring& text, const std::vector<std::wstring>& parts, const char* what,
                     std::string* mistakes) {
    size_t at = 0;
    for (const std::wstring& part : parts) {
        size_t next = text.find(part, at);
        if (next == std::wstring::npos) {
            *mistakes += std::string(what) + " missing or out of order: " + narrow_text(part) + "\n";
            return;
        }
        at = next + part.size();
    }
}
} // namespace

std::string json_text_disagreements(const JsonLeaves& leaves, const std::wstring& text) {
    std::string mistakes;
    // "Result: 8 problems, 2 heads-ups, 7 printers, 5 jobs waiting": the four numbers in order.
    long long problems = -1, heads_ups = -1, printers = -1, jobs = -1;
    size_t result = text.find(L"\nResult: ");
    if (result == std::wstring::npos) {
        mistakes += "no Result line\n";
    } else {
        std::wistringstream words(text.substr(result + 9, text.find(L'\n', result + 1) - result - 9));
        std::vector<long long> numbers;
        for (std::wstring word; words >> word;)
            if (iswdigit(word[0])) numbers.push_back(_wtoi64(word.c_str()));
        if (numbers.size() == 4)
            problems = numbers[0], heads_ups = numbers[1], printers = numbers[2], jobs = numbers[3];
    }
    if (leaf_number(leaves, "verdict.problems") != problems) mistakes += "problem count differs\n";
    if (leaf_number(leaves, "verdict.headsUps") != heads_ups) mistakes += "heads-up count differs\n";
    if (leaf_number(leaves, "verdict.printers") != printers) mistakes += "printer count differs\n";
    if (leaf_number(leaves, "verdict.jobs") != jobs) mistakes += "job count differs\n";

    std::wstring findings = between(text, L"\n===== FINDINGS =====\n", L"\n===== PRINTERS =====\n");
    std::vector<std::wstring> lines;
    long long finding_count = _wtoi64(leaf_text(leaves, "findings").c_str());
    for (long long i = 0; i < finding_count; i++) {
        std::string at = "findings." + std::to_string(i) + ".";
        std::wstring printer =
            leaf_kind(leaves, at + "printer") == 's' ? leaf_text(leaves, at + "printer") : L"This PC";
        lines.push_back(L"[" + leaf_text(leaves, at + "severity") + L"] " + printer + L": " +
                        leaf_text(leaves, at + "title") + L"\n");
    }
    expect_in_order(findings, lines, "finding", &mistakes);

    std::vector<std::wstring> headings;
    long long printer_count = _wtoi64(leaf_text(leaves, "printers").c_str());
    if (printer_count != printers) mistakes += "printers array length differs from the Result line\n";
    for (long long i = 0; i < printer_count; i++) {
        std::string at = "printers." + std::to_string(i) + ".";
        headings.push_back(
            L"\n----------------------------------------\n" + leaf_text(leaves, at + "name") +
            (leaf_text(leaves, at + "isDefault") == L"true" ? L"   (the default printer)\n" : L"\n"));
    }
    expect_in_order(text, headings, "printer", &mistakes);
    return mistakes;
}

std::string json_kind_mistakes(const JsonLeaves& leaves) {
    // The kinds that matter most (counts, and what may be null), by path with every array index written as
    // "#".
    static const std::map<std::string, std::string> kKinds = {
        {"format", "i"},
        {"checkedAt", "s"},
        {"demo", "b"},
        {"verdict.problems", "i"},
        {"verdict.headsUps", "i"},
        {"verdict.printers", "i"},
        {"verdict.jobs", "i"},
        {"findings", "a"},
        {"findings.#.printer", "sn"},
        {"findings.#.fix", "on"},
        {"printers", "a"},
        {"printers.#.isDefault", "b"},
        {"printers.#.checked", "b"},
        {"printers.#.tcp", "on"},
        {"printers.#.networkTest", "on"},
        {"printers.#.networkTest.snmp.pageCount", "in"},
        {"printers.#.networkTest.snmp.supplies.#.percent", "in"},
        {"jobs.#.printerIndex", "in"},
        {"networkSearch", "on"},
        {"networkSearch.printers.#.pageCount", "in"},
    };
    std::string mistakes;
    for (const auto& leaf : leaves) {
        std::string general;
        std::istringstream parts(leaf.first);
        for (std::string part; std::getline(parts, part, '.');)
            general +=
                (general.empty() ? "" : ".") + (isdigit((unsigned char)part[0]) ? std::string("#") : part);
        if (leaf.second.kind == 'f') mistakes += leaf.first + " is not a whole number\n";
        if (leaf.second.kind == 's' && (leaf.second.value.empty() || leaf.second.value == L"-"))
            mistakes += leaf.first + " is an empty text instead of null\n";
        auto rule = kKinds.find(general);
        if (rule != kKinds.end() && rule->second.find(leaf.second.kind) == std::string::npos)
            mistakes += leaf.first + " has kind " + leaf.second.kind + ", not " + rule->second + "\n";
    }
    for (const auto& rule : kKinds)
        if (rule.first.find('#') == std::string::npos && !leaves.count(rule.first))
            mistakes += rule.first + " is missing\n";
    return mistakes;
}
