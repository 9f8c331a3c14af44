// Driver-language and connection classification from the names Windows gives. Every test is
// case-insensitive; the order of the tests is what decides a name that matches several of them.
#include "classify.h"

#include <initializer_list>

#include "text.h"

static int contains_any(const wchar_t* text, const wchar_t* const* parts, size_t count) {
    for (size_t i = 0; i < count; i++)
        if (text_contains_ci(text, parts[i])) return 1;
    return 0;
}

static int contains_any(const wchar_t* text, std::initializer_list<const wchar_t*> parts) {
    return contains_any(text, parts.begin(), parts.size());
}

DriverLanguage classify_driver_language(const wchar_t* driver_name) {
    const wchar_t* n = driver_name ? driver_name : L"";
    int universal =
        contains_any(n, {L"Universal", L"Generic Plus", L"Global", L"Generic PCL", L"Generic PS", L"UPD"});
    if (text_contains_ci(n, L"Text Only")) return LanguagePlainText;
    if (contains_any(n, {L"Print To PDF", L"PDF", L"XPS Document Writer", L"OneNote", L"Fax"}))
        return LanguagePdfFile;
    if (contains_any(n, {L"ZDesigner", L"ZPL", L"EPL", L"DPL", L"Zebra"})) return LanguageLabel;
    if (contains_any(n, {L"ESC/P", L"ESCP"})) return LanguageEscP;
    if (text_contains_ci(n, L"UFR")) return LanguageUfr2;
    if (contains_any(n, {L"PostScript", L"BR-Script", L"KPDL", L" PS", L"PS3", L"(PS)", L"-PS"}))
        return universal ? LanguagePostScriptUniversal : LanguagePostScript;
    if (contains_any(n, {L"PCL6", L"PCL 6", L"PCL-6", L"PCL XL", L"PCLXL", L" KX"}))
        return universal ? LanguagePcl6Universal : LanguagePcl6;
    if (contains_any(n, {L"PCL5", L"PCL 5", L"PCL-5"})) return LanguagePcl5;
    if (contains_any(n, {L"Class Driver", L"(V4)", L" V4"})) return LanguageXps;
    if (contains_any(n, {L"GDI", L"Host"})) return LanguageHostBased;
    return universal ? LanguagePcl6Universal : LanguageNotStated;
}

void first_port_name(const wchar_t* port_list, wchar_t* out, size_t cap) {
    if (!out || cap == 0) return;
    size_t i = 0;
    if (port_list)
        for (; i + 1 < cap && port_list[i] && port_list[i] != L','; i++)
            out[i] = port_list[i];
    out[i] = 0;
}

// Where a case-insensitive part starts in text, or null.
static const wchar_t* find_ci(const wchar_t* text, const wchar_t* part) {
    if (!text) return nullptr;
    for (; *text; text++)
        if (text_starts_with_ci(text, part)) return text;
    return nullptr;
}

void classify_port(const wchar_t* port_name, const wchar_t* monitor_name, const TcpPortValues* tcp,
                   const wchar_t* location, int is_connection, const wchar_t* server_name, PortClass* out) {
    if (!out) return;
    *out = PortClass{};
    out->kind = KindOther;
    out->portNumber = 9100;
    out->protocol = 1;
    wchar_t port[260];
    first_port_name(port_name, port, _countof(port));
    const wchar_t* monitor = monitor_name ? monitor_name : L"";

    if (tcp && (tcp->hostName[0] || tcp->ipAddress[0])) {
        out->kind = KindTcpIp;
        text_copy(out->address, _countof(out->address), tcp->hostName[0] ? tcp->hostName : tcp->ipAddress);
        if (tcp->portNumber != 0) out->portNumber = tcp->portNumber;
        if (tcp->protocol != 0) out->protocol = tcp->protocol;
        if (tcp->snmpEnabled) out->snmpEnabled = 1;
        text_copy(out->snmpCommunity, _countof(out->snmpCommunity), tcp->snmpCommunity);
        return;
    }
    if (is_connection || text_starts_with_ci(port, L"\\\\")) {
        out->kind = KindShared;
        const wchar_t* server = server_name ? server_name : L"";
        while (*server == L'\\')
            server++;
        text_copy(out->address, _countof(out->address), server);
        return;
    }
    if (text_starts_with_ci(port, L"WSD") || text_contains_ci(monitor, L"WSD")) {
        out->kind = KindWsd;
        // A device web-service location such as http://host:port/path names the printer's host.
        const wchar_t* url = find_ci(location, L"http://");
        if (url) {
            const wchar_t* host = url + 7;
            size_t n = 0;
            while (host[n] && host[n] != L':' && host[n] != L'/' && n + 1 < _countof(out->address)) {
                out->address[n] = host[n];
                n++;
            }
            out->address[n] = 0;
        }
        return;
    }
    if (text_starts_with_ci(port, L"USB") || text_contains_ci(monitor, L"USB")) {
        out->kind = KindUsb;
        return;
    }
    if (text_starts_with_ci(port, L"LPT") || text_starts_with_ci(port, L"COM")) {
        out->kind = KindParallelSerial;
        return;
    }
    if (text_starts_with_ci(port, L"TS") && port[2] >= L'0' && port[2] <= L'9') {
        out->kind = KindRemoteDesktop;
        return;
    }
    static const wchar_t* const kBuiltInPorts[] = {L"FILE:",   L"PORTPROMPT:", L"nul:",   L"XPSPort:",
                                                   L"SHRFAX:", L"Microsoft.",  L"OneNote"};
    for (const wchar_t* prefix : kBuiltInPorts)
        if (text_starts_with_ci(port, prefix)) {
            out->kind = KindBuiltIn;
            return;
        }
    if (text_starts_with_ci(port, L"IPP") || text_starts_with_ci(port, L"http") ||
        text_contains_ci(monitor, L"IPP") || text_contains_ci(monitor, L"Internet")) {
        out->kind = KindIpp;
        return;
    }
}

void classify_printer_port(PrinterRecord* printer, const wchar_t* monitor_name, const TcpPortValues* tcp) {
    if (printer) classify_printer_port_named(printer, printer->portName, monitor_name, tcp);
}

void classify_printer_port_named(PrinterRecord* printer, const wchar_t* port_name,
                                 const wchar_t* monitor_name, const TcpPortValues* tcp) {
    if (!printer) return;
    PortClass c;
    classify_port(port_name, monitor_name, tcp, printer->location, printer->isConnection, printer->serverName,
                  &c);
    printer->kind = c.kind;
    text_copy(printer->address, _countof(printer->address), c.address);
    printer->portNumber = c.portNumber;
    printer->protocol = c.protocol;
    printer->snmpEnabled = c.snmpEnabled;
    text_copy(printer->snmpCommunity, _countof(printer->snmpCommunity), c.snmpCommunity);
}

static const wchar_t* const kVirtualPrinterNames[] = {
    L"Microsoft Print To PDF",
    L"Microsoft XPS Document Writer",
    L"Microsoft Shared Fax",
    L"Send to Microsoft OneNote",
    L"Microsoft Software Printer Driver",
    L"Microsoft OpenXPS",
    L"Adobe PDF",
    L"Foxit",
    L"CutePDF",
    L"PDFCreator",
    L"Bullzip",
    L"novaPDF",
    L"Snagit",
    L"Amyuni",
    L"doPDF",
    L"Nitro PDF",
    L"PDF-XChange",
    L"Microsoft Office Document Image",
    L"Send To OneNote",
    L"Wondershare",
    L"QuickBooks PDF",
    L"Corvalen",
};

int is_virtual_printer(const wchar_t* driver_name, int32_t kind) {
    if (contains_any(driver_name ? driver_name : L"", kVirtualPrinterNames, _countof(kVirtualPrinterNames)))
        return 1;
    return kind == KindBuiltIn;
}

static const wchar_t* const kLanguageLabels[] = {
    L"Not stated",
    L"PCL 6",
    L"PCL 5",
    L"PostScript",
    L"XPS (v4 driver)",
    L"UFR II (Canon)",
    L"Host-based (GDI)",
    L"ESC/P (dot matrix)",
    L"Label (ZPL/EPL/DPL)",
    L"Plain text only",
    L"PDF / file",
    L"PCL 6 (universal)",
    L"PostScript (universal)",
};

static const wchar_t* const kLanguageExplanations[] = {
    L"The driver's name does not say which printer language it uses.",
    L"PCL 6 (also called PCL XL): HP's modern printer language. Fast, compact, and the best everyday choice "
    L"for "
    L"office printing.",
    L"PCL 5 / 5e: the older HP printer language. Slower than PCL 6, but some older programs, pre-printed "
    L"forms and "
    L"check printing expect it.",
    L"PostScript (PS, also BR-Script, KPDL): Adobe's printer language. Best for graphics, PDFs and documents "
    L"that "
    L"must look exactly the same on every printer; usually a bit slower.",
    L"XPS: used by Microsoft's newer \"v4\" drivers. Simple to install, but often missing extras such as "
    L"finishing, secure print or accounting codes.",
    L"UFR II: Canon's own language for its imageRUNNER copiers. Fast on Canon devices, but only Canon "
    L"devices "
    L"understand it.",
    L"Host-based (GDI): the PC does all the work and sends the printer a finished picture of each page. "
    L"Common on "
    L"cheap printers; only this exact driver can drive the printer, and generic drivers will not work.",
    L"ESC/P: Epson's language for dot-matrix printers (multi-part forms). Needs the dot-matrix driver; "
    L"ordinary "
    L"office drivers will not do.",
    L"A label-printer language (Zebra ZPL/EPL, Datamax DPL). Only label printers understand it.",
    L"Plain text: no fonts, pictures or layout. Only right for some receipt and dot-matrix printers.",
    L"Not a printer language: this \"printer\" makes a file (PDF, XPS or OneNote) instead of paper.",
    L"PCL 6 through a \"universal\" driver that works with many models from the same maker. Fine for "
    L"everyday "
    L"printing and easy to manage; model-specific extras may be missing.",
    L"PostScript through a \"universal\" driver that works with many models from the same maker.",
};

static const wchar_t* const kKindLabels[] = {
    L"Other",
    L"Network (TCP/IP)",
    L"Network (WSD)",
    L"USB cable",
    L"Parallel/serial cable",
    L"Built into Windows",
    L"Shared from another PC",
    L"Remote Desktop",
    L"Network (IPP)",
};

const wchar_t* driver_language_label(int32_t language) {
    return language >= 0 && language < (int32_t)_countof(kLanguageLabels) ? kLanguageLabels[language] : L"";
}

const wchar_t* driver_language_explanation(int32_t language) {
    return language >= 0 && language < (int32_t)_countof(kLanguageExplanations)
               ? kLanguageExplanations[language]
               : L"";
}

const wchar_t* connection_kind_label(int32_t kind) {
    return kind >= 0 && kind < (int32_t)_countof(kKindLabels) ? kKindLabels[kind] : L"";
}
