// The record text of the change history and the order it is listed in.
#include "changes.h"

#include "core/text.h"

void build_change_text(wchar_t* buf, size_t cap, const wchar_t* when, int32_t kind, const wchar_t* detail,
                       const wchar_t* description) {
    wchar_t text[900];
    text_format(text, _countof(text), L"%ls%lc%d%lc%ls%lc%ls", when ? when : L"", CHANGE_SEPARATOR, (int)kind,
                CHANGE_SEPARATOR, detail ? detail : L"", CHANGE_SEPARATOR, description ? description : L"");
    text_copy(buf, cap, text);
}

int32_t read_decimal(const wchar_t* text) {
    if (!text) return 0;
    int negative = 0;
    if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
    int64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; text++) {
        value = value * 10 + (*text - L'0');
        if (value > 0x7FFFFFFF) return 0; // a number that does not fit is no kind we know
    }
    return (int32_t)(negative ? -value : value);
}

// Copies the characters [from, to) into a field, cut at its capacity.
static void copy_span(wchar_t* field, size_t cap, const wchar_t* from, const wchar_t* to) {
    size_t n = 0;
    for (; from < to && n + 1 < cap; from++)
        field[n++] = *from;
    field[n] = 0;
}

int parse_change_text(const wchar_t* value_name, const wchar_t* text, ChangeRecord* out) {
    if (!text || !out) return 0;
    const wchar_t* cut[3];
    const wchar_t* p = text;
    for (int i = 0; i < 3; i++) {
        while (*p && *p != CHANGE_SEPARATOR)
            p++;
        if (!*p) return 0;
        cut[i] = p++;
    }
    *out = ChangeRecord{};
    text_copy(out->valueName, _countof(out->valueName), value_name);
    copy_span(out->whenText, _countof(out->whenText), text, cut[0]);
    wchar_t kind[16];
    copy_span(kind, _countof(kind), cut[0] + 1, cut[1]);
    out->changeKind = read_decimal(kind);
    copy_span(out->detail, _countof(out->detail), cut[1] + 1, cut[2]);
    text_copy(out->description, _countof(out->description), cut[2] + 1);
    return 1;
}

static int compare_names(const wchar_t* a, const wchar_t* b) {
    size_t la = wcslen(a), lb = wcslen(b);
    if (la != lb) return la < lb ? -1 : 1;
    for (;; a++, b++) {
        if (*a != *b) return (unsigned)*a < (unsigned)*b ? -1 : 1;
        if (!*a) return 0;
    }
}

void sort_changes(ChangeList* list) {
    static ChangeRecord held; // one record in flight; the list is sorted on the interface thread only
    for (int32_t i = 1; i < list->count; i++) {
        held = list->records[i];
        int32_t j = i;
        while (j > 0 && compare_names(list->records[j - 1].valueName, held.valueName) < 0) {
            list->records[j] = list->records[j - 1];
            j--;
        }
        list->records[j] = held;
    }
}

void change_value_name(uint64_t number, wchar_t* buf, size_t cap) {
    text_format(buf, cap, L"%08I64u", (unsigned long long)number);
}

uint64_t next_change_number(uint32_t counter, ChangeNameTaken taken, void* ctx) {
    uint64_t number = (uint64_t)counter + 1;
    for (int i = 0; i < kChangeNumberProbes; i++, number++) {
        int state = taken ? taken(ctx, number) : 0;
        if (state == 0) return number;
        if (state < 0) return 0;
    }
    return 0;
}

uint32_t change_counter_after(uint32_t counter, uint64_t number) {
    if (number > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    return (uint32_t)number > counter ? (uint32_t)number : counter;
}
