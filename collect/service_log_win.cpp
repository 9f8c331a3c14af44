// Service Control Manager events from the System log. Event 7031 says a service "terminated
// unexpectedly" and Windows will take a recovery action; 7034 says the same with no action
// configured. Both name the service by its display name in their first parameter.
#include <windows.h>
#include <winevt.h>

#include <stdlib.h>
#include <string.h>

#include "collect/service_log_win.h"
#include "core/text.h"

enum { kMaxCrashEvents = 500 }; // far more than one day of crashes of every service

// The query asks the log itself for the two events of the last day (86,400,000 ms), so a long log
// is not walked.
static const wchar_t kCrashQuery[] =
    L"*[System[Provider[@Name='Service Control Manager'] and (EventID=7031 or EventID=7034) and "
    L"TimeCreated[timediff(@SystemTime) <= 86400000]]]";

static const wchar_t* const kCrashValues[] = {L"Event/System/EventID",
                                              L"Event/System/TimeCreated/@SystemTime",
                                              L"Event/EventData/Data[@Name='param1']"};

static void render_crash(EVT_HANDLE render, EVT_HANDLE event, TakeServiceCrash take, void* arg) {
    union {
        EVT_VARIANT values[3];
        BYTE bytes[4096];
    } buffer;
    DWORD used = 0, count = 0;
    if (!EvtRender(render, event, EvtRenderEventValues, sizeof(buffer), buffer.bytes, &used, &count) ||
        count < 3)
        return;
    const EVT_VARIANT* v = buffer.values;
    RawServiceCrash crash = {};
    crash.eventId = v[0].Type == EvtVarTypeUInt16 ? v[0].UInt16Val : 0;
    crash.time = v[1].Type == EvtVarTypeFileTime ? v[1].FileTimeVal : 0;
    crash.serviceName = v[2].Type == EvtVarTypeString ? v[2].StringVal : L"";
    FILETIME utc, local;
    utc.dwLowDateTime = (DWORD)(crash.time & 0xffffffffu);
    utc.dwHighDateTime = (DWORD)(crash.time >> 32);
    SYSTEMTIME st;
    if (crash.time && FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st)) {
        crash.localValid = 1;
        crash.local = {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                       st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
    }
    take(arg, &crash);
}

int list_service_crashes(void*, uint64_t, TakeServiceCrash take, void* arg) {
    EVT_HANDLE query =
        EvtQuery(nullptr, L"System", kCrashQuery, EvtQueryChannelPath | EvtQueryReverseDirection);
    if (!query) return 0;
    EVT_HANDLE render = EvtCreateRenderContext(_countof(kCrashValues), const_cast<LPCWSTR*>(kCrashValues),
                                               EvtRenderContextValues);
    for (int n = 0; render && n < kMaxCrashEvents; n++) {
        EVT_HANDLE event = nullptr;
        DWORD returned = 0;
        if (!EvtNext(query, 1, &event, 2000, 0, &returned) || returned != 1 || !event) break;
        render_crash(render, event, take, arg);
        EvtClose(event);
    }
    if (render) EvtClose(render);
    EvtClose(query);
    return 1;
}
