#!/usr/bin/env python3
"""Parses a JSON document with Python's own json module and lists its leaves for the tests under
Wine, which have no parser of their own: one line per value, "path<TAB>kind<TAB>hex", where kind is
o (object), a (array), s (text), i (integer), f (other number), b (flag) or n (null), and hex is the
UTF-16LE code units of the text (of the member count for o and a, of the JSON form otherwise), so
every character survives the trip. The first line is "ok", or "error<TAB>hex" with the reason.
Written to a side file and renamed into place, so the reader never sees half of it.
Usage: json_leaves.py DOCUMENT OUTPUT"""
import json
import os
import sys


def hexof(text):
    return text.encode("utf-16-le", "surrogatepass").hex()


def no_duplicates(pairs):
    keys = [k for k, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("duplicate key in an object: %r" % keys)
    return dict(pairs)


def walk(value, path, out):
    if isinstance(value, dict):
        out.append("%s\to\t%s" % (path, hexof(str(len(value)))))
        for key, item in value.items():
            walk(item, key if path == "$" else path + "." + key, out)
    elif isinstance(value, list):
        out.append("%s\ta\t%s" % (path, hexof(str(len(value)))))
        for i, item in enumerate(value):
            walk(item, "%s.%d" % (path, i), out)
    elif value is None:
        out.append("%s\tn\t%s" % (path, hexof("null")))
    elif isinstance(value, bool):
        out.append("%s\tb\t%s" % (path, hexof(json.dumps(value))))
    elif isinstance(value, int):
        out.append("%s\ti\t%s" % (path, hexof(str(value))))
    elif isinstance(value, float):
        out.append("%s\tf\t%s" % (path, hexof(repr(value))))
    else:
        out.append("%s\ts\t%s" % (path, hexof(value)))


def main():
    source, target = sys.argv[1], sys.argv[2]
    lines = []
    try:
        with open(source, "rb") as f:
            raw = f.read()
        if raw.startswith(b"\xef\xbb\xbf"):
            raise ValueError("the document starts with a byte-order mark")
        document = json.loads(raw.decode("utf-8"), object_pairs_hook=no_duplicates)
        walk(document, "$", lines)
        lines.insert(0, "ok")
    except Exception as e:  # every failure is the test's answer, not a crash
        lines = ["error\t" + hexof(repr(e))]
    with open(target + ".part", "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(target + ".part", target)


if __name__ == "__main__":
    main()
