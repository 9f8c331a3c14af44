// Reverse lookups that cannot be cancelled (GetNameInfoW waits as long as the resolver does, ten
// seconds and more with a silent DNS server) are never waited for past their bound: each runs on a
// small thread of its own that outlives the search when it has to, and the block they share is
// freed by whoever lets it go last.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <stdlib.h>

#include "core/messages.h"
#include "core/text.h"
#include "net/reverse_names.h"

struct NameLookups {
    CRITICAL_SECTION lock;
    HANDLE allDone; // manual reset: set when the last lookup answered
    LONG refs;      // the search and every lookup thread still running
    HWND lateWindow;
    ReverseLookup lookup;
    ULONGLONG startedAt;
    int count;
    int pending;    // under lock
    int handedOver; // under lock: the search took the names; later ones are posted
    uint32_t addresses[kMaxFoundPrinters];
    uint8_t answered[kMaxFoundPrinters];
    wchar_t names[kMaxFoundPrinters][200];
};

struct LookupStart {
    NameLookups* lookups;
    int index;
};

int reverse_lookup(uint32_t address, wchar_t* out, size_t cap) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    wchar_t host[NI_MAXHOST];
    if (GetNameInfoW((const SOCKADDR*)&a, sizeof(a), host, _countof(host), nullptr, 0, NI_NAMEREQD) != 0)
        return 0;
    text_copy(out, cap, host);
    return out[0] != 0;
}

static void release(NameLookups* lookups) {
    if (InterlockedDecrement(&lookups->refs) != 0) return;
    DeleteCriticalSection(&lookups->lock);
    CloseHandle(lookups->allDone);
    free(lookups);
}

// The poster frees the block only when the window did not take it.
static void post_late_name(HWND window, uint32_t address, const wchar_t* name) {
    if (!window) return;
    SearchName* late = static_cast<SearchName*>(calloc(1, sizeof(SearchName)));
    if (!late) return;
    late->ipValue = address;
    text_copy(late->hostName, _countof(late->hostName), name);
    if (!PostMessageW(window, MsgSearchName, 0, (LPARAM)late)) free(late);
}

static void finish_lookup(NameLookups* lookups, int index, int found, const wchar_t* name) {
    EnterCriticalSection(&lookups->lock);
    if (!lookups->handedOver) {
        if (found) text_copy(lookups->names[index], _countof(lookups->names[index]), name);
        lookups->answered[index] = 1;
    } else if (found) {
        post_late_name(lookups->lateWindow, lookups->addresses[index], name);
    }
    if (--lookups->pending == 0) SetEvent(lookups->allDone);
    LeaveCriticalSection(&lookups->lock);
}

static DWORD WINAPI lookup_thread(void* param) {
    LookupStart start = *static_cast<LookupStart*>(param);
    free(param);
    NameLookups* lookups = start.lookups;
    wchar_t name[200] = L"";
    int found = lookups->lookup(lookups->addresses[start.index], name, _countof(name));
    finish_lookup(lookups, start.index, found, name);
    release(lookups);
    return 0;
}

// A lookup needs little stack; reserving 256 KB instead of the default megabyte keeps a search of
// many responders from reserving hundreds of megabytes of address space.
static const SIZE_T kLookupStack = 256 * 1024;

NameLookups* start_name_lookups(const FoundPrinter* printers, int count, HWND late_window,
                                ReverseLookup lookup) {
    NameLookups* lookups = static_cast<NameLookups*>(calloc(1, sizeof(NameLookups)));
    if (!lookups) return nullptr;
    lookups->allDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!lookups->allDone) {
        free(lookups);
        return nullptr;
    }
    InitializeCriticalSection(&lookups->lock);
    if (count > kMaxFoundPrinters) count = kMaxFoundPrinters;
    if (count < 0) count = 0;
    lookups->refs = 1;
    lookups->lateWindow = late_window;
    lookups->lookup = lookup ? lookup : reverse_lookup;
    lookups->count = count;
    lookups->pending = count;
    lookups->startedAt = GetTickCount64();
    for (int i = 0; i < count; i++)
        lookups->addresses[i] = printers[i].ipValue;
    if (count == 0) SetEvent(lookups->allDone);
    for (int i = 0; i < count; i++) {
        LookupStart* start = static_cast<LookupStart*>(malloc(sizeof(LookupStart)));
        HANDLE thread = nullptr;
        if (start) {
            start->lookups = lookups;
            start->index = i;
            InterlockedIncrement(&lookups->refs);
            thread = CreateThread(nullptr, kLookupStack, lookup_thread, start,
                                  STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        }
        if (thread) {
            CloseHandle(thread);
            continue;
        }
        // No thread for this one: it simply has no name.
        if (start) {
            free(start);
            InterlockedDecrement(&lookups->refs);
        }
        finish_lookup(lookups, i, 0, L"");
    }
    return lookups;
}

int take_names(NameLookups* lookups, FoundPrinter* printers, int count, DWORD bound_ms) {
    if (!lookups) return 0;
    ULONGLONG elapsed = GetTickCount64() - lookups->startedAt;
    if (elapsed < bound_ms) WaitForSingleObject(lookups->allDone, (DWORD)(bound_ms - elapsed));
    EnterCriticalSection(&lookups->lock);
    lookups->handedOver = 1;
    int still_running = lookups->pending;
    for (int i = 0; i < count && i < lookups->count; i++)
        if (lookups->answered[i] && lookups->names[i][0] && lookups->addresses[i] == printers[i].ipValue)
            text_copy(printers[i].hostName, _countof(printers[i].hostName), lookups->names[i]);
    LeaveCriticalSection(&lookups->lock);
    release(lookups);
    return still_running;
}
