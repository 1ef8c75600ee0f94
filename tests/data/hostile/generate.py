#!/usr/bin/env python3
"""Writes the hand-made hostile property lists in this folder.

Files named bad-* must be refused cleanly; files named ok-* are valid, if unusual, and must
parse. Run again after changing a case: python3 generate.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
HEAD = (b'<?xml version="1.0" encoding="UTF-8"?>\n'
        b'<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
        b'"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n<plist version="1.0">\n')


def xml(body):
    return HEAD + body + b'\n</plist>\n'


def marker(kind, count):
    if count < 15:
        return bytes([kind << 4 | count])
    return bytes([kind << 4 | 0xF, 0x13]) + struct.pack('>Q', count)


def binary(objects, top=0, ref_size=1, offsets=None, count=None, table=None):
    """A bplist00 file from raw object bytes; trailer fields can be overridden."""
    body = b'bplist00'
    found = []
    for obj in objects:
        found.append(len(body))
        body += obj
    offsets = found if offsets is None else offsets
    table_at = len(body) if table is None else table
    body += b''.join(struct.pack('>Q', o) for o in offsets)
    body += b'\0' * 6 + bytes([8, ref_size])
    body += struct.pack('>QQQ', len(offsets) if count is None else count, top, table_at)
    return body


def ascii(text):
    return marker(5, len(text)) + text


def array(*refs):
    return marker(0xA, len(refs)) + bytes(refs)


def doubling_chain(levels):
    """Object i is an array holding object i+1 twice; the last is a string."""
    objects = [array(i + 1, i + 1) for i in range(levels)] + [ascii(b'x')]
    return binary(objects)


def overlapping_strings(count, length):
    """An array of `count` strings that all start at one offset: each string is sound, but
    reading them would copy the same bytes `count` times."""
    refs = marker(0xA, count) + b''.join(struct.pack('>H', i + 1) for i in range(count))
    text = marker(5, length) + b's' * length
    at = 8 + len(refs)
    return binary([refs, text], ref_size=2, offsets=[8] + [at] * count)


CASES = {
    'bad-empty.plist': b'',
    'bad-truncated-xml.plist': xml(b'<dict><key>a</key><string>b</string></dict>')[:-20],
    'bad-truncated-binary.plist': binary([array(1), ascii(b'hello')])[:-5],
    'bad-header-only-binary.plist': b'bplist00',
    'bad-utf8.plist': xml(b'<string>caf\xc3</string>'),
    'bad-utf8-overlong.plist': xml(b'<string>\xc0\xaf</string>'),
    'bad-utf8-surrogate.plist': xml(b'<string>\xed\xa0\x80</string>'),
    'bad-billion-laughs.plist': (
        b'<?xml version="1.0"?>\n<!DOCTYPE plist [\n<!ENTITY a "aaaaaaaaaa">\n'
        + b''.join(b'<!ENTITY %c "%s">\n' % (ord('b') + i, (b'&%c;' % (ord('a') + i)) * 10)
                   for i in range(8))
        + b']>\n<plist><string>&i;</string></plist>\n'),
    'bad-external-entity.plist': (
        b'<?xml version="1.0"?>\n<!DOCTYPE plist [<!ENTITY x SYSTEM "file:///etc/passwd">]>\n'
        b'<plist><string>&x;</string></plist>\n'),
    'bad-unknown-element.plist': xml(b'<dict><key>a</key><script/></dict>'),
    'bad-text-in-dict.plist': xml(b'<dict>stray<key>a</key><true/></dict>'),
    'bad-dangling-key.plist': xml(b'<dict><key>a</key><integer>1</integer><key>b</key></dict>'),
    'bad-integer-text.plist': xml(b'<integer>12ab</integer>'),
    'bad-integer-overflow.plist': xml(b'<integer>18446744073709551616</integer>'),
    'bad-integer-underflow.plist': xml(b'<integer>-9223372036854775809</integer>'),
    'bad-date.plist': xml(b'<date>2023-02-30T10:00:00Z</date>'),
    'bad-data-base64.plist': xml(b'<data>QUJD?A==</data>'),
    'bad-two-roots.plist': xml(b'<true/><false/>'),
    'bad-binary-cycle.plist': binary([array(1), array(2), array(0)]),
    'bad-binary-self-reference.plist': binary([array(0)]),
    'bad-binary-ref-out-of-range.plist': binary([array(1, 9), ascii(b'x')]),
    'bad-binary-offset-out-of-range.plist': binary([array(1), ascii(b'x')], offsets=[8, 4000]),
    'bad-binary-offset-into-header.plist': binary([ascii(b'x')], offsets=[2]),
    'bad-binary-huge-array-count.plist': binary([marker(0xA, 1 << 60) + b'\0' * 4]),
    'bad-binary-huge-dict-count.plist': binary([marker(0xD, 1 << 62) + b'\0' * 4]),
    'bad-binary-huge-data-count.plist': binary([marker(4, (1 << 64) - 1) + b'abc']),
    'bad-binary-huge-object-count.plist': binary([ascii(b'x')], count=1 << 62),
    'bad-binary-table-past-end.plist': binary([ascii(b'x')], table=1 << 40),
    'bad-binary-top-out-of-range.plist': binary([ascii(b'x')], top=5),
    'bad-binary-ref-size-zero.plist': binary([ascii(b'x')], ref_size=0),
    'bad-binary-set.plist': binary([bytes([0xC1, 1]), ascii(b'x')]),
    'bad-binary-uid.plist': binary([bytes([0x80, 7])]),
    'bad-binary-fill.plist': binary([b'\x0f']),
    'bad-binary-null.plist': binary([b'\x00']),
    'bad-binary-ascii-high-byte.plist': binary([ascii(b'caf\xe9')]),
    'bad-binary-unpaired-surrogate.plist': binary([marker(6, 1) + b'\xd8\x3d']),
    'bad-binary-non-string-key.plist': binary([bytes([0xD1, 1, 1]), b'\x10\x05']),
    'bad-binary-int-128-out-of-range.plist': binary([b'\x14' + b'\x01' + b'\0' * 15]),
    'bad-binary-real-2-bytes.plist': binary([b'\x21\x00\x00']),
    'bad-binary-date-nan.plist': binary([b'\x33' + struct.pack('>d', float('nan'))]),
    # 2^40 leaves behind 40 objects: reading must stop long before expanding it.
    'bad-binary-shared-expansion.plist': doubling_chain(40),
    'bad-binary-overlapping-strings.plist': overlapping_strings(2000, 4000),
    'bad-binary-version.plist': b'bplist15' + b'\0' * 40,
    'ok-array-root.plist': xml(b'<array><string>not a dictionary</string></array>'),
    'ok-bare-root.plist': b'<dict><key>a</key><integer>010</integer></dict>',
    'ok-duplicate-keys.plist': xml(b'<dict><key>a</key><true/><key>a</key><false/></dict>'),
    'ok-utf16.plist': ('\ufeff<?xml version="1.0" encoding="UTF-16"?>'
                       '<plist><string>h\u00e9\U0001F600</string></plist>').encode('utf-16-be'),
    'ok-binary-string-root.plist': binary([ascii(b'just a string')]),
    'ok-binary-shared.plist': doubling_chain(12),
}

if __name__ == '__main__':
    for name, content in CASES.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(content)
