// A small builder of snapshots for the diagnosis tests, and helpers to read the finding list.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/diagnose.h"
#include "core/findings.h"
#include "core/search_result.h"
#include "core/settings.h"
#include "core/snapshot.h"
#include "core/text.h"

// 2026-12-09 12:00 UTC in 100 ns units since 1601.
constexpr uint64_t kTestNow = 134412912000000000ull;
constexpr uint64_t kMinute100ns = 600000000ull;

struct Diag {
    Snapshot* s = snapshot_new();
    Settings settings;
    std::unique_ptr<NetworkSearchResult> search;
    int demo = 0;
    int headless = 0;
    std::unique_ptr<FindingList> list{new FindingList()};
    uint64_t now = kTestNow;

    Diag() {
        settings_defaults(&settings);
        s->spoolerState = 4;
        s->spoolerStartType = 2;
        text_copy(s->userName, _countof(s->userName), L"pat");
        text_copy(s->sessionUserName, _countof(s->sessionUserName), L"pat");
        // Some default, so the tests of other rules do not all carry the no-default finding.
        text_copy(s->defaultPrinter, _countof(s->defaultPrinter), L"Printer elsewhere");
    }
    ~Diag() { snapshot_free(s); }
    Diag(const Diag&) = delete;
    Diag& operator=(const Diag&) = delete;

    // A local printer with an installed driver.
    PrinterRecord* printer(const wchar_t* name, ConnectionKind kind = KindUsb,
                           const wchar_t* driver = L"Brother HL-L2350DW series") {
        PrinterRecord* p = snapshot_add_printer(s);
        text_copy(p->name, _countof(p->name), name);
        text_copy(p->driverName, _countof(p->driverName), driver);
        text_copy(p->portName, _countof(p->portName), kind == KindUsb ? L"USB001" : L"IP_10.0.0.9");
        p->kind = kind;
        p->driverFound = 1;
        p->portNumber = 9100;
        p->protocol = 1;
        return p;
    }

    // A TCP/IP printer whose network test found it answering at ip on port 9100.
    PrinterRecord* net_printer(const wchar_t* name, const wchar_t* ip) {
        PrinterRecord* p = printer(name, KindTcpIp, L"HP LaserJet Pro M404-M405 PCL-6 (V4)");
        text_format(p->portName, _countof(p->portName), L"IP_%ls", ip);
        text_copy(p->address, _countof(p->address), ip);
        text_copy(p->net.target, _countof(p->net.target), ip);
        text_copy(p->net.ipText, _countof(p->net.ipText), ip);
        p->net.tested = 1;
        p->net.resolved = 1;
        p->net.pingOk = 1;
        p->net.portOpen[0] = 1;
        return p;
    }

    DriverRecord* driver(const wchar_t* name, DriverLanguage language = LanguageNotStated) {
        DriverRecord* d = snapshot_add_driver(s);
        text_copy(d->name, _countof(d->name), name);
        d->language = language;
        return d;
    }

    JobRecord* job(int printer_index, uint32_t status, int age) {
        JobRecord* j = snapshot_add_job(s);
        j->printerIndex = printer_index;
        j->status = status;
        j->ageMinutes = age;
        if (printer_index >= 0 && printer_index < kMaxPrinters && printer_index < s->printerCount)
            s->printers[printer_index].jobCount++;
        return j;
    }

    NetworkSearchResult* make_search() {
        if (!search) search.reset(new NetworkSearchResult());
        return search.get();
    }

    FoundPrinter* found(const wchar_t* ip, const wchar_t* mac = L"", const wchar_t* model = L"",
                        const wchar_t* serial = L"") {
        NetworkSearchResult* r = make_search();
        FoundPrinter* f = &r->printers[r->count++];
        text_copy(f->ip, _countof(f->ip), ip);
        text_copy(f->mac, _countof(f->mac), mac);
        text_copy(f->model, _countof(f->model), model);
        text_copy(f->serial, _countof(f->serial), serial);
        f->pageCount = -1;
        return f;
    }

    void run() {
        DiagnosisInput in = {s, search.get(), &settings, demo, headless};
        diagnose_at(&in, list.get(), now);
    }

    int count() const { return list->count; }
    const Finding& at(int i) const { return list->items[i]; }

    std::vector<std::wstring> titles() const {
        std::vector<std::wstring> out;
        for (int i = 0; i < list->count; i++)
            out.push_back(list->items[i].title);
        return out;
    }

    // The titles of the findings about one printer (-1: the PC), in list order.
    std::vector<std::wstring> titles_of(int printer_index) const {
        std::vector<std::wstring> out;
        for (int i = 0; i < list->count; i++)
            if (list->items[i].printerIndex == printer_index) out.push_back(list->items[i].title);
        return out;
    }

    const Finding* find(const wchar_t* title) const {
        for (int i = 0; i < list->count; i++)
            if (wcscmp(list->items[i].title, title) == 0) return &list->items[i];
        return nullptr;
    }

    int how_many(const wchar_t* title) const {
        int n = 0;
        for (int i = 0; i < list->count; i++)
            n += wcscmp(list->items[i].title, title) == 0;
        return n;
    }
};

// printf-style filling for the expected texts of the tests.
std::wstring filled(const wchar_t* format, ...);

// The text and title of a finding are among the program's messages (placeholders matched).
bool is_known_message(const std::wstring& text);

std::string narrow(const std::wstring& w);
