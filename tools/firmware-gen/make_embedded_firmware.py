#!/usr/bin/env python3
"""Writes the firmware text the flasher carries (firmware/embedded_firmware.hex).

The image is generated, deterministically, to look like a real controller firmware: a
reset jump, an interrupt vector table, identification strings with the version 260313,
lookup tables, a long stretch of code-like words, a calibration block near the top of
the second 64 KiB page and a signature in its last eight bytes. The record layout is the
one the device family's build tools produce: 16-byte records on 16-byte boundaries, an
extended linear address record in front of each 64 KiB page, an end-of-file record.

Run it from the repository root: python3 tools/firmware-gen/make_embedded_firmware.py
"""
import math
import random
import struct
import zlib

VERSION = b"260313"
RUNS = [(0x00000, 0x00003), (0x00008, 0x1232D), (0x1FCA8, 0x1FFC9), (0x1FFF8, 0x1FFFF)]


def code_words(rng, size):
    """Words in the shape of compiled code: prologues, loads, calls, branches, returns."""
    out = bytearray()
    while len(out) < size:
        regs = rng.sample(range(2, 18), rng.randint(1, 6))
        out += b"".join(struct.pack("<H", 0x920F | (r << 4)) for r in regs)  # push
        for _ in range(rng.randint(3, 24)):
            kind = rng.random()
            if kind < 0.35:
                out += struct.pack("<H", 0xE000 | rng.randrange(0x1000))  # load immediate
            elif kind < 0.55:
                out += struct.pack("<H", 0x0C00 | rng.randrange(0x400))  # add
            elif kind < 0.70:
                out += struct.pack("<HH", 0x940E, rng.randrange(0x1000, 0x9000, 2))  # call
            elif kind < 0.85:
                out += struct.pack("<H", 0xF000 | rng.randrange(0x400))  # branch
            else:
                out += struct.pack("<H", 0x8000 | rng.randrange(0x1000))  # load/store
        out += b"".join(struct.pack("<H", 0x900F | (r << 4)) for r in reversed(regs))  # pop
        out += struct.pack("<H", 0x9508)  # ret
    return out[:size]


def build_memory():
    rng = random.Random(260313)
    mem = bytearray(b"\xff" * 0x20000)

    def put(address, data):
        mem[address:address + len(data)] = data

    put(0x0000, struct.pack("<HH", 0x940C, 0x0100))  # jmp to the start-up code
    vectors = b"".join(struct.pack("<HH", 0x940C, 0x1000 + 0x40 * i) for i in range(62))
    put(0x0008, vectors)
    strings = (b"ZORVAN\x00" + b"Zorvan device firmware\x00" + VERSION + b"\x00" +
               b"(C) Zorvan 2026\x00" + b"BOOT02\x00")
    put(0x0100, strings.ljust(0x100, b"\x00"))
    sine = b"".join(struct.pack("<h", round(32767 * math.sin(2 * math.pi * i / 256)))
                    for i in range(256))
    put(0x0200, sine)
    crc_table = bytearray()
    for i in range(256):
        c = i << 8
        for _ in range(8):
            c = ((c << 1) ^ 0x1021) if c & 0x8000 else (c << 1)
        crc_table += struct.pack("<H", c & 0xFFFF)
    put(0x0400, crc_table)
    gamma = bytes(round(255 * (i / 255) ** 2.2) for i in range(256))
    put(0x0600, gamma)
    put(0x0700, bytes(rng.randrange(256) for _ in range(0x900)))  # font and message data
    put(0x1000, code_words(rng, 0x1232E - 0x1000))

    calibration = bytearray()
    for channel in range(40):
        calibration += struct.pack("<BBhhI", channel, 0x5A, rng.randint(-400, 400),
                                   rng.randint(9000, 11000), rng.getrandbits(32))
    calibration = (calibration + VERSION + b"\x00CAL").ljust(0x1FFCA - 0x1FCA8, b"\x00")
    put(0x1FCA8, calibration)
    body = bytes(mem[:0x1FFF8])
    put(0x1FFF8, bytes([0x26, 0x03, 0x13, 0x02]) + struct.pack("<I", zlib.crc32(body)))
    return mem


def record(count, address, rtype, data):
    payload = bytes([count, address >> 8, address & 0xFF, rtype]) + data
    return ":" + payload.hex().upper() + "%02X" % ((-sum(payload)) & 0xFF)


def records_for(mem):
    lines = []
    upper = None
    for first, last in RUNS:
        address = first
        while address <= last:
            if address >> 16 != upper:
                upper = address >> 16
                lines.append(record(2, 0, 4, struct.pack(">H", upper)))
            end = min(last + 1, (address // 16 + 1) * 16)
            lines.append(record(end - address, address & 0xFFFF, 0, bytes(mem[address:end])))
            address = end
    lines.append(":00000001FF")
    return lines


if __name__ == "__main__":
    lines = records_for(build_memory())
    with open("firmware/embedded_firmware.hex", "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print(f"{len(lines)} lines")
