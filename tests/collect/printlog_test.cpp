// The print-log reader over made-up rendered events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/printlog.h"
#include "core/text.h"

namespace {

struct FakeEvent {
    int32_t properties = 18;
    int32_t id = 0;
    int32_t level = 2;
    uint64_t time = 0;
    LocalTime local = {2026, 12, 3, 9, 13, 7, 0, 0};
    int messageOk = 1;
    std::wstring message = L"The document failed to print.";
};

struct FakeLog {
    int enabledKnown = 1;
    int enabled = 0;
    int adminQueryable = 1, operationalQueryable = 1;
    std::vector<FakeEvent> admin, operational;
    std::vector<std::wstring> opened;
    int closed = 0;
    int fetched = 0;
    std::wstring current;
};

struct FakeQuery {
    std::vector<FakeEvent>* events;
    size_t next;
};

FakeLog* log_of(void* ctx) {
    return static_cast<FakeLog*>(ctx);
}

int fake_enabled(void* ctx, int* enabled) {
    if (!log_of(ctx)->enabledKnown) return 0;
    *enabled = log_of(ctx)->enabled;
    return 1;
}

void* fake_open(void* ctx, const wchar_t* channel) {
    FakeLog* log = log_of(ctx);
    log->opened.push_back(channel);
    bool admin = std::wstring(channel) == VANTREL_ADMIN_LOG;
    if (admin ? !log->adminQueryable : !log->operationalQueryable) return nullptr;
    return new FakeQuery{admin ? &log->admin : &log->operational, 0};
}

int fake_next(void* ctx, void* query, RenderedEvent* out) {
    FakeQuery* q = static_cast<FakeQuery*>(query);
    if (q->next >= q->events->size()) return 0;
    const FakeEvent& e = (*q->events)[q->next++];
    log_of(ctx)->fetched++;
    log_of(ctx)->current = e.message;
    out->propertyCount = e.properties;
    out->eventId = e.id;
    out->level = e.level;
    out->time = e.time;
    out->localValid = 1;
    out->local = e.local;
    out->messageOk = e.messageOk;
    out->message = log_of(ctx)->current.c_str();
    return 1;
}

void fake_close(void* ctx, void* query) {
    log_of(ctx)->closed++;
    delete static_cast<FakeQuery*>(query);
}

PrintLogSource source_of(FakeLog* log) {
    return {log, fake_enabled, fake_open, fake_next, fake_close};
}

std::vector<FakeEvent> events(int n, uint64_t first_time, uint64_t step, int32_t first_id) {
    std::vector<FakeEvent> out(n);
    for (int i = 0; i < n; i++) {
        out[i].time = first_time - (uint64_t)i * step; // newest first, as the query reads them
        out[i].id = first_id + i;
    }
    return out;
}

struct PrintLog : ::testing::Test {
    Snapshot* s = snapshot_new();
    ~PrintLog() override { snapshot_free(s); }
};

TEST(PrintLogMessage, OneLineOrTheFixedText) {
    wchar_t text[600];
    print_log_message(text, _countof(text), 1, L"Line one\r\nLine\ttwo\n");
    EXPECT_STREQ(text, L"Line one  Line two ");
    print_log_message(text, _countof(text), 0, L"ignored");
    EXPECT_STREQ(text, L"(Windows did not supply a description for this entry)");
    print_log_message(text, _countof(text), 1, nullptr);
    EXPECT_STREQ(text, VANTREL_NO_LOG_MESSAGE);
    std::wstring longest(599, L'a'), too_long(600, L'a');
    print_log_message(text, _countof(text), 1, longest.c_str());
    EXPECT_EQ(std::wstring(text), longest);
    print_log_message(text, _countof(text), 1, too_long.c_str());
    EXPECT_STREQ(text, VANTREL_NO_LOG_MESSAGE);
}

TEST_F(PrintLog, OperationalOffGivesAtMostThirtyAdminEntries) {
    FakeLog log;
    log.admin = events(45, 1000000, 10, 100);
    log.operational = events(10, 2000000, 10, 800);
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->operationalLogKnown, 1);
    EXPECT_EQ(s->operationalLogEnabled, 0);
    EXPECT_EQ(s->adminLogRead, 1);
    ASSERT_EQ(s->logCount, 30);
    EXPECT_EQ(log.opened, std::vector<std::wstring>{VANTREL_ADMIN_LOG});
    EXPECT_EQ(log.closed, 1);
    for (int i = 0; i < 30; i++) {
        EXPECT_EQ(s->logEntries[i].channel, 0);
        EXPECT_EQ(s->logEntries[i].eventId, 100 + i);
    }
    EXPECT_STREQ(s->logEntries[0].timeText, L"12/09/2026 1:07 PM");
    EXPECT_STREQ(s->logEntries[0].message, L"The document failed to print.");
    EXPECT_EQ(s->logEntries[0].level, 2);
    EXPECT_EQ(s->logEntries[0].time, 1000000u);
}

TEST_F(PrintLog, OperationalOnFillsUpToEightyAndInterleaves) {
    FakeLog log;
    log.enabled = 1;
    log.admin = events(40, 1000000, 20, 100);       // 1000000, 999980, ...
    log.operational = events(70, 1000010, 20, 500); // 1000010, 999990, ...
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->operationalLogEnabled, 1);
    ASSERT_EQ(s->logCount, 80);
    int admin = 0, operational = 0;
    for (int i = 0; i < 80; i++)
        (s->logEntries[i].channel ? operational : admin)++;
    EXPECT_EQ(admin, 30);
    EXPECT_EQ(operational, 50);
    for (int i = 1; i < 80; i++)
        EXPECT_GE(s->logEntries[i - 1].time, s->logEntries[i].time);
    EXPECT_EQ(s->logEntries[0].channel, 1);
    EXPECT_EQ(s->logEntries[1].channel, 0);
    EXPECT_EQ(s->logEntries[2].channel, 1);
    EXPECT_EQ(log.closed, 2);
}

TEST_F(PrintLog, FewAdminEntriesLeaveRoomForMoreOperationalOnes) {
    FakeLog log;
    log.enabled = 1;
    log.admin = events(5, 1000, 1, 1);
    log.operational = events(100, 500, 1, 1000);
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->logCount, 80);
}

TEST_F(PrintLog, EqualTimesKeepTheirOrder) {
    FakeLog log;
    log.enabled = 1;
    log.admin = events(3, 100, 0, 1);       // three at time 100
    log.operational = events(2, 100, 0, 7); // two more at time 100
    log.operational.push_back(FakeEvent{});
    log.operational.back().time = 200;
    log.operational.back().id = 99;
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    ASSERT_EQ(s->logCount, 6);
    std::vector<int> ids;
    for (int i = 0; i < 6; i++)
        ids.push_back(s->logEntries[i].eventId);
    EXPECT_EQ(ids, (std::vector<int>{99, 1, 2, 3, 7, 8}));
}

TEST_F(PrintLog, UnrenderableEventsAreSkippedWithoutCounting) {
    FakeLog log;
    log.admin = events(35, 1000, 1, 1);
    for (int i = 0; i < 35; i += 5)
        log.admin[i].properties = 8;
    log.admin[1].messageOk = 0;
    log.admin[2].message = L"two\nlines";
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->logCount, 28); // all 28 renderable entries, short of the limit of 30
    EXPECT_EQ(s->logEntries[0].eventId, 2);
    EXPECT_STREQ(s->logEntries[0].message, VANTREL_NO_LOG_MESSAGE);
    EXPECT_STREQ(s->logEntries[1].message, L"two lines");
}

TEST_F(PrintLog, UnreadableChannelsAddNothing) {
    FakeLog log;
    log.enabledKnown = 0;
    log.adminQueryable = 0;
    log.admin = events(5, 1000, 1, 1);
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->operationalLogKnown, 0);
    EXPECT_EQ(s->operationalLogEnabled, 0);
    EXPECT_EQ(s->adminLogRead, 0);
    EXPECT_EQ(s->logCount, 0);
    EXPECT_EQ(log.closed, 0);
}

TEST_F(PrintLog, UnreadableOperationalLogStillKeepsTheAdminEntries) {
    FakeLog log;
    log.enabled = 1;
    log.operationalQueryable = 0;
    log.admin = events(3, 1000, 1, 1);
    PrintLogSource source = source_of(&log);
    read_print_logs(s, &source);
    EXPECT_EQ(s->logCount, 3);
    EXPECT_EQ(s->adminLogRead, 1);
}

TEST_F(PrintLog, OperationalChannelDoesNotMarkTheAdminLogRead) {
    FakeLog log;
    log.operational = events(3, 1000, 1, 1);
    PrintLogSource source = source_of(&log);
    read_print_log(s, &source, VANTREL_OPERATIONAL_LOG, 1, 10);
    EXPECT_EQ(s->adminLogRead, 0);
    EXPECT_EQ(s->logCount, 3);
    read_print_log(s, &source, VANTREL_OPERATIONAL_LOG, 1, 0);
    EXPECT_EQ(s->logCount, 3);
}

TEST_F(PrintLog, FullSnapshotStopsTheReading) {
    FakeLog log;
    log.admin = events(10, 1000, 1, 1);
    for (int i = 0; i < 78; i++)
        snapshot_add_log_entry(s);
    PrintLogSource source = source_of(&log);
    read_print_log(s, &source, VANTREL_ADMIN_LOG, 0, 30);
    EXPECT_EQ(s->logCount, 80);
    EXPECT_EQ(log.fetched, 2);
}

TEST_F(PrintLog, EndlessUnreadableLogEnds) {
    FakeLog log;
    log.admin = events(5000, 100000, 1, 1);
    for (auto& e : log.admin)
        e.properties = 0;
    PrintLogSource source = source_of(&log);
    read_print_log(s, &source, VANTREL_ADMIN_LOG, 0, 30);
    EXPECT_EQ(s->logCount, 0);
    EXPECT_EQ(log.fetched, kMaxEventsFetched);
}

} // namespace
