#!/usr/bin/python3
"""Print ports played on loopback: every ADDRESS:PORT argument gets a TCP listener that accepts
connections and closes them. Runs until killed, and at most LIFETIME seconds."""
import socket, sys, time, select

lifetime = float(sys.argv[1])
listeners = []
for spec in sys.argv[2:]:
    host, port = spec.rsplit(':', 1)
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind((host, int(port))); s.listen(64)
    listeners.append(s)
print('listening', flush=True)
end = time.time() + lifetime
while time.time() < end:
    r, _, _ = select.select(listeners, [], [], 0.5)
    for s in r:
        try:
            c, _ = s.accept(); c.close()
        except OSError:
            pass
