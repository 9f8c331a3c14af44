#!/usr/bin/env python3
"""The release server of the update tests: HTTPS on a loopback address, named "localhost" in a
certificate from the tests' own certificate authority. It lays out the release files from the
Vantrel.exe under test (a 1.2.0 copy made by rewriting its version texts and version resource, and
the bad files) and serves them, with two paths that misbehave on purpose:
  /drop/NAME  announces the whole file, sends half of it and closes the connection;
  /slow/NAME  sends the file in 64 KiB pieces a quarter of a second apart.
Usage: update_server.py STATE_DIR VANTREL_EXE ADDRESS PORT LIFETIME_SECONDS"""
import hashlib
import http.server
import json
import os
import ssl
import struct
import subprocess
import sys
import threading
import time

state, exe, address, port, lifetime = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
www = os.path.join(state, "www")
base = f"https://localhost:{port}"


def run(*args):
    subprocess.run(args, check=True, cwd=state, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates():
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
        "-days", "2", "-subj", "/CN=Vantrel Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("openssl", "x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der")
    run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
        "-subj", "/CN=localhost")
    with open(os.path.join(state, "server.ext"), "w") as f:
        f.write("subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n")
    run("openssl", "x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
        "-out", "server.pem", "-days", "2", "-extfile", "server.ext")


def utf16(text):
    return text.encode("utf-16-le")


def rewrite_version(data, new="1.2.0", product=None):
    """The program's version texts (UTF-16) and its fixed version numbers become new; with product,
    the version resource's ProductName value becomes that name of the same length."""
    assert data.count(utf16("1.1.0")) >= 3, "the version texts were not found"
    data = data.replace(utf16("1.1.0"), utf16(new))
    sig = data.find(struct.pack("<I", 0xFEEF04BD))
    assert sig > 0, "no fixed version information"
    major, minor, patch = (int(x) for x in new.split("."))
    ms, ls = (major << 16) | minor, patch << 16
    data = data[:sig + 8] + struct.pack("<IIII", ms, ls, ms, ls) + data[sig + 24:]
    if product:  # the program's own code names "ProductName" too; the resource comes after sig
        key = data.find(utf16("ProductName\0"), sig)
        value = data.find(utf16("Vantrel\0"), key)
        assert key > 0 and value > key and len(product) == len("Vantrel")
        data = data[:value] + utf16(product) + data[value + 14:]
    return data


def put(name, data):
    path = os.path.join(www, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def manifest(folder, version, exe_path, body, size=None, sha=None, extra=None):
    m = {"version": version, "exe": f"{base}/{exe_path}",
         "sha256": sha if sha is not None else hashlib.sha256(body).hexdigest(),
         "notes": "* Faster network tests\n* The update bar shows progress", "published": "December 9, 2026"}
    if size is not None:
        m["size"] = size
    if extra:
        m.update(extra)
    put(f"{folder}/latest.json", json.dumps(m, indent=2).encode())


def make_files():
    with open(exe, "rb") as f:
        original = f.read()
    good = rewrite_version(original)
    wrong_name = rewrite_version(original, product="Vintrel")
    put("files/Vantrel.exe", good)
    put("files/wrong-name.exe", wrong_name)
    put("files/short.exe", good[:len(good) // 2])
    put("files/tiny.exe", good[:12000])
    manifest("good", "1.2.0", "files/Vantrel.exe", good, size=len(good))
    manifest("same", "1.1.0", "files/Vantrel.exe", good, size=len(good))
    manifest("wrong-name", "1.2.0", "files/wrong-name.exe", wrong_name, size=len(wrong_name))
    manifest("wrong-hash", "1.2.0", "files/Vantrel.exe", good, size=len(good), sha=hashlib.sha256(b"x").hexdigest())
    manifest("short", "1.2.0", "files/short.exe", good, size=len(good))
    manifest("tiny", "1.2.0", "files/tiny.exe", good[:12000], size=0)
    manifest("dropped", "1.2.0", "drop/files/Vantrel.exe", good, size=len(good))
    manifest("slowly", "1.2.0", "slow/files/Vantrel.exe", good, size=len(good))
    manifest("missing", "1.2.0", "files/no-such.exe", good, size=len(good))
    # Exactly the largest manifest accepted, and one byte more.
    for name, total in (("max", 262144), ("over", 262145)):
        head = b'{"version": "1.2.0", "exe": "' + f"{base}/files/Vantrel.exe".encode() + \
               b'", "sha256": "' + hashlib.sha256(good).hexdigest().encode() + b'", "padding": "'
        put(f"{name}/latest.json", head + b"x" * (total - len(head) - 2) + b'"}')
    with open(os.path.join(state, "good.sha256"), "w") as f:
        f.write(hashlib.sha256(good).hexdigest())


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, fmt, *args):
        with open(os.path.join(state, "requests.log"), "a") as f:
            f.write("%s %s\n" % (self.requestline, args[1] if len(args) > 1 else ""))

    def do_GET(self):
        with open(os.path.join(state, "headers.log"), "a") as f:
            f.write("%s|User-Agent: %s|Cache-Control: %s|Pragma: %s\n" % (
                self.path, self.headers.get("User-Agent"), self.headers.get("Cache-Control"),
                self.headers.get("Pragma")))
        path = self.path.split("?")[0]
        mode = ""
        for m in ("/drop/", "/slow/"):
            if path.startswith(m):
                mode, path = m, path[len(m) - 1:]
        file = os.path.normpath(os.path.join(www, path.lstrip("/")))
        if not file.startswith(www) or not os.path.isfile(file):
            self.send_error(404)
            return
        with open(file, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if mode == "/drop/":
            self.wfile.write(body[:len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(2)
            return
        step = 65536 if mode == "/slow/" else len(body)
        for at in range(0, len(body), step):
            self.wfile.write(body[at:at + step])
            if mode == "/slow/":
                self.wfile.flush()
                time.sleep(0.25)


def main():
    os.makedirs(www, exist_ok=True)
    make_certificates()
    make_files()
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(state, "server.pem"), os.path.join(state, "server.key"))
    server = http.server.ThreadingHTTPServer((address, port), Handler)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Timer(lifetime, server.shutdown).start()
    with open(os.path.join(state, "base_url"), "w") as f:
        f.write(base)
    print("listening", flush=True)
    server.serve_forever()


main()
