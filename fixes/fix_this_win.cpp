// What a fix's plan reads from Windows before it is made: the address a port points at now, so the
// change can be put back.
#include "fix_this.h"

#include <windows.h>

#include "core/text.h"

void current_port_address(const wchar_t* port, wchar_t* out, size_t cap) {
    text_copy(out, cap, L"");
    if (!port || !port[0] || wcschr(port, L'\\')) return;
    wchar_t path[400];
    text_format(path, _countof(path),
                L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\%ls",
                port);
    const wchar_t* names[] = {L"HostName", L"IPAddress"};
    for (const wchar_t* name : names) {
        wchar_t value[200] = L"";
        DWORD bytes = sizeof(value) - sizeof(wchar_t), type = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_SZ, &type, value, &bytes) !=
            ERROR_SUCCESS)
            value[0] = 0;
        value[_countof(value) - 1] = 0;
        if (value[0]) {
            text_copy(out, cap, value);
            return;
        }
    }
}
