// SNMP version 1 messages in BER. Every read checks its bounds against the element that encloses
// it, so a datagram that lies about its lengths is rejected instead of being read past its end.
#include "net/ber.h"

#include <string.h>

#include <atomic>

static std::atomic<uint32_t> g_request_id{4096};

uint32_t snmp_next_request_id() {
    return g_request_id.fetch_add(1) + 1;
}

size_t ber_write_length(uint8_t* out, size_t cap, size_t length) {
    if (length <= 127) {
        if (cap < 1) return 0;
        out[0] = (uint8_t)length;
        return 1;
    }
    if (length <= 255) {
        if (cap < 2) return 0;
        out[0] = 0x81;
        out[1] = (uint8_t)length;
        return 2;
    }
    if (length <= 65535) {
        if (cap < 3) return 0;
        out[0] = 0x82;
        out[1] = (uint8_t)(length >> 8);
        out[2] = (uint8_t)length;
        return 3;
    }
    return 0;
}

// Up to 40 numbers; stops at the first character that does not continue the dotted list.
static int parse_oid_numbers(const char* text, uint32_t* numbers) {
    if (!text) return 0;
    int count = 0;
    const char* p = text;
    while (count < kBerMaxOidNumbers) {
        if (*p < '0' || *p > '9') return -1; // an empty number: "", "1..3", "1.3."

        uint64_t value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + (uint64_t)(*p - '0');
            if (value > 0xFFFFFFFFull) return -1;
            ++p;
        }
        numbers[count++] = (uint32_t)value;
        if (*p != '.') break;
        ++p;
    }
    return count;
}

size_t ber_encode_oid(const char* oid_text, uint8_t* out, size_t cap) {
    uint32_t numbers[kBerMaxOidNumbers];
    int count = parse_oid_numbers(oid_text, numbers);
    if (count < 2) return 0;
    // The first two numbers share one octet; anything that does not fit it is not a valid OID.
    if (numbers[0] > 2 || numbers[1] > 255 - 40 * numbers[0]) return 0;
    size_t n = 0;
    if (cap < 1) return 0;
    out[n++] = (uint8_t)(40 * numbers[0] + numbers[1]);
    for (int i = 2; i < count; ++i) {
        uint8_t groups[5];
        int g = 0;
        uint32_t v = numbers[i];
        do {
            groups[g++] = (uint8_t)(v & 0x7F);
            v >>= 7;
        } while (v != 0);
        if (cap - n < (size_t)g) return 0;
        while (g > 0) {
            --g;
            out[n++] = (uint8_t)(groups[g] | (g > 0 ? 0x80 : 0x00));
        }
    }
    return n;
}

namespace {
// Appends one element (tag, length, contents) to a buffer being built front to back.
struct Writer {
    uint8_t* out;
    size_t cap;
    size_t n;
    bool ok;
    void put(const uint8_t* bytes, size_t count) {
        if (!ok || cap - n < count) {
            ok = false;
            return;
        }
        memcpy(out + n, bytes, count);
        n += count;
    }
    void element(uint8_t tag, const uint8_t* contents, size_t length) {
        uint8_t header[4];
        header[0] = tag;
        size_t h = ber_write_length(header + 1, sizeof(header) - 1, length);
        if (h == 0) {
            ok = false;
            return;
        }
        put(header, h + 1);
        put(contents, length);
    }
};
} // namespace

size_t ber_encode_get_request(uint8_t* out, size_t cap, const uint8_t* community, size_t community_length,
                              const char* oid_text, uint32_t request_id) {
    uint8_t oid[kBerMaxOidNumbers * 5];
    size_t oid_length = ber_encode_oid(oid_text, oid, sizeof(oid));
    if (oid_length == 0) return 0;

    // Built inside out in scratch buffers; each layer is small enough to fit one datagram.
    uint8_t varbind[kBerMaxMessage], list[kBerMaxMessage], pdu[kBerMaxMessage];
    Writer w = {varbind, sizeof(varbind), 0, true};
    w.element(kBerTagOid, oid, oid_length);
    const uint8_t null_value[2] = {kBerTagNull, 0x00};
    w.put(null_value, 2);
    if (!w.ok) return 0;

    Writer l = {list, sizeof(list), 0, true};
    l.element(kBerTagSequence, varbind, w.n);
    if (!l.ok) return 0;

    Writer p = {pdu, sizeof(pdu), 0, true};
    const uint8_t id[6] = {kBerTagInteger,
                           4,
                           (uint8_t)(request_id >> 24),
                           (uint8_t)(request_id >> 16),
                           (uint8_t)(request_id >> 8),
                           (uint8_t)request_id};
    const uint8_t zero[3] = {kBerTagInteger, 1, 0};
    p.put(id, sizeof(id));
    p.put(zero, sizeof(zero)); // error-status
    p.put(zero, sizeof(zero)); // error-index
    p.element(kBerTagSequence, list, l.n);
    if (!p.ok) return 0;

    uint8_t body[kBerMaxMessage];
    Writer b = {body, sizeof(body), 0, true};
    b.put(zero, sizeof(zero)); // version 0: SNMPv1
    b.element(kBerTagOctetString, community_length ? community : nullptr, community_length);
    b.element(kBerTagGetRequest, pdu, p.n);
    if (!b.ok) return 0;

    Writer m = {out, cap, 0, true};
    m.element(kBerTagSequence, body, b.n);
    return m.ok ? m.n : 0;
}

namespace {
// A window on the datagram: the contents of the element being read.
struct Reader {
    const uint8_t* p;
    size_t left;
    // Reads one element header; its contents must lie wholly inside what is left.
    bool element(uint8_t* tag, const uint8_t** contents, size_t* length) {
        if (left < 2) return false;
        *tag = p[0];
        uint8_t first = p[1];
        size_t used = 2;
        size_t len = first;
        if (first & 0x80) {
            size_t count = first & 0x7F;
            if (count != 1 && count != 2) return false; // 0x80 (indefinite) and 0x83 and up
            if (left < 2 + count) return false;
            len = 0;
            for (size_t i = 0; i < count; ++i)
                len = (len << 8) | p[2 + i];
            used += count;
        }
        if (len > left - used) return false;
        *contents = p + used;
        *length = len;
        p += used + len;
        left -= used + len;
        return true;
    }
    bool expect(uint8_t wanted, Reader* inner) {
        uint8_t tag;
        const uint8_t* contents;
        size_t length;
        if (!element(&tag, &contents, &length) || tag != wanted) return false;
        inner->p = contents;
        inner->left = length;
        return true;
    }
    bool skip() {
        uint8_t tag;
        const uint8_t* contents;
        size_t length;
        return element(&tag, &contents, &length);
    }
};
} // namespace

int ber_decode_get_response(const uint8_t* data, size_t length, BerValue* value) {
    if (!data || !value) return 0;
    Reader datagram = {data, length};
    Reader message, pdu, list, bind;
    if (!datagram.expect(kBerTagSequence, &message)) return 0;
    if (!message.skip() || !message.skip()) return 0; // version, community
    if (!message.expect(kBerTagGetResponse, &pdu)) return 0;

    uint8_t tag;
    const uint8_t* contents;
    size_t len;
    // The request-id: ours are sent as four octets; five allow a leading zero octet.
    if (!pdu.element(&tag, &contents, &len) || tag != kBerTagInteger || len < 1 || len > 5) return 0;
    uint32_t request_id = 0;
    for (size_t i = 0; i < len; ++i)
        request_id = (request_id << 8) | contents[i];
    if (!pdu.element(&tag, &contents, &len) || len == 0) return 0; // error-status
    for (size_t i = 0; i < len; ++i)
        if (contents[i] != 0) return 0;
    if (!pdu.skip()) return 0; // error-index
    if (!pdu.expect(kBerTagSequence, &list)) return 0;
    if (!list.expect(kBerTagSequence, &bind)) return 0;
    Reader name;
    if (!bind.expect(kBerTagOid, &name)) return 0;
    if (!bind.element(&tag, &contents, &len)) return 0;
    // NULL is what an agent echoes for an unanswered variable; 0x80 to 0x82 are noSuchObject,
    // noSuchInstance and endOfMibView.
    if (tag == kBerTagNull || tag >= 0x80) return 0;
    value->tag = tag;
    value->octets = contents;
    value->length = len;
    value->requestId = request_id;
    return 1;
}

int ber_tag_is_text(uint8_t tag) {
    return tag == kBerTagOctetString;
}

int ber_tag_is_number(uint8_t tag) {
    return tag == kBerTagInteger || tag == kBerTagCounter32 || tag == kBerTagGauge32;
}

int32_t ber_read_int(const uint8_t* octets, size_t length, int32_t fallback) {
    if (!octets || length < 1 || length > 5) return fallback;
    uint32_t v = (octets[0] & 0x80) ? 0xFFFFFFFFu : 0u;
    for (size_t i = 0; i < length; ++i)
        v = (v << 8) | octets[i];
    return (int32_t)v;
}
