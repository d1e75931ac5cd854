#!/usr/bin/env python3
"""Walks an MPEG-2 program stream (ISO/IEC 13818-1, 2.5.3) pack by pack.

Framing, always: a pack header first, marker bits, a non-zero program_mux_rate, PES lengths that
tile the file, the program end code 0x000001B9 as its last four bytes and nowhere else, every
system header byte for byte the same, its rate_bound covering every pack's mux rate and its stream
entries naming every stream that has PES packets.

Timing, with --timing: every byte's arrival time by the P-STD's rule (2.5.2: the pack's SCR is the
arrival of the byte holding the last bit of SCR_base, later bytes follow at program_mux_rate); a
pack never starts before the bytes of the previous one have arrived; every PES packet has arrived
whole before the DTS (else PTS) of the access unit it starts, or for a PES without a timestamp
before that of the stream's last one; and each stream's buffer stays within the
P-STD_buffer_size_bound of the system header. The buffer counts whole PES packets; a video PES
leaves it at its DTS, an audio PES (which may hold several frames) only at the next audio PES's PTS,
so the fullness counted is never below the P-STD's own.

Prints "packs P pes S ids I rate R bounds id:bytes ... margin_ms M fullness id:bytes ..." (the
worst margin of any PES before its DTS/PTS) and exits 1 on the first fault."""
import sys

WRAP = 1 << 33


def fail(offset, text):
    print(f"offset {offset}: {text}")
    sys.exit(1)


def timestamp(b):
    return (((b[0] >> 1) & 7) << 30) | (b[1] << 22) | ((b[2] >> 1) << 15) | (b[3] << 7) | (b[4] >> 1)


def unwrap(value, near):
    """The value congruent to `value` modulo 2^33 nearest to `near`."""
    return near + ((value - near + WRAP // 2) % WRAP) - WRAP // 2


class Stream:
    def __init__(self, bound):
        self.bound = bound
        self.held = []  # [size, removal time or None]
        self.deadline = None
        self.fullest = 0

    def arrive(self, size, deadline, video, start, pos):
        """A PES of `size` bytes whose first byte arrives at `start`; the fullness counted is the
        highest it reaches while the PES arrives."""
        if deadline is not None:
            self.deadline = deadline
            if not video:
                for entry in self.held:
                    entry[1] = deadline if entry[1] is None else entry[1]
            self.held.append([size, deadline if video else None])
        elif self.held:
            self.held[-1][0] += size
        else:
            self.held.append([size, self.deadline if video else None])
        self.held = [e for e in self.held if e[1] is None or e[1] > start]
        fullness = sum(e[0] for e in self.held)
        self.fullest = max(self.fullest, fullness)
        if fullness > self.bound:
            fail(pos, f"buffer holds {fullness} bytes, bound {self.bound}")


def main(path, expected_ids, timing):
    data = open(path, 'rb').read()
    pos = 0
    packs = 0
    scr = None          # unwrapped SCR of the current pack, 90 kHz
    scr_pos = 0         # offset of the byte the SCR refers to
    mux_rate = 0        # bytes per second
    rates = set()
    system = None
    listed = {}
    streams = {}
    pes_count = {}
    margin = None
    if data[:4] != b'\x00\x00\x01\xba':
        fail(0, "does not start with a pack header")

    def arrival(offset):
        return scr + (offset - scr_pos) * 90000.0 / mux_rate

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
            value = (((h[4] >> 3) & 7) << 30) | ((h[4] & 3) << 28) | (h[5] << 20) | ((h[6] >> 3) << 15) | \
                    ((h[6] & 3) << 13) | (h[7] << 5) | (h[8] >> 3)
            rate = (h[10] << 14) | (h[11] << 6) | (h[12] >> 2)
            if rate == 0:
                fail(pos, "program_mux_rate 0")
            rates.add(rate)
            if scr is None:
                new = value
            else:
                new = unwrap(value, scr)
                if new <= scr:
                    fail(pos, f"SCR runs back from {scr % WRAP} to {value}")
                # The pack's first byte may not arrive before the previous pack's last one.
                if timing and new - 8 * 90000.0 / (rate * 50) < arrival(pos) - 1e-6:
                    fail(pos, f"SCR {value} comes before the previous pack's bytes have arrived")
            scr, scr_pos, mux_rate = new, pos + 8, rate * 50
            packs += 1
            pos += 14 + (h[13] & 7)
        elif code == 0xBB:
            length = (data[pos + 4] << 8) | data[pos + 5]
            h = data[pos:pos + 6 + length]
            if not (h[6] & 0x80) or not (h[8] & 1) or not (h[10] & 0x20):
                fail(pos, "system header marker bits")
            if (length - 6) % 3:
                fail(pos, "system header stream entries")
            if system is None:
                system = h
                for k in range(12, len(h), 3):
                    scale = 1024 if h[k + 1] & 0x20 else 128
                    listed[h[k]] = (((h[k + 1] & 0x1F) << 8) | h[k + 2]) * scale
            elif h != system:
                fail(pos, f"system header {h.hex()} differs from the first {system.hex()}")
            pos += 6 + length
        elif code == 0xB9:
            if pos + 4 != len(data):
                fail(pos, "program end code before the end")
            pos += 4
            break
        else:
            if code < 0xBC:
                fail(pos, f"unexpected start code {code:02x}")
            length = (data[pos + 4] << 8) | data[pos + 5]
            end = pos + 6 + length
            if end > len(data):
                fail(pos, f"PES {code:02x} of {length} bytes runs past the end")
            if code in (0xC0, 0xBD, 0xE0) and data[pos + 6] >> 6 != 2:
                fail(pos, "PES header is not MPEG-2")
            if code not in listed:
                fail(pos, f"stream {code:02x} is not in the system header")
            pes_count[code] = pes_count.get(code, 0) + 1
            if timing:
                flags = data[pos + 7] >> 6
                deadline = None
                if flags & 2:
                    deadline = unwrap(timestamp(data[pos + 9:pos + 14]), scr)
                    if flags == 3:
                        deadline = unwrap(timestamp(data[pos + 14:pos + 19]), scr)
                stream = streams.setdefault(code, Stream(listed[code]))
                due = deadline if deadline is not None else stream.deadline
                done = arrival(end - 1)
                if due is not None:
                    ahead = (due - done) / 90.0
                    margin = ahead if margin is None else min(margin, ahead)
                    if ahead < 0:
                        fail(pos, f"PES {code:02x} arrives {-ahead:.1f} ms after its time {due}")
                stream.arrive(end - pos, deadline, (code & 0xF0) == 0xE0, arrival(pos), pos)
            pos = end
    if data[-4:] != b'\x00\x00\x01\xb9':
        fail(len(data), "no program end code")
    ids = sorted(pes_count)
    rate_bound = ((system[6] & 0x7F) << 15) | (system[7] << 7) | (system[8] >> 1) if system else 0
    if system is None:
        fail(pos, "no system header")
    if max(rates) > rate_bound:
        fail(pos, f"rate_bound {rate_bound} below mux rate {max(rates)}")
    line = (f"packs {packs} pes {sum(pes_count.values())} ids {' '.join(f'{i:02x}' for i in ids)} "
            f"rate {max(rates) * 400} bounds {' '.join(f'{i:02x}:{b}' for i, b in sorted(listed.items()))}")
    if timing:
        line += f" margin_ms {margin:.1f} fullness " + " ".join(f"{i:02x}:{s.fullest}" for i, s in sorted(streams.items()))
    print(line)
    if expected_ids is not None and [f"{i:02x}" for i in ids] != expected_ids:
        fail(pos, f"stream ids {ids} instead of {expected_ids}")
    if sorted(listed) != sorted(pes_count) and expected_ids is not None:
        fail(pos, f"system header lists {sorted(listed)}, the file has {ids}")


if __name__ == '__main__':
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    main(args[0], args[1].split(',') if len(args) > 1 else None, '--timing' in sys.argv)
