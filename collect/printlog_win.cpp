// The event-log API behind the print-log reader. Wine's wevtapi hands back a dummy handle for the
// channel configuration and cannot query channels: that reads as an unreadable log (nothing added,
// the Operational state unknown), exactly as on a Windows whose event log service is stopped.
#include <windows.h>
#include <winevt.h>

#include <stdlib.h>
#include <string.h>

#include "collect/printlog.h"

#define PRINT_SERVICE_PUBLISHER L"Microsoft-Windows-PrintService"

static int win_operational_enabled(void*, int* enabled) {
    EVT_HANDLE config = EvtOpenChannelConfig(nullptr, VANTREL_OPERATIONAL_LOG, 0);
    if (!config) return 0;
    // Zeroed first: a call that claims success without writing leaves a null variant, which is no
    // answer at all.
    union {
        EVT_VARIANT value;
        BYTE bytes[256];
    } buffer;
    memset(&buffer, 0, sizeof(buffer));
    DWORD used = 0;
    int known = 0;
    if (EvtGetChannelConfigProperty(config, EvtChannelConfigEnabled, 0, sizeof(buffer), &buffer.value,
                                    &used) &&
        used >= sizeof(EVT_VARIANT) && buffer.value.Type == EvtVarTypeBoolean) {
        *enabled = buffer.value.BooleanVal ? 1 : 0;
        known = 1;
    }
    EvtClose(config);
    return known;
}

struct WinLogQuery {
    EVT_HANDLE query;
    EVT_HANDLE render; // may be null: events are then skipped
    EVT_HANDLE meta;   // may be null: messages carry the fixed text
    union {
        EVT_VARIANT values[1];
        BYTE bytes[4096];
    } rendered;
    wchar_t message[600];
};

static void* win_open_query(void*, const wchar_t* channel) {
    EVT_HANDLE query = EvtQuery(nullptr, channel, L"*", EvtQueryChannelPath | EvtQueryReverseDirection);
    if (!query) return nullptr;
    WinLogQuery* q = static_cast<WinLogQuery*>(calloc(1, sizeof(WinLogQuery)));
    if (!q) {
        EvtClose(query);
        return nullptr;
    }
    q->query = query;
    q->render = EvtCreateRenderContext(0, nullptr, EvtRenderContextSystem);
    q->meta = EvtOpenPublisherMetadata(nullptr, PRINT_SERVICE_PUBLISHER, nullptr, 0, 0);
    return q;
}

static uint64_t variant_file_time(const EVT_VARIANT* v) {
    return v->Type == EvtVarTypeFileTime ? v->FileTimeVal : 0;
}

static void render_event(WinLogQuery* q, EVT_HANDLE event, RenderedEvent* out) {
    if (!q->render) return;
    DWORD used = 0, count = 0;
    if (!EvtRender(q->render, event, EvtRenderEventValues, sizeof(q->rendered), q->rendered.bytes, &used,
                   &count))
        return;
    if (count < kEventPropertiesNeeded) return;
    const EVT_VARIANT* v = q->rendered.values;
    out->propertyCount = (int32_t)count;
    out->eventId = v[EvtSystemEventID].Type == EvtVarTypeUInt16 ? v[EvtSystemEventID].UInt16Val : 0;
    out->level = v[EvtSystemLevel].Type == EvtVarTypeByte ? v[EvtSystemLevel].ByteVal : 0;
    out->time = variant_file_time(&v[EvtSystemTimeCreated]);

    FILETIME utc, local;
    utc.dwLowDateTime = (DWORD)(out->time & 0xffffffffu);
    utc.dwHighDateTime = (DWORD)(out->time >> 32);
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st)) {
        out->localValid = 1;
        out->local = {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                      st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
    }

    q->message[0] = 0;
    DWORD chars = 0;
    if (q->meta && EvtFormatMessage(q->meta, event, 0, 0, nullptr, EvtFormatMessageEvent,
                                    _countof(q->message), q->message, &chars)) {
        q->message[_countof(q->message) - 1] = 0;
        out->messageOk = 1;
    }
    out->message = q->message;
}

static int win_next_event(void*, void* query, RenderedEvent* out) {
    WinLogQuery* q = static_cast<WinLogQuery*>(query);
    EVT_HANDLE event = nullptr;
    DWORD returned = 0;
    if (!EvtNext(q->query, 1, &event, 2000, 0, &returned) || returned != 1 || !event) return 0;
    render_event(q, event, out);
    EvtClose(event);
    return 1;
}

static void win_close_query(void*, void* query) {
    WinLogQuery* q = static_cast<WinLogQuery*>(query);
    if (q->meta) EvtClose(q->meta);
    if (q->render) EvtClose(q->render);
    EvtClose(q->query);
    free(q);
}

const PrintLogSource g_windows_print_log = {nullptr, win_operational_enabled, win_open_query, win_next_event,
                                            win_close_query};
