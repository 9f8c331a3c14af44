// The printer verbs against printers added to Wine's spooler. Where Wine's spooler does not do
// what Windows does (it has no level-0 pause, resume or purge), the task must answer with the error
// the spooler gave for the same call.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <string>

#include "fixes/tasks.h"
#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t* kDriver = L"Vantrel Tasks PCL 6";
const wchar_t* kPrinter = L"Task Printer";

// What Wine's spooler itself answers to a level-0 command on the printer.
DWORD direct_command(const wchar_t* name, DWORD command) {
    std::wstring n = name;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE h = nullptr;
    if (!OpenPrinterW(&n[0], &h, &defaults)) return GetLastError();
    DWORD result = SetPrinterW(h, 0, nullptr, command) ? 0 : GetLastError();
    ClosePrinter(h);
    return result;
}

DWORD attributes_of(const wchar_t* name) {
    DWORD status = 0, attributes = 0xFFFFFFFF;
    printer_state(name, &status, &attributes);
    return attributes;
}

class RealPrinterTasks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CreateDirectoryW(L"C:\\vttasks", nullptr);
        ASSERT_TRUE(write_test_file(L"C:\\vttasks\\vttasks.dll", 64));
        ASSERT_TRUE(add_test_driver(kDriver, L"Windows x64", L"C:\\vttasks\\vttasks.dll"));
    }
    static void TearDownTestSuite() { delete_test_driver(kDriver); }
    void SetUp() override { ASSERT_TRUE(add_test_printer(kPrinter, L"FILE:", kDriver)) << GetLastError(); }
    void TearDown() override { delete_test_printer(kPrinter); }
};

TEST_F(RealPrinterTasks, OfflineAndOnlineSwitchUsePrinterOffline) {
    ASSERT_EQ(0u, attributes_of(kPrinter) & PRINTER_ATTRIBUTE_WORK_OFFLINE);
    EXPECT_EQ(0u, run_task_command(L"offline", kPrinter));
    EXPECT_NE(0u, attributes_of(kPrinter) & PRINTER_ATTRIBUTE_WORK_OFFLINE);
    EXPECT_EQ(0u, run_task_command(L"offline", kPrinter)) << "twice is no failure";
    EXPECT_EQ(0u, run_task_command(L"online", kPrinter));
    EXPECT_EQ(0u, attributes_of(kPrinter) & PRINTER_ATTRIBUTE_WORK_OFFLINE);
}

TEST_F(RealPrinterTasks, PauseResumeAndPurgeAnswerAsTheSpoolerDoes) {
    struct {
        const wchar_t* verb;
        DWORD command;
    } rows[] = {{L"pause", PRINTER_CONTROL_PAUSE},
                {L"resume", PRINTER_CONTROL_RESUME},
                {L"purge", PRINTER_CONTROL_PURGE}};
    for (const auto& row : rows) {
        DWORD spooler = direct_command(kPrinter, row.command);
        uint32_t task = run_task_command(row.verb, kPrinter);
        printf("%ls: the spooler answers %lu, the task %u\n", row.verb, spooler, task);
        EXPECT_EQ(spooler, task) << row.verb;
    }
    DWORD status = 0, attributes = 0;
    ASSERT_TRUE(printer_state(kPrinter, &status, &attributes));
    EXPECT_EQ(0u, status & PRINTER_STATUS_PAUSED) << "resume comes after pause";
    EXPECT_EQ(87u, run_task_command(L"Pause", kPrinter)) << "verbs are compared exactly";
}

TEST_F(RealPrinterTasks, DeleteRemovesTheLocalPrinter) {
    EXPECT_EQ(0u, run_task_command(L"delete", kPrinter));
    DWORD status = 0, attributes = 0;
    EXPECT_FALSE(printer_state(kPrinter, &status, &attributes)) << "the printer is gone";
    uint32_t again = run_task_command(L"delete", kPrinter);
    EXPECT_NE(0u, again) << "a printer that is not there cannot be deleted";
    EXPECT_NE(87u, again);
}

TEST_F(RealPrinterTasks, DeletingAConnectionGoesToTheConnectionCall) {
    // "\\server\printer" names a connection; Wine's spooler answers for one it does not have.
    std::wstring connection = L"\\\\nowhere-server\\Task Printer";
    SetLastError(0);
    BOOL deleted = DeletePrinterConnectionW(&connection[0]);
    DWORD spooler = deleted ? 0 : GetLastError();
    EXPECT_EQ(spooler, run_task_command(L"delete", connection.c_str()));
    DWORD status = 0, attributes = 0;
    EXPECT_TRUE(printer_state(kPrinter, &status, &attributes)) << "the local printer of that name stays";
}

TEST_F(RealPrinterTasks, TheTaskModeExitsWithTheTasksResult) {
    EXPECT_EQ(0u, run_vantrel(L"/task offline \"Task Printer\"", 30000));
    EXPECT_NE(0u, attributes_of(kPrinter) & PRINTER_ATTRIBUTE_WORK_OFFLINE);
    EXPECT_EQ(0u, run_vantrel(L"/task online \"Task Printer\"", 30000));
    EXPECT_EQ(0u, attributes_of(kPrinter) & PRINTER_ATTRIBUTE_WORK_OFFLINE);
    EXPECT_EQ((DWORD)ERROR_INVALID_PRINTER_NAME, run_vantrel(L"/task online \"No Such Printer\"", 30000));
    EXPECT_EQ(0u, run_vantrel(L"/task delete \"Task Printer\"", 30000));
    DWORD status = 0, attributes = 0;
    EXPECT_FALSE(printer_state(kPrinter, &status, &attributes));
}

} // namespace
