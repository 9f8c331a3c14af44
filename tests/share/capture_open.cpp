// Registered by the share tests as the program that opens mailto, https, sms and the other links,
// so nothing is ever opened for real: it appends the address it was given (its second argument) to
// the file named by its first argument, one line of UTF-8 each. Not a test.
#include <stdio.h>
#include <windows.h>

static char line[65536];

int wmain(int argc, wchar_t** argv) {
    FILE* file = argc < 3 ? nullptr : _wfopen(argv[1], L"ab");
    if (!file || !WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, line, sizeof(line), nullptr, nullptr))
        return 2;
    fprintf(file, "%s\n", line);
    return fclose(file);
}
