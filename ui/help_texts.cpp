// The help texts, written for office users. They name the ribbon's buttons and views, so a renamed
// button is renamed here too.
#include "ui/help_texts.h"

#include <string.h>

#include "core/text.h"
#include "ui/commands.h"

static const wchar_t kHowToUse[] =
    L"VANTREL IN ONE MINUTE\n"
    L"\n"
    L"1. Start it. It checks everything by itself and keeps checking every 10 seconds.\n"
    L"2. Read the colored banner. RED = something is stopping printing. AMBER = a heads-up. GREEN = all "
    L"clear.\n"
    L"3. Click the printer that will not print (top list), then click Fix This. Vantrel explains what is "
    L"wrong in plain English and, where there is a safe fix, offers to do it. You are always asked first.\n"
    L"4. If the list says there are no problems but it still will not print, click Test Page. If the test "
    L"page prints, the printer is fine and the trouble is in the program you were printing from.\n"
    L"\n"
    L"WHAT IT CHECKS\n"
    L"\n"
    L"\x2022 The Print Spooler: the Windows service every job goes through. If it is stopped, nothing prints "
    L"and the printer list looks empty.\n"
    L"\x2022 Each printer: paused? set to Use Printer Offline? in error? is its driver installed? what kind "
    L"of connection does it use?\n"
    L"\x2022 Each queue: is a job stuck on Error or Deleting and holding up everything behind it?\n"
    L"\x2022 The network (network printers): does the address answer, is the print port open, and what does "
    L"the printer itself say \x2014 paper jam, out of paper, door open, toner level?\n"
    L"\x2022 Printers shared from a print server: is the server's name found, does it answer on RPC (port "
    L"135) "
    L"and Windows sharing (port 445), and does it answer the way this PC reaches it? When Windows refuses "
    L"the "
    L"connection, Vantrel explains its error.\n"
    L"\x2022 Point and Print: may anyone install a printer driver without a prompt, and does a connection "
    L"need an administrator to install its driver? Is RPC privacy for print connections switched off?\n"
    L"\x2022 A Print Spooler that keeps crashing (Windows' System log), and the driver most likely to "
    L"blame.\n"
    L"\x2022 Printer pools: does every printer of the pool answer?\n"
    L"\x2022 Windows' own IPP class driver, and a printer installed twice, once on it and once on the "
    L"maker's "
    L"driver.\n"
    L"\x2022 Windows' own print logs (and whether the detailed log that records every job is switched on).\n"
    L"\x2022 Every printer's IP address, MAC address, host name, model, driver, printer language, driver "
    L"date and version.\n"
    L"\x2022 Find Printers: every printer on the network, installed or not \x2014 and a printer that moved "
    L"to a new address.\n"
    L"\x2022 Whether Vantrel is running as the person signed in (a check run as SYSTEM from an RMM tool "
    L"cannot see their printers).\n"
    L"\n"
    L"THE TWO LISTS\n"
    L"\n"
    L"TOP: every printer on this PC with its health and a one-line summary. Gray rows are Windows' built-in "
    L"\"printers\" such as Print to PDF, which are not checked unless you ask for that on the Settings tab.\n"
    L"BOTTOM: what Vantrel found, most serious first. The five buttons under \"Show in the Bottom List\" "
    L"switch it between these Problems, the Print Queue, Windows' print log, the installed Drivers and the "
    L"Network Printers that Find Printers found. Double-click any row for the full explanation.\n"
    L"\n"
    L"THE QUICK FIXES\n"
    L"\n"
    L"\x2022 Fix This \x2014 explains and fixes the selected problem.\n"
    L"\x2022 Restart Spooler \x2014 the \"off and on again\" for printing. Jobs are kept.\n"
    L"\x2022 Clear Stuck Jobs \x2014 for a job that will not print and will not delete. Removes ALL waiting "
    L"jobs on this PC.\n"
    L"\x2022 Test Page \x2014 proves whether Windows, the driver and the printer work.\n"
    L"\n"
    L"COMMON SITUATIONS\n"
    L"\n"
    L"\"Printer is Offline\" but it is switched on: look for the finding about SNMP status (Fix This "
    L"switches it off) or the one saying nothing answers at the printer's address (its IP address probably "
    L"changed \x2014 compare with the printer's own configuration page).\n"
    L"\n"
    L"A job sits in the queue and will not delete: Clear Stuck Jobs.\n"
    L"\n"
    L"Printouts go to the wrong printer: look for \"Windows is allowed to change the default printer by "
    L"itself\".\n"
    L"\n"
    L"The printer disappeared from Windows: the Print Spooler is probably stopped. Fix This starts it.\n"
    L"\n"
    L"\"Driver is unavailable\": the driver's files are gone. Fix This (or Tools \x2192 Find Driver) finds "
    L"the driver on the maker's own website.\n"
    L"\n"
    L"\"Offline\" after a power cut or router change: the printer probably got a new address. Vantrel "
    L"searches the network, recognizes it by its MAC address, and Fix This points Windows at the new "
    L"address.\n"
    L"\n"
    L"A printer that only fails now and then: switch on Windows' detailed print log (Vantrel offers it), "
    L"leave it, and look at the Windows Log view after the next failure.\n"
    L"\n"
    L"NOTHING IS PERMANENT\n"
    L"\n"
    L"Vantrel never changes anything without asking. Everything it changes is listed in History & Undo (Home "
    L"tab), and the switches it flips can be put back from there. Windows asks for administrator permission "
    L"only at the moment a fix needs it.\n"
    L"\n"
    L"Hover over any button, list or setting for a detailed explanation. The complete guide is USER-GUIDE.md "
    L"on the download page (Help \x2192 Download Page).";

static const wchar_t kDriverTypes[] =
    L"WHAT A DRIVER DOES\n"
    L"\n"
    L"A printer driver is a translator. Programs hand Windows a page; the driver turns it into a PRINTER "
    L"LANGUAGE (the techie name is \"page description language\", PDL) that the printer understands. If the "
    L"driver speaks a language the printer does not, you get pages of gibberish or symbols, or nothing at "
    L"all. Vantrel shows each driver's language in the Language column.\n"
    L"\n"
    L"THE PRINTER LANGUAGES\n"
    L"\n"
    L"PCL 6 (also \"PCL XL\"; Kyocera's \"KX\" drivers use it too)\n"
    L"HP's modern language, understood by almost every office laser printer and copier. Compact and fast, so "
    L"big jobs print quickly. The best everyday choice. Its weak spot: a few complex graphics can come out "
    L"slightly differently than on screen.\n"
    L"\n"
    L"PCL 5 / PCL 5e\n"
    L"The older HP language. Slower and less capable than PCL 6, but some older programs, dealership and "
    L"accounting systems, pre-printed forms, check (MICR) printing and printer-font tricks were written for "
    L"it. Use PCL 5 only when something specifically needs it, or when PCL 6 prints a form wrong.\n"
    L"\n"
    L"POSTSCRIPT (PS; Brother calls it BR-Script, Kyocera KPDL)\n"
    L"Adobe's language. Draws every page exactly the same on every PostScript printer, so it is the best "
    L"choice for graphics, PDFs, design work, Macs, and documents where the layout must not shift. The "
    L"driver often has \"PS\" in its name. Usually somewhat slower, and some cheap printers do not have it "
    L"at all. Try PS when a PDF prints with missing pictures or wrong fonts; try PCL 6 when PS is slow.\n"
    L"\n"
    L"XPS and \"v4\" DRIVERS (names ending in \"(V4)\", Microsoft \"Class Driver\")\n"
    L"Microsoft's newer driver design. Easy to install and very stable, and Windows can supply one "
    L"automatically. But they often lack the extras of the full driver: stapling and finishing, tray "
    L"choices, secure print, department or accounting codes. If an option \"disappeared\", the printer was "
    L"probably switched to a v4 or class driver.\n"
    L"\n"
    L"UFR II (Canon)\n"
    L"Canon's own language for imageRUNNER copiers. Fast on Canon devices, useless on anything else. Canon's "
    L"\"Generic Plus\" drivers come in UFR II, PCL 6 and PS versions.\n"
    L"\n"
    L"HOST-BASED / GDI\n"
    L"The PC does all the work and sends the printer a finished picture of each page. Found on inexpensive "
    L"printers. Only that exact maker's driver will work; generic and universal drivers will not. Large jobs "
    L"can be slow because the PC does the processing.\n"
    L"\n"
    L"ESC/P and ESC/P2 (Epson dot matrix)\n"
    L"For dot-matrix and impact printers that print multi-part forms (titles, registration forms, some DMS "
    L"forms). Needs the dot-matrix driver, or sometimes \"Generic / Text Only\" when the program sends its "
    L"own codes.\n"
    L"\n"
    L"LABEL LANGUAGES (Zebra ZPL and EPL, Datamax DPL)\n"
    L"For label and tag printers (key tags, parts labels, shipping). Only label printers understand them.\n"
    L"\n"
    L"PLAIN TEXT (\"Generic / Text Only\")\n"
    L"Sends letters and numbers only, no fonts or pictures. Right for some receipt and dot-matrix printers "
    L"when a program sends its own codes; wrong for an office printer, where it prints gibberish.\n"
    L"\n"
    L"KINDS OF DRIVER\n"
    L"\n"
    L"MODEL-SPECIFIC vs UNIVERSAL\n"
    L"A model-specific driver is made for one printer and exposes all its features. A universal driver (HP "
    L"Universal Printing, Canon Generic Plus, Kyocera KX, Lexmark Universal, Ricoh/Konica/Xerox Global or "
    L"Universal) works across many models from the same maker. Universal drivers are easier to manage across "
    L"many PCs and many printers \x2014 one driver for the whole fleet \x2014 at the cost of a few "
    L"model-specific extras.\n"
    L"\n"
    L"TYPE 3 vs TYPE 4\n"
    L"Type 3 is the traditional driver from the manufacturer, with its own settings screens. Type 4 (\"v4\") "
    L"is Microsoft's newer, simpler design described above. Vantrel shows the type in the Drivers view and "
    L"in Details.\n"
    L"\n"
    L"DRIVER DATE AND VERSION\n"
    L"Shown in the top list and the Drivers view. A very old date is not a problem by itself if the printer "
    L"works. Update the driver when there is a specific problem, after a Windows feature update breaks "
    L"printing, or when the maker has fixed a security issue. Get it from the maker's own site (Tools \x2192 "
    L"Find Driver).\n"
    L"\n"
    L"QUICK GUIDE\n"
    L"\x2022 Everyday office printing: PCL 6.\n"
    L"\x2022 PDFs, graphics, Macs, layout that must not move: PostScript.\n"
    L"\x2022 An old program or form that only prints right one way: PCL 5.\n"
    L"\x2022 Many PCs and many printers from one maker: that maker's universal driver.\n"
    L"\x2022 Missing options (stapling, trays, codes): replace a v4/class driver with the maker's full "
    L"driver.\n"
    L"\x2022 Gibberish pages: the driver's language does not match the printer \x2014 install the right "
    L"driver for the model.";

static const wchar_t kReleaseNotes[] =
    L"1.1.0 (2026-11-17)\n"
    L"\x2022 Every printer now shows its IP address, MAC address and host name, its model, and its driver's "
    L"printer language (PCL 6, PostScript and so on), date and version.\n"
    L"\x2022 New Find Printers (Home tab): searches the network for every printer, installed on this PC or "
    L"not, and lists each one's IP address, MAC address, host name, model, serial number and print ports in "
    L"the new Network Printers view.\n"
    L"\x2022 Moved printers: when a network printer stops answering, Vantrel searches the network and "
    L"recognizes it at its new address by its MAC address or serial number. Fix This points Windows at the "
    L"new address (undo from History & Undo).\n"
    L"\x2022 \"Driver is unavailable\": spots printers whose driver files are missing.\n"
    L"\x2022 New Find Driver (Tools tab, and Fix This for driver problems): works out the maker and model "
    L"and searches the maker's own website for the driver.\n"
    L"\x2022 New Driver Types guide (Help tab): PCL 6, PCL 5, PostScript, XPS/v4, UFR II, host-based, dot "
    L"matrix and label printers explained in plain English, plus Type 3 vs Type 4 and universal drivers.\n"
    L"\x2022 Windows' detailed print log (PrintService/Operational): Vantrel tells you when it is off, "
    L"switches it on with one click, and shows every job from it in the Windows Log view next to the "
    L"errors.\n"
    L"\x2022 Warns when Vantrel runs as SYSTEM (for example from ScreenConnect Backstage or an RMM script) "
    L"or as a different user than the person signed in, because their own printers are invisible to other "
    L"accounts.\n"
    L"\x2022 After Restart Spooler or Clear Stuck Jobs, offers a test page to prove printing works.\n"
    L"\x2022 Tools tab: new Devices & Printers and Add a Printer buttons. Open Log File moved to the Home "
    L"tab.\n"
    L"\n"
    L"1.0.0 (2026-11-17)\n"
    L"\x2022 First release. Checks the whole printing chain on a Windows PC and explains what is wrong in "
    L"plain English.\n"
    L"\x2022 Print Spooler check: is the service running, set to start automatically, and free of leftover "
    L"job files?\n"
    L"\x2022 Every printer: paused, Use Printer Offline, error states, missing or generic driver, duplicate "
    L"\"Copy 1\" printers, and the kind of connection (network address, WSD, USB, shared from another PC).\n"
    L"\x2022 Every print queue: finds jobs stuck on Error or Deleting, and jobs that have been waiting too "
    L"long.\n"
    L"\x2022 Network test for network printers: name lookup, ping, print ports (9100, 515, 631) and web "
    L"ports, then asks the printer itself (SNMP) about paper jams, empty trays, open doors, toner levels and "
    L"page count.\n"
    L"\x2022 Spots the classic \"shows Offline but is switched on\" cause (SNMP status on the port) and "
    L"fixes it with one click.\n"
    L"\x2022 Fix This: explains the selected problem and offers a safe one-click fix. Quick fixes for "
    L"Restart Spooler, Clear Stuck Jobs and Test Page.\n"
    L"\x2022 Print Queue, Windows Log (Windows' own print errors) and Drivers views in the bottom list.\n"
    L"\x2022 History & Undo: every change Vantrel makes is recorded, and the switches it flips can be put "
    L"back.\n"
    L"\x2022 Save Report and Copy Summary for tickets, a log file, Tools tab with shortcuts to Windows' own "
    L"printer windows, expert tools (off by default), automatic updates, Share tab, and detailed tooltips on "
    L"every control.";

const wchar_t* release_notes_text() {
    return kReleaseNotes;
}

int32_t help_notes_of(int32_t command, const wchar_t* version, HelpNotes* out) {
    if (!out) return 0;
    memset(out, 0, sizeof(*out));
    switch (command) {
    case CmdHowToUse:
        out->title = L"How to use Vantrel";
        out->body = kHowToUse;
        return 1;
    case CmdDriverTypes:
        out->title = L"Printer drivers and printer languages, explained";
        out->body = kDriverTypes;
        return 1;
    case CmdReleaseNotes:
        out->title = L"Vantrel Release Notes";
        text_format(out->header, _countof(out->header),
                    L"Vantrel release notes \x2014 you have version %ls\r\n\r\n", version);
        out->body = kReleaseNotes;
        return 1;
    default:
        return 0;
    }
}

// The newest entry's change lines are taken from the release notes themselves, so the two never
// disagree: everything after the entry's first line up to the empty line that ends it.
static const wchar_t* whats_new_body() {
    static wchar_t body[sizeof(kReleaseNotes) / sizeof(wchar_t) + 100];
    if (body[0]) return body;
    const wchar_t* start = wcschr(kReleaseNotes, L'\n');
    start = start ? start + 1 : kReleaseNotes;
    const wchar_t* end = wcsstr(start, L"\n\n");
    size_t length = end ? (size_t)(end - start) : wcslen(start);
    if (length >= _countof(body) - 80) length = _countof(body) - 80;
    memcpy(body, start, length * sizeof(wchar_t));
    body[length] = 0;
    text_append(body, _countof(body), L"\n\nSee every version any time under Help \x2192 Release Notes.");
    return body;
}

void whats_new_of(const wchar_t* version, HelpNotes* out) {
    if (!out) return;
    memset(out, 0, sizeof(*out));
    out->title = L"What's new in Vantrel";
    text_format(out->header, _countof(out->header),
                L"Vantrel was updated to version %ls. Here's what's new:\r\n\r\n", version);
    out->body = whats_new_body();
}

void about_text_of(const wchar_t* version, int32_t auto_update, const wchar_t* download_page, wchar_t* out,
                   size_t cap) {
    size_t room = cap < 1200 ? cap : 1200;
    text_format(
        out, room,
        L"Vantrel %ls\nWhy won't it print?\n\nChecks the Print Spooler, every printer, its jobs, its driver "
        L"and its network connection, asks the printer itself what is wrong, explains it in plain English "
        L"and fixes the common problems with one click.\n\nUpdates: %ls\nDownload page: %ls\n\n"
        L"Free to use and to pass on: the Share tab sends it to a colleague.\n"
        L"Made by Corvalen for everyone who has ever asked why it won't print.",
        version,
        auto_update ? L"checks automatically every 6 hours" : L"automatic checks are off (Settings tab)",
        download_page);
}
