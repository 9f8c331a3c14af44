// Building a test PC in the Wine prefix: files, registry values, printer drivers and printers, and
// reading back the text files the program writes. Each returns whether it worked, for the caller to
// assert on; none of them retries.
#pragma once

#include <windows.h>

#include <string>

// A file of that many bytes (starting "MZ" when there is room for it), replacing any old one.
bool write_test_file(const std::wstring& path, DWORD size);

// The whole file's bytes; "(no file)" when it cannot be opened.
std::string read_test_file(const std::wstring& path);
std::wstring from_utf8(const std::string& bytes);

// The user's temporary folder with the name appended.
std::wstring temp_path(const wchar_t* name);

// The run's small disk (VANTREL_SMALL_DISK, mounted by tests/reports/small_disk.sh) filled by one
// file until only `room` bytes are free; the file goes with the record. folder is empty when the
// program was given no such disk, and full says whether the filling worked.
struct FullDisk {
    std::wstring folder, filler;
    bool full = false;
    DWORD error = 0; // what ended the filling (ERROR_DISK_FULL), or why it could not start
    explicit FullDisk(DWORD room);
    ~FullDisk();
    // The files named "*.tmp" in the folder.
    int temporary_files() const;
};

// Registry values, creating the key when needed.
bool set_reg_string(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value);
bool set_reg_dword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value);
bool set_reg_binary(HKEY root, const std::wstring& path, const wchar_t* name, const void* data, DWORD size);

// A version-3 driver whose three files are the one file given. Wine registers a driver without
// copying its files; driver_file_path says where Windows would have put it.
bool add_test_driver(const wchar_t* name, const wchar_t* environment, const std::wstring& file);
std::wstring driver_file_path(const wchar_t* name, const wchar_t* environment);
void delete_test_driver(const wchar_t* name);

// A local printer on the port with the driver (the port need not exist), and its removal.
bool add_test_printer(const wchar_t* name, const wchar_t* port, const wchar_t* driver,
                      const wchar_t* location = L"Second floor");
void delete_test_printer(const wchar_t* name);

// The printer's level-2 status and attributes; false when it cannot be opened.
bool printer_state(const wchar_t* name, DWORD* status, DWORD* attributes);
