#include "test_pc.h"

#include <winspool.h>

#include <vector>

#include "tests/support/test_support.h"

bool write_test_file(const std::wstring& path, DWORD size) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'x');
    if (size >= 2) bytes[0] = 'M', bytes[1] = 'Z';
    DWORD written = 0;
    bool ok = WriteFile(f, bytes.data(), size, &written, nullptr) && written == size;
    CloseHandle(f);
    return ok;
}

std::string read_test_file(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "(no file)";
    std::string data;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof(chunk), &got, nullptr) && got)
        data.append(chunk, got);
    CloseHandle(f);
    return data;
}

std::wstring from_utf8(const std::string& bytes) {
    if (bytes.empty()) return L"";
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), nullptr, 0);
    if (n <= 0) return L"(not UTF-8)";
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), &out[0], n);
    return out;
}

std::wstring temp_path(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH, folder);
    if (n == 0 || n > MAX_PATH) folder[0] = 0;
    return std::wstring(folder) + name;
}

FullDisk::FullDisk(DWORD room) {
    folder = path_from_environment(L"VANTREL_SMALL_DISK");
    if (folder.empty()) return;
    filler = folder + L"\\filler.bin";
    HANDLE f = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return;
    }
    static const std::string chunk(4096, 'f');
    LONGLONG size = 0;
    DWORD written = 0;
    // Bounded: the disk is a few hundred KiB, the loop stops at 64 MiB whatever happens.
    for (int i = 0; i < 16384; i++) {
        if (!WriteFile(f, chunk.data(), (DWORD)chunk.size(), &written, nullptr) || written == 0) {
            error = GetLastError();
            full = true;
            break;
        }
        size += written;
    }
    if (full && room > 0) {
        LARGE_INTEGER end;
        end.QuadPart = size > (LONGLONG)room ? size - room : 0;
        full = SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f);
        if (!full) error = GetLastError();
    }
    CloseHandle(f);
}

FullDisk::~FullDisk() {
    if (!filler.empty()) DeleteFileW(filler.c_str());
}

int FullDisk::temporary_files() const {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.tmp").c_str(), &data);
    int n = 0;
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
        n++;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return n;
}

static bool set_value(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                      DWORD size) {
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(key, name, 0, type, (const BYTE*)data, size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool set_reg_string(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    return set_value(root, path, name, REG_SZ, value.c_str(), (DWORD)((value.size() + 1) * sizeof(wchar_t)));
}

bool set_reg_dword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value) {
    return set_value(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool set_reg_binary(HKEY root, const std::wstring& path, const wchar_t* name, const void* data, DWORD size) {
    return set_value(root, path, name, REG_BINARY, data, size);
}

bool add_test_driver(const wchar_t* name, const wchar_t* environment, const std::wstring& file) {
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<wchar_t*>(name);
    di.pEnvironment = const_cast<wchar_t*>(environment);
    di.pDriverPath = di.pDataFile = di.pConfigFile = const_cast<wchar_t*>(file.c_str());
    return AddPrinterDriverExW(nullptr, 3, (BYTE*)&di, APD_COPY_NEW_FILES) != 0;
}

std::wstring driver_file_path(const wchar_t* name, const wchar_t* environment) {
    DWORD needed = 0, returned = 0;
    std::wstring env = environment;
    EnumPrinterDriversW(nullptr, &env[0], 3, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    std::wstring path;
    if (needed && EnumPrinterDriversW(nullptr, &env[0], 3, buffer.data(), needed, &needed, &returned)) {
        const DRIVER_INFO_3W* d = (const DRIVER_INFO_3W*)buffer.data();
        for (DWORD i = 0; i < returned; i++)
            if (wcscmp(d[i].pName, name) == 0) path = d[i].pDriverPath;
    }
    return path;
}

void delete_test_driver(const wchar_t* name) {
    for (const wchar_t* env : {L"Windows x64", L"Windows NT x86"})
        DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(env), const_cast<wchar_t*>(name), 0, 0);
}

bool add_test_printer(const wchar_t* name, const wchar_t* port, const wchar_t* driver,
                      const wchar_t* location) {
    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = const_cast<wchar_t*>(name);
    pi.pPortName = const_cast<wchar_t*>(port);
    pi.pDriverName = const_cast<wchar_t*>(driver);
    pi.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    pi.pDatatype = const_cast<wchar_t*>(L"RAW");
    pi.pLocation = const_cast<wchar_t*>(location);
    HANDLE h = AddPrinterW(nullptr, 2, (BYTE*)&pi);
    if (!h) return false;
    ClosePrinter(h);
    return true;
}

void delete_test_printer(const wchar_t* name) {
    HANDLE h = nullptr;
    std::wstring n = name;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(&n[0], &h, &defaults) && h) {
        DeletePrinter(h);
        ClosePrinter(h);
    }
}

bool printer_state(const wchar_t* name, DWORD* status, DWORD* attributes) {
    HANDLE h = nullptr;
    std::wstring n = name;
    if (!OpenPrinterW(&n[0], &h, nullptr) || !h) return false;
    DWORD size = 0;
    GetPrinterW(h, 2, nullptr, 0, &size);
    std::vector<BYTE> buffer(size + 1);
    bool ok = size && GetPrinterW(h, 2, buffer.data(), size, &size);
    if (ok) {
        const PRINTER_INFO_2W* p = (const PRINTER_INFO_2W*)buffer.data();
        *status = p->Status;
        *attributes = p->Attributes;
    }
    ClosePrinter(h);
    return ok;
}
