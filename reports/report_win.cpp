// The report header's facts about the PC: its name, the account and the Windows version.
#include <windows.h>

#include <stdlib.h>

#include "core/registry.h"
#include "core/text.h"
#include "reports/report.h"

void report_read_pc_info(ReportPcInfo* pc) {
    if (!pc) return;
    *pc = ReportPcInfo{};
    DWORD size = _countof(pc->computerName);
    if (!GetComputerNameW(pc->computerName, &size)) pc->computerName[0] = 0;
    size = _countof(pc->userName);
    if (!GetUserNameW(pc->userName, &size)) pc->userName[0] = 0;
    const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"ProductName", pc->productName, _countof(pc->productName));
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"DisplayVersion", pc->displayVersion,
                         _countof(pc->displayVersion));
    read_registry_string(HKEY_LOCAL_MACHINE, key, L"CurrentBuild", pc->currentBuild,
                         _countof(pc->currentBuild));
}

uint32_t write_whole_file(const wchar_t* path, const char* bytes, size_t count) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    uint32_t error = 0;
    DWORD written = 0;
    if (!WriteFile(file, bytes, (DWORD)count, &written, nullptr))
        error = GetLastError();
    else if (written != count)
        error = ERROR_WRITE_FAULT;
    if (!CloseHandle(file) && !error) error = GetLastError();
    return error;
}

uint32_t write_report_file(const wchar_t* path, const wchar_t* text) {
    // Every LF may become a CR LF pair; nothing of the report is left out of the file.
    const size_t length = wcslen(text ? text : L"");
    const size_t wide_cap = length * 2 + 1;
    wchar_t* wide = static_cast<wchar_t*>(malloc(wide_cap * sizeof(wchar_t)));
    char* bytes = static_cast<char*>(malloc(wide_cap * 3 + 4));
    if (!wide || !bytes) {
        free(wide);
        free(bytes);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    report_to_crlf(text, wide, wide_cap);
    bytes[0] = (char)0xEF;
    bytes[1] = (char)0xBB;
    bytes[2] = (char)0xBF;
    size_t count = 3 + text_to_utf8(wide, bytes + 3, wide_cap * 3 + 1, 0);
    free(wide);

    uint32_t error = write_whole_file(path, bytes, count);
    free(bytes);
    return error;
}
