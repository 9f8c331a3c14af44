// The pure part of the log: the line layout.
#include "core/log_file.h"

#include "core/text.h"

void build_log_line(wchar_t* buf, size_t cap, const wchar_t* stamp, const wchar_t* message) {
    text_format(buf, cap, L"%ls  %ls\r\n", stamp ? stamp : L"", message ? message : L"");
    // A message that filled the line must still end it, or the next line would join this one.
    size_t len = text_length(buf, cap);
    if (cap >= 3 && (len < 2 || buf[len - 2] != L'\r' || buf[len - 1] != L'\n')) {
        if (len > cap - 3) len = cap - 3;
        buf[len] = L'\r';
        buf[len + 1] = L'\n';
        buf[len + 2] = 0;
    }
}
