// The BER encoding and decoding of SNMP version 1 GetRequest and GetResponse messages, over plain
// byte buffers. No sockets and no Windows headers, so the decoder also builds natively for fuzzing.
// Only the subset a read-only client needs: one variable binding per message, lengths up to 65535.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
    kBerMaxOidNumbers = 40, // numbers of an OID text beyond this are ignored
    kBerMaxMessage = 1500,  // the largest datagram read or written
    kBerTagInteger = 0x02,
    kBerTagOctetString = 0x04,
    kBerTagNull = 0x05,
    kBerTagOid = 0x06,
    kBerTagSequence = 0x30,
    kBerTagGetRequest = 0xA0,
    kBerTagGetResponse = 0xA2,
    // The application types of SNMP's SMI (RFC 1155) that carry numbers.
    kBerTagCounter32 = 0x41,
    kBerTagGauge32 = 0x42,
};

// The identifier of the next request: one process-wide counter that starts at 4096 and that every
// request, on whatever thread, raises by one with an atomic increment, so the first request of a
// run carries 4097.
uint32_t snmp_next_request_id();

// Writes the definite length: one octet up to 127, 0x81 and one octet up to 255, 0x82 and two
// octets (most significant first) up to 65535. Returns the octets written; 0 when the length is
// larger or out has too little room.
size_t ber_write_length(uint8_t* out, size_t cap, size_t length);

// Parses a dotted-decimal OID text (at most 40 numbers; the rest of the text is ignored) and writes
// its encoded contents: 40 * first + second in one octet, then every later number in base 128,
// most significant group first, bit 7 set on all octets but the last. Returns the octets written;
// 0 when the text has fewer than two numbers, a number is out of range, or out is too small.
size_t ber_encode_oid(const char* oid_text, uint8_t* out, size_t cap);

// Builds the whole GetRequest message for one OID with a NULL value. Returns its length, 0 when it
// cannot be built (bad OID text, or more than cap octets).
size_t ber_encode_get_request(uint8_t* out, size_t cap, const uint8_t* community, size_t community_length,
                              const char* oid_text, uint32_t request_id);

// The value of one answered variable binding; octets points into the decoded datagram.
struct BerValue {
    uint8_t tag;
    const uint8_t* octets;
    size_t length;
    uint32_t requestId; // the answer's request-id, for the client to hold against the one it sent
};

// Checks a GetResponse and finds its first value. Fails (returns 0) on any element header whose
// contents do not lie wholly inside the datagram, a long length form other than 0x81 or 0x82, an
// outer tag other than SEQUENCE, a PDU other than GetResponse, a non-zero error-status, missing
// VarBindList, VarBind or name elements, a request-id that is not an INTEGER of 1 to 5 octets, and a
// value that is NULL or an exception (tag 0x80 and up). The request-id is handed back (its low 32
// bits) for the caller to compare; the name is not compared.
int ber_decode_get_response(const uint8_t* data, size_t length, BerValue* value);

// Whether a value's tag fits the field it is read into: OCTET STRING for texts (and the octets of a
// MAC address or of an error bit string), INTEGER, Counter32 or Gauge32 for numbers. Anything else
// (a SEQUENCE, an OID, a text where a number belongs) counts as no answer for that field.
int ber_tag_is_text(uint8_t tag);
int ber_tag_is_number(uint8_t tag);

// Reads 1 to 5 octets as a big-endian two's-complement number into 32 bits (with five, the first
// octet is shifted out). Any other length gives fallback.
int32_t ber_read_int(const uint8_t* octets, size_t length, int32_t fallback);
