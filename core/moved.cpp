// Moved printers. A printer that stopped answering is looked for in the latest network search: by
// the identity it reported before (MAC address or serial number) at any other address, and failing
// that by model among the found printers that no installed printer uses. A model guess is offered
// only when exactly one candidate fits, because two identical printers make any guess worthless.
#include "moved.h"

#include <wctype.h>

#include "model_guess.h"
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
        ModelGuess guess;
        identify_model(p, &guess);
        wchar_t maker[40], key[8];
        short_maker_name(guess.maker, maker, _countof(maker));
        if (model_key(guess.model, key, _countof(key))) {
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
            list, L"printer-not-found-by-search", SeverityNote, printer_index, NoFix, name,
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
            list, L"printer-moved", SeverityProblem, printer_index, fix, subject, title,
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
            list, L"printer-same-model-found", SeverityHeadsUp, printer_index, fix, subject, title,
            L"Windows sends this printer's jobs to %ls, where nothing answers. Vantrel searched the network "
            L"and found one printer of the same model that no printer on this PC uses%ls, at %ls%ls%ls.\n\n"
            L"It is PROBABLY this printer with a new address, but that is a guess from the model. Check by "
            L"opening its web page or printing a configuration page from the printer, before using Fix "
            L"This to point Windows at it.\n\nTo stop it happening again, reserve the address in the "
            L"router or DHCP server (MAC %ls).",
            old_address, L"", f.ip, name_sep, f.hostName, mac_shown);
    }
}
