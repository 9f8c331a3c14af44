// Maker and model identification and the driver-search address. Pure: tables and text work only.
#include "net/maker.h"

#include <stdlib.h>
#include <string.h>
#include <wctype.h>

#include "core/text.h"

#define HP_DOMAIN L"hp.com"
#define OKI_DOMAIN L"oki.com"

const MakerRow kMakerTable[kMakerTableRows] = {
    {L"Hewlett", L"HP", HP_DOMAIN},
    {L"LaserJet", L"HP", HP_DOMAIN},
    {L"OfficeJet", L"HP", HP_DOMAIN},
    {L"DeskJet", L"HP", HP_DOMAIN},
    {L"PageWide", L"HP", HP_DOMAIN},
    {L"ENVY", L"HP", HP_DOMAIN},
    // HP bought Samsung's printer business; Samsung's drivers are on HP's site now.
    {L"Samsung", L"HP (Samsung printers are now supported by HP)", HP_DOMAIN},
    {L"Brother", L"Brother", L"brother.com"},
    {L"Canon", L"Canon", L"canon.com"},
    {L"imageRUNNER", L"Canon", L"canon.com"},
    {L"Epson", L"Epson", L"epson.com"},
    {L"Lexmark", L"Lexmark", L"lexmark.com"},
    {L"Kyocera", L"Kyocera", L"kyoceradocumentsolutions.com"},
    {L"ECOSYS", L"Kyocera", L"kyoceradocumentsolutions.com"},
    {L"TASKalfa", L"Kyocera", L"kyoceradocumentsolutions.com"},
    {L"Xerox", L"Xerox", L"xerox.com"},
    {L"Ricoh", L"Ricoh", L"ricoh.com"},
    {L"Savin", L"Ricoh", L"ricoh.com"},
    {L"Lanier", L"Ricoh", L"ricoh.com"},
    {L"Konica", L"Konica Minolta", L"konicaminolta.com"},
    {L"bizhub", L"Konica Minolta", L"konicaminolta.com"},
    {L"Sharp", L"Sharp", L"global.sharp"},
    {L"Toshiba", L"Toshiba", L"toshibatec.com"},
    {L"e-STUDIO", L"Toshiba", L"toshibatec.com"},
    {L"Dell", L"Dell", L"dell.com"},
    {L"Zebra", L"Zebra", L"zebra.com"},
    {L"Okidata", L"OKI", OKI_DOMAIN},
};

static const wchar_t* const kGenericDriverWords[] = {L"Generic", L"Universal", L"Class Driver", L"Microsoft",
                                                     L"Text Only"};

static const wchar_t* const kCleaningTokens[] = {
    L"PCL-6",      L"PCL 6",  L"PCL6", L"PCL5e",   L"PCL5",    L"PCL",
    L"PostScript", L" PS",    L" KX",  L" XL",     L" Series", L"Class Driver",
    L" ESC/P2",    L" ESC/P", L" GDI", L" UFR II", L" UFRII",  L" Driver",
};

static int is_word_char(wchar_t c) {
    return c && iswalnum((wint_t)c);
}

int contains_word(const wchar_t* text, const wchar_t* word) {
    if (!text || !word || !word[0]) return 0;
    size_t n = wcslen(word);
    for (const wchar_t* p = text; *p; p++) {
        if (!text_starts_with_ci(p, word)) continue;
        if (p > text && is_word_char(p[-1])) continue;
        if (is_word_char(p[n])) continue;
        return 1;
    }
    return 0;
}

// Removes every occurrence of part, ignoring case; a removal can join two halves into a new
// occurrence, which is removed too.
static void remove_all_ci(wchar_t* text, const wchar_t* part) {
    size_t n = wcslen(part);
    for (wchar_t* p = text; *p;) {
        if (text_starts_with_ci(p, part)) {
            memmove(p, p + n, (wcslen(p + n) + 1) * sizeof(wchar_t));
            p = text; // rescan: the join may have formed a new occurrence before p
        } else {
            p++;
        }
    }
}

void clean_model_text(const wchar_t* text, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    out[0] = 0;
    wchar_t work[400];
    size_t len = 0;
    int depth = 0;
    for (const wchar_t* p = text ? text : L""; *p && len < 399; p++) {
        if (*p == L'(') {
            depth++;
        } else if (*p == L')') {
            if (depth > 0) depth--;
        } else if (depth == 0) {
            work[len++] = *p;
        }
    }
    work[len] = 0;
    for (const wchar_t* token : kCleaningTokens)
        remove_all_ci(work, token);
    len = wcslen(work);
    while (len > 0 && (work[len - 1] == L' ' || work[len - 1] == L'-'))
        work[--len] = 0;
    const wchar_t* start = work;
    while (*start == L' ')
        start++;
    text_copy(out, cap < 200 ? cap : 200, start);
}

int find_maker(const wchar_t* text, wchar_t* maker, size_t maker_cap, wchar_t* domain, size_t domain_cap) {
    if (!text || !text[0]) return 0;
    const wchar_t* name = nullptr;
    const wchar_t* site = nullptr;
    for (const MakerRow& row : kMakerTable) {
        if (text_contains_ci(text, row.keyword)) {
            name = row.maker;
            site = row.domain;
            break;
        }
    }
    if (!name && contains_word(text, L"HP")) {
        name = L"HP";
        site = HP_DOMAIN;
    }
    if (!name && contains_word(text, L"OKI")) {
        name = L"OKI";
        site = OKI_DOMAIN;
    }
    if (!name) return 0;
    if (maker) text_copy(maker, maker_cap, name);
    if (domain) text_copy(domain, domain_cap, site);
    return 1;
}

void short_maker_name(const wchar_t* maker, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    text_copy(out, cap < 40 ? cap : 40, maker);
    wchar_t* paren = wcsstr(out, L" (");
    if (paren) *paren = 0;
}

static int has_generic_word(const wchar_t* driver) {
    for (const wchar_t* word : kGenericDriverWords)
        if (text_contains_ci(driver, word)) return 1;
    return 0;
}

// The printer name as a model: only the part after the first " - " when there is one ("Front Desk -
// HP LaserJet M404dn"), cleaned.
static void model_from_printer_name(const wchar_t* name, wchar_t* out, size_t cap) {
    const wchar_t* dash = wcsstr(name, L" - ");
    clean_model_text(dash ? dash + 3 : name, out, cap);
}

void identify_model(const PrinterRecord* printer, ModelGuess* out) {
    if (!out) return;
    memset(out, 0, sizeof(*out));
    if (!printer) return;
    const NetTestResult* net = &printer->net;
    int snmp_model = net->snmpAnswered == 1 && net->model[0];
    if (snmp_model)
        text_copy(out->model, _countof(out->model), net->model);
    else if (has_generic_word(printer->driverName) || !printer->driverName[0])
        model_from_printer_name(printer->name, out->model, _countof(out->model));
    else
        clean_model_text(printer->driverName, out->model, _countof(out->model));

    const wchar_t* sources[] = {out->model, net->sysDescr, printer->driverName, printer->name};
    int found = 0;
    for (const wchar_t* source : sources)
        if ((found =
                 find_maker(source, out->maker, _countof(out->maker), out->domain, _countof(out->domain))))
            break;
    if (!found) return;

    wchar_t maker[40];
    short_maker_name(out->maker, maker, _countof(maker));
    size_t model_len = wcslen(out->model), maker_len = wcslen(maker);
    if (model_len == 0) {
        // Nothing but the maker is known; a trailing blank after it would only look broken.
        text_copy(out->model, _countof(out->model), maker);
        return;
    }
    if (text_contains_ci(out->model, maker) || model_len + maker_len + 2 > 199) return;
    wchar_t model[200];
    text_copy(model, _countof(model), out->model);
    text_format(out->model, _countof(out->model), L"%ls %ls", maker, model);
}

void percent_encode(const wchar_t* text, wchar_t* out, size_t capacity, int crlf) {
    if (!out || capacity == 0) return;
    out[0] = 0;
    if (capacity < 9 || !text) return;
    size_t need = wcslen(text) * 4 + 1;
    char* bytes = static_cast<char*>(malloc(need));
    if (!bytes) return;
    size_t count = text_to_utf8(text, bytes, need, 0);
    static const wchar_t hex[] = L"0123456789ABCDEF";
    size_t len = 0, limit = capacity - 8;
    for (size_t i = 0; i < count && len < limit; i++) {
        unsigned char b = (unsigned char)bytes[i];
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
            b == '.' || b == '_' || b == '~') {
            out[len++] = (wchar_t)b;
        } else if (b == '\r') {
            continue;
        } else if (b == '\n' && crlf) {
            const wchar_t* s = L"%0D%0A";
            for (int k = 0; k < 6; k++)
                out[len++] = s[k];
        } else {
            out[len++] = L'%';
            out[len++] = hex[b >> 4];
            out[len++] = hex[b & 15];
        }
    }
    out[len] = 0;
    free(bytes);
}

void driver_search_query(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t room = cap < 400 ? cap : 400;
    if (domain && domain[0])
        text_format(out, room, L"%ls driver download Windows site:%ls", model ? model : L"", domain);
    else
        text_format(out, room, L"%ls printer driver download Windows", model ? model : L"");
}

void driver_search_url(const wchar_t* model, const wchar_t* domain, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    wchar_t query[400];
    driver_search_query(model, domain, query, _countof(query));
    wchar_t encoded[1200];
    percent_encode(query, encoded, _countof(encoded), 0);
    text_format(out, cap, L"%ls%ls", VANTREL_SEARCH_ADDRESS, encoded);
}
