// The rules about print servers, refused connections, Point and Print, RPC privacy, a crashing
// spooler, pools and Windows' IPP class driver, on plain snapshot records.
#include "diagnosis_fixture.h"

namespace {

const wchar_t* kNamedPipesOnly = L"The print server blocks RPC, which this PC uses to reach it";

// A connection to \\PRINTSRV\Front, whose server the network test reached at 10.0.0.20.
PrinterRecord* connection(Diag& d, const wchar_t* name = L"\\\\PRINTSRV\\Front") {
    PrinterRecord* p = d.net_printer(name, L"10.0.0.20");
    p->kind = KindShared;
    p->isConnection = 1;
    text_copy(p->address, _countof(p->address), L"PRINTSRV");
    text_copy(p->portName, _countof(p->portName), L"\\\\PRINTSRV\\Front");
    p->net.portOpen[0] = 0;
    p->net.portOpen[5] = 1;
    p->net.rpcPortOpen = 1;
    return p;
}

std::vector<std::wstring> rules_of(const Diag& d, int printer) {
    std::vector<std::wstring> out;
    for (int i = 0; i < d.count(); i++)
        if (d.at(i).printerIndex == printer) out.push_back(d.at(i).rule);
    return out;
}

const Finding* by_rule(const Diag& d, const wchar_t* rule) {
    for (int i = 0; i < d.count(); i++)
        if (wcscmp(d.at(i).rule, rule) == 0) return &d.at(i);
    return nullptr;
}

} // namespace

// Which rule a connection's server gets, by what it answers and how this PC reaches servers.
TEST(PrintServer, NameSilenceAndTheWayThisPcReachesIt) {
    const struct {
        int resolved, rpc, sharing, build;
        PolicyValue pipes;
        const wchar_t* rule; // null: none
    } kCases[] = {
        {1, 1, 1, 22631, {0, 0}, nullptr},
        {0, 1, 1, 22631, {0, 0}, L"print-server-name"},
        {1, 0, 0, 22631, {0, 0}, L"print-server-silent"}, // a ping alone is no way in
        {1, 0, 1, 22631, {0, 0}, L"print-server-named-pipes-only"},
        {1, 0, 1, 22621, {1, 0}, L"print-server-named-pipes-only"}, // 0 is RPC over TCP too
        {1, 0, 1, 22631, {1, 1}, nullptr},                          // this PC uses named pipes
        {1, 0, 1, 19045, {0, 0}, nullptr},                          // before 22H2: named pipes
        {1, 1, 0, 22631, {1, 1}, L"share-port-closed"},             // named pipes need 445
    };
    for (const auto& c : kCases) {
        Diag d;
        PrinterRecord* p = connection(d);
        p->net.resolved = c.resolved, p->net.rpcPortOpen = c.rpc, p->net.portOpen[5] = c.sharing;
        d.s->windowsBuild = c.build, d.s->rpcUseNamedPipe = c.pipes;
        d.run();
        EXPECT_EQ(c.rule ? std::vector<std::wstring>{c.rule} : std::vector<std::wstring>{}, rules_of(d, 0))
            << c.resolved << c.rpc << c.sharing << " " << c.build;
        if (c.rule) {
            EXPECT_EQ(SeverityProblem, d.at(0).severity);
        }
    }
    Diag d;
    PrinterRecord* p = connection(d);
    p->net.rpcPortOpen = 0;
    d.s->windowsBuild = 22631;
    d.run();
    EXPECT_STREQ(kNamedPipesOnly, d.at(0).title);
    EXPECT_EQ(UseNamedPipesForPrinting, d.at(0).fix);
    EXPECT_STREQ(L"PRINTSRV", d.at(0).subject) << "the server the stop-gap is for";
}

TEST(PrintServer, RefusedConnectionsAreExplainedByTheirCode) {
    Diag d;
    PrinterRecord* p = connection(d);
    d.driver(L"Brother HL-L2350DW series"); // the connection's driver is installed
    const struct {
        uint32_t code;
        const wchar_t* start;
        FixKind fix;
    } kCases[] = {
        {1801, L"Windows answered \"The printer name is invalid.\" (error 0x00000709) when opening", NoFix},
        {3019, L"Windows answered \"The printer name is invalid.\" (error 0x00000BCB): it needs this", NoFix},
        {126, L"Windows answered \"The printer name is invalid.\" (error 0x0000007E): a file of this",
         FindDriver},
        {0x11b,
         L"Windows refused to open this printer, shared by \"PRINTSRV\", with error 0x0000011B: \"The "
         L"printer name is invalid.\".",
         NoFix},
    };
    text_copy(p->connectErrorText, _countof(p->connectErrorText), L"The printer name is invalid.");
    for (const auto& c : kCases) {
        p->connectError = c.code;
        d.run();
        ASSERT_EQ(std::vector<std::wstring>{L"connection-refused"}, rules_of(d, 0)) << c.code;
        EXPECT_EQ(0u, std::wstring(d.at(0).text).find(c.start)) << narrow(d.at(0).text);
        EXPECT_EQ(c.fix, d.at(0).fix);
    }
    p->connectErrorText[0] = 0;
    p->connectError = 5;
    d.run();
    EXPECT_NE(std::wstring::npos, std::wstring(d.at(0).text).find(L"\"(Windows gave no description)\""));
    p->connectError = 0;
    d.run();
    EXPECT_TRUE(rules_of(d, 0).empty());
}

TEST(PointAndPrint, AdminNeededOnlyWhileTheRestrictionIsOn) {
    Diag d;
    PrinterRecord* p = connection(d);
    d.driver(L"Some other driver"); // the driver list was read; this connection's driver is not in it
    p->driverFound = 0;
    d.run();
    ASSERT_EQ(std::vector<std::wstring>{L"point-and-print-admin-needed"}, rules_of(d, 0));
    EXPECT_EQ(SeverityNote, d.at(0).severity);
    EXPECT_NE(std::wstring::npos,
              std::wstring(d.at(0).text).find(L"its driver \"HP LaserJet Pro M404-M405 PCL-6 (V4)\""));
    d.s->restrictDriverInstallation = {1, 1};
    d.run();
    EXPECT_EQ(std::vector<std::wstring>{L"point-and-print-admin-needed"}, rules_of(d, 0));

    d.s->restrictDriverInstallation = {1, 0};
    d.run();
    EXPECT_TRUE(rules_of(d, 0).empty()) << "anyone may install the driver";

    // The refusal that says the same thing is enough on its own.
    d.s->restrictDriverInstallation = {0, 0};
    p->connectError = 3019;
    d.run();
    EXPECT_EQ(std::vector<std::wstring>{L"connection-refused"}, rules_of(d, 0));
}

TEST(PointAndPrint, UnprotectedOnlyWithTheRestrictionOffAndAPromptSwitchedOff) {
    Diag d;
    d.printer(L"Front");
    const struct {
        PolicyValue restrict, install, update;
        const wchar_t* which; // null: no finding
    } kCases[] = {
        {{1, 0}, {1, 1}, {0, 0}, L"NoWarningNoElevationOnInstall is not 0"},
        {{1, 0}, {0, 0}, {1, 2}, L"UpdatePromptSettings is not 0"},
        {{1, 0}, {1, 1}, {1, 1}, L"NoWarningNoElevationOnInstall and UpdatePromptSettings is not 0"},
        {{1, 0}, {1, 0}, {1, 0}, nullptr},
        {{0, 0}, {1, 1}, {1, 1}, nullptr}, // absent: administrators only
        {{1, 1}, {1, 1}, {1, 1}, nullptr},
    };
    for (const auto& c : kCases) {
        d.s->restrictDriverInstallation = c.restrict;
        d.s->noWarningNoElevationOnInstall = c.install;
        d.s->updatePromptSettings = c.update;
        d.run();
        const Finding* f = by_rule(d, L"point-and-print-unprotected");
        ASSERT_EQ(c.which != nullptr, f != nullptr);
        if (!f) continue;
        EXPECT_EQ(SeverityHeadsUp, f->severity);
        EXPECT_EQ(RestorePointAndPrint, f->fix);
        EXPECT_EQ(-1, f->printerIndex);
        EXPECT_NE(std::wstring::npos, std::wstring(f->text).find(c.which)) << narrow(f->text);
        EXPECT_NE(std::wstring::npos,
                  std::wstring(f->text).find(L"A group policy may set the old values again"));
    }
}

TEST(RpcPrivacy, OffOnlyWhenTheValueIsZero) {
    Diag d;
    d.printer(L"Front");
    for (PolicyValue v : {PolicyValue{0, 0}, PolicyValue{1, 1}, PolicyValue{1, 0}}) {
        d.s->rpcAuthnLevelPrivacy = v;
        d.run();
        const Finding* f = by_rule(d, L"rpc-privacy-off");
        ASSERT_EQ(v.present && v.value == 0, f != nullptr);
        if (f) {
            EXPECT_EQ(SeverityHeadsUp, f->severity);
            EXPECT_EQ(RemoveRpcPrivacyOverride, f->fix);
            EXPECT_NE(std::wstring::npos,
                      std::wstring(f->text).find(L"matters only on a PC that shares printers"));
        }
    }
}

TEST(SpoolerCrashes, TwoOrMoreNameTheNewestThirdPartyDriver) {
    Diag d;
    d.printer(L"Front");
    DriverRecord* a = d.driver(L"Brother HL-L2350DW series");
    text_copy(a->date, _countof(a->date), L"06/30/2021");
    a->printerCount = 1;
    DriverRecord* b = d.driver(L"Kyocera TASKalfa 3253ci KX");
    text_copy(b->date, _countof(b->date), L"01/15/2024");
    b->printerCount = 2;
    DriverRecord* ms = d.driver(L"Microsoft IPP Class Driver");
    text_copy(ms->date, _countof(ms->date), L"06/21/2026");
    text_copy(ms->maker, _countof(ms->maker), L"Microsoft");
    ms->printerCount = 1;
    text_copy(d.driver(L"Unused")->date, 16, L"12/01/2025"); // newer, but no printer uses it
    d.s->spoolerCrashCount = 1;
    text_copy(d.s->lastSpoolerCrashText, _countof(d.s->lastSpoolerCrashText), L"12/09/2026 9:41 AM");
    d.run();
    EXPECT_EQ(nullptr, by_rule(d, L"spooler-crashing")) << "one crash can be anything";

    d.s->spoolerCrashCount = 3;
    d.run();
    const Finding* f = by_rule(d, L"spooler-crashing");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(SeverityProblem, f->severity);
    EXPECT_EQ(0u,
              std::wstring(f->text).find(L"Windows logged 3 unexpected ends of the Print Spooler in the last "
                                         L"24 hours, the last one at 12/09/2026 9:41 AM."));
    EXPECT_NE(std::wstring::npos,
              std::wstring(f->text).find(
                  L"is \"Kyocera TASKalfa 3253ci KX\" (dated 01/15/2024, used by 2 printers)"));
}

TEST(Pools, ASilentMemberBeyondTheFirstPortIsNamed) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"Pool", L"10.0.0.6");
    text_copy(p->portName, _countof(p->portName), L"IP_10.0.0.6,IP_10.0.0.7");
    for (int k = 0; k < 2; k++) {
        PoolMember* m = snapshot_add_pool_member(d.s);
        m->printerIndex = 0;
        m->position = k;
        text_format(m->portName, _countof(m->portName), L"IP_10.0.0.%d", 6 + k);
        text_format(m->address, _countof(m->address), L"10.0.0.%d", 6 + k);
        m->tested = 1;
        m->answered = k == 0;
    }
    d.run();
    ASSERT_EQ(std::vector<std::wstring>{L"pool-member-silent"}, rules_of(d, 0));
    EXPECT_EQ(SeverityHeadsUp, d.at(0).severity);
    EXPECT_STREQ(L"IP_10.0.0.7", d.at(0).subject);
    EXPECT_NE(std::wstring::npos,
              std::wstring(d.at(0).text).find(L"port \"IP_10.0.0.7\" (10.0.0.7) does not answer"));

    d.s->poolMembers[1].tested = 0;
    d.s->poolMembers[0].answered = 0; // the printer's own address: the network rules judge it
    d.run();
    EXPECT_TRUE(rules_of(d, 0).empty());
}

TEST(IppClassDriver, ANoteAndTheCopyOnTheMakersDriver) {
    Diag d;
    PrinterRecord* ipp = d.net_printer(L"HP LaserJet (IPP)", L"10.0.0.30");
    text_copy(ipp->driverName, _countof(ipp->driverName), L"Microsoft IPP Class Driver");
    d.net_printer(L"HP LaserJet M404", L"10.0.0.30");
    d.net_printer(L"Elsewhere", L"10.0.0.31");
    d.run();
    EXPECT_EQ((std::vector<std::wstring>{L"ipp-class-driver", L"ipp-class-duplicate"}), rules_of(d, 0));
    const Finding* dup = by_rule(d, L"ipp-class-duplicate");
    EXPECT_EQ(OpenPrintersSettings, dup->fix);
    EXPECT_EQ(0u,
              std::wstring(dup->text).find(L"This printer and \"HP LaserJet M404\" print to the same address "
                                           L"(10.0.0.30)"));
    EXPECT_EQ(FindDriver, by_rule(d, L"ipp-class-driver")->fix);
    EXPECT_TRUE(rules_of(d, 1).empty()) << "the maker's copy is the one to keep by default";

    text_copy(d.s->printers[1].driverName, _countof(d.s->printers[1].driverName),
              L"microsoft ipp class driver");
    d.run();
    EXPECT_EQ(nullptr, by_rule(d, L"ipp-class-duplicate")) << "two IPP copies are not this case";
}
