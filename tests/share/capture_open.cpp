// Registered by the share tests as the program that opens mailto, https, sms and the other links,
// so nothing is ever opened for real: it appends the address it was given (its second argument) to
// the file named by its first argument, one line of UTF-8 each. Not a test.
#include <windows.h>

static char line[65536];

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 87;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, line, sizeof(line), nullptr, nullptr);
    HANDLE file = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (bytes == 0 || file == INVALID_HANDLE_VALUE) return 2;
    line[bytes - 1] = '\n';
    DWORD written = 0;
    WriteFile(file, line, bytes, &written, nullptr);
    CloseHandle(file);
    return 0;
}
