// The rules about one printer as Windows sees it, and its jobs.
#include "diagnosis_fixture.h"

TEST(PrinterRules, PausedAndUseOfflineTogether) {
    Diag d;
    PrinterRecord* p = d.printer(L"Front Desk");
    p->useOffline = 1;
    p->status = 0x1 | 0x80;
    d.job(0, 0, 90);
    d.run();
    EXPECT_EQ(
        (std::vector<std::wstring>{L"\"Use Printer Offline\" is switched on", L"The printer is paused"}),
        d.titles_of(0))
        << "offline first, no cable finding while Use Printer Offline is ticked, no waiting-jobs finding";
    EXPECT_EQ(UseOfflineOff, d.at(0).fix);
    EXPECT_EQ(ResumePrinter, d.at(1).fix);
    EXPECT_STREQ(L"Front Desk", d.at(0).subject);
    EXPECT_EQ(0, d.at(0).printerIndex);

    p->useOffline = 0;
    p->status = 0x1;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Jobs have been waiting a long time")) << "paused";
    p->status = 0;
    p->useOffline = 1;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"Jobs have been waiting a long time")) << "Use Printer Offline";
}

TEST(PrinterRules, WindowsStatusRowsInTableOrder) {
    Diag d;
    PrinterRecord* p = d.printer(L"P");
    p->status = 0x2 | 0x8;
    d.run();
    ASSERT_EQ(2, d.count());
    EXPECT_STREQ(L"Windows reports: paper jam", d.at(0).title);
    EXPECT_STREQ(L"Clear the jam at the printer: open the covers it points to, pull the paper out gently, "
                 L"close everything.",
                 d.at(0).text);
    EXPECT_STREQ(L"Windows reports: the printer is in an error state", d.at(1).title);
    EXPECT_EQ(NoFix, d.at(1).fix);

    p->status = 0xFFFFFFFFu & ~0x1u & ~0x80u;
    d.run();
    EXPECT_EQ(
        (std::vector<std::wstring>{
            L"Windows reports: paper jam", L"Windows reports: out of paper",
            L"Windows reports: a door is open", L"Windows reports: out of toner or ink",
            L"Windows reports: the printer needs attention", L"Windows reports: output tray full",
            L"Windows reports: printer not available", L"Windows reports: the printer is in an error state",
            L"Windows reports: toner or ink is low"}),
        d.titles_of(0));
    EXPECT_EQ(SeverityHeadsUp, d.find(L"Windows reports: toner or ink is low")->severity);
}

TEST(PrinterRules, OfflineByKindAndTestState) {
    Diag d;
    PrinterRecord* usb = d.printer(L"Cable");
    usb->status = 0x80;
    d.run();
    const Finding* f = d.find(L"The printer is offline (cable)");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(0u,
              std::wstring(f->text).find(L"This printer connects by USB cable and Windows cannot see it."));
    usb->kind = KindParallelSerial;
    usb->net.tested = 1; // a tested cable printer is still judged by its cable
    d.run();
    EXPECT_EQ(0u, std::wstring(d.find(L"The printer is offline (cable)")->text)
                      .find(L"This printer connects by parallel/serial cable and"));

    Diag n;
    PrinterRecord* p = n.net_printer(L"Net", L"10.0.0.9");
    p->status = 0x80;
    p->net.tested = 0;
    n.run();
    f = n.find(L"Windows shows this printer as Offline");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(RunNetworkTest, f->fix);
    EXPECT_STREQ(
        L"Windows believes it cannot reach this printer. Run the network test (Fix This) to find out whether "
        L"the printer is really unreachable or Windows is simply wrong.",
        f->text);
    p->net.tested = 1;
    n.run();
    EXPECT_EQ(nullptr, n.find(L"Windows shows this printer as Offline")) << "the network rules take over";

    Diag w;
    PrinterRecord* wsd = w.printer(L"Wsd", KindWsd);
    wsd->status = 0x80;
    w.run();
    f = w.find(L"Windows shows this printer as Offline");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(NoFix, f->fix);
    EXPECT_STREQ(
        L"Windows believes it cannot reach this printer. Check that it is switched on and connected.",
        f->text);
}

TEST(PrinterRules, WsdLprRemoteDesktop) {
    Diag d;
    d.printer(L"Wsd", KindWsd);
    PrinterRecord* addressed = d.printer(L"Wsd with address", KindWsd);
    text_copy(addressed->address, _countof(addressed->address), L"192.168.1.77");
    d.run();
    const wchar_t* wsd_text = L"Windows found this printer by itself and connected it through \"WSD\" (Web "
                              L"Services for Devices). WSD is "
                              L"convenient but fragile: the printer goes Offline at random, especially after "
                              L"it sleeps, the PC changes "
                              L"networks, or the router restarts.\n\nIf this printer keeps dropping offline, "
                              L"the lasting fix is to give the "
                              L"printer a fixed IP address and change it to a Standard TCP/IP port: Tools → "
                              L"Properties → Ports → Add Port → "
                              L"Standard TCP/IP Port, and type the printer's address.%ls%ls";
    ASSERT_EQ(2, d.count());
    EXPECT_EQ(filled(wsd_text, L"", L""), d.at(0).text);
    EXPECT_EQ(filled(wsd_text, L"\n\nThis printer's address appears to be ", L"192.168.1.77"), d.at(1).text);
    EXPECT_EQ(SeverityHeadsUp, d.at(0).severity);

    Diag l;
    PrinterRecord* lpr = l.net_printer(L"Lpr", L"10.0.0.5");
    lpr->protocol = 2;
    lpr->portNumber = 515;
    lpr->net.portOpen[1] = 1;
    l.run();
    EXPECT_EQ(std::vector<std::wstring>{L"Uses LPR printing instead of the usual RAW (port 9100)"},
              l.titles_of(0));

    Diag r;
    PrinterRecord* rd = r.printer(L"HP (redirected 2)", KindRemoteDesktop, L"Remote Desktop Easy Print");
    rd->status = 0x1 | 0x80 | 0x8;
    rd->useOffline = 1;
    rd->driverFound = 0;
    r.driver(L"Something");
    r.job(0, 0x2, 99);
    r.run();
    EXPECT_EQ(std::vector<std::wstring>{L"This printer comes from a Remote Desktop session"}, r.titles_of(0));
    EXPECT_EQ(SeverityNote, r.at(0).severity);
}

TEST(PrinterRules, DriverFindings) {
    Diag d;
    PrinterRecord* p = d.printer(L"P");
    p->driverFound = 0;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"The printer's driver is missing")) << "no drivers listed at all";
    d.driver(L"Other driver");
    p->driverFilesMissing = 1;
    d.run();
    const Finding* f = d.find(L"The printer's driver is missing");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(FindDriver, f->fix);
    EXPECT_EQ(0u, std::wstring(f->text).find(
                      L"This printer says it uses the driver \"Brother HL-L2350DW series\", but"));
    EXPECT_EQ(nullptr, d.find(L"\"Driver is unavailable\" — the driver's files are missing"))
        << "only one of them";

    p->isConnection = 1;
    d.run();
    EXPECT_EQ(nullptr, d.find(L"The printer's driver is missing")) << "a print-server connection";
    f = d.find(L"\"Driver is unavailable\" — the driver's files are missing");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(0u, std::wstring(f->text).find(
                      L"Windows still lists the driver \"Brother HL-L2350DW series\" for this"));

    Diag g;
    g.printer(L"Text", KindUsb, L"Generic / Text Only");
    g.printer(L"Class", KindUsb, L"Microsoft IPP Class Driver");
    g.printer(L"Point", KindUsb, L"Microsoft enhanced Point and Print compatibility driver");
    g.printer(L"TextClass", KindUsb, L"Generic / Text Only Class Driver");
    g.run();
    EXPECT_EQ(std::vector<std::wstring>{L"Uses the \"Generic / Text Only\" driver"}, g.titles_of(0));
    EXPECT_EQ(SeverityHeadsUp, g.find(L"Uses the \"Generic / Text Only\" driver")->severity);
    // Windows' IPP class driver has a note of its own instead (rules_print_test.cpp).
    EXPECT_EQ(std::vector<std::wstring>{L"Uses Windows' own IPP class driver"}, g.titles_of(1));
    EXPECT_EQ(std::vector<std::wstring>{L"Uses a generic Windows driver, not the manufacturer's"},
              g.titles_of(2));
    EXPECT_EQ(std::vector<std::wstring>{L"Uses the \"Generic / Text Only\" driver"}, g.titles_of(3));
}

TEST(PrinterRules, Pcl5NoteAndDriverIndexBounds) {
    Diag d;
    PrinterRecord* p = d.printer(L"Old", KindUsb, L"HP LaserJet 4250 PCL 5e");
    d.driver(L"HP LaserJet 4250 PCL 5e", LanguagePcl5);
    p->driverIndex = 0;
    d.run();
    EXPECT_EQ(std::vector<std::wstring>{L"Uses an older PCL 5 driver"}, d.titles_of(0));
    for (int bad : {-1, 1, 149, 1000, -5}) {
        p->driverIndex = bad;
        d.run();
        EXPECT_TRUE(d.titles_of(0).empty()) << bad;
    }
}

TEST(PrinterRules, DuplicateNames) {
    Diag d;
    d.printer(L"Canon (Copy 1)");
    d.printer(L"Canon (copy 12)");
    d.printer(L"Canon Copy 1");
    d.printer(L"Canon (Copy1)");
    PrinterRecord* c = d.printer(L"\\\\srv\\Canon (Copy 1)");
    c->isConnection = 1;
    d.run();
    EXPECT_EQ(std::vector<std::wstring>{L"This looks like a duplicate printer"}, d.titles_of(0));
    EXPECT_EQ(std::vector<std::wstring>{L"This looks like a duplicate printer"}, d.titles_of(1));
    EXPECT_TRUE(d.titles_of(2).empty());
    EXPECT_TRUE(d.titles_of(3).empty());
    EXPECT_TRUE(d.titles_of(4).empty());
}

TEST(JobRules, WaitingTimeDeletingAndErrors) {
    Diag d;
    d.printer(L"P");
    d.job(0, 0, 14);
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty()) << "14 minutes is not yet long";
    d.job(0, 0, 15);
    d.run();
    const Finding* f = d.find(L"Jobs have been waiting a long time");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityHeadsUp, f->severity);
    EXPECT_EQ(CancelPrinterJobs, f->fix);
    EXPECT_EQ(
        filled(
            L"The oldest job in this queue was sent %d minutes ago and has not printed. Something is holding "
            L"the queue - see this printer's other findings. If the printer itself is fine, cancel the "
            L"waiting jobs (Fix This) and print again.",
            15),
        f->text);

    Diag e;
    e.printer(L"P");
    e.job(0, 0x4, 0); // being deleted right now
    e.run();
    EXPECT_TRUE(e.titles_of(0).empty());
    e.job(0, 0x2, 3);
    e.run();
    f = e.find(L"A job has an error and is blocking the queue");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(CancelPrinterJobs, f->fix);
    EXPECT_EQ(0u,
              std::wstring(f->text).find(L"1 job in this printer's queue shows \"Error\". Windows keeps"));
    e.job(0, 0x12, 70);
    e.run();
    EXPECT_EQ(std::vector<std::wstring>{L"A job has an error and is blocking the queue"}, e.titles_of(0));
    EXPECT_EQ(
        0u, std::wstring(e.at(0).text).find(L"2 jobs in this printer's queue show \"Error\". Windows keeps"));
    e.job(0, 0x4, 1);
    e.run();
    EXPECT_EQ(std::vector<std::wstring>{L"A job is stuck \"Deleting\" and blocking the queue"},
              e.titles_of(0));
    EXPECT_EQ(ClearStuckJobs, e.at(0).fix);
    EXPECT_EQ(SeverityProblem, e.at(0).severity);
}

TEST(JobRules, JobsOfOtherPrintersAndBadIndexes) {
    Diag d;
    d.printer(L"A");
    d.printer(L"B");
    d.job(1, 0x2, 5);
    d.job(-1, 0x4, 50);
    d.job(64, 0x4, 50);
    d.job(1000, 0x2, 50);
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty());
    EXPECT_EQ(std::vector<std::wstring>{L"A job has an error and is blocking the queue"}, d.titles_of(1));
    EXPECT_TRUE(d.titles_of(-1).empty()) << "stray jobs are nobody's";
}
