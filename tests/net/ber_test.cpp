// The BER codec on raw bytes: exact request encodings, the length forms, OID sub-identifiers, and
// every check the decoder makes on a GetResponse.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/ber.h"
#include "net/snmp.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes encode(const char* community, const char* oid, uint32_t id) {
    uint8_t out[kBerMaxMessage];
    size_t n =
        ber_encode_get_request(out, sizeof(out), (const uint8_t*)community, strlen(community), oid, id);
    return Bytes(out, out + n);
}

Bytes tlv(uint8_t tag, const Bytes& body) {
    Bytes r{tag};
    uint8_t len[4];
    size_t n = ber_write_length(len, sizeof(len), body.size());
    r.insert(r.end(), len, len + n);
    r.insert(r.end(), body.begin(), body.end());
    return r;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes r;
    for (auto& p : parts)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}

// A GetResponse with one value, as an agent would send it.
Bytes response(const Bytes& value, uint8_t status = 0, uint8_t pdu_tag = 0xA2) {
    Bytes oid = tlv(0x06, {0x2B, 6, 1, 2, 1, 1, 1, 0});
    Bytes pdu = tlv(pdu_tag, cat({tlv(0x02, {0, 0, 0x10, 0x01}), tlv(0x02, {status}), tlv(0x02, {0}),
                                  tlv(0x30, tlv(0x30, cat({oid, value})))}));
    return tlv(0x30, cat({tlv(0x02, {0}), tlv(0x04, {'p', 'u', 'b', 'l', 'i', 'c'}), pdu}));
}

bool decodes(const Bytes& b, BerValue* v = nullptr) {
    BerValue ignored;
    return ber_decode_get_response(b.data(), b.size(), v ? v : &ignored) == 1;
}
} // namespace

TEST(BerEncode, AGetRequestIsExactlyTheSnmpV1Message) {
    Bytes expected = {0x30, 0x29, 0x02, 0x01, 0x00, 0x04, 0x06, 'p',  'u',  'b',  'l',
                      'i',  'c',  0xA0, 0x1C, 0x02, 0x04, 0x00, 0x00, 0x10, 0x01, 0x02,
                      0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0E, 0x30, 0x0C, 0x06, 0x08,
                      0x2B, 0x06, 0x01, 0x02, 0x01, 0x01, 0x01, 0x00, 0x05, 0x00};
    EXPECT_EQ(expected, encode("public", "1.3.6.1.2.1.1.1.0", 4097));
    Bytes high = encode("public", "1.3.6.1.2.1.1.1.0", 0xDEADBEEF);
    EXPECT_EQ((Bytes{0x02, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}), Bytes(high.begin() + 15, high.begin() + 21))
        << "the request identifier is always four octets";
}

TEST(BerEncode, LengthForms) {
    uint8_t b[4];
    EXPECT_EQ(1u, ber_write_length(b, 4, 0));
    EXPECT_EQ(1u, ber_write_length(b, 4, 127));
    EXPECT_EQ(0x7F, b[0]);
    EXPECT_EQ(2u, ber_write_length(b, 4, 128));
    EXPECT_EQ((Bytes{0x81, 0x80}), Bytes(b, b + 2));
    EXPECT_EQ(2u, ber_write_length(b, 4, 255));
    EXPECT_EQ(3u, ber_write_length(b, 4, 256));
    EXPECT_EQ((Bytes{0x82, 0x01, 0x00}), Bytes(b, b + 3));
    EXPECT_EQ(3u, ber_write_length(b, 4, 65535));
    EXPECT_EQ(0u, ber_write_length(b, 4, 65536));
    EXPECT_EQ(0u, ber_write_length(b, 1, 200)) << "no room";
}

TEST(BerEncode, SubIdentifiersOf128AndMoreTakeSeveralOctets) {
    uint8_t b[64];
    size_t n = ber_encode_oid("1.3.127.128.16383.16384.4294967295", b, sizeof(b));
    Bytes expected = {0x2B, 0x7F, 0x81, 0x00, 0xFF, 0x7F, 0x81, 0x80, 0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(expected, Bytes(b, b + n));
    EXPECT_EQ(0u, ber_encode_oid("1.3.4294967296", b, sizeof(b))) << "beyond 32 bits";
    EXPECT_EQ(0u, ber_encode_oid("1", b, sizeof(b)));
    EXPECT_EQ(0u, ber_encode_oid("", b, sizeof(b)));
    EXPECT_EQ(0u, ber_encode_oid(nullptr, b, sizeof(b)));
    EXPECT_EQ(0u, ber_encode_oid("1..3", b, sizeof(b)));
    EXPECT_EQ(0u, ber_encode_oid("3.1", b, sizeof(b))) << "the first arc is 0, 1 or 2";
    EXPECT_EQ(2u, ber_encode_oid("1.3.6 and the rest", b, sizeof(b))) << "0x2B 0x06";
}

TEST(BerEncode, FortyLargeNumbersAndALongCommunityUseTheLongLengthForms) {
    std::string oid = "1.3";
    for (int i = 0; i < 38; i++)
        oid += ".268435456";
    uint8_t b[256];
    EXPECT_EQ(191u, ber_encode_oid(oid.c_str(), b, sizeof(b)));
    std::string longer = oid + ".5.6.7";
    EXPECT_EQ(191u, ber_encode_oid(longer.c_str(), b, sizeof(b))) << "numbers after the 40th are ignored";

    std::string community(63, 'c');
    Bytes m = encode(community.c_str(), oid.c_str(), 4097);
    ASSERT_GT(m.size(), 255u);
    EXPECT_EQ(0x30, m[0]);
    EXPECT_EQ(0x82, m[1]);
    EXPECT_EQ(m.size() - 4, (size_t)(m[2] << 8 | m[3]));
    // The name element inside: 0x06 0x81 0xBF.
    const Bytes needle = {0x06, 0x81, 0xBF};
    auto at = std::search(m.begin(), m.end(), needle.begin(), needle.end());
    EXPECT_NE(m.end(), at);
    EXPECT_EQ((Bytes{0x05, 0x00}), Bytes(m.end() - 2, m.end()));
    EXPECT_EQ(0u, ber_encode_get_request(b, 100, (const uint8_t*)"public", 6, oid.c_str(), 1)) << "too small";
}

TEST(BerDecode, AnAnswerGivesItsValue) {
    BerValue v;
    ASSERT_TRUE(decodes(response(tlv(0x04, {'H', 'P'})), &v));
    EXPECT_EQ(0x04, v.tag);
    ASSERT_EQ(2u, v.length);
    EXPECT_EQ('H', v.octets[0]);
    ASSERT_TRUE(decodes(response(tlv(0x41, {0x01, 0x00})), &v)) << "Counter32";
    EXPECT_EQ(0x41, v.tag);
    ASSERT_TRUE(decodes(response(tlv(0x04, {})), &v)) << "an empty text is an answer";
    EXPECT_EQ(0u, v.length);
    Bytes big = response(tlv(0x04, Bytes(300, 'x')));
    ASSERT_TRUE(decodes(big, &v)) << "0x82 lengths";
    EXPECT_EQ(300u, v.length);
}

TEST(BerDecode, ExceptionsNullAndErrorStatusFail) {
    EXPECT_FALSE(decodes(response({0x05, 0x00}))) << "NULL";
    EXPECT_FALSE(decodes(response({0x80, 0x00}))) << "noSuchObject";
    EXPECT_FALSE(decodes(response({0x81, 0x00}))) << "noSuchInstance";
    EXPECT_FALSE(decodes(response({0x82, 0x00}))) << "endOfMibView";
    EXPECT_FALSE(decodes(response(tlv(0x04, {'x'}), 2))) << "noSuchName";
    EXPECT_FALSE(decodes(response(tlv(0x04, {'x'}), 0, 0xA0))) << "a GetRequest is not an answer";
    EXPECT_FALSE(decodes(response(tlv(0x04, {'x'}), 0, 0xA3)));
}

TEST(BerDecode, LengthFormsOtherThan81And82AreUnreadable) {
    Bytes good = response(tlv(0x04, {'x'}));
    ASSERT_TRUE(decodes(good));
    Bytes indefinite = good;
    indefinite[1] = 0x80;
    EXPECT_FALSE(decodes(indefinite));
    Bytes three = {0x30, 0x83, 0x00, 0x00, (uint8_t)(good.size() - 2)};
    three.insert(three.end(), good.begin() + 2, good.end());
    EXPECT_FALSE(decodes(three));
    Bytes one = {0x30, 0x81, (uint8_t)(good.size() - 2)};
    one.insert(one.end(), good.begin() + 2, good.end());
    EXPECT_TRUE(decodes(one)) << "a long form that is not needed is still allowed";
}

TEST(BerDecode, TruncatedLyingAndMisTaggedAnswersFail) {
    Bytes good = response(tlv(0x04, {'a', 'b', 'c'}));
    for (size_t n = 0; n < good.size(); n++)
        EXPECT_FALSE(decodes(Bytes(good.begin(), good.begin() + n))) << n;
    EXPECT_FALSE(ber_decode_get_response(nullptr, 0, nullptr));
    Bytes outer = good;
    outer[0] = 0x31;
    EXPECT_FALSE(decodes(outer));
    Bytes lying = good;
    lying[lying.size() - 4] = 0x40; // the value claims more octets than there are
    EXPECT_FALSE(decodes(lying));
    Bytes longer_outer = good;
    longer_outer[1] += 1;
    EXPECT_FALSE(decodes(longer_outer));
    Bytes trailing = good;
    trailing.push_back(0);
    EXPECT_TRUE(decodes(trailing)) << "bytes after the message are not read";
    // A value missing after the name.
    Bytes oid = tlv(0x06, {0x2B, 6});
    Bytes pdu = tlv(0xA2, cat({tlv(0x02, {1}), tlv(0x02, {0}), tlv(0x02, {0}), tlv(0x30, tlv(0x30, oid))}));
    EXPECT_FALSE(decodes(tlv(0x30, cat({tlv(0x02, {0}), tlv(0x04, {}), pdu}))));
    // The name must be an OID.
    Bytes pdu2 = tlv(0xA2, cat({tlv(0x02, {1}), tlv(0x02, {0}), tlv(0x02, {0}),
                                tlv(0x30, tlv(0x30, cat({tlv(0x04, {1}), tlv(0x02, {1})})))}));
    EXPECT_FALSE(decodes(tlv(0x30, cat({tlv(0x02, {0}), tlv(0x04, {}), pdu2}))));
}

TEST(BerDecode, TheRequestIdIsHandedBackAndTheNameIsNotCompared) {
    Bytes other_oid = tlv(0x06, {0x2B, 6, 1, 4, 1, 99});
    auto message = [&](const Bytes& id) {
        Bytes pdu = tlv(0xA2, cat({id, tlv(0x02, {0}), tlv(0x02, {0}),
                                   tlv(0x30, tlv(0x30, cat({other_oid, tlv(0x02, {7})})))}));
        return tlv(0x30, cat({tlv(0x02, {0}), tlv(0x04, {'x'}), pdu}));
    };
    BerValue v;
    ASSERT_TRUE(decodes(message(tlv(0x02, {0x7F})), &v));
    EXPECT_EQ(7, ber_read_int(v.octets, v.length, -9));
    EXPECT_EQ(0x7Fu, v.requestId);
    ASSERT_TRUE(decodes(message(tlv(0x02, {0, 0x80, 0, 0, 1})), &v)) << "five octets, a leading zero";
    EXPECT_EQ(0x80000001u, v.requestId);
    EXPECT_FALSE(decodes(message(tlv(0x04, {0x7F})))) << "a request-id that is no INTEGER";
    EXPECT_FALSE(decodes(message(tlv(0x02, Bytes(6, 1)))));
}

TEST(BerInt, OneToFiveOctetsTwosComplement) {
    const uint8_t five[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(-1, ber_read_int(five, 5, 42));
    const uint8_t six[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(42, ber_read_int(six, 6, 42));
    EXPECT_EQ(42, ber_read_int(six, 0, 42));
    EXPECT_EQ(42, ber_read_int(nullptr, 1, 42));
    const uint8_t m1[] = {0xFF};
    EXPECT_EQ(-1, ber_read_int(m1, 1, 0));
    const uint8_t m3[] = {0xFD};
    EXPECT_EQ(-3, ber_read_int(m3, 1, 0));
    const uint8_t b128[] = {0x00, 0x80};
    EXPECT_EQ(128, ber_read_int(b128, 2, 0));
    const uint8_t n128[] = {0x80};
    EXPECT_EQ(-128, ber_read_int(n128, 1, 0));
    const uint8_t min[] = {0x80, 0x00, 0x00, 0x00};
    EXPECT_EQ(INT32_MIN, ber_read_int(min, 4, 0));
    const uint8_t shifted[] = {0x01, 0x00, 0x00, 0x30, 0x39};
    EXPECT_EQ(12345, ber_read_int(shifted, 5, 0)) << "the first of five octets is shifted out";
}

TEST(Community, CutTo63OctetsHoweverLongNeverReplacedByTheDefault) {
    auto octets = [](const wchar_t* community) {
        char out[64];
        snmp_community_octets(community, out);
        return std::string(out);
    };
    for (size_t length : {64u, 255u, 256u, 300u, 5000u})
        EXPECT_EQ(std::string(63, 'c'), octets(std::wstring(length, L'c').c_str())) << length;
    EXPECT_EQ("corpnet|public|public", octets(L"corpnet") + "|" + octets(L"") + "|" + octets(nullptr));

    // A character no ANSI code page holds sends the community as UTF-8, as a printer's web page
    // stores it, never with '?' in its place; the cut never splits a character.
    EXPECT_EQ("print\xF0\x9F\x96\xA8\xC3\xA9", octets(L"print\xD83D\xDDA8\x00E9"));
    EXPECT_EQ(std::string(62, 'c'), octets((std::wstring(62, L'c') + L"\xD83D\xDDA8").c_str()));
    if (GetACP() == 1252) {
        EXPECT_EQ("caf\xE9", octets(L"caf\x00E9")) << "in the ANSI code page when it fits";
    }
}
