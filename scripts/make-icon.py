#!/usr/bin/env python3
"""Draws the program icon (a mixer: three fader slots with caps on a dark
rounded square) at every size Windows asks for and writes a .ico file.

Usage: make-icon.py OUTPUT.ico
Each size is drawn from geometry, 4x4 supersampled, not scaled from one
bitmap, so small sizes stay crisp. 256 px is stored as PNG, the rest as
32-bit BMP with an AND mask, as Windows expects."""
import struct
import sys
import zlib

# The small (16) and large (32) icon sizes at 100, 125, 150, 175 and 200 %,
# and 256 for Explorer's largest views.
SIZES = [16, 20, 24, 28, 32, 40, 48, 56, 64, 256]
SS = 4


def rounded_rect_cover(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def shade(size, u, v):
    """Colour (r, g, b, a) at the unit-square point (u, v)."""
    if not rounded_rect_cover(u, v, 0.03, 0.03, 0.97, 0.97, 0.18):
        return (0, 0, 0, 0)
    # Thin light rim, then a vertical graphite gradient.
    if not rounded_rect_cover(u, v, 0.03 + 1.2 / size, 0.03 + 1.2 / size,
                              0.97 - 1.2 / size, 0.97 - 1.2 / size, 0.17):
        return (96, 100, 108, 255)
    g = int(58 - 26 * v)
    base = (g, g + 2, g + 6, 255)
    slots = [0.28, 0.5, 0.72]
    caps = [0.62, 0.36, 0.52]
    slot_half = max(0.022, 0.6 / size)
    for sx, cy in zip(slots, caps):
        # Fader cap: an amber rounded bar across the slot.
        if rounded_rect_cover(u, v, sx - 0.085, cy - 0.05, sx + 0.085, cy + 0.05, 0.03):
            light = 1.0 - 0.35 * (v - (cy - 0.05)) / 0.1
            return (int(255 * light), int(150 * light), int(20 * light), 255)
        if abs(u - sx) <= slot_half and 0.16 <= v <= 0.84:
            return (18, 18, 20, 255)
        if abs(u - sx) <= slot_half * 2.2 and 0.16 <= v <= 0.84:
            return (80, 84, 90, 255)
    return base


def render(size):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    r, g, b, a = shade(size, (x + (sx + 0.5) / SS) / size,
                                       (y + (sy + 0.5) / SS) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SS * SS
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[2] / acc[3]), round(a)))
        pixels.append(row)
    return pixels


def png(size, pixels):
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    and_rows = []
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    return header + xor + b"".join(and_rows)


def main():
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(size, pixels) if size >= 256 else bmp(size, pixels)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
