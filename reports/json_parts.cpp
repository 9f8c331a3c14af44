// The pieces of the JSON document that both the whole document and a printer's object write: the
// time stamps and a driver's fields.
#include "reports/json_report.h"

#include "core/classify.h"
#include "core/text.h"

void iso_time_text(const LocalTime* t, int32_t utc_offset_minutes, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    if (!t) return;
    int32_t offset = utc_offset_minutes < 0 ? -utc_offset_minutes : utc_offset_minutes;
    text_format(out, cap, L"%04d-%02d-%02dT%02d:%02d:%02d%lc%02d:%02d", t->year, t->month, t->day, t->hour,
                t->minute, t->second, utc_offset_minutes < 0 ? L'-' : L'+', (int)(offset / 60),
                (int)(offset % 60));
}

void iso_utc_text(uint64_t file_time, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    uint64_t seconds = file_time / 10000000;
    // Days since 1970-01-01 (1601 to 1970 is 134,774 days), then the civil date of a day number.
    int64_t z = (int64_t)(seconds / 86400) - 134774 + 719468;
    uint32_t second_of_day = (uint32_t)(seconds % 86400);
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int day = (int)(doy - (153 * mp + 2) / 5 + 1);
    int month = (int)(mp < 10 ? mp + 3 : mp - 9);
    int year = (int)(yoe + era * 400 + (month <= 2 ? 1 : 0));
    text_format(out, cap, L"%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day, (int)(second_of_day / 3600),
                (int)(second_of_day / 60 % 60), (int)(second_of_day % 60));
}

void json_driver_fields(JsonWriter* w, int32_t index, const DriverRecord* d) {
    json_number(w, L"index", index);
    json_text_or_null(w, L"name", d->name);
    json_text_or_null(w, L"maker", d->maker);
    json_text_or_null(w, L"version", d->versionText);
    json_text_or_null(w, L"date", d->date);
    json_number(w, L"type", d->version);
    json_text(w, L"language", driver_language_label(d->language));
    json_number(w, L"languageCode", d->language);
}
