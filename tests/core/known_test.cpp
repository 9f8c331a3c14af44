// Remembered printer identities: what is remembered, how it reads back, and the registry store.
#include "diagnosis_fixture.h"

#include <windows.h>

#include "core/known.h"

static PrinterRecord answering(const wchar_t* mac, const wchar_t* serial) {
    PrinterRecord p = {};
    text_copy(p.name, _countof(p.name), L"Known test printer");
    text_copy(p.address, _countof(p.address), L"10.0.0.7");
    text_copy(p.net.ipText, _countof(p.net.ipText), L"10.0.0.7");
    text_copy(p.net.mac, _countof(p.net.mac), mac);
    text_copy(p.net.serial, _countof(p.net.serial), serial);
    p.net.tested = 1;
    p.net.pingOk = 1;
    return p;
}

TEST(KnownValue, WhatIsRemembered) {
    wchar_t value[kKnownValueCapacity];
    PrinterRecord p = answering(L"00-11-22-33-44-55", L"X1");
    ASSERT_TRUE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_STREQ(L"00-11-22-33-44-55|X1", value);

    // Next time without SNMP: the serial is kept from before.
    p = answering(L"00-11-22-33-44-55", L"");
    text_copy(p.knownSerial, _countof(p.knownSerial), L"X1");
    ASSERT_TRUE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_STREQ(L"00-11-22-33-44-55|X1", value);

    p = answering(L"", L"SER9");
    text_copy(p.knownMac, _countof(p.knownMac), L"AA-BB-CC-DD-EE-FF");
    ASSERT_TRUE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_STREQ(L"AA-BB-CC-DD-EE-FF|SER9", value);
    p.knownMac[0] = 0;
    ASSERT_TRUE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_STREQ(L"|SER9", value);

    p = answering(L"", L""); // never answered with an identity
    text_copy(p.knownMac, _countof(p.knownMac), L"AA-BB-CC-DD-EE-FF");
    EXPECT_FALSE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_STREQ(L"", value);

    p = answering(L"00-11-22-33-44-55", L"X1");
    p.isVirtual = 1;
    EXPECT_FALSE(known_value_for(&p, nullptr, value, _countof(value)));
    p.isVirtual = 0;
    p.address[0] = 0;
    EXPECT_FALSE(known_value_for(&p, nullptr, value, _countof(value)));
    EXPECT_FALSE(known_value_for(nullptr, nullptr, value, _countof(value)));
}

TEST(KnownValue, SearchFillsWhatTheTestMissed) {
    Diag d;
    FoundPrinter* f = d.found(L"10.0.0.7", L"00-AA-00-AA-00-AA", L"", L"SRCH1");
    d.found(L"10.0.0.8", L"11-11-11-11-11-11", L"", L"OTHER");
    wchar_t value[kKnownValueCapacity];
    PrinterRecord p = answering(L"", L"");
    ASSERT_TRUE(known_value_for(&p, d.search.get(), value, _countof(value)));
    EXPECT_STREQ(L"00-AA-00-AA-00-AA|SRCH1", value);
    p = answering(L"00-11-22-33-44-55", L"");
    ASSERT_TRUE(known_value_for(&p, d.search.get(), value, _countof(value)));
    EXPECT_STREQ(L"00-11-22-33-44-55|SRCH1", value) << "the test's own MAC wins";

    // Only a printer that answered at its address this time is the device found there.
    p = answering(L"", L"");
    p.net.pingOk = 0;
    EXPECT_FALSE(known_value_for(&p, d.search.get(), value, _countof(value)));
    p.net.portOpen[0] = 1;
    EXPECT_TRUE(known_value_for(&p, d.search.get(), value, _countof(value)));
    p.net.portOpen[0] = 0;
    p.net.portOpen[3] = 1;
    EXPECT_FALSE(known_value_for(&p, d.search.get(), value, _countof(value)));
    (void)f;
}

TEST(KnownValue, ParsingAStoredValue) {
    wchar_t mac[24], serial[80];
    parse_known_value(L"00-11-22-33-44-55|X1", mac, _countof(mac), serial, _countof(serial));
    EXPECT_STREQ(L"00-11-22-33-44-55", mac);
    EXPECT_STREQ(L"X1", serial);
    parse_known_value(L"00-11-22-33-44-55", mac, _countof(mac), serial, _countof(serial));
    EXPECT_STREQ(L"00-11-22-33-44-55", mac);
    EXPECT_STREQ(L"", serial);
    parse_known_value(L"|S|T", mac, _countof(mac), serial, _countof(serial));
    EXPECT_STREQ(L"", mac);
    EXPECT_STREQ(L"S|T", serial);
    std::wstring long_value = std::wstring(100, L'M') + L"|" + std::wstring(150, L'S');
    parse_known_value(long_value.c_str(), mac, _countof(mac), serial, _countof(serial));
    EXPECT_EQ(23u, wcslen(mac));
    EXPECT_EQ(79u, wcslen(serial));
    parse_known_value(nullptr, mac, _countof(mac), serial, _countof(serial));
    EXPECT_STREQ(L"", mac);
}

static void delete_known(const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, VANTREL_KNOWN_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name);
        RegCloseKey(key);
    }
}

TEST(KnownStore, RemembersReadsBackAndSkipsDemo) {
    Diag d;
    PrinterRecord* p = d.net_printer(L"Known store printer", L"10.0.0.31");
    text_copy(p->net.mac, _countof(p->net.mac), L"00-11-22-33-44-55");
    text_copy(p->net.serial, _countof(p->net.serial), L"X1");
    delete_known(p->name);

    remember_known_printers(d.s, nullptr, 1);
    wchar_t value[kKnownValueCapacity];
    EXPECT_FALSE(known_store_read(p->name, value, _countof(value))) << "demonstration mode writes nothing";

    remember_known_printers(d.s, nullptr, 0);
    ASSERT_TRUE(known_store_read(p->name, value, _countof(value)));
    EXPECT_STREQ(L"00-11-22-33-44-55|X1", value);

    PrinterRecord loaded = {};
    text_copy(loaded.name, _countof(loaded.name), p->name);
    load_known_printer(&loaded);
    EXPECT_STREQ(L"00-11-22-33-44-55", loaded.knownMac);
    EXPECT_STREQ(L"X1", loaded.knownSerial);

    // The next check answers without SNMP: the stored serial stays.
    p->net.serial[0] = 0;
    text_copy(p->knownMac, _countof(p->knownMac), loaded.knownMac);
    text_copy(p->knownSerial, _countof(p->knownSerial), loaded.knownSerial);
    remember_known_printers(d.s, nullptr, 0);
    ASSERT_TRUE(known_store_read(p->name, value, _countof(value)));
    EXPECT_STREQ(L"00-11-22-33-44-55|X1", value);

    // A value without "|" is all MAC; an absent value leaves both empty.
    known_store_write(p->name, L"AA-AA-AA-AA-AA-AA");
    load_known_printer(&loaded);
    EXPECT_STREQ(L"AA-AA-AA-AA-AA-AA", loaded.knownMac);
    EXPECT_STREQ(L"", loaded.knownSerial);
    delete_known(p->name);
    load_known_printer(&loaded);
    EXPECT_STREQ(L"", loaded.knownMac);

    // A stored value of 199 characters is taken whole; a longer one is not taken at all.
    std::wstring longest(199, L'Y');
    known_store_write(p->name, longest.c_str());
    ASSERT_TRUE(known_store_read(p->name, value, _countof(value)));
    EXPECT_EQ(longest, value);
    std::wstring too_long(200, L'Z');
    known_store_write(p->name, too_long.c_str());
    EXPECT_FALSE(known_store_read(p->name, value, _countof(value)));
    delete_known(p->name);

    EXPECT_FALSE(known_store_read(L"", value, _countof(value)));
    known_store_write(nullptr, L"x");
    remember_known_printers(nullptr, nullptr, 0);
}

TEST(KnownStore, ReadsAValueOfItsWholeCapacity) {
    const wchar_t* name = L"Known store long printer";
    std::wstring longest = L"00-11-22-33-44-55|" + std::wstring(kKnownValueCapacity - 19, L's');
    known_store_write(name, longest.c_str());
    wchar_t value[kKnownValueCapacity];
    ASSERT_TRUE(known_store_read(name, value, _countof(value))) << "199 characters fit";
    EXPECT_EQ(longest, value);
    known_store_write(name, (longest + L"s").c_str());
    EXPECT_FALSE(known_store_read(name, value, _countof(value))) << "200 do not";
    delete_known(name);
}
