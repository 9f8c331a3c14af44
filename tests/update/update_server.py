#!/usr/bin/env python3
"""The update tests' release server, inside the harness's private network namespace only: HTTPS on
127.0.0.1 as "localhost", certified by the tests' own CA, serving a 1.2.0 copy of the Vantrel.exe
under test and the bad files. /drop/NAME sends half the file and closes the connection; /slow/NAME
sends 64 KiB every quarter second. "start" returns once it listens; the server ends after LIFETIME.
Usage: update_server.py start STATE_DIR VANTREL_EXE | stop STATE_DIR"""
import functools, hashlib, http.server, json, os, shutil, signal, ssl, struct, subprocess, sys, threading, time

LIFETIME, PORT = 900, 8443
state = sys.argv[2]
www = os.path.abspath(os.path.join(state, "www"))
base = f"https://localhost:{PORT}"


def make_certificates():
    key = "-x509 -newkey rsa:2048 -nodes -days 2 -keyout"
    for args in (f"{key} ca.key -out ca.pem -subj /CN=Vantrel_Test_CA -addext basicConstraints=critical,CA:TRUE "
                 "-addext keyUsage=critical,keyCertSign,cRLSign",
                 f"{key} server.key -out server.pem -CA ca.pem -CAkey ca.key -subj /CN=localhost "
                 "-addext subjectAltName=DNS:localhost -addext extendedKeyUsage=serverAuth "
                 "-addext basicConstraints=CA:FALSE"):
        subprocess.run(["openssl", "req"] + args.split(), check=True, cwd=state, capture_output=True)
    with open(os.path.join(state, "ca.pem")) as pem:
        put("../ca.der", ssl.PEM_cert_to_DER_cert(pem.read()))


def utf16(text):
    return text.encode("utf-16-le")


def rewrite_version(data, product=None):
    """The program's version texts (UTF-16) and its fixed version numbers become 1.2.0; with product,
    the version resource's ProductName value becomes that name of the same length."""
    assert data.count(utf16("1.1.0")) >= 3, "the version texts were not found"
    data = data.replace(utf16("1.1.0"), utf16("1.2.0"))
    sig = data.find(struct.pack("<I", 0xFEEF04BD))
    assert sig > 0, "no fixed version information"
    data = data[:sig + 8] + struct.pack("<IIII", 0x10002, 0, 0x10002, 0) + data[sig + 24:]
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


def manifest(folder, exe_path, body, version="1.2.0", size=None, sha=None, exe_base=base):
    put(f"{folder}/latest.json", json.dumps({
        "version": version, "exe": f"{exe_base}/{exe_path}", "sha256": sha or hashlib.sha256(body).hexdigest(),
        "notes": "* Faster network tests", "size": len(body) if size is None else size}).encode())


def make_files():
    with open(sys.argv[3], "rb") as f:
        original = f.read()
    good, wrong_name = rewrite_version(original), rewrite_version(original, product="Vintrel")
    put("files/Vantrel.exe", good)
    put("files/wrong-name.exe", wrong_name)
    put("files/short.exe", good[:len(good) // 2])
    put("files/tiny.exe", good[:12000])
    manifest("good", "files/Vantrel.exe", good)
    manifest("same", "files/Vantrel.exe", good, version="1.1.0")
    manifest("wrong-name", "files/wrong-name.exe", wrong_name)
    manifest("wrong-hash", "files/Vantrel.exe", good, sha=hashlib.sha256(b"x").hexdigest())
    manifest("short", "files/short.exe", good)
    manifest("tiny", "files/tiny.exe", good[:12000], size=0)
    manifest("dropped", "drop/files/Vantrel.exe", good)
    manifest("slowly", "slow/files/Vantrel.exe", good)
    manifest("missing", "files/no-such.exe", good)
    # A version that walks out of the temporary folder, and a program offered over plain HTTP.
    manifest("path-version", "files/Vantrel.exe", good, version="9\\..\\..\\..\\..\\victim")
    manifest("plain-exe", "files/Vantrel.exe", good, exe_base=f"http://localhost:{PORT}")
    # Exactly the largest manifest accepted, and one byte more.
    for name, total in (("max", 262144), ("over", 262145)):
        head = f'{{"version": "1.2.0", "exe": "{base}/files/Vantrel.exe", "sha256": "{"a" * 64}", "x": "'
        put(f"{name}/latest.json", (head + "x" * (total - len(head) - 2) + '"}').encode())
    put("../good.sha256", hashlib.sha256(good).hexdigest().encode())
    put("../base_url", base.encode())


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, fmt, *args):
        with open(os.path.join(state, "requests.log"), "a") as f:
            f.write(self.requestline + "\n")

    def do_GET(self):
        self.mode = self.path[1:5] if self.path.startswith(("/drop/", "/slow/")) else ""
        self.path = self.path[5:] if self.mode else self.path
        super().do_GET()

    def copyfile(self, source, out):
        body = source.read()
        if self.mode == "drop":
            out.write(body[:len(body) // 2])
            out.flush()
            self.close_connection = True
            return self.connection.shutdown(2)
        for at in range(0, len(body), 65536):
            out.write(body[at:at + 65536])
            if self.mode == "slow":
                out.flush()
                time.sleep(0.25)


def start():
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(www)
    make_certificates()
    make_files()
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(state, "server.pem"), os.path.join(state, "server.key"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", PORT), functools.partial(Handler, directory=www))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    child = os.fork()
    if child:  # listening already: the caller may go on
        put("../pid", str(child).encode())
        return print("update server up at", base)
    os.setsid()
    log = os.open(os.path.join(state, "server.log"), os.O_WRONLY | os.O_CREAT)
    for fd in (0, 1, 2):  # CTest waits for every holder of its output pipes
        os.dup2(log, fd)
    threading.Timer(LIFETIME, server.shutdown).start()
    server.serve_forever()


if os.environ.get("VANTREL_SANDBOX") != "1":
    sys.exit("update_server.py: only inside the test harness's private network namespace")
try:  # an earlier server first
    with open(os.path.join(state, "pid")) as f:
        os.kill(int(f.read()), signal.SIGTERM)
except (OSError, ValueError):
    pass
if sys.argv[1] == "start":
    start()
