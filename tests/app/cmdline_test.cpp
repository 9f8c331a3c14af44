// The command-line table, fed through Windows' own splitter as the program is.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/cmdline.h"

namespace {
struct Parsed {
    std::wstring raw; // the split words live as long as this, as the process's own do
    CommandLine cmd;
    wchar_t** argv = nullptr;
    explicit Parsed(const std::wstring& line) : raw(line) {
        int argc = 0;
        argv = CommandLineToArgvW(raw.c_str(), &argc);
        parse_command_line(argc, argv, &cmd);
    }
    ~Parsed() { LocalFree(argv); }
};
} // namespace

TEST(CommandLine, TaskNeedsAVerbAndPassesTheArgument) {
    Parsed a(L"Vantrel.exe /task Unknown x");
    EXPECT_EQ(ModeTask, a.cmd.mode);
    EXPECT_STREQ(L"Unknown", a.cmd.taskVerb);
    EXPECT_STREQ(L"x", a.cmd.taskArgument);

    Parsed b(L"\"C:\\Program Files\\Vantrel.exe\" /TASK pause \"Front \\\"A\\\" desk\"");
    EXPECT_EQ(ModeTask, b.cmd.mode);
    EXPECT_STREQ(L"pause", b.cmd.taskVerb);
    EXPECT_STREQ(L"Front \"A\" desk", b.cmd.taskArgument);

    Parsed c(L"Vantrel.exe /task spool-restart");
    EXPECT_EQ(ModeTask, c.cmd.mode);
    EXPECT_STREQ(L"", c.cmd.taskArgument) << "a missing argument is empty text";

    Parsed d(L"Vantrel.exe /task");
    EXPECT_EQ(ModeWindow, d.cmd.mode) << "\"/task\" alone starts the window";

    Parsed e(L"Vantrel.exe /demo /task x");
    EXPECT_EQ(ModeWindow, e.cmd.mode) << "only argument 1 selects the task mode";

    // The window's copy that fetches the update manifest takes the address and nothing else.
    Parsed f(L"Vantrel.exe /updatecheck \"https://localhost/latest.json\" /demo");
    EXPECT_EQ(ModeUpdateCheck, f.cmd.mode);
    EXPECT_STREQ(L"https://localhost/latest.json", f.cmd.manifestUrl);
    EXPECT_FALSE(f.cmd.demo);
    EXPECT_EQ(ModeWindow, Parsed(L"Vantrel.exe /demo /updatecheck x").cmd.mode);
}

TEST(CommandLine, NetTestTakesACommunityUnlessTheThirdWordIsASwitch) {
    Parsed a(L"Vantrel.exe /nettest 127.0.0.5 /quiet");
    EXPECT_EQ(ModeNetTest, a.cmd.mode);
    EXPECT_STREQ(L"127.0.0.5", a.cmd.netAddress);
    EXPECT_STREQ(L"public", a.cmd.netCommunity);
    EXPECT_TRUE(a.cmd.quiet);

    Parsed b(L"Vantrel.exe /NetTest printer.local s3cret");
    EXPECT_EQ(ModeNetTest, b.cmd.mode);
    EXPECT_STREQ(L"s3cret", b.cmd.netCommunity);
    EXPECT_FALSE(b.cmd.quiet);

    Parsed c(L"Vantrel.exe /nettest 127.0.0.5 /QUIET");
    EXPECT_TRUE(c.cmd.quiet) << "a script's capitals must not open a message box";

    Parsed d(L"Vantrel.exe /nettest");
    EXPECT_EQ(ModeWindow, d.cmd.mode);
}

TEST(CommandLine, SwitchesAreWholeArgumentsInAnyCase) {
    Parsed a(L"Vantrel.exe /demo");
    EXPECT_TRUE(a.cmd.demo);
    EXPECT_FALSE(a.cmd.mayWait);
    Parsed b(L"Vantrel.exe /DEMO /Admin");
    EXPECT_TRUE(b.cmd.demo) << "every switch in any case";
    EXPECT_TRUE(b.cmd.admin);
    Parsed c(L"Vantrel.exe /admin /demo");
    EXPECT_TRUE(c.cmd.admin);
    EXPECT_TRUE(c.cmd.demo);
    EXPECT_TRUE(c.cmd.mayWait);

    Parsed d(L"Vantrel.exe /updated 1.0.9");
    EXPECT_TRUE(d.cmd.updated);
    EXPECT_TRUE(d.cmd.mayWait);
    EXPECT_STREQ(L"1.0.9", d.cmd.updatedFrom);
    Parsed u(L"Vantrel.exe /UPDATED 1.0.9 /scanrange 127.0.0.0/24");
    EXPECT_TRUE(u.cmd.updated);
    EXPECT_STREQ(L"1.0.9", u.cmd.updatedFrom) << "one word, not the rest of the line";
    Parsed q(L"Vantrel.exe /updated  \"1.0 beta\" /admin");
    EXPECT_STREQ(L"1.0 beta", q.cmd.updatedFrom);
    Parsed e(L"Vantrel.exe /updated");
    EXPECT_FALSE(e.cmd.updated) << "the switch needs its version";
    EXPECT_FALSE(e.cmd.mayWait);

    // A path, range or community that only contains a switch's name is that argument and no more.
    Parsed p(L"Vantrel.exe /report C:/Demo/x.txt");
    EXPECT_EQ(ModeReport, p.cmd.mode);
    EXPECT_STREQ(L"C:/Demo/x.txt", p.cmd.reportFile);
    EXPECT_FALSE(p.cmd.demo);
    Parsed j(L"Vantrel.exe /report \"D:\\out/json/admin/quiet.txt\" /scanrange 127.0.0.0/24/demo");
    EXPECT_FALSE(j.cmd.reportJson || j.cmd.admin || j.cmd.demo || j.cmd.quiet);
    EXPECT_STREQ(L"127.0.0.0/24/demo", j.cmd.scanRange);
    Parsed n(L"Vantrel.exe /nettest printer/demo ab/quiet /report x");
    EXPECT_STREQ(L"ab/quiet", n.cmd.netCommunity);
    EXPECT_FALSE(n.cmd.quiet);
    EXPECT_EQ(ModeNetTest, n.cmd.mode);
    Parsed x(L"Vantrel.exe /demox /xadmin \"/updated 1.0\"");
    EXPECT_FALSE(x.cmd.demo || x.cmd.admin || x.cmd.updated);
    Parsed r(L"Vantrel.exe /report /Demo/x.txt");
    EXPECT_STREQ(L"/Demo/x.txt", r.cmd.reportFile) << "a root-relative path is a file too";
}

TEST(CommandLine, TheLastScanRangeWinsAndAMissingOneIsIgnored) {
    Parsed a(L"Vantrel.exe /scanrange 127.0.0.0/24");
    EXPECT_STREQ(L"127.0.0.0/24", a.cmd.scanRange);
    Parsed b(L"Vantrel.exe /scanrange 127.0.0.0/24 /SCANRANGE 127.0.1.1-127.0.1.20");
    EXPECT_STREQ(L"127.0.1.1-127.0.1.20", b.cmd.scanRange);
    Parsed c(L"Vantrel.exe /demo /scanrange");
    EXPECT_STREQ(L"", c.cmd.scanRange);
    Parsed d(L"Vantrel.exe /scanrange 127.0.0.0/24 /scanrange");
    EXPECT_STREQ(L"127.0.0.0/24", d.cmd.scanRange);
    Parsed e(L"Vantrel.exe /scanrange " + std::wstring(100, L'9'));
    EXPECT_EQ(63u, wcslen(e.cmd.scanRange));
}

TEST(CommandLine, HostileInputNeverBreaksTheParse) {
    std::wstring huge = L"Vantrel.exe " + std::wstring(100000, L'"') + L" /scanrange";
    Parsed a(huge);
    EXPECT_EQ(ModeWindow, a.cmd.mode);

    std::wstring many = L"Vantrel.exe";
    for (int i = 0; i < 5000; i++)
        many += L" /scanrange";
    Parsed b(many);
    EXPECT_STREQ(L"/scanrange", b.cmd.scanRange);

    CommandLine cmd;
    parse_command_line(5, nullptr, &cmd);
    EXPECT_EQ(ModeWindow, cmd.mode) << "a line that could not be split starts the window";
    parse_command_line(0, nullptr, &cmd);
    EXPECT_EQ(ModeWindow, cmd.mode);
    EXPECT_STREQ(L"", cmd.taskVerb);
}

TEST(CommandLine, ReportTakesTheNextWordAsItsFile) {
    Parsed a(L"Vantrel.exe /demo /report \"C:\\My Reports\\out.txt\"");
    EXPECT_EQ(ModeReport, a.cmd.mode);
    EXPECT_STREQ(L"C:\\My Reports\\out.txt", a.cmd.reportFile);
    EXPECT_EQ(0, a.cmd.reportSummary);
    EXPECT_EQ(1, a.cmd.demo);

    Parsed b(L"Vantrel.exe /REPORT out.txt /Summary /scanrange 127.0.0.0/24");
    EXPECT_EQ(ModeReport, b.cmd.mode);
    EXPECT_STREQ(L"out.txt", b.cmd.reportFile);
    EXPECT_EQ(1, b.cmd.reportSummary);
    EXPECT_EQ(0, b.cmd.reportScan);
    EXPECT_STREQ(L"127.0.0.0/24", b.cmd.scanRange);

    // "/scan" is a word of its own: "/scanrange" does not ask for a search.
    Parsed s(L"Vantrel.exe /report out.txt /SCAN /scanrange 127.0.0.0/24");
    EXPECT_EQ(1, s.cmd.reportScan);
    EXPECT_STREQ(L"out.txt", s.cmd.reportFile);
    EXPECT_STREQ(L"127.0.0.0/24", s.cmd.scanRange);
    Parsed r(L"Vantrel.exe /scan /report out.txt");
    EXPECT_EQ(1, r.cmd.reportScan) << "before or after the file";
    EXPECT_STREQ(L"out.txt", r.cmd.reportFile);

    // No file: the mode is chosen, so no window opens, and the mode refuses the empty name.
    Parsed c(L"Vantrel.exe /report");
    EXPECT_EQ(ModeReport, c.cmd.mode);
    EXPECT_STREQ(L"", c.cmd.reportFile);
    Parsed d(L"Vantrel.exe /report /summary");
    EXPECT_EQ(ModeReport, d.cmd.mode);
    EXPECT_STREQ(L"", d.cmd.reportFile) << "a switch is not taken for the file";
    EXPECT_EQ(1, d.cmd.reportSummary);

    // The task and network-test modes come first; without "/report" the window starts.
    Parsed e(L"Vantrel.exe /task Unknown /report");
    EXPECT_EQ(ModeTask, e.cmd.mode);
    Parsed f(L"Vantrel.exe /summary");
    EXPECT_EQ(ModeWindow, f.cmd.mode);
    EXPECT_STREQ(L"", f.cmd.reportFile);
}

TEST(CommandLine, ReportAsJson) {
    Parsed a(L"Vantrel.exe /report out.json /json /scanrange 127.0.0.0/30");
    EXPECT_EQ(ModeReport, a.cmd.mode);
    EXPECT_STREQ(L"out.json", a.cmd.reportFile);
    EXPECT_EQ(1, a.cmd.reportJson);
    Parsed b(L"Vantrel.exe /Json /demo /report out.json");
    EXPECT_EQ(1, b.cmd.reportJson) << "in any case, before or after the file";
    EXPECT_STREQ(L"out.json", b.cmd.reportFile);
    Parsed c(L"Vantrel.exe /report /json");
    EXPECT_STREQ(L"", c.cmd.reportFile) << "the switch is not taken for the file";
    Parsed d(L"Vantrel.exe /report out.txt");
    EXPECT_EQ(0, d.cmd.reportJson);
}

TEST(CommandLine, FleetModes) {
    Parsed a(L"Vantrel.exe /report r.txt /CHECK /scan");
    EXPECT_EQ(ModeCheck, a.cmd.mode) << "\"/check\" wins over \"/report\" wherever it stands";
    EXPECT_STREQ(L"r.txt", a.cmd.reportFile);
    EXPECT_EQ(1, a.cmd.reportScan);
    Parsed b(L"Vantrel.exe /fix /only printer-paused,use-printer-offline /json \"C:\\out dir\\f.json\"");
    EXPECT_EQ(ModeFix, b.cmd.mode);
    EXPECT_STREQ(L"printer-paused,use-printer-offline", b.cmd.onlyRules);
    EXPECT_STREQ(L"C:\\out dir\\f.json", b.cmd.jsonFile);
    EXPECT_EQ(1, b.cmd.reportJson);
    Parsed c(L"Vantrel.exe /check /json");
    EXPECT_STREQ(L"", c.cmd.jsonFile) << "the mode refuses the missing file";
    Parsed d(L"Vantrel.exe /check /report");
    EXPECT_EQ(1, d.cmd.reportAsked);
}
