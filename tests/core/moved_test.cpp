// Moved printers: identity match, model match, not found, and the model guess behind the model match.
#include "diagnosis_fixture.h"

#include "core/model_guess.h"
#include "core/moved.h"

static const wchar_t kIdentityText[] = L"Windows sends this printer's jobs to %ls, where nothing answers. "
                                       L"Vantrel searched the network and found THIS "
                                       L"printer — %ls — at %ls%ls%ls.\n\nThis happens when the printer gets "
                                       L"its address from the router (DHCP) and "
                                       L"the router gave it a new one.\n\nFix This points Windows at the new "
                                       L"address and restarts the Print Spooler, "
                                       L"and the waiting jobs print. It can be undone from History & "
                                       L"Undo.\n\nTo stop it happening again, reserve the "
                                       L"address for the printer in the router or DHCP server (a \"DHCP "
                                       L"reservation\" for MAC %ls), or set a fixed "
                                       L"address on the printer itself.";

static const wchar_t kModelText[] = L"Windows sends this printer's jobs to %ls, where nothing answers. "
                                    L"Vantrel searched the network and found one "
                                    L"printer of the same model that no printer on this PC uses%ls, at "
                                    L"%ls%ls%ls.\n\nIt is PROBABLY this printer with "
                                    L"a new address, but that is a guess from the model. Check by opening "
                                    L"its web page or printing a configuration "
                                    L"page from the printer, before using Fix This to point Windows at "
                                    L"it.\n\nTo stop it happening again, reserve the "
                                    L"address in the router or DHCP server (MAC %ls).";

// A silent TCP/IP Lexmark at 192.168.10.57 that answered before with a known MAC and serial.
static PrinterRecord* silent_printer(Diag& d) {
    PrinterRecord* p = d.net_printer(L"Parts Counter - Lexmark MS621", L"192.168.10.57");
    text_copy(p->driverName, _countof(p->driverName), L"Lexmark MS620 Series XL");
    p->net.pingOk = 0;
    p->net.portOpen[0] = 0;
    text_copy(p->knownMac, _countof(p->knownMac), L"00-21-B7-4C-19-AA");
    text_copy(p->knownSerial, _countof(p->knownSerial), L"4517294X8C");
    return p;
}

TEST(MovedPrinter, FoundByMacAtANewAddress) {
    Diag d;
    silent_printer(d);
    d.found(L"192.168.10.57", L"00-21-B7-4C-19-AA", L"Lexmark MS621",
            L"4517294X8C"); // its own address: never
    FoundPrinter* f = d.found(L"192.168.10.88", L"00-21-b7-4c-19-aa", L"Lexmark MS621", L"4517294X8C");
    text_copy(f->hostName, _countof(f->hostName), L"et0021b74c19aa.dealer.example");
    d.run();
    ASSERT_EQ((std::vector<std::wstring>{L"Nothing answers at the printer's address",
                                         L"The printer has moved to 192.168.10.88"}),
              d.titles_of(0));
    const Finding* m = d.find(L"The printer has moved to 192.168.10.88");
    EXPECT_EQ(SeverityProblem, m->severity);
    EXPECT_EQ(PointToNewAddress, m->fix);
    EXPECT_STREQ(L"IP_192.168.10.57|192.168.10.88", m->subject);
    EXPECT_EQ(filled(kIdentityText, L"192.168.10.57", L"the same MAC address (00-21-b7-4c-19-aa)",
                     L"192.168.10.88", L", name ", L"et0021b74c19aa.dealer.example", L"00-21-b7-4c-19-aa"),
              m->text);
}

TEST(MovedPrinter, FoundBySerialWhenTheMacDiffers) {
    Diag d;
    PrinterRecord* p = silent_printer(d);
    text_copy(p->portName, _countof(p->portName), L"Lexmark_Port,IP_192.168.10.57");
    p->kind = KindIpp; // found, but there is no Standard TCP/IP port to repoint
    d.found(L"192.168.10.91", L"", L"Lexmark MS621", L"4517294x8c");
    d.run();
    const Finding* m = d.find(L"The printer has moved to 192.168.10.91");
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(NoFix, m->fix);
    EXPECT_STREQ(L"Lexmark_Port|192.168.10.91", m->subject);
    EXPECT_EQ(filled(kIdentityText, L"192.168.10.57", L"the same serial number (4517294x8c)",
                     L"192.168.10.91", L"", L"", L"(unknown)"),
              m->text);
}

TEST(MovedPrinter, ModelMatchNeedsExactlyOneUnusedCandidate) {
    Diag d;
    PrinterRecord* p = silent_printer(d);
    p->knownMac[0] = 0;
    p->knownSerial[0] = 0;
    FoundPrinter* used = d.found(L"192.168.10.20", L"AA-00-00-00-00-01", L"Lexmark MS621");
    text_copy(used->installedAs, _countof(used->installedAs), L"Back Office");
    d.found(L"192.168.10.30", L"AA-00-00-00-00-02", L"HP LaserJet M406");
    d.found(L"192.168.10.31", L"AA-00-00-00-00-03", L"Kyocera MS621 clone"); // the key, but not the maker
    FoundPrinter* f = d.found(L"192.168.10.99", L"AA-00-00-00-00-04", L"", L"");
    text_copy(f->description, _countof(f->description), L"Lexmark MS621 version 7");
    d.run();
    const Finding* m = d.find(L"A printer of the same model was found at 192.168.10.99");
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(SeverityHeadsUp, m->severity);
    EXPECT_EQ(PointToNewAddress, m->fix);
    EXPECT_STREQ(L"IP_192.168.10.57|192.168.10.99", m->subject);
    EXPECT_EQ(filled(kModelText, L"192.168.10.57", L"", L"192.168.10.99", L"", L"", L"AA-00-00-00-00-04"),
              m->text);

    d.found(L"192.168.10.100", L"", L"Lexmark MS621dn");
    d.run();
    EXPECT_EQ(nullptr, d.find(L"A printer of the same model was found at 192.168.10.99")) << "two candidates";
    const Finding* n = d.find(L"The network search did not find this printer anywhere");
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(SeverityNote, n->severity);
    EXPECT_STREQ(L"Parts Counter - Lexmark MS621", n->subject);
}

TEST(MovedPrinter, NotFoundTextAndOtherUnreachableFindings) {
    Diag d;
    PrinterRecord* p = silent_printer(d);
    NetworkSearchResult* r = d.make_search();
    r->addressesSwept = 254;
    text_copy(r->rangesText, _countof(r->rangesText), L"192.168.10.0/24");
    d.run();
    const Finding* n = d.find(L"The network search did not find this printer anywhere");
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(
        filled(
            L"Vantrel searched %d network addresses (%ls) for this printer — by its MAC address and serial "
            L"number if it has answered before, otherwise by its model — and did not find it. It is most "
            L"likely switched off, unplugged, or on a network this PC cannot reach.",
            254, L"192.168.10.0/24"),
        n->text);

    // The unresolvable name and the wrong-device findings are followed by the search verdict too.
    p->net.resolved = 0;
    d.run();
    EXPECT_EQ((std::vector<std::wstring>{L"The printer's network name cannot be found",
                                         L"The network search did not find this printer anywhere"}),
              d.titles_of(0));
    p->net.resolved = 1;
    p->net.portOpen[3] = 1;
    d.run();
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Something answers at the address, but it is not accepting print jobs",
                                   L"The network search did not find this printer anywhere"}),
        d.titles_of(0));
    // A printer that answers is not looked for.
    p->net.portOpen[0] = 1;
    p->net.pingOk = 1;
    d.run();
    EXPECT_TRUE(d.titles_of(0).empty());
}

TEST(MovedPrinter, SameAddressByNameNeverCounts) {
    Diag d;
    PrinterRecord* p = silent_printer(d);
    text_copy(p->address, _countof(p->address), L"LEXMARK-PC.example");
    p->net.ipText[0] = 0;
    p->net.resolved = 0;
    d.found(L"lexmark-pc.example", L"00-21-B7-4C-19-AA");
    d.run();
    EXPECT_NE(nullptr, d.find(L"The network search did not find this printer anywhere"));
}

TEST(MovedPrinter, DirectCallsWithBadArguments) {
    Diag d;
    silent_printer(d);
    d.found(L"192.168.10.88", L"00-21-B7-4C-19-AA");
    match_moved_printer(d.s, -1, d.search.get(), d.list.get());
    match_moved_printer(d.s, 1, d.search.get(), d.list.get());
    match_moved_printer(d.s, 0, nullptr, d.list.get());
    match_moved_printer(nullptr, 0, d.search.get(), d.list.get());
    match_moved_printer(d.s, 0, d.search.get(), nullptr);
    EXPECT_EQ(0, d.list->count);
    d.search->count = 100000; // a count beyond the array stops at its end
    match_moved_printer(d.s, 0, d.search.get(), d.list.get());
    EXPECT_EQ(1, d.list->count);
    d.search->count = -3;
    match_moved_printer(d.s, 0, d.search.get(), d.list.get());
    EXPECT_EQ(2, d.list->count);
    EXPECT_STREQ(L"The network search did not find this printer anywhere", d.list->items[1].title);
}

TEST(ModelKey, FirstLettersThenTwoDigits) {
    wchar_t key[8];
    EXPECT_TRUE(model_key(L"HP LaserJet Pro M404dn", key, _countof(key)));
    EXPECT_STREQ(L"M40", key);
    EXPECT_TRUE(model_key(L"Brother MFC-L2750DW", key, _countof(key)));
    EXPECT_STREQ(L"L27", key);
    EXPECT_TRUE(model_key(L"Kyocera ECOSYS M3655idn", key, _countof(key)));
    EXPECT_STREQ(L"M36", key);
    EXPECT_TRUE(model_key(L"Lexmark MS621", key, _countof(key)));
    EXPECT_STREQ(L"MS62", key);
    EXPECT_FALSE(model_key(L"ABCDE12 X1", key, _countof(key)));
    EXPECT_STREQ(L"", key);
    EXPECT_TRUE(model_key(L"ABCDE12 XYZW12", key, _countof(key)));
    EXPECT_STREQ(L"XYZW12", key);
    EXPECT_FALSE(model_key(L"404 M4", key, _countof(key)));
    EXPECT_FALSE(model_key(L"", key, _countof(key)));
    EXPECT_FALSE(model_key(nullptr, key, _countof(key)));
    wchar_t tiny[3];
    EXPECT_TRUE(model_key(L"M404", tiny, _countof(tiny)));
    EXPECT_STREQ(L"M4", tiny);
}

static std::wstring guess(const wchar_t* name, const wchar_t* driver, const wchar_t* snmp_model = L"",
                          std::wstring* maker_out = nullptr) {
    PrinterRecord p = {};
    text_copy(p.name, _countof(p.name), name);
    text_copy(p.driverName, _countof(p.driverName), driver);
    if (snmp_model[0]) {
        p.net.snmpAnswered = 1;
        text_copy(p.net.model, _countof(p.net.model), snmp_model);
    }
    ModelGuess g;
    identify_model(&p, &g);
    wchar_t maker[40];
    short_maker_name(g.maker, maker, _countof(maker));
    if (maker_out) *maker_out = maker;
    return g.model;
}

TEST(ModelGuess, FromDriverPrinterNameAndSnmp) {
    std::wstring maker;
    EXPECT_EQ(L"HP LaserJet M404dn",
              guess(L"Front Desk - HP LaserJet M404dn", L"HP Universal Printing PCL 6", L"", &maker));
    EXPECT_EQ(L"HP", maker);
    EXPECT_EQ(L"Brother MFC-L2750DW", guess(L"Office", L"Brother MFC-L2750DW series", L"", &maker));
    EXPECT_EQ(L"Brother", maker);
    EXPECT_EQ(L"Canon Lobby", guess(L"Lobby", L"Canon Generic Plus UFR II"))
        << "generic driver: the printer name";
    EXPECT_EQ(L"HP LaserJet Pro M404", guess(L"X", L"Something", L"LaserJet Pro M404"));
    EXPECT_EQ(L"HP Samsung M2020", guess(L"X", L"Samsung M2020 Series", L"", &maker));
    EXPECT_EQ(L"HP", maker);
    EXPECT_EQ(L"HPC 1500", guess(L"X", L"HP PSC 1500")) << "tokens are removed inside words too";
    EXPECT_EQ(L"Lexmark MS620", guess(L"Parts Counter - Lexmark MS621", L"Lexmark MS620 Series XL"));
    EXPECT_EQ(L"Kyocera ECOSYS M3655idn", guess(L"F&I", L"Kyocera ECOSYS M3655idn KX"));
    EXPECT_EQ(L"Widget 9", guess(L"Widget 9 (Copy 1)", L"", L"", &maker)) << "no driver, no maker";
    EXPECT_EQ(L"", maker);
    EXPECT_EQ(L"OKI B432", guess(L"X", L"B432 (oki)")) << "a whole-word maker in the driver name";
    EXPECT_EQ(L"SHPx 7", guess(L"SHPx 7", L"")) << "HP only as a whole word";
}
