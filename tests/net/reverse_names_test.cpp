// The search's reverse lookups: a lookup that hangs is left behind at its bound, and its name,
// when it comes, reaches the window as a message of its own that fills in the kept result.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/messages.h"
#include "net/netlogic.h"
#include "net/reverse_names.h"

namespace {

HANDLE g_release; // the held-back lookup answers once this is set
const uint32_t kHeld = 0x7F000016;

int fake_lookup(uint32_t address, wchar_t* out, size_t cap) {
    if (address == kHeld) {
        WaitForSingleObject(g_release, 10000);
        wcsncpy(out, L"late.example", cap);
        return 1;
    }
    if (address == 0x7F000017) return 0; // no name at all
    wcsncpy(out, L"quick.example", cap);
    return 1;
}

FoundPrinter printer_at(uint32_t address) {
    FoundPrinter f = {};
    f.ipValue = address;
    return f;
}

} // namespace

TEST(ReverseNames, TheNamesInTimeAreTakenAndALateOneIsPostedOnItsOwn) {
    g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    static FoundPrinter printers[3];
    printers[0] = printer_at(0x7F000015);
    printers[1] = printer_at(kHeld);
    printers[2] = printer_at(0x7F000017);

    NameLookups* lookups = start_name_lookups(printers, 3, window, fake_lookup);
    ASSERT_NE(lookups, nullptr);
    EXPECT_EQ(take_names(lookups, printers, 3, 300), 1); // the held one is still running
    EXPECT_STREQ(printers[0].hostName, L"quick.example");
    EXPECT_STREQ(printers[1].hostName, L"");
    EXPECT_STREQ(printers[2].hostName, L"");

    SetEvent(g_release);
    MSG msg = {};
    bool posted = false;
    for (int i = 0; i < 500 && !posted; i++) {
        posted = PeekMessageW(&msg, window, MsgSearchName, MsgSearchName, PM_REMOVE) != 0;
        if (!posted) Sleep(10);
    }
    ASSERT_TRUE(posted);
    SearchName* late = reinterpret_cast<SearchName*>(msg.lParam);
    EXPECT_EQ(late->ipValue, kHeld);
    EXPECT_STREQ(late->hostName, L"late.example");

    // The window's side: the name goes to the printer with that address, once.
    static NetworkSearchResult result;
    result.count = 3;
    for (int i = 0; i < 3; i++)
        result.printers[i] = printers[i];
    EXPECT_EQ(fill_late_name(&result, late), 1);
    EXPECT_STREQ(result.printers[1].hostName, L"late.example");
    EXPECT_EQ(fill_late_name(&result, late), 0); // already named
    SearchName stranger = {0x7F000099, L"other.example"};
    EXPECT_EQ(fill_late_name(&result, &stranger), 0);
    EXPECT_EQ(fill_late_name(nullptr, late), 0);
    free(late);
    DestroyWindow(window);
    CloseHandle(g_release);
}

TEST(ReverseNames, EveryNameInTimeMeansNoWaitAndNothingLate) {
    static FoundPrinter printers[2];
    printers[0] = printer_at(0x7F000015);
    printers[1] = printer_at(0x7F000017);
    NameLookups* lookups = start_name_lookups(printers, 2, nullptr, fake_lookup);
    EXPECT_EQ(take_names(lookups, printers, 2, 60000), 0); // returns as soon as both answered
    EXPECT_STREQ(printers[0].hostName, L"quick.example");
    EXPECT_EQ(take_names(nullptr, printers, 2, 100), 0);
}
