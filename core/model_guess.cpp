// The one maker and model guess: the maker table, the generic driver words, the cleaning of model
// texts and the guess itself.
#include "core/model_guess.h"

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

// Copies a record's text field that may fill its whole capacity without a terminator.
static void copy_field(wchar_t* out, size_t cap, const wchar_t* field, size_t field_cap) {
    size_t n = text_length(field, field_cap);
    if (n >= cap) n = cap - 1;
    memcpy(out, field, n * sizeof(wchar_t));
    out[n] = 0;
}

void identify_model(const PrinterRecord* printer, ModelGuess* out) {
    if (!out) return;
    memset(out, 0, sizeof(*out));
    if (!printer) return;
    wchar_t name[_countof(printer->name) + 1], driver[_countof(printer->driverName) + 1];
    wchar_t snmp_model[_countof(printer->net.model) + 1], descr[_countof(printer->net.sysDescr) + 1];
    copy_field(name, _countof(name), printer->name, _countof(printer->name));
    copy_field(driver, _countof(driver), printer->driverName, _countof(printer->driverName));
    copy_field(snmp_model, _countof(snmp_model), printer->net.model, _countof(printer->net.model));
    copy_field(descr, _countof(descr), printer->net.sysDescr, _countof(printer->net.sysDescr));
    if (printer->net.snmpAnswered == 1 && snmp_model[0])
        text_copy(out->model, _countof(out->model), snmp_model);
    else if (has_generic_word(driver) || !driver[0])
        model_from_printer_name(name, out->model, _countof(out->model));
    else
        clean_model_text(driver, out->model, _countof(out->model));

    const wchar_t* sources[] = {out->model, descr, driver, name};
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
