// The JSON report over the process state, the time zone's offset, and the file it is written to.
#include <windows.h>

#include <stdlib.h>

#include "core/text.h"
#include "reports/json_report.h"
#include "reports/report.h"

// Local time minus UTC now, daylight saving included (Windows gives the opposite sign as a bias).
static int32_t utc_offset_minutes_now() {
    TIME_ZONE_INFORMATION zone;
    DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) return 0;
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT)
        bias += zone.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD)
        bias += zone.StandardBias;
    return (int32_t)-bias;
}

wchar_t* build_json_report(const Session* session) {
    JsonReportInput input = {};
    report_input_of(session, &input.report);
    input.utcOffsetMinutes = utc_offset_minutes_now();
    // Most documents fit the first guess; a larger one is built again at the length it asked for.
    size_t cap = 400000;
    for (int attempt = 0; attempt < 2; attempt++) {
        wchar_t* text = static_cast<wchar_t*>(malloc(cap * sizeof(wchar_t)));
        if (!text) return nullptr;
        size_t length = build_json_report_of(&input, text, cap);
        if (length < cap) return text;
        free(text);
        cap = length + 1;
    }
    return nullptr;
}

uint32_t write_json_file(const wchar_t* path, const wchar_t* text) {
    if (!text) text = L"";
    size_t cap = wcslen(text) * 3 + 1;
    char* bytes = static_cast<char*>(malloc(cap));
    if (!bytes) return ERROR_NOT_ENOUGH_MEMORY;
    size_t count = text_to_utf8(text, bytes, cap, 0);
    uint32_t error = write_whole_file(path, bytes, count);
    free(bytes);
    return error;
}
