#!/usr/bin/env python3
"""Validates Vantrel's JSON reports against docs/report.schema.json with a real JSON Schema
validator (draft 2020-12), and proves the schema refuses a document with a field of the wrong type.

Usage: check-json-schema.py SCHEMA DOCUMENT...   (the first document is also spoiled and must fail)
"""
import copy
import json
import sys

import jsonschema


def main():
    schema_path, documents = sys.argv[1], sys.argv[2:]
    if not documents:
        print("no documents to check")
        return 1
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    bad = 0
    for path in documents:
        with open(path, "rb") as f:
            raw = f.read()
        if raw.startswith(b"\xef\xbb\xbf"):
            print(f"{path}: starts with a byte-order mark")
            bad = 1
        doc = json.loads(raw.decode("utf-8"))
        errors = sorted(validator.iter_errors(doc), key=lambda e: list(e.absolute_path))
        for e in errors[:20]:
            print(f"{path}: {'/'.join(str(p) for p in e.absolute_path)}: {e.message}")
        bad |= bool(errors)
        print(f"{path}: {'refused' if errors else 'valid'} ({len(doc.get('printers', []))} printers)")
    # A number where the schema wants a text, and a text where it wants a number, must be refused.
    with open(documents[0], encoding="utf-8") as f:
        spoiled = json.load(f)
    for change in (("verdict", "problems", "three"), ("pc", "elevated", 1)):
        wrong = copy.deepcopy(spoiled)
        wrong[change[0]][change[1]] = change[2]
        if validator.is_valid(wrong):
            print(f"the schema accepted {change[0]}.{change[1]} = {change[2]!r}")
            bad = 1
    print("schema check:", "failed" if bad else "passed")
    return bad


if __name__ == "__main__":
    sys.exit(main())
