// The collector's reads of the print policies, pool ports, spooler crashes and printer connections,
// over the made-up PC.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/collector.h"
#include "core/text.h"
#include "fake_pc.h"

namespace {

struct Held {
    Snapshot* s;
    explicit Held(Snapshot* snapshot) : s(snapshot) {}
    ~Held() { snapshot_free(s); }
    Snapshot* operator->() const { return s; }
};

FakePrinter printer(const std::wstring& name, const std::wstring& port) {
    FakePrinter p;
    p.name = name;
    p.port = port;
    p.driver = L"HP LaserJet PCL 6";
    return p;
}

const std::wstring kHklm = L"HKLM\\";

} // namespace

TEST(CollectorPrint, PoliciesAndBuildAreReadAbsentOnesStayAbsent) {
    FakePc pc;
    pc.set_dword(kHklm + VANTREL_POINT_AND_PRINT_KEY, L"RestrictDriverInstallationToAdministrators", 0);
    pc.set_dword(kHklm + VANTREL_POINT_AND_PRINT_KEY, L"UpdatePromptSettings", 2);
    pc.set_dword(kHklm + VANTREL_PRINT_KEY, L"RpcAuthnLevelPrivacyEnabled", 0);
    pc.set_dword(kHklm + VANTREL_PRINTER_RPC_KEY, L"RpcUseNamedPipeProtocol", 1);
    pc.set_string(kHklm + VANTREL_CURRENT_VERSION_KEY, L"CurrentBuild", L"22631");
    pc.set_string(kHklm + VANTREL_POINT_AND_PRINT_KEY, L"NoWarningNoElevationOnInstall", L"1"); // not a DWORD
    Held s(run_fake_check(&pc, 0));
    EXPECT_EQ(1, s->restrictDriverInstallation.present);
    EXPECT_EQ(0u, s->restrictDriverInstallation.value);
    EXPECT_EQ(0, s->noWarningNoElevationOnInstall.present);
    EXPECT_EQ(2u, s->updatePromptSettings.value);
    EXPECT_EQ(1, s->rpcAuthnLevelPrivacy.present);
    EXPECT_EQ(0u, s->rpcAuthnLevelPrivacy.value);
    EXPECT_EQ(1u, s->rpcUseNamedPipe.value);
    EXPECT_EQ(22631, s->windowsBuild);

    FakePc bare;
    Held none(run_fake_check(&bare, 0));
    EXPECT_EQ(0, none->restrictDriverInstallation.present);
    EXPECT_EQ(0, none->rpcAuthnLevelPrivacy.present);
    EXPECT_EQ(0, none->windowsBuild);
}

TEST(CollectorPrint, PoolPortsAreTestedOnceEachAndKeptInTheCache) {
    FakePc pc;
    for (const wchar_t* ip : {L"10.0.0.5", L"10.0.0.6", L"10.0.0.7"})
        pc.add_tcp_port(std::wstring(L"IP_") + ip, ip);
    pc.ports.push_back({L"USB001", L"USB Monitor"});
    pc.printers.push_back(printer(L"Pool", L"IP_10.0.0.5, IP_10.0.0.6,IP_10.0.0.7,USB001"));
    pc.printers.push_back(printer(L"Side door", L"IP_10.0.0.7"));
    pc.silent.insert(L"10.0.0.6");
    Held s(run_fake_check(&pc, 1));
    // Printers' addresses first, then the pool ports no printer covers; the USB port has no address.
    EXPECT_EQ((std::vector<std::wstring>{L"10.0.0.5", L"10.0.0.7", L"10.0.0.6"}), pc.netTargets);
    EXPECT_EQ(0, pc.netAskSnmp[2]) << "a pool port is only asked whether it answers";
    ASSERT_EQ(4, s->poolMemberCount);
    EXPECT_EQ(KindUsb, s->poolMembers[3].kind);
    EXPECT_EQ(0, s->poolMembers[3].tested);
    EXPECT_EQ(1, s->poolMembers[1].tested);
    EXPECT_EQ(0, s->poolMembers[1].answered);
    EXPECT_EQ(1, s->poolMembers[2].answered) << "the side door's test covers it";
    EXPECT_EQ(0, s->poolMembers[0].position);
    EXPECT_STREQ(L"IP_10.0.0.6", s->poolMembers[1].portName) << "blanks around the commas are not part of it";

    // A check without network tests shows the pool ports' last results from the cache.
    Held later(run_fake_check(&pc, 0));
    EXPECT_EQ(3u, pc.netTargets.size());
    EXPECT_EQ(1, later->poolMembers[1].tested);
    EXPECT_EQ(0, later->poolMembers[1].answered);
    Held one(run_fake_check(&pc, 1, L"10.0.0.6"));
    EXPECT_EQ(L"10.0.0.6", pc.netTargets.back()) << "a request for one address tests that pool port";
    EXPECT_EQ(4u, pc.netTargets.size());
}

TEST(CollectorPrint, SpoolerCrashesOfTheLastDayUnderTheLocalName) {
    FakePc pc;
    const uint64_t hour = 36000000000ull;
    pc.spoolerDisplayName = L"Druckwarteschlange";
    pc.crashes = {{7034, L"Druckwarteschlange", pc.now - 2 * hour},
                  {7031, L"druckwarteschlange", pc.now - 1 * hour},
                  {7034, L"Windows Update", pc.now - hour / 2},
                  {7034, L"Druckwarteschlange", pc.now - 25 * hour},
                  {7036, L"Druckwarteschlange", pc.now - hour / 4},
                  {7034, L"Druckwarteschlange", pc.now + hour}}; // a clock that jumped
    Held s(run_fake_check(&pc, 0));
    EXPECT_EQ(1, s->serviceLogRead);
    EXPECT_EQ(2, s->spoolerCrashCount);
    EXPECT_EQ(pc.now - hour, s->lastSpoolerCrash);
    const uint64_t minutes = (pc.now - hour) / 600000000ull; // the made-up PC's local time is UTC
    wchar_t latest[40];
    format_time_stamp(latest, _countof(latest), 12, 9, 2026, (int)(minutes / 60 % 24), (int)(minutes % 60));
    EXPECT_STREQ(latest, s->lastSpoolerCrashText);

    Settings quiet = default_settings();
    quiet.readEventLog = 0;
    Held off(run_fake_check(&pc, 0, L"", &quiet));
    EXPECT_EQ(0, pc.called("list_service_crashes"));
    EXPECT_EQ(0, off->spoolerCrashCount);
    pc.serviceLogReadable = 0;
    Held unreadable(run_fake_check(&pc, 0));
    EXPECT_EQ(0, unreadable->serviceLogRead);
    EXPECT_EQ(0, unreadable->spoolerCrashCount);
}

TEST(CollectorPrint, ConnectionsAreOpenedOnlyWhenTheirServerAnswers) {
    FakePc pc;
    pc.printers.push_back(printer(L"\\\\PRINTSRV\\Front", L"\\\\PRINTSRV\\Front"));
    pc.printers.push_back(printer(L"\\\\OLDSRV\\Back", L"\\\\OLDSRV\\Back"));
    pc.printers.push_back(printer(L"Local", L"USB001"));
    pc.printServers.insert(L"PRINTSRV");
    pc.connectionErrors[L"\\\\PRINTSRV\\Front"] = {1801, L"The printer name is invalid."};
    Held s(run_fake_check(&pc, 1));
    EXPECT_EQ(std::vector<std::wstring>{L"\\\\PRINTSRV\\Front"}, pc.connectionsOpened)
        << "OLDSRV answers neither way";
    EXPECT_EQ(1, s->printers[0].net.rpcPortOpen);
    EXPECT_EQ(1801u, s->printers[0].connectError);
    EXPECT_STREQ(L"The printer name is invalid.", s->printers[0].connectErrorText);
    EXPECT_EQ(0u, s->printers[1].connectError);

    // Every check asks again, from the server's cached answer; a connection that opens keeps nothing.
    pc.connectionErrors.clear();
    Held again(run_fake_check(&pc, 0));
    EXPECT_EQ(2u, pc.connectionsOpened.size());
    EXPECT_EQ(0u, again->printers[0].connectError);
    EXPECT_STREQ(L"", again->printers[0].connectErrorText);
}
