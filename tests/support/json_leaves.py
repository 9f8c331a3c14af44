#!/usr/bin/env python3
"""Reads a JSON report with Python's own json module for the tests under Wine, which have no parser
of their own, and checks it. OUTPUT gets "ok" (or "error<TAB>reason"), then one line per value,
"path<TAB>kind<TAB>hex": kind is o (object), a (array), s (text), i (integer), f (other number), b
(flag) or n (null), and hex is the UTF-16LE code units of the text (of the member count for o and
a, of the JSON form otherwise), so every character survives the trip. Then one "!mistake" line for
each value of the wrong kind, each empty text that should be null, and, given the text report of
the same check (UTF-16LE), each place where the two disagree. Written to a side file and renamed
into place, so the reader never sees half of it.
Usage: json_leaves.py DOCUMENT OUTPUT [TEXT_REPORT]"""
import itertools
import json
import os
import re
import sys

# The kinds that matter most (counts, and what may be null), by path with every index as "#".
KINDS = {
    "format": "i", "checkedAt": "s", "demo": "b", "verdict.problems": "i", "verdict.headsUps": "i",
    "verdict.printers": "i", "verdict.jobs": "i", "findings": "a", "findings.#.printer": "sn",
    "findings.#.fix": "on", "printers": "a", "printers.#.isDefault": "b", "printers.#.checked": "b",
    "printers.#.tcp": "on", "printers.#.networkTest": "on", "printers.#.networkTest.snmp.pageCount": "in",
    "printers.#.networkTest.snmp.supplies.#.percent": "in", "jobs.#.printerIndex": "in",
    "networkSearch": "on", "networkSearch.printers.#.pageCount": "in", "networkSearch.addressesSwept": "i",
    "printLog.entries.#.eventId": "i",
}


def kind(v):
    for k, t in (("o", dict), ("a", list), ("b", bool), ("i", int), ("f", float), ("s", str)):
        if isinstance(v, t):
            return k
    return "n"


def shown(v):
    k = kind(v)
    return str(len(v)) if k in "oa" else v if k == "s" else json.dumps(v)


def no_duplicates(pairs):
    keys = [k for k, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("duplicate key in an object: %r" % keys)
    return dict(pairs)


def walk(value, path, leaves):
    leaves[path] = value
    items = value.items() if isinstance(value, dict) else enumerate(value) if isinstance(value, list) else ()
    for key, item in items:
        walk(item, "%s.%s" % (path, key) if path else str(key), leaves)


def kind_mistakes(leaves):
    out = [p + " is missing" for p in KINDS
           if "#" not in p and p not in leaves and isinstance(leaves.get(p.rpartition(".")[0]), dict)]
    for path, v in leaves.items():
        want = KINDS.get(re.sub(r"(?<![^.])\d+(?![^.])", "#", path), kind(v))
        if kind(v) == "f":
            out.append(path + " is not a whole number")
        if v in ("", "-"):
            out.append(path + " is an empty text instead of null")
        if kind(v) not in want:
            out.append("%s has kind %s, not %s" % (path, kind(v), want))
    return out


def in_order(text, parts, what, out):
    at = 0
    for part in parts:
        at = text.find(part, at)
        if at < 0:
            return out.append("%s missing or out of order: %r" % (what, part))
        at += len(part)


# The Result line's counts and the verdict's, the findings' "[severity] printer: title" lines, and
# every printer's page heading in order.
def disagreements(doc, text):
    out = []
    line = re.search(r"\nResult: ([^\n]*)", text)
    numbers = [int(n) for n in re.findall(r"(?<!\S)\d+", line.group(1))] if line else []
    numbers = numbers if len(numbers) == 4 else ["?"] * 4
    for name, n in zip(("problems", "headsUps", "printers", "jobs"), numbers):
        if doc["verdict"].get(name) != n:
            out.append("%s count differs: %r in the text" % (name, n))
    findings = text.partition("\n===== FINDINGS =====\n")[2].partition("\n===== PRINTERS =====\n")[0]
    lines = ["[%s] %s: %s\n" % (f["severity"], f["printer"] or "This PC", f["title"]) for f in doc["findings"]]
    pairs = itertools.zip_longest(lines, re.findall(r"(?m)^\[[^\n]*\n", findings))
    out += ["finding %r in the document, %r in the text" % p for p in pairs if p[0] != p[1]][:3]
    if len(doc["printers"]) != numbers[2]:
        out.append("printers array length differs from the Result line")
    rule = "\n" + "-" * 40 + "\n"
    in_order(text, [rule + p["name"] + ("   (the default printer)\n" if p["isDefault"] is True else "\n")
                    for p in doc["printers"]], "printer", out)
    return out


def main():
    lines = ["ok"]
    try:
        with open(sys.argv[1], "rb") as f:
            raw = f.read()
        if raw.startswith(b"\xef\xbb\xbf"):
            raise ValueError("the document starts with a byte-order mark")
        doc = json.loads(raw.decode("utf-8"), object_pairs_hook=no_duplicates)
        leaves = {}
        walk(doc, "", leaves)
        mistakes = kind_mistakes(leaves)
        if len(sys.argv) > 3:
            with open(sys.argv[3], "rb") as f:
                mistakes += disagreements(doc, f.read().decode("utf-16-le", "surrogatepass").replace("\r", ""))
        for path, v in leaves.items():
            lines.append("%s\t%s\t%s" % (path, kind(v), shown(v).encode("utf-16-le", "surrogatepass").hex()))
        lines += ["!" + m.encode("ascii", "backslashreplace").decode() for m in mistakes]
    except Exception as e:  # every failure is the test's answer, not a crash
        lines = ["error\t" + ascii(e)]
    with open(sys.argv[2] + ".part", "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(sys.argv[2] + ".part", sys.argv[2])


if __name__ == "__main__":
    main()
