#!/usr/bin/env python3
"""Lays out the test skin: copies the XML files and writes the PNG images
(a soft drop shadow and a small gradient) that the skin names.

usage: make_test_skin.py SOURCE_DIR OUTPUT_SKIN_DIR
"""
import os
import shutil
import struct
import sys
import zlib


def write_png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a); writes a non-interlaced RGBA PNG."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        out.write(chunk(b"IEND", b""))


def shadow(x, y, size=64, blur=14):
    # Alpha rises towards the middle over the outer `blur` pixels.
    edge = min(x, y, size - 1 - x, size - 1 - y)
    return (0, 0, 0, int(90 * min(edge, blur) / blur))


def gradient(x, y):
    return (40 + 6 * x, 90 + 4 * y, 200, 255)


def main():
    source, output = sys.argv[1], sys.argv[2]
    if os.path.isdir(output):
        shutil.rmtree(output)
    shutil.copytree(source, output)
    bk = os.path.join(output, "public", "bk")
    os.makedirs(bk, exist_ok=True)
    write_png(os.path.join(bk, "bk_shadow.png"), 64, 64, shadow)
    write_png(os.path.join(output, "CoreTest", "gradient.png"), 32, 32, gradient)


if __name__ == "__main__":
    main()
