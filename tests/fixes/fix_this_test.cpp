// Fix This without a window: which finding it picks, the caption and question it shows, and the
// plan of each change, from plain records.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/findings.h"
#include "core/text.h"
#include "fixes/fix_this.h"
#include "net/driver_search.h"

namespace {

void add(FindingList* list, Severity severity, int32_t printer, FixKind fix, const wchar_t* subject = L"") {
    add_finding_to(list, severity, printer, fix, subject, L"Title", L"Text");
}

FixSelection nothing_selected() {
    return {0, 0, -1, -1};
}

std::unique_ptr<Snapshot> office() {
    std::unique_ptr<Snapshot> s(new Snapshot());
    s->printerCount = 3;
    text_copy(s->printers[0].name, _countof(s->printers[0].name), L"Microsoft Print to PDF");
    s->printers[0].isVirtual = 1;
    s->printers[0].kind = KindBuiltIn;
    text_copy(s->printers[1].name, _countof(s->printers[1].name), L"Front Desk");
    text_copy(s->printers[1].address, _countof(s->printers[1].address), L"10.1.2.30");
    s->printers[1].kind = KindTcpIp;
    s->printers[1].isDefault = 1;
    text_copy(s->printers[2].name, _countof(s->printers[2].name), L"\\\\ACCOUNTS\\Laser");
    text_copy(s->printers[2].address, _countof(s->printers[2].address), L"ACCOUNTS");
    s->printers[2].kind = KindShared;
    return s;
}

TEST(FixChoice, NothingSelectedSkipsAProblemWithoutAFix) {
    FindingList list = {};
    add(&list, SeverityProblem, -1, NoFix);
    add(&list, SeverityHeadsUp, 1, RestartSpooler);
    FixSelection sel = nothing_selected();
    FixChoice c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, 1);
    EXPECT_EQ(c.message, nullptr);
}

TEST(FixChoice, OnlyNotesHaveFixes) {
    FindingList list = {};
    add(&list, SeverityNote, -1, EnableDetailedLog);
    add(&list, SeverityNote, 1, OpenWebPage);
    FixSelection sel = nothing_selected();
    FixChoice c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, -1);
    EXPECT_STREQ(c.message, VANTREL_NO_ONE_CLICK_FIX);
}

TEST(FixChoice, NoFindingsOrAllClear) {
    FindingList list = {};
    FixSelection sel = nothing_selected();
    EXPECT_STREQ(choose_fix(&list, &sel).message, VANTREL_NO_PROBLEMS_TO_FIX);
    add(&list, SeverityOk, -1, NoFix);
    EXPECT_STREQ(choose_fix(&list, &sel).message, VANTREL_NO_PROBLEMS_TO_FIX);
    EXPECT_STREQ(choose_fix(nullptr, nullptr).message, VANTREL_NO_PROBLEMS_TO_FIX);
}

TEST(FixChoice, SelectedPrinterPrefersAFindingWithAFix) {
    FindingList list = {};
    add(&list, SeverityProblem, 1, NoFix);
    add(&list, SeverityNote, 2, OpenWebPage);
    add(&list, SeverityNote, 1, OpenWebPage);
    FixSelection sel = nothing_selected();
    sel.printerRow = 1;
    EXPECT_EQ(choose_fix(&list, &sel).row, 2);
}

TEST(FixChoice, SelectedPrinterWithoutFixesShowsItsFirstFinding) {
    FindingList list = {};
    add(&list, SeverityHeadsUp, -1, RestartSpooler);
    add(&list, SeverityProblem, 1, NoFix);
    add(&list, SeverityNote, 1, NoFix);
    FixSelection sel = nothing_selected();
    sel.printerRow = 1;
    EXPECT_EQ(choose_fix(&list, &sel).row, 1);

    wchar_t text[2200];
    EXPECT_EQ(fix_question(&list.items[1], text, _countof(text)), (uint32_t)FixBoxWarning);
    EXPECT_STREQ(text,
                 L"Title\n\nText\n\n(There is no one-click fix for this one; it has to be dealt with as "
                 L"described above.)");
    EXPECT_EQ(fix_question(&list.items[2], text, _countof(text)), (uint32_t)FixBoxInformation);
}

TEST(FixChoice, SelectedPrinterWithNothingWrong) {
    FindingList list = {};
    add(&list, SeverityProblem, -1, StartSpooler);
    FixSelection sel = nothing_selected();
    sel.printerRow = 0;
    FixChoice c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, -1);
    EXPECT_STREQ(c.message, VANTREL_NOTHING_WRONG_WITH_PRINTER);
}

TEST(FixChoice, ProblemsRowWinsOnlyWhenTheBottomListWasUsedLast) {
    FindingList list = {};
    add(&list, SeverityHeadsUp, -1, RestartSpooler);
    add(&list, SeverityNote, 0, NoFix);
    FixSelection sel = {1, 0, 1, -1};
    EXPECT_EQ(choose_fix(&list, &sel).row, 1);
    sel.view = ViewPrintQueue; // a queue row is not a finding
    EXPECT_EQ(choose_fix(&list, &sel).row, 0);
    sel = {1, 0, 5, 0}; // beyond the findings: the selected printer decides
    EXPECT_EQ(choose_fix(&list, &sel).row, 1);
    sel = {0, 0, 0, -1};
    EXPECT_EQ(choose_fix(&list, &sel).row, 0);
}

TEST(FixQuestion, CaptionNamesThePrinterOrThisPc) {
    auto s = office();
    FindingList list = {};
    add(&list, SeverityProblem, 1, ResumePrinter, L"Front Desk");
    add(&list, SeverityHeadsUp, -1, ClearStuckJobs);
    add(&list, SeverityNote, 7, NoFix);
    wchar_t caption[400];
    fix_caption(&list.items[0], s.get(), caption, _countof(caption));
    EXPECT_STREQ(caption, L"PROBLEM: Front Desk");
    fix_caption(&list.items[0], nullptr, caption, _countof(caption));
    EXPECT_STREQ(caption, L"PROBLEM: this PC");
    fix_caption(&list.items[1], s.get(), caption, _countof(caption));
    EXPECT_STREQ(caption, L"Heads-up: this PC");
    fix_caption(&list.items[2], s.get(), caption, _countof(caption));
    EXPECT_STREQ(caption, L"Note: this PC");
}

TEST(FixQuestion, AsksWithTheFixLabel) {
    FindingList list = {};
    add(&list, SeverityHeadsUp, -1, ClearStuckJobs);
    add(&list, SeverityProblem, -1, UseOfflineOff, L"Front Desk");
    wchar_t text[2200];
    EXPECT_EQ(fix_question(&list.items[0], text, _countof(text)), (uint32_t)(FixBoxYesNo | FixBoxQuestion));
    EXPECT_STREQ(text, L"Title\n\nText\n\nTHE FIX: Clear stuck jobs.\n\nDo it now?");
    EXPECT_EQ(fix_question(&list.items[1], text, _countof(text)), (uint32_t)(FixBoxYesNo | FixBoxWarning));
    EXPECT_STREQ(text, L"Title\n\nText\n\nTHE FIX: Switch off \"Use Printer Offline\".\n\nDo it now?");
}

TEST(FixPlans, ClearStuckJobsCountsTheJobs) {
    FixPlan plan;
    ASSERT_TRUE(fix_command_plan(FixCommandClearStuckJobs, nullptr, 1, &plan));
    EXPECT_NE(std::wstring(plan.confirmText).find(L"(1 job on all printers right now)"), std::wstring::npos);
    EXPECT_TRUE(plan.alwaysConfirm);
    EXPECT_TRUE(plan.offerTestPage);
    EXPECT_EQ(plan.verb, VerbSpoolClear);
    fix_command_plan(FixCommandClearStuckJobs, nullptr, 0, &plan);
    EXPECT_NE(std::wstring(plan.confirmText).find(L"(0 jobs on all printers right now)"), std::wstring::npos);
    EXPECT_STREQ(plan.confirmTitle, L"Clear Stuck Jobs");
}

TEST(FixPlans, PrinterCommandsRecordWhatCanBePutBack) {
    FixPlan plan;
    fix_command_plan(FixCommandPause, L"Front Desk", 0, &plan);
    EXPECT_EQ(plan.verb, VerbPause);
    EXPECT_EQ(plan.changeKind, 4);
    EXPECT_EQ(plan.needsAdmin, 0);
    EXPECT_STREQ(plan.detail, L"Front Desk");
    EXPECT_STREQ(plan.description, L"Paused the printer \"Front Desk\"");
    EXPECT_EQ(plan.confirmTitle, nullptr);

    fix_command_plan(FixCommandOnline, L"Front Desk", 0, &plan);
    EXPECT_EQ(plan.changeKind, 2);
    EXPECT_STREQ(plan.description, L"Switched off \"Use Printer Offline\" for \"Front Desk\"");

    fix_command_plan(FixCommandCancelAllJobs, L"Front Desk", 0, &plan);
    EXPECT_EQ(plan.verb, VerbPurge);
    EXPECT_STREQ(plan.detail, L"");
    EXPECT_STREQ(plan.argument, L"Front Desk");
    EXPECT_STREQ(plan.confirmText,
                 L"Cancel every waiting job on \"Front Desk\"?\n\nOnly this printer's queue is "
                 L"emptied. Whoever sent those documents will need to print them again.");

    fix_command_plan(FixCommandSnmpOff, L"IP_10.1.2.30", 0, &plan);
    EXPECT_EQ(plan.changeKind, 1);
    EXPECT_EQ(plan.needsAdmin, 1);
    EXPECT_STREQ(plan.detail, L"IP_10.1.2.30");
    EXPECT_EQ(std::wstring(plan.confirmText)
                  .rfind(L"Switch off \"SNMP Status Enabled\" for the port \"IP_10.1.2.30\"?", 0),
              0u);
    EXPECT_FALSE(fix_command_plan(kFixCommandCount, nullptr, 0, &plan));
}

TEST(FixPlans, SpoolerAutoStartKeepsTheOldStartType) {
    auto s = office();
    s->spoolerStartType = 4;
    FixPlan plan;
    ASSERT_TRUE(own_task_plan(SpoolerAutoStart, s.get(), &plan));
    EXPECT_EQ(plan.verb, VerbSpoolAuto);
    EXPECT_STREQ(plan.argument, L"2");
    EXPECT_STREQ(plan.detail, L"4");
    EXPECT_EQ(plan.changeKind, 7);
    EXPECT_FALSE(own_task_plan(SpoolerAutoStart, nullptr, &plan));
    EXPECT_TRUE(own_task_plan(EnableDetailedLog, nullptr, &plan));
    EXPECT_EQ(plan.changeKind, 8);
    EXPECT_FALSE(own_task_plan(OpenWebPage, s.get(), &plan));
}

TEST(FixPlans, PortAddressWithAndWithoutTheOldAddress) {
    wchar_t port[260], address[260];
    EXPECT_FALSE(split_port_subject(L"IP_10.1.2.30", port, _countof(port), address, _countof(address)));
    ASSERT_TRUE(
        split_port_subject(L"IP_10.1.2.30|10.1.2.77", port, _countof(port), address, _countof(address)));
    EXPECT_STREQ(port, L"IP_10.1.2.30");
    EXPECT_STREQ(address, L"10.1.2.77");

    FixPlan plan;
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"", &plan);
    EXPECT_EQ(plan.changeKind, 0);
    EXPECT_STREQ(plan.argument, L"IP_10.1.2.30|10.1.2.77");
    EXPECT_STREQ(
        plan.description,
        L"Pointed the port \"IP_10.1.2.30\" at 10.1.2.77 (it was unknown) and restarted the Print Spooler");
    port_address_plan(L"IP_10.1.2.30|10.1.2.77", port, address, L"10.1.2.30", &plan);
    EXPECT_EQ(plan.changeKind, 9);
    EXPECT_STREQ(plan.detail, L"IP_10.1.2.30|10.1.2.30");
    EXPECT_TRUE(plan.offerTestPage);
}

TEST(FixPrinters, TestPageSkipsBuiltInPrinters) {
    auto s = office();
    EXPECT_EQ(test_page_printer(s.get(), 0), 1); // PDF selected: the real default printer instead
    EXPECT_EQ(test_page_printer(s.get(), 2), 2);
    EXPECT_EQ(test_page_printer(s.get(), -1), 1);
    s->printers[1].isDefault = 0;
    s->printers[0].isDefault = 1;
    EXPECT_EQ(test_page_printer(s.get(), 0), -1);
    EXPECT_EQ(test_page_printer(nullptr, 1), -1);
}

TEST(FixPrinters, WebPageOnlyForNetworkPrinters) {
    auto s = office();
    wchar_t url[300];
    EXPECT_TRUE(printer_web_address(s.get(), 1, url, _countof(url)));
    EXPECT_STREQ(url, L"http://10.1.2.30/");
    EXPECT_FALSE(printer_web_address(s.get(), 2, url, _countof(url))); // the sharing computer's name
    EXPECT_STREQ(url, L"");
    EXPECT_FALSE(printer_web_address(s.get(), 0, url, _countof(url)));
    EXPECT_FALSE(printer_web_address(s.get(), 9, url, _countof(url)));

    wchar_t parameters[700];
    printer_window_parameters(L"Front Desk", L"/k", parameters, _countof(parameters));
    EXPECT_STREQ(parameters, L"printui.dll,PrintUIEntry /k /n \"Front Desk\"");
}

TEST(FindDriver, HintOnlyWhenThePrinterCouldBeAsked) {
    auto s = office();
    ModelGuess guess;
    identify_model(&s->printers[1], &guess);
    wchar_t text[2000];
    find_driver_question(&s->printers[1], &guess, 1, text, _countof(text));
    std::wstring t = text;
    EXPECT_EQ(t.rfind(L"Vantrel will search for the driver on the printer maker's own website.\n\nPrinter: "
                      L"Front Desk\n",
                      0),
              0u);
    EXPECT_NE(t.find(L"(Running the Network Test first"), std::wstring::npos);
    EXPECT_NE(t.find(L"Maker: not sure (searching the whole web)"), std::wstring::npos);
    find_driver_question(&s->printers[1], &guess, 0, text, _countof(text));
    EXPECT_EQ(std::wstring(text).find(L"Running the Network Test"), std::wstring::npos);
    EXPECT_EQ(std::wstring(text).substr(std::wstring(text).size() - 22), L"\n\nOpen the search now?");
}

} // namespace
