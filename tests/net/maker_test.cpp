// Maker and model identification, whole-word matching, model cleaning, percent-encoding, the driver
// search address and the matching of found printers to installed ones.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "net/installed.h"
#include "net/maker.h"

namespace {
PrinterRecord printer(const wchar_t* name, const wchar_t* driver, const wchar_t* snmp_model = nullptr,
                      const wchar_t* sys_descr = nullptr) {
    PrinterRecord p = {};
    wcsncpy(p.name, name, 259);
    wcsncpy(p.driverName, driver, 199);
    if (snmp_model) {
        p.net.snmpAnswered = 1;
        wcsncpy(p.net.model, snmp_model, 199);
    }
    if (sys_descr) wcsncpy(p.net.sysDescr, sys_descr, 199);
    return p;
}

ModelGuess guess(const PrinterRecord& p) {
    ModelGuess g;
    identify_model(&p, &g);
    return g;
}

std::wstring clean(const wchar_t* text) {
    wchar_t out[200];
    clean_model_text(text, out, _countof(out));
    return out;
}

std::wstring encode(const wchar_t* text, size_t cap = 1200, int crlf = 0) {
    std::wstring buf(cap, L'#');
    percent_encode(text, &buf[0], cap, crlf);
    return buf.c_str();
}
} // namespace

TEST(Model, GenericDriverTakesTheModelFromThePrinterName) {
    ModelGuess g = guess(printer(L"Front Desk - HP LaserJet M404dn", L"HP Universal Printing PCL 6"));
    EXPECT_STREQ(L"HP LaserJet M404dn", g.model);
    EXPECT_STREQ(L"HP", g.maker);
    EXPECT_STREQ(L"hp.com", g.domain);
}

TEST(Model, DriverNameIsCleanedAndTheMakerNotRepeated) {
    ModelGuess g = guess(printer(L"Office", L"Brother MFC-L2750DW series"));
    EXPECT_STREQ(L"Brother MFC-L2750DW", g.model);
    EXPECT_STREQ(L"Brother", g.maker);
}

TEST(Model, GenericCanonDriverWithoutSnmpUsesThePrinterName) {
    ModelGuess g = guess(printer(L"Copier - Canon iR-ADV C5535", L"Canon Generic Plus UFR II"));
    EXPECT_STREQ(L"Canon iR-ADV C5535", g.model);
    EXPECT_STREQ(L"Canon", g.maker);
    // With an SNMP answer the printer's own word wins.
    PrinterRecord p =
        printer(L"Copier - Canon iR-ADV C5535", L"Canon Generic Plus UFR II", L"iR-ADV C5535 III");
    EXPECT_STREQ(L"Canon iR-ADV C5535 III", guess(p).model) << "maker from the driver name, prefixed";
}

TEST(Model, SnmpModelGetsItsMakerFromTheKeyword) {
    ModelGuess g = guess(printer(L"X", L"Some Driver", L"LaserJet Pro M404"));
    EXPECT_STREQ(L"HP LaserJet Pro M404", g.model);
    EXPECT_STREQ(L"HP", g.maker);
    // An SNMP model that was asked but not answered counts as absent.
    PrinterRecord p = printer(L"X", L"Lexmark MS620 Series XL", L"LaserJet Pro M404");
    p.net.snmpAnswered = 0;
    EXPECT_STREQ(L"Lexmark MS620", guess(p).model);
}

TEST(Model, SamsungIsSupportedByHp) {
    ModelGuess g = guess(printer(L"X", L"Samsung M2020 Series"));
    EXPECT_STREQ(L"HP (Samsung printers are now supported by HP)", g.maker);
    EXPECT_STREQ(L"hp.com", g.domain);
    EXPECT_STREQ(L"HP Samsung M2020", g.model);
}

TEST(Model, MakerSourcesInOrderAndNoMaker) {
    // The model says nothing; the SNMP description comes before the driver and printer names.
    PrinterRecord p = printer(L"Kyocera room", L"Ricoh Thing", L"M123", L"Xerox WorkCentre");
    ModelGuess g = guess(p);
    EXPECT_STREQ(L"Xerox", g.maker);
    EXPECT_STREQ(L"xerox.com", g.domain);
    EXPECT_STREQ(L"Xerox M123", g.model);
    g = guess(printer(L"Back office", L"Acme 3000"));
    EXPECT_STREQ(L"Acme 3000", g.model);
    EXPECT_STREQ(L"", g.maker);
    EXPECT_STREQ(L"", g.domain);
    // No driver name at all: the printer name after " - ".
    g = guess(printer(L"Lab - OKI C332", L""));
    EXPECT_STREQ(L"OKI C332", g.model);
    EXPECT_STREQ(L"OKI", g.maker);
    EXPECT_STREQ(L"oki.com", g.domain);
}

TEST(Model, EmptyAndFullCapacityInputs) {
    ModelGuess g = guess(printer(L"", L""));
    EXPECT_STREQ(L"", g.model);
    EXPECT_STREQ(L"", g.maker);
    identify_model(nullptr, &g);
    EXPECT_STREQ(L"", g.model);
    identify_model(nullptr, nullptr); // must not crash

    // Only the description names the maker; the model is empty and becomes the maker alone.
    PrinterRecord p = printer(L"", L"", L"", L"HP ETHERNET MULTI-ENVIRONMENT");
    EXPECT_STREQ(L"HP", guess(p).model);

    // A 199-character model leaves no room for the maker's name in front.
    std::wstring long_model = L"Model " + std::wstring(193, L'Z');
    p = printer(L"", L"Zebra ZD420", long_model.c_str());
    g = guess(p);
    EXPECT_EQ(long_model, g.model);
    EXPECT_STREQ(L"Zebra", g.maker);
    // 197 characters: "Dell " + 197 = 202 > 199 stays; 192 + 4 + 2 = 198 gets the prefix.
    std::wstring fits(192, L'Q');
    p = printer(L"", L"Dell", fits.c_str());
    EXPECT_EQ(L"Dell " + fits, guess(p).model);
    std::wstring too_long(194, L'Q');
    p = printer(L"", L"Dell", too_long.c_str());
    EXPECT_EQ(too_long, guess(p).model);
}

TEST(Clean, TokensParenthesesAndTrimming) {
    EXPECT_EQ(L"HPC 1500", clean(L"HP PSC 1500")) << "removal ignores word boundaries";
    EXPECT_EQ(L"HP LaserJet Pro M404-M405", clean(L"HP LaserJet Pro M404-M405 PCL-6 (V4)"));
    EXPECT_EQ(L"Kyocera ECOSYS M3655idn", clean(L"Kyocera ECOSYS M3655idn KX"));
    EXPECT_EQ(L"EPSON LQ-590II", clean(L"EPSON LQ-590II ESC/P2"));
    EXPECT_EQ(L"Canon iR C3025", clean(L"Canon iR C3025 UFR II"));
    EXPECT_EQ(L"Ricoh MP C3004", clean(L"  Ricoh MP C3004 PCL 6 - "));
    EXPECT_EQ(L"A  B", clean(L"A (x (y) z) B")) << "nested parentheses go as a whole";
    EXPECT_EQ(L"A B", clean(L"A) B")) << "a stray closing parenthesis goes too";
    EXPECT_EQ(L"A", clean(L"A (unclosed B"));
    EXPECT_EQ(L"HP", clean(L"HP PostScript pcl6 Class Driver"));
    EXPECT_EQ(L"", clean(L""));
    EXPECT_EQ(L"", clean(nullptr));
    EXPECT_EQ(L"", clean(L" PCL -"));
    std::wstring huge(600, L'a');
    EXPECT_EQ(199u, clean(huge.c_str()).size());
    wchar_t small[5];
    clean_model_text(L"Brother HL-L5200DW series", small, _countof(small));
    EXPECT_STREQ(L"Brot", small);
}

TEST(Word, WholeWordsOnly) {
    EXPECT_TRUE(contains_word(L"HP", L"HP"));
    EXPECT_TRUE(contains_word(L"an hp printer", L"HP"));
    EXPECT_TRUE(contains_word(L"(HP)", L"HP"));
    EXPECT_TRUE(contains_word(L"HP-1020", L"HP"));
    EXPECT_FALSE(contains_word(L"SHPx", L"HP"));
    EXPECT_FALSE(contains_word(L"HP2", L"HP"));
    EXPECT_FALSE(contains_word(L"2HP", L"HP"));
    EXPECT_TRUE(contains_word(L"SHP and HP", L"HP")) << "a later occurrence counts";
    EXPECT_FALSE(contains_word(L"COOKIE", L"OKI"));
    EXPECT_TRUE(contains_word(L"oki b412", L"OKI"));
    EXPECT_FALSE(contains_word(L"", L"HP"));
    EXPECT_FALSE(contains_word(nullptr, L"HP"));
    EXPECT_FALSE(contains_word(L"HP", L""));
    wchar_t maker[80], domain[64];
    EXPECT_EQ(0, find_maker(L"SHPx Printer", maker, _countof(maker), domain, _countof(domain)));
    EXPECT_EQ(1, find_maker(L"a HP b", maker, _countof(maker), domain, _countof(domain)));
    EXPECT_STREQ(L"HP", maker);
}

TEST(MakerTable, EveryRowOfOneMakerHasOneDomain) {
    for (int i = 0; i < kMakerTableRows; i++) {
        const MakerRow& a = kMakerTable[i];
        ASSERT_TRUE(a.domain && a.domain[0]) << i;
        EXPECT_EQ(nullptr, wcschr(a.domain, L'/')) << "a bare domain, for site:";
        for (int k = 0; k < kMakerTableRows; k++) {
            wchar_t sa[40], sb[40];
            short_maker_name(a.maker, sa, _countof(sa));
            short_maker_name(kMakerTable[k].maker, sb, _countof(sb));
            if (wcscmp(sa, sb) == 0) {
                EXPECT_STREQ(a.domain, kMakerTable[k].domain) << i << " " << k;
            }
        }
    }
    EXPECT_STREQ(L"Hewlett", kMakerTable[0].keyword);
    EXPECT_STREQ(L"Okidata", kMakerTable[26].keyword);
    EXPECT_STREQ(L"OKI", kMakerTable[26].maker);
    wchar_t s[40];
    short_maker_name(L"HP (Samsung printers are now supported by HP)", s, _countof(s));
    EXPECT_STREQ(L"HP", s);
}

TEST(PercentEncode, BytesAndLineEnds) {
    EXPECT_EQ(L"a%20b%26c", encode(L"a b&c"));
    EXPECT_EQ(L"%C3%A9", encode(L"\x00e9"));
    EXPECT_EQ(L"~_-.", encode(L"~_-."));
    EXPECT_EQ(L"AZaz09", encode(L"AZaz09"));
    EXPECT_EQ(L"a%0Ab", encode(L"a\r\nb"));
    EXPECT_EQ(L"a%0D%0Ab", encode(L"a\r\nb", 1200, 1));
    EXPECT_EQ(L"%F0%9F%96%A8", encode(L"\xD83D\xDDA8")) << "a surrogate pair is one four-byte character";
    EXPECT_EQ(L"", encode(L""));
    EXPECT_EQ(L"", encode(nullptr));
}

TEST(PercentEncode, StopsNearTheCapacity) {
    // capacity 20: bytes are taken until the output reaches 12 characters.
    EXPECT_EQ(L"aaaaaaaaaaaa", encode(L"aaaaaaaaaaaaaaaaaaaaaaaaa", 20));
    EXPECT_EQ(L"aaaaaaaaaaa%20", encode(L"aaaaaaaaaaa    ", 20));
    std::wstring r = encode(L"aaaaaaaaaaa\n\n", 20, 1);
    EXPECT_EQ(L"aaaaaaaaaaa%0D%0A", r);
    EXPECT_LE(r.size(), 17u) << "at most capacity - 3";
    EXPECT_EQ(L"", encode(L"abc", 8));
    EXPECT_EQ(L"a", encode(L"abc", 9));
    std::wstring many(5000, L'\x00e9');
    EXPECT_LE(encode(many.c_str(), 1200).size(), 1197u);
}

TEST(DriverSearch, QueryAndAddress) {
    wchar_t query[400], url[1400];
    driver_search_query(L"HP LaserJet Pro M404dn", L"hp.com", query, _countof(query));
    EXPECT_STREQ(L"HP LaserJet Pro M404dn driver download Windows site:hp.com", query);
    driver_search_query(L"Acme 3000", L"", query, _countof(query));
    EXPECT_STREQ(L"Acme 3000 printer driver download Windows", query);
    driver_search_url(L"F&I 5", L"ricoh.com", url, _countof(url));
    EXPECT_STREQ(VANTREL_SEARCH_ADDRESS L"F%26I%205%20driver%20download%20Windows%20site%3Aricoh.com", url);
    std::wstring huge(800, L'M');
    driver_search_query(huge.c_str(), L"hp.com", query, _countof(query));
    EXPECT_EQ(399u, wcslen(query));
}

TEST(Installed, MatchesByAddressAndByName) {
    Snapshot* s = snapshot_new();
    NetworkSearchResult* r = new NetworkSearchResult();
    auto add = [&](const wchar_t* name, const wchar_t* address, const wchar_t* ip, int is_virtual) {
        PrinterRecord* p = snapshot_add_printer(s);
        wcscpy(p->name, name);
        wcscpy(p->address, address);
        wcscpy(p->net.ipText, ip);
        p->isVirtual = is_virtual;
    };
    add(L"By ip", L"printer7.example.lan", L"10.0.0.7", 0);
    add(L"By address", L"10.0.0.7", L"", 0);
    add(L"By host", L"NPI123.other.lan", L"", 0);
    add(L"By sysname", L"ET001122", L"", 0);
    add(L"Virtual", L"10.0.0.7", L"10.0.0.7", 1);
    add(L"No address", L"", L"10.0.0.9", 0);
    r->count = 3;
    wcscpy(r->printers[0].ip, L"10.0.0.7");
    wcscpy(r->printers[0].installedAs, L"stale");
    wcscpy(r->printers[1].ip, L"10.0.0.8");
    wcscpy(r->printers[1].hostName, L"npi123.example.lan");
    wcscpy(r->printers[2].ip, L"10.0.0.9");
    wcscpy(r->printers[2].sysName, L"et001122");
    mark_installed(r, s);
    EXPECT_STREQ(L"By ip; By address", r->printers[0].installedAs);
    EXPECT_STREQ(L"By host", r->printers[1].installedAs);
    EXPECT_STREQ(L"By sysname", r->printers[2].installedAs);
    mark_installed(r, nullptr);
    EXPECT_STREQ(L"", r->printers[0].installedAs);
    r->count = -1;
    mark_installed(r, s); // nothing to do, nothing broken
    mark_installed(nullptr, s);
    snapshot_free(s);
    delete r;
}

// Each token is removed until none is left, also one formed by a removal joining two halves; the
// moved-printer matching reads this same guess.
TEST(Clean, ARemovalThatFormsTheTokenAgainRemovesThatToo) {
    EXPECT_EQ(L"Xerox  6", clean(L"Xerox PCPCLL 6 Driver"));
    EXPECT_STREQ(L"Xerox  6", guess(printer(L"Office", L"Xerox PCPCLL 6 Driver")).model);
}
