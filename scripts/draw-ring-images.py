#!/usr/bin/env python3
"""Draws the alert sound images of the filter list and the colour pickers' slider selector
into resources/.

ring_custom: a bell (the filter plays a chosen sound); ring_silent: the bell struck through
(no sound); ring_blank: an empty image of the same size (the default sound), so that titles
line up. The _w variants are white, for rows whose colour needs white text.
Selector: a hollow rounded bar, white with a dark edge, that frames the slider's colour under it
on light and dark colours alike.
Only the standard library: shapes are sampled 4x4 per pixel and written as RGBA PNGs.
"""
import math
import os
import struct
import zlib

SIZE = 29
SELECTOR_WIDTH = 16
SELECTOR_HEIGHT = 48
SAMPLES = 4
CENTRE = SIZE / 2
DARK = (85, 85, 85)
WHITE = (255, 255, 255)


def in_bell(x, y):
    if math.hypot(x - CENTRE, y - 5.0) <= 1.6:  # the knob on top
        return True
    if math.hypot(x - CENTRE, y - 10.0) <= 5.0 and y <= 10.0:  # the rounded crown
        return True
    if 10.0 <= y <= 20.0 and abs(x - CENTRE) <= 5.0 + (y - 10.0) * 0.42:  # the flaring body
        return True
    if 19.5 <= y <= 22.0 and abs(x - CENTRE) <= 10.5:  # the rim
        return True
    return math.hypot(x - CENTRE, y - 24.2) <= 2.2  # the clapper


def distance_to_slash(x, y):
    # The line from the top left to the bottom right corner.
    ax, ay, bx, by = 4.0, 4.0, 25.0, 25.0
    t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay)))


def coverage(shape, px, py):
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            if shape(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                hits += 1
    return hits / (SAMPLES * SAMPLES)


def bell(x, y):
    return in_bell(x, y)


def struck_bell(x, y):
    d = distance_to_slash(x, y)
    if d <= 1.2:
        return True
    return d > 2.6 and in_bell(x, y)  # a clear gap on each side of the stroke


def blank(x, y):
    return False


def distance_outside_bar(x, y, inset):
    # Signed distance from the rounded rectangle inset from the selector's edges (negative inside).
    radius = SELECTOR_WIDTH / 2 - inset
    cx = min(max(x, SELECTOR_WIDTH / 2), SELECTOR_WIDTH / 2)
    cy = min(max(y, inset + radius), SELECTOR_HEIGHT - inset - radius)
    return math.hypot(x - cx, y - cy) - radius


def selector_edge(x, y):
    return -1.0 <= distance_outside_bar(x, y, 0.5) <= 0.0


def selector_ring(x, y):
    return -3.0 <= distance_outside_bar(x, y, 0.5) < -1.0


def png(pixels, width, height):
    raw = b"".join(b"\x00" + bytes(row) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def draw(layers, width=SIZE, height=SIZE):
    """Layers (shape, colour) that do not overlap, blended where a pixel holds more than one."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            covered = [(coverage(shape, px, py), colour) for shape, colour in layers]
            total = min(1.0, sum(share for share, _ in covered))
            if total <= 0:
                row.extend((0, 0, 0, 0))
                continue
            mixed = tuple(round(sum(share * colour[i] for share, colour in covered) / total) for i in range(3))
            row.extend(mixed + (round(255 * total),))
        rows.append(row)
    return png(rows, width, height)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    images = {
        "ring_blank.png": draw([(blank, DARK)]),
        "ring_custom.png": draw([(bell, DARK)]),
        "ring_silent.png": draw([(struck_bell, DARK)]),
        "ring_custom_w.png": draw([(bell, WHITE)]),
        "ring_silent_w.png": draw([(struck_bell, WHITE)]),
        "Selector.png": draw([(selector_edge, DARK), (selector_ring, WHITE)], SELECTOR_WIDTH, SELECTOR_HEIGHT),
    }
    for name, image in images.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(image)


if __name__ == "__main__":
    main()
