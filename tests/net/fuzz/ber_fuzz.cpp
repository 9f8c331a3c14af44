// libFuzzer target for the GetResponse decoder and the integer reader, built natively. Any read
// outside the datagram is caught by the address sanitizer.
#include <stddef.h>
#include <stdint.h>

#include "net/ber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BerValue v;
    if (ber_decode_get_response(data, size, &v)) {
        if (v.octets < data || v.octets + v.length > data + size) __builtin_trap();
        (void)ber_read_int(v.octets, v.length, -2);
    }
    // The encoder on text from the same bytes: never more than the buffer, always decodable framing.
    char oid[128];
    size_t n = size < sizeof(oid) - 1 ? size : sizeof(oid) - 1;
    for (size_t i = 0; i < n; i++)
        oid[i] = (char)data[i];
    oid[n] = 0;
    uint8_t out[kBerMaxMessage];
    size_t m = ber_encode_get_request(out, sizeof(out), data, size < 64 ? size : 64, oid, 4097);
    if (m > sizeof(out)) __builtin_trap();
    return 0;
}
