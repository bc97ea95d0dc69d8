#!/usr/bin/python3
"""Writes the damaged skins of the hostile-skin campaign (scripts/campaign/skins.sh).

Usage: skin_cases.py THEME.zip OUT_DIR
For every case it makes OUT_DIR/NAME/ holding either theme.zip (the archive
that replaces the program's THEME resource) or no archive and a resources/
folder that the program reads instead. It prints one line per case:
    NAME<TAB>EXPECTED<TAB>DESCRIPTION
where EXPECTED is "window" or "message" (the reported skin failure).
"""
import os
import struct
import sys
import zipfile
import zlib

SKIN = "resources/themes/default/"
MAIN = SKIN + "ControlPanel/MainForm.xml"
SHADOW = SKIN + "public/bk/bk_shadow.png"
LOGO = SKIN + "public/bk/logo.png"


def read_theme(path):
    with zipfile.ZipFile(path) as archive:
        return {info.filename: archive.read(info) for info in archive.infolist()
                if not info.filename.endswith("/")}


def write_zip(path, entries):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries.items():
            archive.writestr(name, data)


def png(width, height, rows=None):
    """An 8-bit grey PNG; rows of zeros unless given. Compressed in a stream
    so that a huge image needs no huge buffer here."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    compressor = zlib.compressobj(9)
    row = b"\0" * (width + 1)
    parts = []
    for _ in range(height):
        parts.append(compressor.compress(row))
    parts.append(compressor.flush())
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", b"".join(parts)) + chunk(b"IEND", b""))


def patch_entry(path, name, crc_xor=0, claimed_size=None):
    """Changes the CRC or the claimed uncompressed size of one entry, in its
    local header and its central record alike."""
    data = bytearray(open(path, "rb").read())
    encoded = name.encode()
    offset = 0
    while True:
        offset = data.find(encoded, offset)
        if offset < 0:
            break
        for signature, start, crc_at, size_at in ((b"PK\x03\x04", 30, 14, 22),
                                                  (b"PK\x01\x02", 46, 16, 24)):
            head = offset - start
            if head >= 0 and data[head:head + 4] == signature:
                crc = struct.unpack_from("<I", data, head + crc_at)[0] ^ crc_xor
                struct.pack_into("<I", data, head + crc_at, crc)
                if claimed_size is not None:
                    struct.pack_into("<I", data, head + size_at, claimed_size)
        offset += len(encoded)
    open(path, "wb").write(data)


def main():
    theme_path, out = sys.argv[1], sys.argv[2]
    theme = read_theme(theme_path)
    theme_bytes = open(theme_path, "rb").read()
    main_form = theme[MAIN].decode("utf-8")
    cases = []

    def case(name, expected, description):
        folder = os.path.join(out, name)
        os.makedirs(folder, exist_ok=True)
        cases.append((name, expected, description))
        return folder

    def archive_case(name, expected, description, entries):
        write_zip(os.path.join(case(name, expected, description), "theme.zip"), entries)

    def with_main(text):
        entries = dict(theme)
        entries[MAIN] = text.encode("utf-8")
        return entries

    # Markup put inside the first box of the mixer.
    def inject(markup):
        anchor = '<HBox class="caption">'
        return main_form.replace(anchor, markup + anchor, 1)

    archive_case("baseline", "window", "the shipped skin", theme)

    folder = case("truncated-zip", "message", "the archive cut in half")
    open(os.path.join(folder, "theme.zip"), "wb").write(theme_bytes[:len(theme_bytes) // 2])
    folder = case("truncated-tail", "message", "the archive without its last 40 bytes")
    open(os.path.join(folder, "theme.zip"), "wb").write(theme_bytes[:-40])
    folder = case("not-a-zip", "message", "4 KiB of text instead of an archive")
    open(os.path.join(folder, "theme.zip"), "wb").write(b"not a zip archive\n" * 228)
    archive_case("empty-zip", "message", "a valid archive without entries", {})

    archive_case("broken-xml", "message", "MainForm.xml with an unmatched closing tag",
                 with_main(main_form.replace("</HBox>", "</VBox>", 1)))
    archive_case("truncated-xml", "message", "MainForm.xml cut after 60 % (inside nested "
                 "elements)", with_main(main_form[:len(main_form) * 6 // 10]))
    broken_global = dict(theme)
    broken_global[SKIN + "global.xml"] = b"<Global><Font id=\"x\" name=\"y\"></Global>"
    archive_case("broken-global", "window", "global.xml unparsable (no fonts, colours, classes)",
                 broken_global)
    no_images = {name: data for name, data in theme.items() if not name.endswith(".png")}
    archive_case("missing-images", "window", "every PNG removed", no_images)
    zero_images = {name: (b"" if name.endswith(".png") else data) for name, data in theme.items()}
    archive_case("zero-size-images", "window", "every PNG replaced by an empty entry", zero_images)
    garbage = dict(theme)
    garbage[SHADOW] = theme[SHADOW][:40]
    garbage[LOGO] = b"\x89PNG\r\n\x1a\n" + b"\xff" * 64
    archive_case("corrupt-png", "window", "shadow PNG cut after its header, logo PNG garbage",
                 garbage)
    huge = dict(theme)
    huge[SHADOW] = png(20000, 20000)
    archive_case("huge-png", "window", "20000 x 20000 PNG as the window shadow (stretched)", huge)

    depth = 100000
    archive_case("deep-nesting", "window", f"{depth} nested VBox elements in the mixer",
                 with_main(inject("<VBox>" * depth + "</VBox>" * depth)))
    archive_case("deep-nesting-open", "message", f"{depth} nested VBox elements never closed",
                 with_main(inject("<VBox>" * depth)))
    archive_case("self-include", "window", "MainForm.xml includes itself",
                 with_main(inject('<Include source="ControlPanel/MainForm.xml"/>')))
    mutual = with_main(inject('<Include source="ControlPanel/a.xml"/>'))
    mutual[SKIN + "ControlPanel/a.xml"] = (
        b'<Window><HBox><Include source="ControlPanel/b.xml"/></HBox></Window>')
    mutual[SKIN + "ControlPanel/b.xml"] = (
        b'<Window><VBox><Include source="ControlPanel/a.xml"/></VBox></Window>')
    archive_case("mutual-include", "window", "a.xml and b.xml include each other", mutual)
    fan = with_main(inject('<Include source="ControlPanel/fan.xml"/>'))
    fan[SKIN + "ControlPanel/fan.xml"] = (
        b'<Window><HBox><Include source="ControlPanel/fan.xml" count="8"/>'
        b'<Include source="ControlPanel/fan.xml" count="8"/></HBox></Window>')
    archive_case("include-fan-out", "window", "a fragment including itself 16 times per level",
                 fan)
    archive_case("include-count", "window", "one Include with count 2000000000",
                 with_main(inject('<Include source="ControlPanel/one.xml" count="2000000000"/>')) |
                 {SKIN + "ControlPanel/one.xml": b"<Window><Control/></Window>"})

    unknown = inject('<Frobnicator zap="1" width="12"><Slider name="x"/><Gadget/></Frobnicator>'
                     '<Control bogus="1" width="nonsense" height="-7" margin="a,b" '
                     'bkcolor="no_such_colour" bkimage="file=\'nothing.png\' corner=\'x\'"/>')
    unknown = unknown.replace('<Window ', '<Window wobble="yes" ', 1)
    archive_case("unknown-elements", "window", "unknown elements and attributes, bad values",
                 with_main(unknown))
    archive_case("huge-attribute", "window", "a 3 MiB text attribute and a 3 MiB class name",
                 with_main(inject('<Label text="' + "W" * (3 << 20) + '"/>'
                                  '<Control class="' + "c " * (1 << 20) + '"/>')))
    extreme = inject('<Control width="2147483647" height="2147483647" '
                     'margin="-2147483648,-2147483648,2147483647,2147483647"/>'
                     '<Slider max="2147483647" min="-2147483648" value="99999999999"/>')
    extreme = extreme.replace('size="1110,527"', 'size="2147483647,2147483647"', 1)
    archive_case("extreme-numbers", "window", "sizes and margins at the limits of int32",
                 with_main(extreme))

    bomb = dict(theme)
    bomb[SHADOW] = b"\0" * (1 << 30)
    archive_case("zip-bomb-image", "window", "a 1 MiB entry that inflates to 1 GiB (the shadow)",
                 bomb)
    archive_case("zip-bomb-layout", "message", "MainForm.xml inflating to 1 GiB of blanks",
                 with_main(main_form + " " * (1 << 30)))
    archive_case("wrong-crc", "message", "MainForm.xml with a wrong CRC-32", theme)
    patch_entry(os.path.join(out, "wrong-crc", "theme.zip"), MAIN, crc_xor=0x5A5A5A5A)
    archive_case("lying-size", "message", "MainForm.xml claiming 4 GiB uncompressed", theme)
    patch_entry(os.path.join(out, "lying-size", "theme.zip"), MAIN, claimed_size=0xFFFFFFF0)

    # No THEME resource: the program reads resources\ beside it (its
    # working folder).
    def folder_case(name, expected, description, entries):
        folder = case(name, expected, description)
        for entry, data in entries.items():
            path = os.path.join(folder, entry)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").write(data)

    folder_case("folder-baseline", "window", "no resource; the shipped skin as files", theme)
    folder_case("folder-broken-xml", "message", "no resource; MainForm.xml unparsable",
                with_main(main_form.replace("<Window", "<Window size=1110", 1)))
    folder_case("folder-too-large", "message", "no resource; MainForm.xml of 5 MiB",
                with_main(main_form + " " * (5 << 20)))
    folder_case("folder-deep-nesting", "window", f"no resource; {depth} nested VBox files",
                with_main(inject("<VBox>" * depth + "</VBox>" * depth)))
    folder_case("no-skin", "message", "no resource and no resources folder", {})

    for name, expected, description in cases:
        print(f"{name}\t{expected}\t{description}")


if __name__ == "__main__":
    main()
