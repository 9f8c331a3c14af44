// The print-log reader: Windows' PrintService Admin log (errors and warnings, always on) and, when
// someone switched it on, the Operational log (one entry per job), newest first. The logic works on
// rendered events; PrintLogSource is the event-log API behind it (printlog_win.cpp).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"

#define VANTREL_ADMIN_LOG L"Microsoft-Windows-PrintService/Admin"
#define VANTREL_OPERATIONAL_LOG L"Microsoft-Windows-PrintService/Operational"
#define VANTREL_NO_LOG_MESSAGE L"(Windows did not supply a description for this entry)"

enum {
    kAdminLogLimit = 30,
    kEventPropertiesNeeded = 9, // the system properties up to the creation time
    kMaxEventsFetched = 4096,   // per channel and check, rendered or not
};

// One event as the event-log API gave it.
struct RenderedEvent {
    int32_t propertyCount; // system properties rendered; 0 when the event could not be rendered
    int32_t eventId;
    int32_t level;
    uint64_t time;      // UTC, 100 ns units since 1601-01-01
    int32_t localValid; // the time could be turned into local time
    LocalTime local;
    int32_t messageOk;      // Windows formatted the event's message
    const wchar_t* message; // valid until the next call of the source
};

struct PrintLogSource {
    void* ctx;
    // 1 when the Operational log's enabled property was read, with its value.
    int (*operational_enabled)(void* ctx, int* enabled);
    // The channel's events, newest first; null when the channel cannot be queried.
    void* (*open_query)(void* ctx, const wchar_t* channel);
    // 1 and the rendered event when one more came within the wait; 0 when none.
    int (*next_event)(void* ctx, void* query, RenderedEvent* out);
    void (*close_query)(void* ctx, void* query);
};

// The event's message on one line, or the fixed text when Windows gave none that fits.
void print_log_message(wchar_t* out, size_t cap, int ok, const wchar_t* message);

// Appends at most limit entries of one channel (0 Admin, 1 Operational).
void read_print_log(Snapshot* s, const PrintLogSource* source, const wchar_t* channel_path, int32_t channel,
                    int32_t limit);

// Both channels as a check reads them: the Operational log's state, up to 30 Admin entries, the
// Operational entries up to 80 in all when that log is on, then newest first.
void read_print_logs(Snapshot* s, const PrintLogSource* source);

// Newest first; entries with equal times keep their order.
void sort_log_entries(Snapshot* s);

// The Windows event-log API as a source.
extern const PrintLogSource g_windows_print_log;
