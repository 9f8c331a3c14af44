// The rules about the PC as a whole: spooler, spool folder, default printer, PDF printer, account,
// print logs and policy.
#include "diagnosis_fixture.h"

TEST(SpoolerRules, StateAndStartType) {
    Diag d;
    d.s->spoolerState = 0;
    d.s->spoolerStartType = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"The Print Spooler service is not running")) << "state not read";

    d.s->spoolerState = 1;
    d.run();
    const Finding* f = d.find(L"The Print Spooler service is not running");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityProblem, f->severity);
    EXPECT_EQ(StartSpooler, f->fix);
    EXPECT_EQ(-1, f->printerIndex);
    EXPECT_STREQ(L"", f->subject);
    EXPECT_EQ(
        filled(
            L"The Print Spooler is the part of Windows that every print job goes through. It is %ls right "
            L"now, "
            L"so NO printer on this PC can print, and the printer list in Windows appears empty.\n\nFix This "
            L"starts it. If it stops again within seconds, a damaged job or a bad printer driver is crashing "
            L"it: use Clear Stuck Jobs, and check the Windows Log view for the driver file it names.",
            L"stopped"),
        f->text);
    d.s->spoolerState = 7;
    d.run();
    EXPECT_NE(std::wstring::npos, std::wstring(d.find(L"The Print Spooler service is not running")->text)
                                      .find(L"It is not fully started right now"));

    d.s->spoolerState = 4;
    for (int type : {0, 2}) {
        d.s->spoolerStartType = type;
        d.run();
        EXPECT_EQ(nullptr, d.find(L"The Print Spooler is not set to start automatically")) << type;
    }
    d.s->spoolerStartType = 3;
    d.run();
    f = d.find(L"The Print Spooler is not set to start automatically");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityHeadsUp, f->severity);
    EXPECT_EQ(SpoolerAutoStart, f->fix);
    EXPECT_EQ(0u, std::wstring(f->text).find(L"The Print Spooler's startup type is \"Manual\". After"));
    d.s->spoolerStartType = 4;
    d.run();
    EXPECT_EQ(0u, std::wstring(d.find(L"The Print Spooler is not set to start automatically")->text)
                      .find(L"The Print Spooler's startup type is \"Disabled\"."));
}

TEST(SpoolerRules, LeftoverFilesOnlyWithoutWaitingJobs) {
    Diag d;
    d.printer(L"P");
    d.s->spoolFolderRead = 1;
    d.s->spoolFileCount = 6;
    d.s->spoolBytes = 412000;
    d.run();
    const Finding* f = d.find(L"Leftover job files in the spool folder");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityHeadsUp, f->severity);
    EXPECT_EQ(ClearStuckJobs, f->fix);
    EXPECT_EQ(0u, std::wstring(f->text).find(
                      L"There are 6 files (402 KB) in the spooler's folder, but no printer"));

    d.s->spoolBytes = 0x7FFFFFFFFFFFull;
    d.run();
    EXPECT_NE(
        std::wstring::npos,
        std::wstring(d.find(L"Leftover job files in the spool folder")->text).find(L"(137438953471 KB)"));

    d.job(0, 0, 1);
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Leftover job files in the spool folder"));
    d.s->jobCount = 0;
    d.s->spoolFolderRead = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Leftover job files in the spool folder"));
}

TEST(DefaultPrinterRules, NoDefaultVirtualDefaultAndWindowsManaging) {
    Diag d;
    d.s->defaultPrinter[0] = 0;
    d.printer(L"Real");
    d.run();
    const Finding* f = d.find(L"No default printer is set");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityHeadsUp, f->severity);
    EXPECT_EQ(OpenPrintersSettings, f->fix);
    EXPECT_EQ(
        filled(L"Programs that print without asking (\"quick print\" buttons, some dealership and accounting "
               L"software) have nowhere to send the job. Pick a default in Windows' Printers & scanners (Fix "
               L"This "
               L"opens it), or click a printer here and use Tools → Set Default with expert tools on."),
        f->text);

    d.s->spoolerState = 1; // stopped: the default-printer rules say nothing
    d.s->pdfPrinterMissing = 1;
    d.s->windowsManagesDefault = 1;
    d.printer(L"Second");
    d.run();
    EXPECT_EQ(nullptr, d.find(L"No default printer is set"));
    EXPECT_EQ(nullptr, d.find(L"Windows is allowed to change the default printer by itself"));
    EXPECT_EQ(nullptr, d.find(L"Microsoft Print to PDF is not installed"));
    d.demo = 1; // ... except in demonstration mode
    d.run();
    EXPECT_NE(nullptr, d.find(L"No default printer is set"));
    EXPECT_NE(nullptr, d.find(L"Windows is allowed to change the default printer by itself"));
    EXPECT_NE(nullptr, d.find(L"Microsoft Print to PDF is not installed"));

    Diag v;
    v.s->defaultPrinter[0] = 0;
    v.settings.checkVirtual = 0;
    PrinterRecord* pdf = v.printer(L"Microsoft Print to PDF", KindBuiltIn, L"Microsoft Print To PDF");
    pdf->isVirtual = 1;
    v.s->windowsManagesDefault = 1;
    v.s->pdfPrinterMissing = 1;
    v.run();
    EXPECT_EQ(nullptr, v.find(L"No default printer is set")) << "no real printer";
    EXPECT_NE(nullptr, v.find(L"Microsoft Print to PDF is not installed"));

    v.printer(L"Real");
    pdf->isDefault = 1;
    text_copy(v.s->defaultPrinter, _countof(v.s->defaultPrinter), pdf->name);
    v.run();
    f = v.find(L"The default printer is not a real printer");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityNote, f->severity);
    EXPECT_EQ(OpenPrintersSettings, f->fix);
    EXPECT_EQ(-1, f->printerIndex);
    EXPECT_EQ(0u, std::wstring(f->text).find(
                      L"The default printer is \"Microsoft Print to PDF\", which makes a file"));
    EXPECT_EQ(nullptr, v.find(L"Windows is allowed to change the default printer by itself"))
        << "one real printer";
    v.printer(L"Another real");
    v.run();
    f = v.find(L"Windows is allowed to change the default printer by itself");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(KeepDefaultPrinter, f->fix);
    EXPECT_EQ(SeverityNote, f->severity);

    Diag rd; // Remote Desktop printers are not real printers
    rd.s->defaultPrinter[0] = 0;
    rd.printer(L"Remote", KindRemoteDesktop);
    rd.run();
    EXPECT_EQ(nullptr, rd.find(L"No default printer is set"));
}

TEST(AccountRules, SystemDifferentUserAndCase) {
    Diag d;
    d.s->runningAsSystem = 1;
    d.s->sessionUserName[0] = 0;
    d.run();
    const Finding* f = d.find(L"Vantrel is running as SYSTEM, not as the person signed in");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityHeadsUp, f->severity);
    EXPECT_EQ(NoFix, f->fix);
    EXPECT_EQ(
        0u,
        std::wstring(f->text).find(
            L"Vantrel is running as \"SYSTEM\", but nobody is signed in to this PC's screen. In Windows"));
    EXPECT_NE(std::wstring::npos, std::wstring(f->text).find(L"(\\\\server\\printer)"));
    d.headless = 1; // "/check" and "/fix": remote-management tools run as SYSTEM on purpose
    d.run();
    EXPECT_EQ(SeverityNote, d.find(L"Vantrel is running as SYSTEM, not as the person signed in")->severity);
    d.headless = 0;

    d.s->runningAsSystem = 0;
    text_copy(d.s->userName, _countof(d.s->userName), L"helpdesk");
    text_copy(d.s->sessionUserName, _countof(d.s->sessionUserName), L"maria");
    d.run();
    f = d.find(L"Vantrel is running as a different user than the person signed in");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(0u, std::wstring(f->text).find(
                      L"Vantrel is running as \"helpdesk\", but the person signed in is \"maria\"."));

    text_copy(d.s->userName, _countof(d.s->userName), L"MARIA");
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Vantrel is running as a different user than the person signed in"));
    d.s->sessionUserName[0] = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Vantrel is running as a different user than the person signed in"))
        << "nobody signed in, not SYSTEM";
}

TEST(LogRules, DetailedLogAndPolicy) {
    Diag d;
    d.s->operationalLogKnown = 1;
    d.run();
    const Finding* f = d.find(L"Windows' detailed print log is switched off");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(EnableDetailedLog, f->fix);
    EXPECT_EQ(SeverityNote, f->severity);
    d.settings.readEventLog = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Windows' detailed print log is switched off"));
    d.settings.readEventLog = 1;
    d.s->operationalLogEnabled = 1;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Windows' detailed print log is switched off"));
    d.s->operationalLogEnabled = 0;
    d.s->operationalLogKnown = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Windows' detailed print log is switched off"));

    d.s->protectedPrintPolicy = 1;
    d.run();
    f = d.find(L"Windows protected print mode is on");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(NoFix, f->fix);
}

static void add_log(Diag& d, int level, uint64_t time) {
    LogEntry* e = snapshot_add_log_entry(d.s);
    e->level = level;
    e->time = time;
}

TEST(LogRules, ErrorsOfTheLastDay) {
    Diag d;
    d.s->adminLogRead = 1;
    add_log(d, 2, kTestNow - 10 * kMinute100ns);
    add_log(d, 3, kTestNow - 30 * kMinute100ns);
    add_log(d, 1, kTestNow - 59 * kMinute100ns);
    add_log(d, 2, kTestNow - 2 * 1440 * kMinute100ns); // two days ago
    add_log(d, 4, kTestNow - kMinute100ns);            // information
    add_log(d, 0, kTestNow - kMinute100ns);            // log-always
    add_log(d, 2, kTestNow + kMinute100ns);            // in the future
    add_log(d, 2, kTestNow - 1440 * kMinute100ns);     // exactly a day ago: no longer "less than 24 hours"
    d.run();
    const Finding* f = d.find(L"Windows logged print errors in the last 24 hours");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(ShowPrintLog, f->fix);
    EXPECT_EQ(SeverityNote, f->severity);
    EXPECT_EQ(
        filled(L"Windows recorded %d print error%ls or warning%ls in the last day. They often name the exact "
               L"document, printer or driver file that failed. Fix This shows them in the list below (the "
               L"Windows Log view).",
               3, L"s", L"s"),
        f->text);

    Diag one;
    one.s->adminLogRead = 1;
    add_log(one, 2, kTestNow); // now itself counts
    add_log(one, 2, kTestNow - 1440 * kMinute100ns + 1);
    one.s->logEntries[1].channel = 1; // the Operational log counts too
    one.run();
    EXPECT_NE(std::wstring::npos,
              std::wstring(one.find(L"Windows logged print errors in the last 24 hours")->text)
                  .find(L"recorded 2 print errors or warnings in"));
    one.s->logCount = 1;
    one.run();
    EXPECT_NE(std::wstring::npos,
              std::wstring(one.find(L"Windows logged print errors in the last 24 hours")->text)
                  .find(L"recorded 1 print error or warning in"));
    one.s->adminLogRead = 0;
    one.run();
    EXPECT_EQ(nullptr, one.find(L"Windows logged print errors in the last 24 hours"));
}
