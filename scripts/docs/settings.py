# Writes the settings files the screenshots use into the folder given.
import os
import struct
import sys

run = sys.argv[1]


def record(key, value):
    return key.encode().ljust(128, b"\0") + value.encode().ljust(2048, b"\0")


def settings(name, records):
    with open(os.path.join(run, name), "wb") as f:
        f.write(b"".join(record(k, v) for k, v in records))


def bitmap(path, width, height):
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes(((x * 255) // width, (y * 255) // height, 160 if (x // 100 + y // 100) % 2 else 60))
        rows.append(bytes(row) + b"\0" * ((4 - len(row) % 4) % 4))
    pixels = b"".join(rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + pixels)


bitmap(os.path.join(run, "lock.bmp"), 1600, 1000)
armed = [("m_nVirtualKey", "19"), ("m_csCode", "not a password anyone types")]
settings("first.bin", [("m_nVirtualKey", "19"), ("m_bScreenwipe", "0"), ("m_bScreensaver", "0"),
                       ("m_nVelocity", "500"), ("m_nDelay", "5")])
settings("plain.bin", armed)
settings("image.bin", armed + [("m_csImage", "Z:" + os.path.join(run, "lock.bmp").replace("/", "\\"))])
settings("spin.bin", [("m_bScreensaver", "1"), ("m_nDelay", "1")])
settings("idle.bin", [("m_bScreensaver", "1"), ("m_nDelay", "1")])
