// Hands the collector's port record to the classification.
#include "collect/classify_link.h"

#include "core/text.h"

#if __has_include("core/classify.h")
#include "core/classify.h"

void link_classify_port(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor, const RawTcpPort* tcp) {
    TcpPortValues values = {};
    values.present = tcp->hostName[0] || tcp->ipAddress[0];
    text_copy(values.hostName, _countof(values.hostName), tcp->hostName);
    text_copy(values.ipAddress, _countof(values.ipAddress), tcp->ipAddress);
    values.portNumber = tcp->havePortNumber ? (int32_t)tcp->portNumber : 0;
    values.protocol = tcp->haveProtocol ? (int32_t)tcp->protocol : 0;
    values.snmpEnabled = tcp->haveSnmpEnabled && tcp->snmpEnabled ? 1 : 0;
    text_copy(values.snmpCommunity, _countof(values.snmpCommunity), tcp->snmpCommunity);
    PortClass out = {};
    classify_port(port_name, monitor, &values, p->location, p->isConnection, p->serverName, &out);
    p->kind = out.kind;
    text_copy(p->address, _countof(p->address), out.address);
    p->portNumber = out.portNumber;
    p->protocol = out.protocol;
    p->snmpEnabled = out.snmpEnabled;
    text_copy(p->snmpCommunity, _countof(p->snmpCommunity), out.snmpCommunity);
}

int link_is_virtual_printer(const wchar_t* driver_name, ConnectionKind kind) { return is_virtual_printer(driver_name, kind); }

DriverLanguage link_classify_driver_language(const wchar_t* driver_name) { return classify_driver_language(driver_name); }

#else
// Until the classification library is part of this build: the Standard TCP/IP and shared cases
// only, so every printer still gets its address.
void link_classify_port(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor, const RawTcpPort* tcp) {
    p->kind = KindOther;
    p->portNumber = 9100;
    p->protocol = 1;
    p->address[0] = 0;
    const wchar_t* host = tcp->hostName[0] ? tcp->hostName : tcp->ipAddress;
    if (host[0]) {
        p->kind = KindTcpIp;
        text_copy(p->address, _countof(p->address), host);
        if (tcp->havePortNumber && tcp->portNumber) p->portNumber = (int32_t)tcp->portNumber;
        if (tcp->haveProtocol) p->protocol = (int32_t)tcp->protocol;
        if (tcp->haveSnmpEnabled && tcp->snmpEnabled) p->snmpEnabled = 1;
        text_copy(p->snmpCommunity, _countof(p->snmpCommunity), tcp->snmpCommunity);
    } else if (p->isConnection || (port_name[0] == L'\\' && port_name[1] == L'\\')) {
        p->kind = KindShared;
        const wchar_t* server = p->serverName;
        while (*server == L'\\') server++;
        text_copy(p->address, _countof(p->address), server);
    } else if (text_starts_with_ci(port_name, L"USB") || text_contains_ci(monitor, L"USB")) {
        p->kind = KindUsb;
    } else if (text_starts_with_ci(port_name, L"FILE:")) {
        p->kind = KindBuiltIn;
    }
}

int link_is_virtual_printer(const wchar_t* driver_name, ConnectionKind kind) {
    return text_contains_ci(driver_name, L"Microsoft Print To PDF") || kind == KindBuiltIn;
}

DriverLanguage link_classify_driver_language(const wchar_t* driver_name) {
    (void)driver_name;
    return LanguageNotStated;
}
#endif
