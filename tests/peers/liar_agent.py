#!/usr/bin/python3
"""An SNMP agent that lies: each object it is asked for gets one kind of bad answer (truncated,
oversized, mis-tagged, wrong length form, from the wrong host, late, exceptions), so the client's
checks can be seen at work over a real socket. Listens on ADDRESS:161; the wrong-host answers come
from OTHER:161. Runs until killed, and at most the given number of seconds."""
import socket, sys, time, select

address, other, lifetime = sys.argv[1], sys.argv[2], float(sys.argv[3])

def length(n):
    if n < 128: return bytes([n])
    if n < 256: return bytes([0x81, n])
    return bytes([0x82, n >> 8, n & 255])

def tlv(tag, body): return bytes([tag]) + length(len(body)) + body

def read_tlv(data, i):
    tag = data[i]; n = data[i + 1]; i += 2
    if n & 0x80:
        k = n & 0x7F; n = int.from_bytes(data[i:i + k], 'big'); i += k
    return tag, data[i:i + n], i + n

def parse(data):
    _, msg, _ = read_tlv(data, 0)
    _, _, i = read_tlv(msg, 0)              # version
    _, community, i = read_tlv(msg, i)
    _, pdu, _ = read_tlv(msg, i)
    _, rid, j = read_tlv(pdu, 0)
    _, _, j = read_tlv(pdu, j); _, _, j = read_tlv(pdu, j)
    _, vbl, _ = read_tlv(pdu, j)
    _, vb, _ = read_tlv(vbl, 0)
    _, oid, _ = read_tlv(vb, 0)
    return community, rid, oid

def decode_oid(o):
    nums = [o[0] // 40, o[0] % 40]; v = 0
    for b in o[1:]:
        v = (v << 7) | (b & 0x7F)
        if not b & 0x80: nums.append(v); v = 0
    return '.'.join(map(str, nums))

def response(community, rid, oid, value, status=0, pdu_tag=0xA2):  # rid: the request-id's octets
    vb = tlv(0x30, tlv(0x06, oid) + value)
    pdu = tlv(pdu_tag, tlv(0x02, rid) + tlv(0x02, bytes([status])) + tlv(0x02, b'\0') + tlv(0x30, vb))
    return tlv(0x30, tlv(0x02, b'\0') + tlv(0x04, community) + pdu)

def octets(s): return tlv(0x04, s)

sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); sock.bind((address, 161))
stray = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); stray.bind((other, 161))
end = time.time() + lifetime
while time.time() < end:
    r, _, _ = select.select([sock], [], [], 0.5)
    if not r: continue
    data, peer = sock.recvfrom(2000)
    try:
        community, rid, oid = parse(data)
    except Exception:
        continue
    name = decode_oid(oid)
    print(name, flush=True)  # the tests read which objects were asked
    ok = lambda v: response(community, rid, oid, v)
    if name == '1.3.6.1.2.1.1.1.0':            # sysDescr: the one honest answer
        sock.sendto(ok(octets(b'Liar agent')), peer)
    elif name == '1.3.6.1.2.1.25.3.2.1.3.1':   # model: cut off half-way
        sock.sendto(ok(octets(b'Truncated model'))[:-6], peer)
    elif name == '1.3.6.1.2.1.1.5.0':          # sysName: from another host only
        stray.sendto(ok(octets(b'WRONG-HOST')), peer)
    elif name == '1.3.6.1.2.1.43.5.1.1.17.1':  # serial: three length octets (0x83)
        good = ok(octets(b'SERIAL83'))
        sock.sendto(bytes([0x30, 0x83, 0, 0, len(good) - 2]) + good[2:], peer)
    elif name == '1.3.6.1.2.1.2.2.1.6.1':      # ifPhysAddress.1: noSuchName
        sock.sendto(response(community, rid, oid, b'\x05\x00', status=2), peer)
    elif name == '1.3.6.1.2.1.2.2.1.6.2':      # ifPhysAddress.2: value longer than the datagram
        sock.sendto(ok(b'\x04\x40' + b'\x11' * 6), peer)
    elif name == '1.3.6.1.2.1.2.2.1.6.3':      # ifPhysAddress.3: a GetRequest, not a GetResponse
        sock.sendto(response(community, rid, oid, octets(b'\x22' * 6), pdu_tag=0xA0), peer)
    elif name == '1.3.6.1.2.1.2.2.1.6.4':      # ifPhysAddress.4: seven octets
        sock.sendto(ok(octets(b'\x33' * 7)), peer)
    elif name == '1.3.6.1.2.1.25.3.2.1.5.1':   # hrDeviceStatus: noSuchInstance
        sock.sendto(ok(b'\x81\x00'), peer)
    elif name == '1.3.6.1.2.1.25.3.5.1.1.1':   # hrPrinterStatus: answered after its time-out
        time.sleep(0.85)
        sock.sendto(ok(octets(b'\x04')), peer)
    elif name == '1.3.6.1.2.1.25.3.5.1.2.1':   # error state: never answered (the late one above is not its)
        pass
    elif name == '1.3.6.1.2.1.43.10.2.1.4.1.1':  # page count: five octets
        sock.sendto(ok(tlv(0x41, b'\x01\x00\x00\x30\x39')), peer)
    elif name == '1.3.6.1.2.1.43.11.1.1.6.1.1':
        sock.sendto(ok(octets(b'Black toner')), peer)
    elif name == '1.3.6.1.2.1.43.11.1.1.8.1.1':  # six-octet integer
        sock.sendto(ok(tlv(0x02, b'\x00\x00\x00\x00\x00\x64')), peer)
    elif name == '1.3.6.1.2.1.43.11.1.1.9.1.1':
        sock.sendto(ok(tlv(0x02, b'\xfd')), peer)
    elif name == '1.3.6.1.2.1.43.11.1.1.6.1.2':  # endOfMibView ends the walk
        sock.sendto(ok(b'\x82\x00'), peer)
    elif name.startswith('1.3.9999.'):         # raw replies for the client's own tests: 1.3.9999.N
        n = int(name.split('.')[3])
        if n == 1: sock.sendto(ok(b'\x05\x00'), peer)                       # NULL
        elif n == 2: sock.sendto(ok(b'\x80\x00'), peer)                     # noSuchObject
        elif n == 3: sock.sendto(ok(tlv(0x02, b'\x00\xff\xff\xff\xff')), peer)  # -1 in five octets
        elif n == 4: sock.sendto(b'', peer)                                # empty datagram
        elif n == 5: sock.sendto(bytes([0x30, 0x80]) + ok(octets(b'x'))[2:], peer)  # 0x80 length
        elif n == 6: sock.sendto(ok(octets(b'A' * 300)), peer)             # long text
        elif n == 7: sock.sendto(ok(octets(b'')), peer)                    # empty text
        elif n == 8: sock.sendto(ok(tlv(0x30, octets(community))), peer)   # a SEQUENCE for a text
        elif n == 9: sock.sendto(ok(tlv(0x02, b'\xff')), peer)              # an INTEGER for a text
        elif n == 10: sock.sendto(ok(octets(b'\x01\x02')), peer)           # a text for a number
        elif n == 11: sock.sendto(ok(tlv(0x42, b'\x07')), peer)             # Gauge32: a number
        elif n in (12, 13):  # an answer to the request before, then (12 only) the real one
            stale = (int.from_bytes(rid, 'big') - 1).to_bytes(len(rid), 'big')
            sock.sendto(response(community, stale, oid, octets(b'STALE')), peer)
            if n == 12: sock.sendto(ok(octets(b'FRESH')), peer)
