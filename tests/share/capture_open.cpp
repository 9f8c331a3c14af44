// Registered by the share tests as the program that opens mailto, https, sms and the other links,
// so nothing is ever opened for real: it appends the address it was given (its second argument) to
// the file named by its first argument, one line of UTF-8 each. Not a test.
#include <windows.h>

#include <string.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 87;
    HANDLE file = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, nullptr, 0, nullptr, nullptr);
    char* line = (char*)HeapAlloc(GetProcessHeap(), 0, bytes + 1);
    DWORD written = 0;
    if (line) {
        WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, line, bytes, nullptr, nullptr);
        line[bytes - 1] = '\n';
        WriteFile(file, line, bytes, &written, nullptr);
        HeapFree(GetProcessHeap(), 0, line);
    }
    CloseHandle(file);
    return 0;
}
