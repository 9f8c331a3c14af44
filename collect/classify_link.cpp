// Hands the collector's port record to the classification.
#include "collect/classify_link.h"

#include "core/text.h"

#include "core/classify.h"

static void tcp_values(const RawTcpPort* tcp, TcpPortValues* out) {
    TcpPortValues values = {};
    text_copy(values.hostName, _countof(values.hostName), tcp->hostName);
    text_copy(values.ipAddress, _countof(values.ipAddress), tcp->ipAddress);
    values.portNumber = tcp->havePortNumber ? (int32_t)tcp->portNumber : 0;
    values.protocol = tcp->haveProtocol ? (int32_t)tcp->protocol : 0;
    values.snmpEnabled = tcp->haveSnmpEnabled && tcp->snmpEnabled ? 1 : 0;
    text_copy(values.snmpCommunity, _countof(values.snmpCommunity), tcp->snmpCommunity);
    *out = values;
}

void link_classify_port(PrinterRecord* p, const wchar_t* port_name, const wchar_t* monitor,
                        const RawTcpPort* tcp) {
    TcpPortValues values;
    tcp_values(tcp, &values);
    PortClass out = {};
    classify_port(port_name, monitor, &values, p->location, p->isConnection, p->serverName, &out);
    p->kind = out.kind;
    text_copy(p->address, _countof(p->address), out.address);
    p->portNumber = out.portNumber;
    p->protocol = out.protocol;
    p->snmpEnabled = out.snmpEnabled;
    text_copy(p->snmpCommunity, _countof(p->snmpCommunity), out.snmpCommunity);
}

void link_classify_pool_port(const wchar_t* port_name, const wchar_t* monitor, const RawTcpPort* tcp,
                             ConnectionKind* kind, wchar_t* address, size_t cap) {
    TcpPortValues values;
    tcp_values(tcp, &values);
    PortClass out = {};
    classify_port(port_name, monitor, &values, L"", 0, L"", &out);
    *kind = out.kind;
    text_copy(address, cap, out.address);
}

int link_is_virtual_printer(const wchar_t* driver_name, ConnectionKind kind) {
    return is_virtual_printer(driver_name, kind);
}

DriverLanguage link_classify_driver_language(const wchar_t* driver_name) {
    return classify_driver_language(driver_name);
}
