// The check worker's body on Windows: the collector over the real spooler, registry, event log and
// accounts, handing the snapshot to a window.
#pragma once

#include <windows.h>

#include "collect/collector.h"

typedef int (*NetTestFunction)(void* ctx, NetTestResult* result, const wchar_t* target, int ask_snmp,
                               const wchar_t* community);

struct CheckWorker {
    HWND window;                 // receives WM_APP+20 (MsgCheckDone) with the snapshot
    volatile LONG* checkRunning; // cleared when no snapshot could be handed over
    BuildDemoSnapshot buildDemo; // set in demonstration mode only
    NetTestFunction netTest;     // null: the printer network test (net_test_printer)
    const Settings* settings;    // the caller's copy; null: the built-in settings
};

// One started check: everything the worker thread reads, copied on the interface thread when the
// check was asked for, so the thread reads no globals. Allocated with malloc/calloc; the thread
// frees it (and the request it carries).
struct CheckStart {
    CheckWorker worker;
    Settings settings;
    CheckRequest* request;
};

// Fills the platform with the Windows operations; ctx is the worker.
void windows_collector_platform(const CheckWorker* worker, CollectorPlatform* out);

// The whole check: takes the request (allocated with malloc/calloc; freed here), posts the snapshot
// or frees it when the post fails. Returns the posted snapshot, which then belongs to the window.
Snapshot* run_check_worker(CheckRequest* request, const CheckWorker* worker);

// The same check on the calling thread for the headless modes: the snapshot is returned to the
// caller (who frees it) instead of being posted; null when it could not be allocated.
Snapshot* collect_now(CheckRequest* request, const CheckWorker* worker);

// The thread procedure: CreateThread(..., check_worker_thread, start, ...) with a CheckStart.
DWORD WINAPI check_worker_thread(LPVOID start);
