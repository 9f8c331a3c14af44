// Fix This: the finding it picks and the change (with its undo record) each fix plans.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/findings.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "fixes/fix_this.h"
#include "tests/support/test_support.h"

namespace {

// A PDF printer, the default network printer "Front Desk" and a printer shared from ACCOUNTS.
std::unique_ptr<Snapshot> office() {
    std::unique_ptr<Snapshot> s(new Snapshot());
    s->printerCount = 3;
    text_copy(s->printers[0].name, _countof(s->printers[0].name), L"Microsoft Print to PDF");
    s->printers[0].isVirtual = 1, s->printers[0].kind = KindBuiltIn;
    text_copy(s->printers[1].name, _countof(s->printers[1].name), L"Front Desk");
    text_copy(s->printers[1].address, _countof(s->printers[1].address), L"127.0.0.2");
    s->printers[1].kind = KindTcpIp, s->printers[1].isDefault = 1;
    text_copy(s->printers[2].name, _countof(s->printers[2].name), L"\\\\ACCOUNTS\\Laser");
    text_copy(s->printers[2].address, _countof(s->printers[2].address), L"ACCOUNTS");
    s->printers[2].kind = KindShared;
    return s;
}

TEST(FixChoice, WhichFindingTheUserMeans) {
    using Findings = std::vector<std::tuple<Severity, int32_t, FixKind>>;
    const Findings none,
        ok = {{SeverityOk, -1, NoFix}},
        notes = {{SeverityNote, -1, EnableDetailedLog}, {SeverityNote, 1, OpenWebPage}},
        unfixable_first = {{SeverityProblem, -1, NoFix}, {SeverityHeadsUp, 1, RestartSpooler}},
        printer_notes = {{SeverityProblem, 1, NoFix},
                         {SeverityNote, 2, OpenWebPage},
                         {SeverityNote, 1, OpenWebPage}},
        pc_fix = {
            {SeverityHeadsUp, -1, RestartSpooler}, {SeverityProblem, 1, NoFix}, {SeverityNote, 1, NoFix}};
    const struct {
        const Findings& findings;
        FixSelection selection; // bottom list used last, view, bottom row, printer row
        int32_t row;
        const wchar_t* message;
        const char* why;
    } cases[] = {
        {none, {0, 0, -1, -1}, -1, VANTREL_NO_PROBLEMS_TO_FIX, "nothing found"},
        {ok, {0, 0, -1, -1}, -1, VANTREL_NO_PROBLEMS_TO_FIX, "only an OK"},
        {notes, {0, 0, -1, -1}, -1, VANTREL_NO_ONE_CLICK_FIX, "only notes have fixes"},
        {unfixable_first, {0, 0, -1, -1}, 1, nullptr, "a problem without a fix is skipped"},
        {printer_notes, {0, 0, -1, 1}, 2, nullptr, "the printer's finding with a fix"},
        {printer_notes, {0, 0, -1, 0}, -1, VANTREL_NOTHING_WRONG_WITH_PRINTER, "a printer without findings"},
        {pc_fix, {0, 0, -1, 1}, 1, nullptr, "no fix for the printer: its first finding"},
        {pc_fix, {1, 0, 2, -1}, 2, nullptr, "the bottom list used last wins"},
        {pc_fix, {1, ViewPrintQueue, 2, -1}, 0, nullptr, "a queue row is not a finding"},
        {pc_fix, {1, 0, 5, 1}, 1, nullptr, "beyond the findings: the selected printer decides"},
        {pc_fix, {0, 0, 2, -1}, 0, nullptr, "the top list used last"},
    };
    std::unique_ptr<FindingList> list(new FindingList());
    for (const auto& c : cases) {
        list->count = 0;
        for (const auto& f : c.findings)
            add_finding_to(list.get(), L"test-rule", std::get<0>(f), std::get<1>(f), std::get<2>(f), L"",
                           L"Title", L"Text");
        FixChoice choice = choose_fix(list.get(), &c.selection);
        EXPECT_EQ(c.row, choice.row) << c.why;
        EXPECT_STREQ(c.message, choice.message) << c.why;
    }
    EXPECT_STREQ(VANTREL_NO_PROBLEMS_TO_FIX, choose_fix(nullptr, nullptr).message);
}

TEST(FixPlans, OldValuesAndThePortAddressWithAndWithoutTheOldOne) {
    auto s = office();
    s->spoolerStartType = 4;
    FixPlan plan;
    ASSERT_TRUE(own_task_plan(SpoolerAutoStart, s.get(), &plan));
    EXPECT_STREQ(plan.argument, L"2");
    EXPECT_STREQ(plan.detail, L"4") << "the old start type";
    EXPECT_FALSE(own_task_plan(SpoolerAutoStart, nullptr, &plan));
    EXPECT_FALSE(own_task_plan(OpenWebPage, s.get(), &plan));
    EXPECT_FALSE(fix_command_plan(kFixCommandCount, nullptr, 0, &plan));

    wchar_t port[260], address[260];
    EXPECT_FALSE(split_port_subject(L"IP_10.1.2.30", port, _countof(port), address, _countof(address)));
    ASSERT_TRUE(
        split_port_subject(L"IP_10.1.2.30|10.1.2.77", port, _countof(port), address, _countof(address)));
    EXPECT_STREQ(port, L"IP_10.1.2.30");
    EXPECT_STREQ(address, L"10.1.2.77");
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"", &plan);
    EXPECT_EQ(plan.changeKind, 0) << "unknown old address: nothing to put back";
    EXPECT_STREQ(plan.argument, L"IP_10.1.2.30|10.1.2.77");
    EXPECT_NE(std::wstring(plan.description).find(L"(it was unknown)"), std::wstring::npos);
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"10.1.2.30", &plan);
    EXPECT_EQ(plan.changeKind, 9);
    EXPECT_STREQ(plan.detail, L"IP_10.1.2.30|10.1.2.30");
    EXPECT_TRUE(plan.offerTestPage);
}

TEST(FixPrinters, TestPageAndWebPage) {
    auto s = office();
    EXPECT_EQ(test_page_printer(s.get(), 0), 1); // PDF selected: the real default printer instead
    EXPECT_EQ(test_page_printer(s.get(), 2), 2);
    EXPECT_EQ(test_page_printer(nullptr, 1), -1);
    wchar_t url[300];
    EXPECT_TRUE(printer_web_address(s.get(), 1, url, _countof(url)));
    EXPECT_STREQ(url, L"http://127.0.0.2/");
    EXPECT_FALSE(printer_web_address(s.get(), 2, url, _countof(url))); // the sharing computer's name
    EXPECT_STREQ(url, L"");
    EXPECT_FALSE(printer_web_address(s.get(), 0, url, _countof(url)));
    EXPECT_FALSE(printer_web_address(s.get(), 9, url, _countof(url)));
    s->printers[1].isDefault = 0, s->printers[0].isDefault = 1;
    EXPECT_EQ(test_page_printer(s.get(), 0), -1);
}

TEST(FixPlans, EveryFixThatChangesThePcPlansItsVerbAndUndo) {
    auto s = office();
    s->jobCount = 2;
    const struct {
        FixKind fix;
        const wchar_t* subject;
        TaskVerb verb;
        ChangeKind kind;
    } rows[] = {
        {StartSpooler, L"", VerbSpoolStart, NothingToPutBack},
        {SpoolerAutoStart, L"", VerbSpoolAuto, SpoolerStartTypeSet},
        {EnableDetailedLog, L"", VerbOplogOn, OperationalLogOn},
        {RestartSpooler, L"", VerbSpoolRestart, NothingToPutBack},
        {ClearStuckJobs, L"", VerbSpoolClear, NothingToPutBack},
        {CancelPrinterJobs, L"Front Desk", VerbPurge, NothingToPutBack},
        {ResumePrinter, L"Front Desk", VerbResume, PrinterResumed},
        {UseOfflineOff, L"Front Desk", VerbOnline, OfflineUnticked},
        {SnmpStatusOff, L"IP_127.0.0.2", VerbSnmpOff, SnmpSwitchedOff},
        {AddPdfPrinter, L"", VerbPdf, NothingToPutBack},
        {KeepDefaultPrinter, L"", VerbLegacyDefaultOn, WindowsDefaultOff},
        {PointToNewAddress, L"IP_127.0.0.2|127.0.0.9", VerbPortAddr, PortAddressSet},
        {UseNamedPipesForPrinting, L"PRINTSRV", VerbRpcNamedPipes, NamedPipesPolicySet},
        {RestorePointAndPrint, L"", VerbPointAndPrint, PointAndPrintSet},
        {RemoveRpcPrivacyOverride, L"", VerbRpcPrivacy, RpcPrivacySet},
    };
    for (const auto& r : rows) {
        Finding f = {};
        f.fix = r.fix;
        text_copy(f.subject, _countof(f.subject), r.subject);
        FixPlan plan;
        ASSERT_TRUE(fix_plan_of(&f, s.get(), L"127.0.0.2", &plan)) << r.fix;
        EXPECT_EQ(r.verb, plan.verb) << r.fix;
        EXPECT_EQ(r.kind, plan.changeKind) << r.fix;
        EXPECT_EQ(task_needs_admin(r.verb), plan.needsAdmin) << r.fix;
        EXPECT_NE(L'\0', plan.description[0]) << r.fix;
    }
    for (FixKind f : {NoFix, RunNetworkTest, OpenWebPage, OpenPrintersSettings, ShowPrintLog, FindDriver,
                      SearchNetwork}) {
        Finding finding = {};
        finding.fix = f;
        FixPlan plan;
        EXPECT_FALSE(fix_plan_of(&finding, s.get(), L"", &plan)) << f << ": opens or shows, changes nothing";
    }

    // The print policies: what is set, what History & Undo puts back, and a question every time.
    s->restrictDriverInstallation = {1, 0};
    s->noWarningNoElevationOnInstall = {1, 1};
    s->rpcAuthnLevelPrivacy = {1, 0};
    const struct {
        FixKind fix;
        const wchar_t *argument, *detail;
    } policies[] = {{UseNamedPipesForPrinting, L"1", L""},
                    {RestorePointAndPrint, L"1,0,0", L"0,1,"},
                    {RemoveRpcPrivacyOverride, L"", L"0"}};
    for (const auto& r : policies) {
        Finding f = {};
        f.fix = r.fix;
        text_copy(f.subject, _countof(f.subject), L"PRINTSRV");
        FixPlan policy;
        ASSERT_TRUE(fix_plan_of(&f, s.get(), L"", &policy));
        EXPECT_STREQ(r.argument, policy.argument) << r.fix;
        EXPECT_STREQ(r.detail, policy.detail) << r.fix;
        EXPECT_TRUE(policy.alwaysConfirm && policy.confirmTitle && policy.confirmText[0]) << r.fix;
    }

    FixPlan plan;
    set_default_plan(L"Front Desk", L"Old One", &plan);
    EXPECT_EQ(VerbSetDefault, plan.verb);
    EXPECT_EQ(DefaultPrinterSet, plan.changeKind);
    EXPECT_STREQ(L"Old One", plan.detail) << "what the undo makes default again";
    EXPECT_STREQ(L"Made \"Front Desk\" the default printer (it was \"Old One\")", plan.description);
    set_default_plan(L"Front Desk", L"", &plan);
    EXPECT_EQ(NothingToPutBack, plan.changeKind) << "no default before: nothing to put back";
    EXPECT_STREQ(L"Made \"Front Desk\" the default printer (it was \"none\")", plan.description);
    remove_printer_plan(L"Front Desk", &plan);
    EXPECT_EQ(VerbDelete, plan.verb);
    EXPECT_EQ(NothingToPutBack, plan.changeKind);
}

} // namespace

TEST(FixPlans, AChangeToAPrinterNamesItInItsQuestionAndOutcomeOnce) {
    FixPlan plan;
    // SNMP status is a port's: the question and the history row name the printer too.
    ASSERT_TRUE(fix_command_plan(FixCommandSnmpOff, L"IP_10.0.0.5", 0, &plan));
    plan_names_printer(&plan, L"Front Desk");
    EXPECT_EQ(0u, std::wstring(plan.confirmText).rfind(L"Printer: \"Front Desk\"\n\nSwitch off", 0))
        << plan.confirmText;
    EXPECT_STREQ(
        L"Switched off SNMP status on port \"IP_10.0.0.5\" (and restarted the Print Spooler), printer "
        L"\"Front Desk\"",
        plan.description);
    // Already named: nothing is added; a change to the whole PC is not a printer's.
    ASSERT_TRUE(fix_command_plan(FixCommandCancelAllJobs, L"Front Desk", 0, &plan));
    const std::wstring question = plan.confirmText, description = plan.description;
    plan_names_printer(&plan, L"Front Desk");
    EXPECT_EQ(question, plan.confirmText);
    EXPECT_EQ(description, plan.description);
    ASSERT_TRUE(fix_command_plan(FixCommandRestartSpooler, nullptr, 0, &plan));
    plan_names_printer(&plan, L"Front Desk");
    EXPECT_STREQ(L"Restarted the Print Spooler service", plan.description);
}
