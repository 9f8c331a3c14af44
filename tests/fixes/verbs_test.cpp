// The verb table, the argument helpers and the command line of the elevated copy.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/text.h"
#include "fixes/actions.h"
#include "fixes/tasks.h"

TEST(Verbs, SixteenExactVerbsWithTheirAdminFlags) {
    const wchar_t* admin[] = {L"spool-restart", L"spool-clear", L"spool-start", L"spool-auto", L"snmp-off",
                              L"snmp-on",       L"pdf",         L"port-addr",   L"oplog-on",   L"oplog-off"};
    const wchar_t* user[] = {L"purge", L"pause", L"resume", L"online", L"offline", L"delete"};
    for (auto v : admin) {
        TaskVerb t = find_task_verb(v);
        ASSERT_NE(VerbNone, t) << v;
        EXPECT_TRUE(task_needs_admin(t)) << v;
        EXPECT_STREQ(v, task_verb_text(t));
    }
    for (auto v : user) {
        TaskVerb t = find_task_verb(v);
        ASSERT_NE(VerbNone, t) << v;
        EXPECT_FALSE(task_needs_admin(t)) << v;
    }
    EXPECT_EQ(VerbNone, find_task_verb(L"Pause"));
    EXPECT_EQ(VerbNone, find_task_verb(L"pause "));
    EXPECT_EQ(VerbNone, find_task_verb(L""));
    EXPECT_EQ(VerbNone, find_task_verb(nullptr));
    EXPECT_EQ(87u, run_task_command(L"Pause", L"Printer"));
    EXPECT_EQ(87u, run_task_command(L"format-c", L""));
    EXPECT_EQ(87u, run_task_command(nullptr, nullptr));
}

TEST(Verbs, PortAddressSplitsAtTheFirstBar) {
    wchar_t port[260], addr[260];
    ASSERT_TRUE(split_port_address(L"IP_10.0.0.5|10.0.0.9", port, _countof(port), addr, _countof(addr)));
    EXPECT_STREQ(L"IP_10.0.0.5", port);
    EXPECT_STREQ(L"10.0.0.9", addr);
    ASSERT_TRUE(split_port_address(L"P|a|b", port, _countof(port), addr, _countof(addr)));
    EXPECT_STREQ(L"P", port);
    EXPECT_STREQ(L"a|b", addr);
    EXPECT_FALSE(split_port_address(L"no bar here", port, _countof(port), addr, _countof(addr)));
    EXPECT_EQ(87u, run_task_command(L"port-addr", L"no bar here"));
    // A part that would be cut is refused, never stored shortened.
    wchar_t small[200];
    std::wstring fits = L"P|" + std::wstring(199, L'a'), over = L"P|" + std::wstring(200, L'a');
    EXPECT_TRUE(split_port_address(fits.c_str(), port, _countof(port), small, _countof(small)));
    EXPECT_FALSE(split_port_address(over.c_str(), port, _countof(port), small, _countof(small)));
}

TEST(Verbs, StartTypeIsAWholeDecimalNumber) {
    EXPECT_EQ(2u, parse_start_type(L"2"));
    EXPECT_EQ(0u, parse_start_type(L"3x")) << "a number with trailing text is no start type";
    EXPECT_EQ(0u, parse_start_type(L"2abc"));
    EXPECT_EQ(0u, parse_start_type(L"auto"));
    EXPECT_EQ(0u, parse_start_type(L""));
    EXPECT_EQ(0u, parse_start_type(L"99999999999")) << "never SERVICE_NO_CHANGE: see SpoolAuto";
    EXPECT_EQ(4294967294u, parse_start_type(L"4294967294"));
}

namespace {
std::wstring through_argv(const std::wstring& argument) {
    wchar_t params[700];
    if (!build_task_parameters(params, _countof(params), L"delete", argument.c_str())) return L"<too long>";
    std::wstring line = std::wstring(L"Vantrel.exe ") + params;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
    std::wstring got = argc == 4 ? argv[3] : L"<split into " + std::to_wstring(argc) + L">";
    LocalFree(argv);
    return got;
}
} // namespace

TEST(ElevatedCommandLine, ArgumentsComeBackUnchanged) {
    const wchar_t* cases[] = {L"Front \"A\" \\",  L"",   L"Office", L"\\\\server\\share", L"trail\\\\",
                              L"a\\\"b",          L"\"", L"\\",     L"P|1.2.3.4",         L"two  spaces",
                              L"Caf\x00E9 \x041F"};
    for (auto c : cases)
        EXPECT_EQ(std::wstring(c), through_argv(c)) << c;
    wchar_t params[700];
    ASSERT_TRUE(build_task_parameters(params, _countof(params), L"delete", L"Front \"A\" \\"));
    EXPECT_STREQ(L"/task delete \"Front \\\"A\\\" \\\\\"", params);
}

TEST(ElevatedCommandLine, OverLongArgumentIsRefusedNotCut) {
    std::wstring fits(680, L'x');
    EXPECT_EQ(fits, through_argv(fits));
    EXPECT_EQ(L"<too long>", through_argv(std::wstring(700, L'x')));
    EXPECT_EQ(L"<too long>", through_argv(std::wstring(400, L'"')));
}

TEST(FailureText, TrimmedAndComposed) {
    wchar_t t[300] = L"Access denied.\r\n  ";
    trim_error_text(t, _countof(t), 5);
    EXPECT_STREQ(L"Access denied.", t);
    wchar_t empty[300] = L" \r\n";
    trim_error_text(empty, _countof(empty), 12345);
    EXPECT_STREQ(L"error 12345", empty);

    wchar_t msg[900];
    build_failure_message(msg, _countof(msg), L"Paused the printer \"P\"", L"error 12345", 12345);
    EXPECT_STREQ(L"That did not work.\n\nWhat was tried: Paused the printer \"P\"\nWindows said: error 12345 "
                 L"(error 12345)",
                 msg);
    build_failure_message(msg, _countof(msg), L"X", L"Access denied.", 5);
    EXPECT_STREQ(
        L"That did not work.\n\nWhat was tried: X\nWindows said: Access denied. (error 5)\n\nThis needs an "
        L"administrator. Use Tools \x2192 Run as Admin (with expert tools on), or ask whoever manages this "
        L"PC.",
        msg);
}

TEST(FailureText, WindowsOwnTextIsTrimmed) {
    wchar_t text[300];
    windows_error_text(12345, text, _countof(text));
    EXPECT_STREQ(L"error 12345", text) << "no system text for this code";
    windows_error_text(5, text, _countof(text));
    size_t n = wcslen(text);
    ASSERT_GT(n, 0u);
    EXPECT_NE(L'\n', text[n - 1]);
    EXPECT_NE(L'\r', text[n - 1]);
    EXPECT_NE(L' ', text[n - 1]);
    EXPECT_STRNE(L"error 5", text);
}
