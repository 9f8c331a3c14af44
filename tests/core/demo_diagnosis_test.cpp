// The demonstration office through the whole rule set: every title and explanation it produces is
// one of the program's own messages, and the findings land on the printers and subjects they
// belong to. (The order of the fourteen findings is checked with the builders in demo_test.cpp.)
#include "diagnosis_fixture.h"

#include "core/demo.h"

namespace {
const LocalTime kDemoNow = {2026, 12, 3, 9, 14, 5, 6, 0};

void build_demo(Diag& d) {
    build_demo_snapshot(d.s, &kDemoNow, d.now);
    build_demo_search_result(d.make_search(), &kDemoNow);
    d.demo = 1;
}
} // namespace

TEST(DemoOffice, EveryFindingIsOneOfTheProgramsOwnMessages) {
    Diag d;
    build_demo(d);
    d.run();
    ASSERT_EQ(14, d.count());
    for (int i = 0; i < d.count(); i++) {
        EXPECT_TRUE(is_known_message(d.at(i).title)) << narrow(d.at(i).title);
        EXPECT_TRUE(is_known_message(d.at(i).text)) << narrow(d.at(i).text);
    }
    EXPECT_STREQ(L"BRN3C2AF4A1B2C3", d.at(4).subject) << "the SNMP-status finding names the port";
    EXPECT_NE(std::wstring::npos, std::wstring(d.at(13).text).find(L"recorded 3 print errors or warnings"));

    EXPECT_STREQ(L"The printer says: paper jam  (+1 more)", d.s->printers[2].headline);
    EXPECT_STREQ(L"The printer is paused  (+3 more)", d.s->printers[4].headline);
    EXPECT_EQ(SeverityProblem, d.s->printers[4].worstSeverity);
    EXPECT_EQ(0, d.s->printers[6].findingCount);
}
