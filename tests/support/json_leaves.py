#!/usr/bin/env python3
"""Reads a JSON report with Python's json module for the tests under Wine, and checks it against
DOCUMENT.text.txt, the text report (UTF-16LE) of the same check, when there is one.
Usage: json_leaves.py DOCUMENT
Writes DOCUMENT.leaves in UTF-16LE, every field ending in a 0: "ok", the mistakes found, then every
value's path, kind and text (see tests/support/json_python.h); or "error" and why. Written aside and
renamed into place, so it is never read half-written."""
import itertools, json, os, re, sys

# The kinds that matter most (counts, and what may be null), by path with every index as "#".
KINDS = {
    "format": "i", "checkedAt": "s", "demo": "b", "verdict.problems": "i", "verdict.headsUps": "i",
    "verdict.printers": "i", "verdict.jobs": "i", "findings": "a", "findings.#.printer": "sn",
    "findings.#.fix": "on", "printers": "a", "printers.#.isDefault": "b", "printers.#.checked": "b",
    "printers.#.tcp": "on", "printers.#.networkTest": "on", "printers.#.networkTest.snmp.pageCount": "in",
    "printers.#.networkTest.snmp.supplies.#.percent": "in", "jobs.#.printerIndex": "in",
    "networkSearch": "on", "networkSearch.printers.#.pageCount": "in", "networkSearch.addressesSwept": "i",
    "printLog.entries.#.eventId": "i", "scanRange": "on", "printersLeftOut": "i", "jobsLeftOut": "i",
    "driversLeftOut": "i",
}


def kind(v):
    return next((k for k, t in (("o", dict), ("a", list), ("b", bool), ("i", int), ("f", float), ("s", str))
                 if isinstance(v, t)), "n")


def no_duplicates(pairs):
    if len(dict(pairs)) != len(pairs):
        raise ValueError("a key twice in one object: %r" % [k for k, _ in pairs])
    return dict(pairs)


def walk(value, path, leaves):
    leaves[path] = value
    items = value.items() if isinstance(value, dict) else enumerate(value) if isinstance(value, list) else ()
    for key, item in items:
        walk(item, "%s.%s" % (path, key) if path else str(key), leaves)


# Missing fields, numbers that are not whole (no field has one), "" or "-" for an absent value
# (which must be null), and the kinds above.
def kind_mistakes(leaves):
    out = [p + " is missing" for p in KINDS
           if "#" not in p and p not in leaves and isinstance(leaves.get(p.rpartition(".")[0]), dict)]
    for path, v in leaves.items():
        want = KINDS.get(re.sub(r"(?<![^.])\d+(?![^.])", "#", path), "oasibn")
        if kind(v) not in want or v in ("", "-"):
            out.append("%s is %r, not of kind %s" % (path, v, want))
    return out


# The Result line's counts and the verdict's, every finding's "[severity] printer: title" line and
# every printer's page heading, in order.
def disagreements(doc, text):
    result = re.search(r"\nResult: ([^\n]*)", text)
    shown = re.sub(r" of \d+", "", result.group(1)) if result else ""  # "64 of 68 printers shown": 64
    counts = [int(n) for n in re.findall(r"(?<!\S)\d+", shown)]
    findings = text.partition("\n===== FINDINGS =====\n")[2].partition("\n===== PRINTERS =====\n")[0]
    compared = (
        ("counts", [doc["verdict"][n] for n in ("problems", "headsUps", "printers", "jobs")]
         + [len(doc["printers"])], counts + counts[2:3]),
        ("finding", ["[%s] %s: %s" % (f["severity"], f["printer"] or "This PC", f["title"])
                     for f in doc["findings"]], re.findall(r"(?m)^\[[^\n]*", findings)),
        ("printer", [p["name"] + "   (the default printer)" * (p["isDefault"] is True) for p in doc["printers"]],
         re.findall(r"(?<=\n-{40}\n)[^\n]*", text)))
    return ["%s %r in the document, %r in the text" % ((what,) + pair) for what, mine, theirs in compared
            for pair in itertools.zip_longest(mine, theirs) if pair[0] != pair[1]]


def main():
    document, output = sys.argv[1], sys.argv[1] + ".leaves"
    try:
        with open(document, "rb") as f:
            raw = f.read()
        if raw.startswith(b"\xef\xbb\xbf"):
            raise ValueError("the document starts with a byte-order mark")
        doc = json.loads(raw.decode("utf-8"), object_pairs_hook=no_duplicates)
        leaves = {}
        walk(doc, "", leaves)
        mistakes = kind_mistakes(leaves)
        if os.path.exists(document + ".text.txt"):
            with open(document + ".text.txt", "rb") as f:
                mistakes += disagreements(doc, f.read().decode("utf-16-le", "surrogatepass").replace("\r", ""))
        fields = ["ok", "".join(m.encode("ascii", "backslashreplace").decode() + "\n" for m in mistakes)]
        for path, v in leaves.items():
            fields += [path, kind(v), str(len(v)) if kind(v) in "oa" else v if kind(v) == "s" else json.dumps(v)]
    except Exception as e:  # every failure is the test's answer, not a crash
        fields = ["error", ascii(e)]
    with open(output + ".part", "wb") as f:
        f.write("".join(x + "\0" for x in fields).encode("utf-16-le", "surrogatepass"))
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main()
