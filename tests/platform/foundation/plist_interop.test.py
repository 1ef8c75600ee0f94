#!/usr/bin/env python3
"""Checks huebadge-plutil against Python's plistlib: files plistlib writes, as XML and as
binary, convert to XML that plistlib reads back equal, and a plain dictionary converts to
exactly the bytes plistlib writes."""
import datetime
import math
import os
import plistlib
import subprocess
import sys
import tempfile

PLUTIL = os.path.join(os.environ["HUEBADGE_BIN"], "huebadge-plutil")


def values():
    yield "plain dict", {"a": 1, "b": "two", "c": True}
    yield "unicode", {"caf\u00e9": "\u2713 \U0001F600 \u4e2d\u6587 <&>\"'", "": "empty key"}
    yield "nested", {"l1": {"l2": {"l3": [[[{"deep": [1, [2, [3]]]}]]]}}}
    yield "empty containers", {"a": [], "d": {}, "s": "", "b": b"", "l": [[], {}, [{}]]}
    yield "integers", {"values": [0, 1, -1, 255, 256, 65535, 65536, 2**31, 2**32, 2**63 - 1,
                                  2**63, 2**64 - 1, -2**63, -2**31, -255]}
    yield "reals", {"values": [0.1, 1e300, -0.0, 0.0, 1.5, -2.25, 1e-300, 5e-324,
                               1.7976931348623157e308, 123456789.125, 1e16, 1e-5,
                               float("inf"), float("-inf")]}
    yield "dates", {"when": [datetime.datetime(2001, 1, 1), datetime.datetime(1970, 1, 1),
                             datetime.datetime(2026, 12, 7, 13, 50, 45),
                             datetime.datetime(1901, 12, 13, 20, 45, 52),
                             datetime.datetime(9999, 12, 31, 23, 59, 59)]}
    yield "data", {"blobs": [b"\0", bytes(range(256)), b"x" * 1000, b"\xff" * 57]}
    yield "booleans", {"t": True, "f": False, "list": [True, False, True]}
    yield "array root", ["not", "a", "dict", 3]


def same(a, b):
    """Equality that treats NaN as equal to NaN and tells -0.0 from 0.0."""
    if isinstance(a, float) and isinstance(b, float):
        return (math.isnan(a) and math.isnan(b)) or (a == b and math.copysign(1, a) ==
                                                     math.copysign(1, b))
    if isinstance(a, dict) and isinstance(b, dict):
        return a.keys() == b.keys() and all(same(a[k], b[k]) for k in a)
    if isinstance(a, list) and isinstance(b, list):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return type(a) is type(b) and a == b


def convert(path):
    run = subprocess.run([PLUTIL, "convert", path, "-"], capture_output=True)
    if run.returncode != 0:
        raise AssertionError("convert %s failed: %s" % (path, run.stderr.decode()))
    return run.stdout


def main():
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        for name, value in values():
            for fmt, label in ((plistlib.FMT_XML, "xml"), (plistlib.FMT_BINARY, "binary")):
                path = os.path.join(tmp, "in.plist")
                with open(path, "wb") as f:
                    plistlib.dump(value, f, fmt=fmt, sort_keys=True)
                # What plistlib itself reads from the file: its binary writer merges equal
                # objects, so 0.0 and -0.0 in one list come back as the same value.
                with open(path, "rb") as f:
                    expected_value = plistlib.load(f)
                ours = convert(path)
                back = plistlib.loads(ours)
                if not same(back, expected_value):
                    failures.append("%s (%s): read back %r, expected %r" %
                                    (name, label, back, expected_value))
                if fmt == plistlib.FMT_XML and isinstance(value, dict):
                    expected = plistlib.dumps(value, sort_keys=True)
                    if ours != expected:
                        failures.append("%s: our XML differs from plistlib's:\n%s\n---\n%s" %
                                        (name, ours.decode(), expected.decode()))
        usage = subprocess.run([PLUTIL, "frobnicate"], capture_output=True)
        if usage.returncode != 2 or b"usage" not in usage.stderr:
            failures.append("bad arguments: exit %d" % usage.returncode)
        broken = os.path.join(tmp, "broken.plist")
        with open(broken, "wb") as f:
            f.write(b"<plist><integer>abc</integer></plist>")
        lint = subprocess.run([PLUTIL, "lint", broken], capture_output=True)
        if lint.returncode != 1 or not lint.stderr:
            failures.append("lint of a broken file: exit %d" % lint.returncode)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
