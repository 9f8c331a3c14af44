// Moved printers. A printer that stopped answering is looked for in the latest network search: by
// the identity it reported before (MAC address or serial number) at any other address, and failing
// that by model among the found printers that no installed printer uses. A model guess is offered
// only when exactly one candidate fits, because two identical printers make any guess worthless.
#include "moved.h"

#include <wctype.h>

#include "text.h"

// A found printer's texts, copied with their bounds so a damaged record can never be read past its
// fields.
struct FoundTexts {
    wchar_t ip[20];
    wchar_t mac[24];
    wchar_t hostName[200];
    wchar_t model[200];
    wchar_t description[200];
    wchar_t serial[80];
    wchar_t installedAs[300];
};

static void copy_found(const FoundPrinter* f, FoundTexts* t) {
    text_copy(t->ip, _countof(t->ip), f->ip);
    text_copy(t->mac, _countof(t->mac), f->mac);
    text_copy(t->hostName, _countof(t->hostName), f->hostName);
    text_copy(t->model, _countof(t->model), f->model);
    text_copy(t->description, _countof(t->description), f->description);
    text_copy(t->serial, _countof(t->serial), f->serial);
    text_copy(t->installedAs, _countof(t->installedAs), f->installedAs);
}

static int is_letter(wchar_t c) {
    return iswalpha((wint_t)c) != 0;
}
static int is_digit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
static int is_alnum(wchar_t c) {
    return is_letter(c) || is_digit(c);
}

int model_key(const wchar_t* model, wchar_t* key, size_t cap) {
    if (!key || cap == 0) return 0;
    key[0] = 0;
    if (!model) return 0;
    const wchar_t* p = model;
    while (*p) {
        while (*p && !is_alnum(*p))
            p++;
        const wchar_t* run = p;
        size_t letters = 0;
        while (is_letter(run[letters]))
            letters++;
        size_t digits = 0;
        while (is_digit(run[letters + digits]))
            digits++;
        if (letters >= 1 && letters <= 4 && digits >= 2) {
            size_t n = letters + 2;
            size_t i = 0;
            for (; i < n && i + 1 < cap; i++)
                key[i] = run[i];
            key[i] = 0;
            return 1;
        }
        while (*p && is_alnum(*p))
            p++;
    }
    return 0;
}

// Maker table: keyword (substring, any case) and maker name. Searched in order.
static const struct {
    const wchar_t* keyword;
    const wchar_t* maker;
} kMakers[] = {
    {L"Hewlett", L"HP"},
    {L"LaserJet", L"HP"},
    {L"OfficeJet", L"HP"},
    {L"DeskJet", L"HP"},
    {L"PageWide", L"HP"},
    {L"ENVY", L"HP"},
    {L"Samsung", L"HP (Samsung printers are now supported by HP)"},
    {L"Brother", L"Brother"},
    {L"Canon", L"Canon"},
    {L"imageRUNNER", L"Canon"},
    {L"Epson", L"Epson"},
    {L"Lexmark", L"Lexmark"},
    {L"Kyocera", L"Kyocera"},
    {L"ECOSYS", L"Kyocera"},
    {L"TASKalfa", L"Kyocera"},
    {L"Xerox", L"Xerox"},
    {L"Ricoh", L"Ricoh"},
    {L"Savin", L"Ricoh"},
    {L"Lanier", L"Ricoh"},
    {L"Konica", L"Konica Minolta"},
    {L"bizhub", L"Konica Minolta"},
    {L"Sharp", L"Sharp"},
    {L"Toshiba", L"Toshiba"},
    {L"e-STUDIO", L"Toshiba"},
    {L"Dell", L"Dell"},
    {L"Zebra", L"Zebra"},
    {L"Okidata", L"OKI"},
};

// word occurs with no letter or digit directly before or after it.
static int contains_whole_word(const wchar_t* text, const wchar_t* word) {
    size_t len = wcslen(word);
    for (const wchar_t* p = text; *p; p++) {
        if (!text_starts_with_ci(p, word)) continue;
        if (p > text && is_alnum(p[-1])) continue;
        if (is_alnum(p[len])) continue;
        return 1;
    }
    return 0;
}

static const wchar_t* maker_of(const wchar_t* text) {
    for (const auto& row : kMakers)
        if (text_contains_ci(text, row.keyword)) return row.maker;
    if (contains_whole_word(text, L"HP")) return L"HP";
    if (contains_whole_word(text, L"OKI")) return L"OKI";
    return nullptr;
}

// Removes every case-insensitive occurrence of token from text, in place.
static void remove_all(wchar_t* text, const wchar_t* token) {
    size_t len = wcslen(token);
    wchar_t* out = text;
    for (const wchar_t* in = text; *in;) {
        if (text_starts_with_ci(in, token)) {
            in += len;
            continue;
        }
        *out++ = *in++;
    }
    *out = 0;
}

static void clean_model(const wchar_t* src, wchar_t* out, size_t cap) {
    wchar_t work[400];
    size_t n = 0;
    int depth = 0;
    for (const wchar_t* p = src ? src : L""; *p && n + 1 < _countof(work); p++) {
        if (*p == L'(') {
            depth++;
            continue;
        }
        if (*p == L')') {
            if (depth > 0) depth--;
            continue;
        }
        if (depth == 0) work[n++] = *p;
    }
    work[n] = 0;
    static const wchar_t* const kTokens[] = {L"PCL-6",   L"PCL 6",        L"PCL6",    L"PCL5e",  L"PCL5",
                                             L"PCL",     L"PostScript",   L" PS",     L" KX",    L" XL",
                                             L" Series", L"Class Driver", L" ESC/P2", L" ESC/P", L" GDI",
                                             L" UFR II", L" UFRII",       L" Driver"};
    for (const wchar_t* token : kTokens)
        remove_all(work, token);
    n = wcslen(work);
    while (n > 0 && (work[n - 1] == L' ' || work[n - 1] == L'-'))
        work[--n] = 0;
    const wchar_t* start = work;
    while (*start == L' ')
        start++;
    wchar_t trimmed[200];
    text_copy(trimmed, _countof(trimmed), start);
    text_copy(out, cap, trimmed);
}

static void model_from_name(const wchar_t* printer_name, wchar_t* out, size_t cap) {
    const wchar_t* dash = wcsstr(printer_name, L" - ");
    clean_model(dash ? dash + 3 : printer_name, out, cap);
}

void guess_printer_model(const PrinterRecord* printer, wchar_t* model, size_t model_cap, wchar_t* maker,
                         size_t maker_cap) {
    if (!model || model_cap == 0 || !maker || maker_cap == 0) return;
    model[0] = 0;
    maker[0] = 0;
    if (!printer) return;
    // Local bounded copies: the record's own texts may be at their full capacity.
    wchar_t name[260], driver[200], snmp_model[200], descr[200];
    text_copy(name, _countof(name), printer->name);
    text_copy(driver, _countof(driver), printer->driverName);
    text_copy(snmp_model, _countof(snmp_model), printer->net.model);
    text_copy(descr, _countof(descr), printer->net.sysDescr);
    int snmp_available = printer->net.snmpAnswered == 1 && snmp_model[0];

    static const wchar_t* const kGenericWords[] = {L"Generic", L"Universal", L"Class Driver", L"Microsoft",
                                                   L"Text Only"};
    int generic = 0;
    for (const wchar_t* word : kGenericWords)
        generic |= text_contains_ci(driver, word);

    wchar_t found[200];
    if (snmp_available)
        text_copy(found, _countof(found), snmp_model);
    else if (!generic && driver[0])
        clean_model(driver, found, _countof(found));
    else
        model_from_name(name, found, _countof(found));

    const wchar_t* texts[] = {found, descr, driver, name};
    const wchar_t* full_maker = nullptr;
    for (const wchar_t* t : texts)
        if ((full_maker = maker_of(t)) != nullptr) break;
    if (!full_maker) {
        text_copy(model, model_cap, found);
        return;
    }
    wchar_t short_maker[40];
    text_copy(short_maker, _countof(short_maker), full_maker);
    wchar_t* paren = wcsstr(short_maker, L" (");
    if (paren) *paren = 0;
    text_copy(maker, maker_cap, short_maker);

    if (text_contains_ci(found, short_maker) || wcslen(found) + wcslen(short_maker) + 2 > 199)
        text_copy(model, model_cap, found);
    else
        text_format(model, model_cap, L"%ls %ls", short_maker, found);
}

void match_moved_printer(const Snapshot* snapshot, int32_t printer_index, const NetworkSearchResult* search,
                         FindingList* list) {
    if (!snapshot || !search || !list) return;
    int printer_count = snapshot->printerCount < 0              ? 0
                        : snapshot->printerCount > kMaxPrinters ? kMaxPrinters
                                                                : snapshot->printerCount;
    if (printer_index < 0 || printer_index >= printer_count) return;
    const PrinterRecord* p = &snapshot->printers[printer_index];
    int found_count = search->count < 0                   ? 0
                      : search->count > kMaxFoundPrinters ? kMaxFoundPrinters
                                                          : search->count;

    wchar_t known_mac[24], known_serial[80], ip_text[64], address[200], name[260];
    text_copy(known_mac, _countof(known_mac), p->knownMac);
    text_copy(known_serial, _countof(known_serial), p->knownSerial);
    text_copy(ip_text, _countof(ip_text), p->net.ipText);
    text_copy(address, _countof(address), p->address);
    text_copy(name, _countof(name), p->name);

    FoundTexts f;
    int identity = -1;
    for (int i = 0; i < found_count && identity < 0; i++) {
        copy_found(&search->printers[i], &f);
        if (wcscmp(f.ip, ip_text) == 0 || text_equal_ci(f.ip, address)) continue;
        if ((known_mac[0] && text_equal_ci(known_mac, f.mac)) ||
            (known_serial[0] && text_equal_ci(known_serial, f.serial)))
            identity = i;
    }

    int model_match = -1;
    if (identity < 0) {
        wchar_t model[200], maker[40], key[8];
        guess_printer_model(p, model, _countof(model), maker, _countof(maker));
        if (model_key(model, key, _countof(key))) {
            int candidates = 0;
            for (int i = 0; i < found_count; i++) {
                copy_found(&search->printers[i], &f);
                if (f.installedAs[0]) continue;
                if (!text_contains_ci(f.model, key) && !text_contains_ci(f.description, key)) continue;
                if (maker[0] && !text_contains_ci(f.model, maker) && !text_contains_ci(f.description, maker))
                    continue;
                candidates++;
                model_match = i;
            }
            if (candidates != 1) model_match = -1;
        }
    }

    if (identity < 0 && model_match < 0) {
        wchar_t ranges[400];
        text_copy(ranges, _countof(ranges), search->rangesText);
        add_finding_to(
            list, SeverityNote, printer_index, NoFix, name,
            L"The network search did not find this printer anywhere",
            L"Vantrel searched %d network addresses (%ls) for this printer — by its MAC address and serial "
            L"number if it has answered before, otherwise by its model — and did not find it. It is most "
            L"likely switched off, unplugged, or on a network this PC cannot reach.",
            (int)search->addressesSwept, ranges);
        return;
    }

    copy_found(&search->printers[identity >= 0 ? identity : model_match], &f);
    wchar_t port[260], subject[260], title[220];
    {
        size_t i = 0;
        for (; i + 1 < _countof(port) && p->portName[i] && p->portName[i] != L','; i++)
            port[i] = p->portName[i];
        port[i] = 0;
    }
    text_format(subject, _countof(subject), L"%ls|%ls", port, f.ip);
    FixKind fix = p->kind == KindTcpIp ? PointToNewAddress : NoFix;
    const wchar_t* old_address = ip_text[0] ? ip_text : address;
    const wchar_t* name_sep = f.hostName[0] ? L", name " : L"";
    const wchar_t* mac_shown = f.mac[0] ? f.mac : L"(unknown)";

    if (identity >= 0) {
        wchar_t same[160];
        if (known_mac[0] && text_equal_ci(known_mac, f.mac))
            text_format(same, _countof(same), L"the same %ls (%ls)", L"MAC address", f.mac);
        else
            text_format(same, _countof(same), L"the same %ls (%ls)", L"serial number", f.serial);
        text_format(title, _countof(title), L"The printer has moved to %ls", f.ip);
        add_finding_to(
            list, SeverityProblem, printer_index, fix, subject, title,
            L"Windows sends this printer's jobs to %ls, where nothing answers. Vantrel searched the network "
            L"and found THIS printer — %ls — at %ls%ls%ls.\n\nThis happens when the printer gets its "
            L"address from the router (DHCP) and the router gave it a new one.\n\nFix This points Windows "
            L"at the new address and restarts the Print Spooler, and the waiting jobs print. It can be "
            L"undone from History & Undo.\n\nTo stop it happening again, reserve the address for the "
            L"printer in the router or DHCP server (a \"DHCP reservation\" for MAC %ls), or set a fixed "
            L"address on the printer itself.",
            old_address, same, f.ip, name_sep, f.hostName, mac_shown);
    } else {
        text_format(title, _countof(title), L"A printer of the same model was found at %ls", f.ip);
        add_finding_to(
            list, SeverityHeadsUp, printer_index, fix, subject, title,
            L"Windows sends this printer's jobs to %ls, where nothing answers. Vantrel searched the network "
            L"and found one printer of the same model that no printer on this PC uses%ls, at %ls%ls%ls.\n\n"
            L"It is PROBABLY this printer with a new address, but that is a guess from the model. Check by "
            L"opening its web page or printing a configuration page from the printer, before using Fix "
            L"This to point Windows at it.\n\nTo stop it happening again, reserve the address in the "
            L"router or DHCP server (MAC %ls).",
            old_address, L"", f.ip, name_sep, f.hostName, mac_shown);
    }
}
