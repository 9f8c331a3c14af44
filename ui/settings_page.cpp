// Rows and positions of the Settings page.
#include "ui/settings_page.h"

#include "core/dpi.h"
#include "core/text.h"
#include "ui/commands.h"

const SettingRow kSettingRows[] = {
    {110, L"AutoCheck", &Settings::autoCheck, L"Keep checking automatically",
     L"Looks at the spooler, the printers and their jobs again every 10 seconds, so the lists are always "
     L"current.",
     L"ON (recommended): Vantrel re-reads the Print Spooler, every printer and every waiting job every 10 "
     L"seconds, so you can change something at the printer and watch the result appear without clicking "
     L"anything. This quick check only asks Windows; it does not touch the network.\n\nOFF: nothing is "
     L"re-checked until you click Check Now on the Home tab.\n\nTakes effect immediately."},
    {111, L"AutoNetTest", &Settings::autoNetTest, L"Test network printers automatically",
     L"Pings each network printer and checks its print port when Vantrel starts, on Check Now, and every 2 "
     L"minutes.",
     L"ON (recommended): network printers are tested (name lookup, ping, print ports) when Vantrel starts, "
     L"whenever you click Check Now, after every fix, and every 2 minutes while it is open.\n\nOFF: the "
     L"network "
     L"is only tested when you click Network Test. Choose this on a slow or metered connection, or if a "
     L"security "
     L"system on the network objects to the pings.\n\nTakes effect immediately."},
    {112, L"AskPrinter", &Settings::askPrinter, L"Ask each printer what is wrong (SNMP)",
     L"During a network test, also asks the printer itself about jams, paper, doors, toner levels and page "
     L"count. Read-only.",
     L"ON (recommended): as part of each network test, Vantrel asks the printer itself for its status using "
     L"SNMP, the standard language printers use for this. That is how it can say \"the printer says: paper "
     L"jam\" or \"black toner is at 6%\". It only reads; it never changes anything on a printer. It uses the "
     L"community name set on the printer's port in Windows, or \"public\".\n\nOFF: only ping and the port "
     L"check are done.\n\nTakes effect immediately (the printers are re-tested)."},
    {114, L"ReadEventLog", &Settings::readEventLog, L"Read Windows' print logs",
     L"Shows Windows' print error log (and the detailed log, if it is on) in the Windows Log view and "
     L"mentions "
     L"recent errors.",
     L"ON (recommended): Vantrel reads the newest entries of Windows' own print error log \u2014 and of the "
     L"detailed log that records every job, if that is switched on \u2014 shows them in the Windows Log "
     L"view, "
     L"adds a note when there were errors in the last 24 hours, and tells you if the detailed log is off.\n\n"
     L"OFF: the log is not read and the Windows Log view stays empty.\n\nTakes effect immediately."},
    {113, L"CheckVirtual", &Settings::checkVirtual, L"Also check Windows' built-in printers",
     L"Include Microsoft Print to PDF, XPS Document Writer, OneNote, Fax and PDF makers in the health check.",
     L"OFF (the default): \"printers\" that are really features of Windows or of a program \u2014 Microsoft "
     L"Print to PDF, Microsoft XPS Document Writer, OneNote, Fax, Adobe PDF and similar \u2014 are listed in "
     L"gray and not checked, because they have no paper, cable or network to go wrong and would only clutter "
     L"the list of problems.\n\nON: they are checked like any other printer (paused, offline, stuck jobs, "
     L"missing driver).\n\nTakes effect immediately."},
    {115, L"ExpertTools", &Settings::expertTools, L"Show expert tools",
     L"Adds the Advanced group to the Tools tab: pause, offline, set default, cancel jobs, SNMP off, Add "
     L"Print to PDF, remove printer, Run as Admin.",
     L"OFF (the default): Vantrel only offers the fixes it recommends for a problem it has actually found, "
     L"each "
     L"with an explanation. That keeps it hard to break anything by accident.\n\nON: the Tools tab gains an "
     L"Advanced group with buttons that act on whichever printer is selected, whether or not Vantrel found "
     L"anything wrong with it: Pause / Resume, Offline / Online, Set Default, Cancel All Jobs, SNMP Status "
     L"Off, "
     L"Add Print to PDF, Remove Printer and Run as Admin. Meant for people who know what those do.\n\nTakes "
     L"effect immediately."},
    {116, L"LogFile", &Settings::logFile, L"Keep a log file",
     L"Writes what was found, and every change Vantrel makes, to a text file with the date and time.",
     L"ON (recommended): whenever the list of problems changes, and whenever Vantrel changes something on "
     L"the "
     L"PC, a dated line is added to its log file. Leave Vantrel open and you get a record of when a printer "
     L"went offline and came back. Open it with Home \u2192 Open Log File.\n\nOFF: nothing is written to "
     L"the "
     L"log file. (History & Undo still remembers the changes Vantrel made, so they can be "
     L"reversed.)\n\nTakes "
     L"effect immediately."},
    {117, L"Topmost", &Settings::topmost, L"Always on top",
     L"Keeps the Vantrel window in front of other windows.",
     L"ON: keeps the Vantrel window in front of other windows, so you can watch it while you work in "
     L"Windows' "
     L"own printer windows.\n\nTakes effect immediately."},
    {140, L"AutoUpdate", &Settings::autoUpdate, L"Check for updates automatically",
     L"Looks for a new version at startup and every 6 hours. Nothing installs until you click Update now.",
     L"ON (recommended): Vantrel checks for a newer version when it starts and every 6 hours while it runs. "
     L"When one is found, a yellow bar appears under the ribbon with what's new and an Update now button "
     L"\u2014 nothing is installed until you click it.\n\nOFF: Vantrel never checks on its own; use Help "
     L"\u2192 Check for Updates.\n\nTakes effect immediately."},
};
const int32_t kSettingRowCount = (int32_t)_countof(kSettingRows);

const SettingRow* setting_row(int32_t id) {
    for (int32_t i = 0; i < kSettingRowCount; i++)
        if (kSettingRows[i].id == id) return &kSettingRows[i];
    return nullptr;
}

namespace {
// Page geometry at 96 DPI.
enum : int32_t {
    kLeftX = 26,
    kRightX = 580,
    kTopY = 18,
    kColumnWidth = 500,
    kHeadingHeight = 22,
    kHeadingAdvance = 28,
    kBoxHeight = 22,
    kExplainIndent = 18,
    kExplainWidth = 482,
    kMinExplainWidth = 440,
    kExplainHeight = 32,
    kExplainAdvance = 40,
    kSectionGap = 10,
    kButtonWidth = 120,
    kButtonHeight = 28,
    kBottomMargin = 18,
};

struct Section {
    const wchar_t* heading;
    int32_t firstRow, rowCount; // into kSettingRows
};
const Section kLeftSections[] = {{L"Checking", 0, 5}};
const Section kRightSections[] = {
    {L"Tools", 5, 1}, {L"Records", 6, 1}, {L"Window", 7, 1}, {L"Updates", 8, 1}};

struct Placer {
    PageLayout* out;
    int32_t dpi;
    int32_t bottom96;
    void add(int32_t kind, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h, const wchar_t* text,
             const wchar_t* tip) {
        if (out->count >= kMaxPageItems) return;
        out->items[out->count++] = {
            kind, id, scale_to_dpi(x, dpi), scale_to_dpi(y, dpi), scale_to_dpi(w, dpi), scale_to_dpi(h, dpi),
            text, tip};
        if (y + h > bottom96) bottom96 = y + h;
    }
    // Lays the sections out downwards from y (96-DPI units); returns the y after the last one.
    int32_t column(const Section* sections, int32_t count, int32_t x, int32_t y, int32_t gap_first) {
        for (int32_t s = 0; s < count; s++) {
            if (s > 0 || gap_first) y += kSectionGap;
            add(PageHeading, IdSettingHeading, x, y, kColumnWidth, kHeadingHeight, sections[s].heading,
                nullptr);
            y += kHeadingAdvance;
            for (int32_t r = 0; r < sections[s].rowCount; r++) {
                const SettingRow& row = kSettingRows[sections[s].firstRow + r];
                add(PageCheckBox, row.id, x, y, kColumnWidth, kBoxHeight, row.caption, row.longText);
                y += kBoxHeight;
                add(PageExplanation, IdSettingExplanation, x + kExplainIndent, y, kExplainWidth,
                    kExplainHeight, row.shortText, row.longText);
                y += kExplainAdvance;
            }
        }
        return y;
    }
};
} // namespace

void settings_page_layout(int32_t dpi, int32_t page_width, PageLayout* out) {
    *out = PageLayout{};
    Placer p{out, dpi, 0};
    int32_t left_end = p.column(kLeftSections, (int32_t)_countof(kLeftSections), kLeftX, kTopY, 0);
    // Narrower than the right column's explanations (x + 18 + 482), their wrapped lines lose their ends
    // at the page's edge. A little narrower, the controls are cut to the page and the texts, which wrap
    // at words, still fit in their two lines; much narrower, the right column goes under the left.
    int32_t right_needs = scale_to_dpi(kRightX + kExplainIndent + kMinExplainWidth, dpi);
    out->stacked = page_width > 0 && page_width < right_needs;
    int32_t right_end = out->stacked
                            ? p.column(kRightSections, (int32_t)_countof(kRightSections), kLeftX, left_end, 1)
                            : p.column(kRightSections, (int32_t)_countof(kRightSections), kRightX, kTopY, 0);
    p.add(PageButton, CmdCheckUpdatesNow, out->stacked ? kLeftX : kRightX, right_end, kButtonWidth,
          kButtonHeight, L"Check now", VANTREL_CHECK_NOW_TIP);
    out->contentHeight = scale_to_dpi(p.bottom96 + kBottomMargin, dpi);
    for (int32_t i = 0; i < out->count && page_width > 0; i++) {
        PageItem& it = out->items[i];
        if (it.x + it.w > page_width) it.w = page_width > it.x ? page_width - it.x : 0;
    }
}

int32_t page_scroll_limit(int32_t content_height, int32_t client_height) {
    int32_t limit = content_height - client_height;
    return limit > 0 ? limit : 0;
}

int32_t page_scroll_clamp(int32_t position, int32_t content_height, int32_t client_height) {
    int32_t limit = page_scroll_limit(content_height, client_height);
    if (position > limit) position = limit;
    return position > 0 ? position : 0;
}
