// Fix This without a window: which finding it picks, and the plan of the changes whose record
// must allow putting them back, from plain records.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/findings.h"
#include "core/text.h"
#include "fixes/fix_this.h"

namespace {

void add(FindingList* list, Severity severity, int32_t printer, FixKind fix, const wchar_t* subject = L"") {
    add_finding_to(list, severity, printer, fix, subject, L"Title", L"Text");
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

TEST(FixChoice, NothingSelected) {
    FindingList list = {};
    FixSelection sel = {0, 0, -1, -1};
    EXPECT_STREQ(choose_fix(&list, &sel).message, VANTREL_NO_PROBLEMS_TO_FIX);
    EXPECT_STREQ(choose_fix(nullptr, nullptr).message, VANTREL_NO_PROBLEMS_TO_FIX);
    add(&list, SeverityOk, -1, NoFix);
    EXPECT_STREQ(choose_fix(&list, &sel).message, VANTREL_NO_PROBLEMS_TO_FIX);

    list = {};
    add(&list, SeverityNote, -1, EnableDetailedLog);
    add(&list, SeverityNote, 1, OpenWebPage);
    FixChoice c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, -1) << "only notes have fixes";
    EXPECT_STREQ(c.message, VANTREL_NO_ONE_CLICK_FIX);

    list = {};
    add(&list, SeverityProblem, -1, NoFix);
    add(&list, SeverityHeadsUp, 1, RestartSpooler);
    c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, 1) << "a problem without a fix is skipped";
    EXPECT_EQ(c.message, nullptr);
}

TEST(FixChoice, SelectedPrinterAndBottomList) {
    FindingList list = {};
    add(&list, SeverityProblem, 1, NoFix);
    add(&list, SeverityNote, 2, OpenWebPage);
    add(&list, SeverityNote, 1, OpenWebPage);
    FixSelection sel = {0, 0, -1, 1};
    EXPECT_EQ(choose_fix(&list, &sel).row, 2) << "the printer's finding with a fix";
    sel.printerRow = 0;
    FixChoice c = choose_fix(&list, &sel);
    EXPECT_EQ(c.row, -1);
    EXPECT_STREQ(c.message, VANTREL_NOTHING_WRONG_WITH_PRINTER);

    list = {};
    add(&list, SeverityHeadsUp, -1, RestartSpooler);
    add(&list, SeverityProblem, 1, NoFix);
    add(&list, SeverityNote, 1, NoFix);
    sel = {0, 0, -1, 1};
    EXPECT_EQ(choose_fix(&list, &sel).row, 1) << "no fix for the printer: its first finding";
    sel = {1, 0, 2, -1};
    EXPECT_EQ(choose_fix(&list, &sel).row, 2) << "the bottom list used last wins";
    sel.view = ViewPrintQueue; // a queue row is not a finding
    EXPECT_EQ(choose_fix(&list, &sel).row, 0);
    sel = {1, 0, 5, 1}; // beyond the findings: the selected printer decides
    EXPECT_EQ(choose_fix(&list, &sel).row, 1);
    sel = {0, 0, 2, -1}; // the top list used last
    EXPECT_EQ(choose_fix(&list, &sel).row, 0);
}

TEST(FixPlans, OldValuesAreRecordedForUndo) {
    auto s = office();
    s->spoolerStartType = 4;
    FixPlan plan;
    ASSERT_TRUE(own_task_plan(SpoolerAutoStart, s.get(), &plan));
    EXPECT_STREQ(plan.argument, L"2");
    EXPECT_STREQ(plan.detail, L"4") << "the old start type";
    EXPECT_FALSE(own_task_plan(SpoolerAutoStart, nullptr, &plan));
    EXPECT_FALSE(own_task_plan(OpenWebPage, s.get(), &plan));
    EXPECT_FALSE(fix_command_plan(kFixCommandCount, nullptr, 0, &plan));
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
    EXPECT_STREQ(url, L"http://10.1.2.30/");
    EXPECT_FALSE(printer_web_address(s.get(), 2, url, _countof(url))); // the sharing computer's name
    EXPECT_STREQ(url, L"");
    EXPECT_FALSE(printer_web_address(s.get(), 0, url, _countof(url)));
    EXPECT_FALSE(printer_web_address(s.get(), 9, url, _countof(url)));
    s->printers[1].isDefault = 0;
    s->printers[0].isDefault = 1;
    EXPECT_EQ(test_page_printer(s.get(), 0), -1);
}

} // namespace
