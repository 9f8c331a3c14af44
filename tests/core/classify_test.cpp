// Driver-language and connection classification, and the virtual-printer test.
#include <gtest/gtest.h>

#include "core/classify.h"
#include "core/text.h"

TEST(DriverLanguage, UniversalDriversAndTheirLanguage) {
    EXPECT_EQ(LanguagePcl6Universal, classify_driver_language(L"HP Universal Printing PCL 6"));
    EXPECT_EQ(LanguagePostScriptUniversal, classify_driver_language(L"HP Universal Printing PS"));
    EXPECT_EQ(LanguagePcl5, classify_driver_language(L"HP Universal Printing PCL5")) << "PCL 5 stays PCL 5";
    EXPECT_EQ(LanguagePcl6Universal, classify_driver_language(L"Canon Generic Plus PCL6"));
    EXPECT_EQ(LanguageUfr2, classify_driver_language(L"Canon Generic Plus UFR II")) << "UFR is tested first";
    EXPECT_EQ(LanguagePcl6, classify_driver_language(L"Kyocera ECOSYS M3655idn KX"));
    EXPECT_EQ(LanguagePcl6Universal, classify_driver_language(L"Xerox Global Print Driver")) << "only Global";
    EXPECT_EQ(LanguagePcl6Universal, classify_driver_language(L"Ricoh UPD"));
}

TEST(DriverLanguage, FirstMatchingTestWins) {
    EXPECT_EQ(LanguagePdfFile, classify_driver_language(L"Microsoft Print To PDF"));
    EXPECT_EQ(LanguageXps, classify_driver_language(L"Microsoft IPP Class Driver"));
    EXPECT_EQ(LanguageNotStated, classify_driver_language(L"Brother HL-L2350DW series"));
    EXPECT_EQ(LanguagePlainText, classify_driver_language(L"Generic / Text Only"));
    EXPECT_EQ(LanguagePdfFile, classify_driver_language(L"Microsoft XPS Document Writer v4"));
    EXPECT_EQ(LanguagePdfFile, classify_driver_language(L"Microsoft Shared Fax Driver"));
    EXPECT_EQ(LanguageLabel, classify_driver_language(L"ZDesigner GK420d"));
    EXPECT_EQ(LanguageEscP, classify_driver_language(L"EPSON LQ-590II ESC/P2"));
    EXPECT_EQ(LanguagePostScript, classify_driver_language(L"Brother BR-Script3"));
    EXPECT_EQ(LanguagePostScript, classify_driver_language(L"Kyocera TASKalfa 3252ci KPDL"));
    EXPECT_EQ(LanguagePostScript, classify_driver_language(L"Lexmark MS620 Series PS3"));
    EXPECT_EQ(LanguagePcl6, classify_driver_language(L"HP LaserJet Pro M404-M405 PCL-6 (V4)"))
        << "PCL before V4";
    EXPECT_EQ(LanguagePcl5, classify_driver_language(L"HP LaserJet 4250 PCL 5e"));
    EXPECT_EQ(LanguageXps, classify_driver_language(L"Brother Laser Type1 Class Driver"));
    EXPECT_EQ(LanguageXps, classify_driver_language(L"HP Smart Universal Printing (V4)"))
        << "universal, yet V4";
    EXPECT_EQ(LanguageHostBased, classify_driver_language(L"Samsung M2020 GDI"));
    EXPECT_EQ(LanguageHostBased, classify_driver_language(L"Canon LBP2900 Host"));
    EXPECT_EQ(LanguageNotStated, classify_driver_language(L""));
    EXPECT_EQ(LanguageNotStated, classify_driver_language(nullptr));
}

TEST(DriverLanguage, LetterRunsAnywhereDecideEarly) {
    // "EPL" hides in "Replace", "PDF" in any PDF-named product: both land before the later tests.
    EXPECT_EQ(LanguageLabel, classify_driver_language(L"Replacement PCL6 driver"));
    EXPECT_EQ(LanguagePdfFile, classify_driver_language(L"ACME PDF-ready PCL6"));
    EXPECT_EQ(LanguageLabel, classify_driver_language(L"zebra zpl")) << "any case";
}

static PortClass port(const wchar_t* name, const wchar_t* monitor = L"", const TcpPortValues* tcp = nullptr,
                      const wchar_t* location = L"", int connection = 0, const wchar_t* server = L"") {
    PortClass c;
    classify_port(name, monitor, tcp, location, connection, server, &c);
    return c;
}

TEST(PortKind, StandardTcpIpPortValues) {
    TcpPortValues tcp = {};
    text_copy(tcp.ipAddress, _countof(tcp.ipAddress), L"192.168.1.50");
    PortClass c = port(L"IP_192.168.1.50", L"Standard TCP/IP Port", &tcp);
    EXPECT_EQ(KindTcpIp, c.kind);
    EXPECT_STREQ(L"192.168.1.50", c.address);
    EXPECT_EQ(9100, c.portNumber) << "a stored 0 keeps 9100";
    EXPECT_EQ(1, c.protocol);
    EXPECT_EQ(0, c.snmpEnabled);

    text_copy(tcp.hostName, _countof(tcp.hostName), L"npi1a7701.corp.example");
    tcp.portNumber = 515;
    tcp.protocol = 2;
    tcp.snmpEnabled = 1;
    text_copy(tcp.snmpCommunity, _countof(tcp.snmpCommunity), L"office");
    c = port(L"IP_192.168.1.50,IP_192.168.1.51", L"", &tcp);
    EXPECT_EQ(KindTcpIp, c.kind);
    EXPECT_STREQ(L"npi1a7701.corp.example", c.address) << "the host name comes first";
    EXPECT_EQ(515, c.portNumber);
    EXPECT_EQ(2, c.protocol);
    EXPECT_EQ(1, c.snmpEnabled);
    EXPECT_STREQ(L"office", c.snmpCommunity);

    TcpPortValues empty = {};
    EXPECT_EQ(KindUsb, port(L"USB001", L"", &empty).kind) << "values without an address are no TCP/IP port";
}

TEST(PortKind, SharedWsdUsbAndTheRest) {
    PortClass c = port(L"\\\\PRINTSRV\\Accounting", L"", nullptr, L"", 1, L"\\\\PRINTSRV");
    EXPECT_EQ(KindShared, c.kind);
    EXPECT_STREQ(L"PRINTSRV", c.address);
    EXPECT_EQ(KindShared, port(L"\\\\pc7\\laser").kind) << "a port of two backslashes";

    c = port(L"WSD-3f1c9a7e-22b1", L"", nullptr, L"http://192.168.1.77:3911/8c7a3e0d-0000");
    EXPECT_EQ(KindWsd, c.kind);
    EXPECT_STREQ(L"192.168.1.77", c.address);
    c = port(L"WSD-3f1c9a7e-22b1", L"", nullptr, L"HTTP://brn3c2af4.local/device");
    EXPECT_STREQ(L"brn3c2af4.local", c.address);
    c = port(L"wsd-1", L"", nullptr, L"Front office");
    EXPECT_EQ(KindWsd, c.kind);
    EXPECT_STREQ(L"", c.address);
    EXPECT_EQ(KindWsd, port(L"Port7", L"WSD Port").kind);

    EXPECT_EQ(KindUsb, port(L"usb002").kind);
    EXPECT_EQ(KindUsb, port(L"DOT4_001", L"Dynamic USB Monitor").kind);
    EXPECT_EQ(KindParallelSerial, port(L"LPT1:").kind);
    EXPECT_EQ(KindParallelSerial, port(L"COM3:").kind);
    EXPECT_EQ(KindRemoteDesktop, port(L"TS001").kind);
    EXPECT_EQ(KindOther, port(L"TSX01").kind);
    EXPECT_EQ(KindOther, port(L"TS").kind);
    for (const wchar_t* builtin : {L"FILE:", L"PORTPROMPT:", L"nul:", L"XPSPort:", L"SHRFAX:",
                                   L"Microsoft.Office.OneNote_16", L"OneNote (Desktop)"})
        EXPECT_EQ(KindBuiltIn, port(builtin).kind) << builtin;
    EXPECT_EQ(KindIpp, port(L"IPP_printer").kind);
    EXPECT_EQ(KindIpp, port(L"http://192.168.1.5:631/ipp/print").kind);
    EXPECT_EQ(KindIpp, port(L"Port1", L"Internet Port").kind);
    EXPECT_EQ(KindOther, port(L"NE01:").kind);
    c = port(L"");
    EXPECT_EQ(KindOther, c.kind);
    EXPECT_EQ(9100, c.portNumber);
    EXPECT_EQ(1, c.protocol);
}

TEST(PortKind, PrinterRecordAndLongTexts) {
    PrinterRecord p = {};
    text_copy(p.portName, _countof(p.portName), L"USB001,USB002");
    classify_printer_port(&p, L"", nullptr);
    EXPECT_EQ(KindUsb, p.kind);
    EXPECT_EQ(9100, p.portNumber);

    // A location URL longer than the address field is cut and terminated.
    std::wstring location = L"http://" + std::wstring(400, L'a');
    PortClass c = port(L"WSD-1", L"", nullptr, location.c_str());
    EXPECT_EQ(199u, wcslen(c.address));
    wchar_t first[8];
    first_port_name(L"IP_1,IP_2", first, _countof(first));
    EXPECT_STREQ(L"IP_1", first);
    first_port_name(L"ABCDEFGHIJ", first, _countof(first));
    EXPECT_STREQ(L"ABCDEFG", first);
}

TEST(VirtualPrinter, DriverNameOrBuiltInPort) {
    EXPECT_TRUE(is_virtual_printer(L"Microsoft Print To PDF", KindUsb));
    EXPECT_TRUE(is_virtual_printer(L"HP LaserJet", KindBuiltIn)) << "FILE: and friends";
    EXPECT_TRUE(is_virtual_printer(L"Adobe PDF Converter", KindOther));
    EXPECT_TRUE(is_virtual_printer(L"corvalen test printer", KindOther));
    EXPECT_FALSE(is_virtual_printer(L"HP LaserJet", KindTcpIp));
    EXPECT_FALSE(is_virtual_printer(nullptr, KindUsb));
}

TEST(Labels, LanguagesAndKinds) {
    EXPECT_STREQ(L"Not stated", driver_language_label(0));
    EXPECT_STREQ(L"PCL 6 (universal)", driver_language_label(11));
    EXPECT_STREQ(L"PostScript (universal)", driver_language_label(12));
    EXPECT_STREQ(L"", driver_language_label(13));
    EXPECT_STREQ(L"", driver_language_label(-1));
    EXPECT_STREQ(
        L"Not a printer language: this \"printer\" makes a file (PDF, XPS or OneNote) instead of paper.",
        driver_language_explanation(LanguagePdfFile));
    EXPECT_STREQ(L"", driver_language_explanation(99));
    EXPECT_STREQ(L"Other", connection_kind_label(0));
    EXPECT_STREQ(L"Shared from another PC", connection_kind_label(6));
    EXPECT_STREQ(L"Network (IPP)", connection_kind_label(8));
    EXPECT_STREQ(L"", connection_kind_label(9));
}
