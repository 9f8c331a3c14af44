// A snapshot, finding list, search result and settings to feed the list functions, and a reader of
// one cell as a std::wstring.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/text.h"
#include "ui/lists.h"

struct Lists {
    Snapshot* s = snapshot_new();
    std::unique_ptr<FindingList> findings{new FindingList()};
    std::unique_ptr<NetworkSearchResult> search;
    Settings settings;
    ListSource src = {};

    Lists() {
        settings_defaults(&settings);
        s->spoolerState = 4;
        src.snapshot = s;
        src.findings = findings.get();
        src.settings = &settings;
    }
    ~Lists() { snapshot_free(s); }
    Lists(const Lists&) = delete;
    Lists& operator=(const Lists&) = delete;

    PrinterRecord* printer(const wchar_t* name, const wchar_t* address = L"") {
        PrinterRecord* p = snapshot_add_printer(s);
        text_copy(p->name, _countof(p->name), name);
        text_copy(p->address, _countof(p->address), address);
        return p;
    }

    NetworkSearchResult* make_search() {
        if (!search) search.reset(new NetworkSearchResult());
        src.search = search.get();
        return search.get();
    }

    FoundPrinter* found(const wchar_t* ip, const wchar_t* mac = L"") {
        NetworkSearchResult* r = make_search();
        FoundPrinter* f = &r->printers[r->count++];
        text_copy(f->ip, _countof(f->ip), ip);
        text_copy(f->mac, _countof(f->mac), mac);
        return f;
    }

    void finding(Severity severity, int32_t printer_index, const wchar_t* title, FixKind fix = NoFix,
                 const wchar_t* subject = L"") {
        add_finding_to(findings.get(), severity, printer_index, fix, subject, title, L"");
    }

    std::wstring cell(int row, int column) {
        wchar_t out[kCellCapacity];
        printer_cell(&src, row, column, out, _countof(out));
        return out;
    }
    std::wstring bottom(int view, int row, int column) {
        wchar_t out[kCellCapacity];
        bottom_cell(&src, view, row, column, out, _countof(out));
        return out;
    }
    std::wstring verdict(BannerColour* colour = nullptr) {
        wchar_t out[800];
        BannerColour c = verdict_of(&src, out, _countof(out));
        if (colour) *colour = c;
        return out;
    }
};
