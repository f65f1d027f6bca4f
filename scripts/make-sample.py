#!/usr/bin/env python3
"""Writes examples/sample.rsc: a small resource file with data resources, unicode blocks and an index."""
import struct
import sys

def unicode_block(text):
    units = text.encode("utf-16-le")
    return bytes([len(units) // 2, 0xAB]) + units

resources = [
    bytes.fromhex("51 52 45 53 01 00 00 00 20 00 10 00"),          # a header record
    unicode_block("Open file"),
    unicode_block("Save file as"),
    bytes.fromhex("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F") + bytes(range(0x40, 0x60)),
    unicode_block("Größe der Datei"),
    unicode_block("Hello, world!"),
    bytes.fromhex("FF FE 10 20 30 40 50 60 70 80 90 A0 B0 C0 D0 E0 F0"),
    unicode_block("Find data"),
    bytes.fromhex("02 00 41 00 42 00 7F 00"),                        # text without a marker
    unicode_block("Replace data"),
]

body = bytearray()
entries = []
position = 4
for resource in resources:
    entries.append(position)
    body += resource
    position += len(resource)
index_offset = position
data = struct.pack("<HH", index_offset, 1) + body
data += b"".join(struct.pack("<H", e) for e in entries) + struct.pack("<H", index_offset)
out = sys.argv[1] if len(sys.argv) > 1 else "examples/sample.rsc"
with open(out, "wb") as f:
    f.write(data)
