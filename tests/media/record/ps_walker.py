#!/usr/bin/env python3
"""Walks an MPEG-2 program stream (ISO/IEC 13818-1, 2.5.3) pack by pack and checks its framing:
pack headers with their marker bits, a non-zero program_mux_rate, an SCR that never runs backwards
(except across the 33-bit wrap), system headers whose rate_bound covers the mux rate, PES packets
whose lengths tile the file exactly. Prints "packs P pes S ids ..." and exits 1 on the first fault."""
import sys

WRAP = 1 << 33


def fail(offset, text):
    print(f"offset {offset}: {text}")
    sys.exit(1)


def main(path, expected_ids):
    data = open(path, 'rb').read()
    pos = 0
    packs = 0
    last_scr = None
    mux_rate = 0
    pes_count = {}
    if data[:4] != b'\x00\x00\x01\xba':
        fail(0, "does not start with a pack header")
    while pos < len(data):
        if data[pos:pos + 3] != b'\x00\x00\x01' or pos + 4 > len(data):
            fail(pos, "no start code")
        code = data[pos + 3]
        if code == 0xBA:
            h = data[pos:pos + 14]
            if len(h) < 14:
                fail(pos, "short pack header")
            if h[4] >> 6 != 1 or not (h[4] & 4) or not (h[6] & 4) or not (h[8] & 4) or not (h[9] & 1):
                fail(pos, "pack header marker bits")
            if (h[12] & 3) != 3:
                fail(pos, "mux rate marker bits")
            scr = (((h[4] >> 3) & 7) << 30) | ((h[4] & 3) << 28) | (h[5] << 20) | ((h[6] >> 3) << 15) | \
                  ((h[6] & 3) << 13) | (h[7] << 5) | (h[8] >> 3)
            mux_rate = (h[10] << 14) | (h[11] << 6) | (h[12] >> 2)
            if mux_rate == 0:
                fail(pos, "program_mux_rate 0")
            if last_scr is not None:
                step = (scr - last_scr) % WRAP
                if step >= WRAP // 2:
                    fail(pos, f"SCR runs back from {last_scr} to {scr}")
            last_scr = scr
            packs += 1
            pos += 14 + (h[13] & 7)
        elif code == 0xBB:
            length = (data[pos + 4] << 8) | data[pos + 5]
            h = data[pos:pos + 6 + length]
            if not (h[6] & 0x80) or not (h[8] & 1) or not (h[10] & 0x20):
                fail(pos, "system header marker bits")
            rate_bound = ((h[6] & 0x7F) << 15) | (h[7] << 7) | (h[8] >> 1)
            if rate_bound < mux_rate:
                fail(pos, f"rate_bound {rate_bound} below mux rate {mux_rate}")
            if (length - 6) % 3:
                fail(pos, "system header stream entries")
            pos += 6 + length
        elif code == 0xB9:
            pos += 4
        else:
            if code < 0xBC:
                fail(pos, f"unexpected start code {code:02x}")
            length = (data[pos + 4] << 8) | data[pos + 5]
            if pos + 6 + length > len(data):
                fail(pos, f"PES {code:02x} of {length} bytes runs past the end")
            if code in (0xC0, 0xBD, 0xE0) and data[pos + 6] >> 6 != 2:
                fail(pos, "PES header is not MPEG-2")
            pes_count[code] = pes_count.get(code, 0) + 1
            pos += 6 + length
    ids = sorted(pes_count)
    print("packs", packs, "pes", sum(pes_count.values()), "ids", " ".join(f"{i:02x}" for i in ids))
    if expected_ids is not None and [f"{i:02x}" for i in ids] != expected_ids:
        fail(pos, f"stream ids {ids} instead of {expected_ids}")
    if packs == 0:
        fail(pos, "no pack")


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2].split(',') if len(sys.argv) > 2 else None)
