// The change history: one registry value per change under HKCU "Software\Corvalen\Vantrel\Changes",
// numbered by the never-reset counter "ChangeSeq", so the History & Undo window can list every change
// and put back what can be put back. Malformed values are skipped when reading, never repaired.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

enum ChangeKind : int32_t {
    NothingToPutBack = 0,
    SnmpSwitchedOff = 1,
    OfflineUnticked = 2,
    PrinterResumed = 3,
    PrinterPaused = 4,
    WindowsDefaultOff = 5,
    DefaultPrinterSet = 6,
    SpoolerStartTypeSet = 7,
    OperationalLogOn = 8,
    PortAddressSet = 9,
    NamedPipesPolicySet = 10, // detail: RpcUseNamedPipeProtocol before, empty when it was absent
    PointAndPrintSet = 11,    // detail: the three Point and Print values before, "restrict,install,update"
    RpcPrivacySet = 12,       // detail: RpcAuthnLevelPrivacyEnabled before, empty when it was absent
};

#define CHANGE_SEPARATOR L'\x1F'
#define CHANGE_LIST_CAPACITY 300

struct ChangeRecord {
    wchar_t valueName[16];
    wchar_t whenText[40];
    int32_t changeKind;
    wchar_t detail[260];
    wchar_t description[500];
};

struct ChangeList {
    int32_t count;
    ChangeRecord records[CHANGE_LIST_CAPACITY];
};

// The stored text: time, kind, detail and description joined by U+001F, cut at 899 characters.
void build_change_text(wchar_t* buf, size_t cap, const wchar_t* when, int32_t kind, const wchar_t* detail,
                       const wchar_t* description);

// Splits a stored text at its first three separators. 0 (and the record untouched) when one is
// missing.
int parse_change_text(const wchar_t* value_name, const wchar_t* text, ChangeRecord* out);

// Leading decimal digits (an optional sign first); anything else reads as 0.
int32_t read_decimal(const wchar_t* text);

// Newest first: larger value names first, stable. A longer name is the larger one (numbers past
// 99,999,999 have more digits), names of one length compare ordinally.
void sort_changes(ChangeList* list);

// The value name of record `number`: its decimal digits, zero-padded to at least eight.
void change_value_name(uint64_t number, wchar_t* buf, size_t cap);

// Whether a record number's value already exists: 1 taken, 0 free, -1 when the registry cannot say.
typedef int (*ChangeNameTaken)(void* ctx, uint64_t number);

// The number for a new record: one above the stored counter, skipping every number that is already
// taken, so a counter that was reset, damaged or stored with the wrong type never overwrites a
// record. 0 when no free number turned up within kChangeNumberProbes tries or the registry could not
// say.
enum { kChangeNumberProbes = 100000 };
uint64_t next_change_number(uint32_t counter, ChangeNameTaken taken, void* ctx);

// The counter to store once `number` is used: it only ever rises, and stays at 0xFFFFFFFF once the
// record numbers have outgrown a REG_DWORD (the names then go on past it, found by skipping).
uint32_t change_counter_after(uint32_t counter, uint64_t number);

// Writes one record and the log line "CHANGE BY VANTREL: %ls". Failures are silent.
void record_change(ChangeKind change_kind, const wchar_t* detail, const wchar_t* description);

// Fills the list with at most 300 records, newest first; an absent key gives an empty list.
void load_changes(ChangeList* out);

// Removes one record; failures are ignored.
void delete_change(const wchar_t* value_name);
