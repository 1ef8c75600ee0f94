#!/usr/bin/env python3
"""Writes valid sample property lists with Python's plistlib: the same value as XML and as
binary, so that readers of both forms can be checked against each other."""
import datetime
import os
import plistlib

HERE = os.path.dirname(os.path.abspath(__file__))

VALUE = {
    'filtersEnabled': [
        {'fromPattern': '^boss@', 'hexColor': '#FF8000', 'matchType': 0, 'sound': ''},
        {'subjectPattern': '(?i)invoice|bill', 'hexColor': '#00FF00', 'matchType': 1},
    ],
    'filtersDisabled': [],
    'mailBoxAlphaLevel': 65,
    'profileSaved': False,
    'enabled': True,
    'lastModified': '12/7/26, 1:50:45 PM',
    'ratio': 0.1,
    'huge': 2 ** 64 - 1,
    'tiny': -2 ** 63,
    'created': datetime.datetime(2026, 12, 7, 13, 50, 45),
    'blob': bytes(range(256)),
    'unicode': 'caf\u00e9 \u2713 \U0001F600 <&>',
    'nested': {'a': {'b': {'c': [[], {}, [1, 2.5, 'x']]}}},
}

if __name__ == '__main__':
    with open(os.path.join(HERE, 'sample-xml.plist'), 'wb') as f:
        plistlib.dump(VALUE, f, sort_keys=True)
    with open(os.path.join(HERE, 'sample-binary.plist'), 'wb') as f:
        plistlib.dump(VALUE, f, fmt=plistlib.FMT_BINARY)
