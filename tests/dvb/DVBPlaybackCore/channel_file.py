#!/usr/bin/env python3
"""An independent reader and writer of the channel file, written from its layout tables.

  channel_file.py write DESCRIPTION.json OUT   writes the file a description gives
  channel_file.py check DESCRIPTION.json IN    exits 0 when IN reads back as exactly that description
  channel_file.py seeds FOLDER                 writes a few files of every kind (fuzzing seeds)
  channel_file.py bench COUNT OUT              writes COUNT varied records; prints the best seconds of
                                               its own write and read (no start-up), the peer's times

Description: {"records": [record, ...], "count": optional stored count}; a record holds sid, tsid,
onid, reserved, favourite, channel, dvb_type, type, name, provider, scrambled, teletext, subtitles,
epg, audio, logo, pids (five), tune (list of {"kind": "bda", "type", "port", "name", "values"},
{"kind": "eth", "port", "address"} or {"kind": "raw", "guid", "body"} with hex texts).
"""
import json
import struct
import sys
import uuid

BDA = uuid.UUID("2CECC800-DA86-4AF1-A0A4-D1A00181471A").bytes_le
ETH = uuid.UUID("D2218975-B473-4C2D-9889-4F8A82511D9F").bytes_le
VALUE_COUNT = {1: 2, 2: 2, 3: 3, 4: 2}


def text(s):
    raw = s.encode("utf-16-le")
    return struct.pack("<I", len(raw)) + raw


def tune_bytes(t):
    if t["kind"] == "bda":
        values = t.get("values", [])
        assert len(values) == VALUE_COUNT.get(t["type"], 0)
        return (BDA + struct.pack("<II", t["type"], t["port"]) + text(t["name"]) +
                b"".join(struct.pack("<i", v) for v in values))
    if t["kind"] == "eth":
        return ETH + struct.pack("<I", t["port"]) + text(t["address"])
    return bytes.fromhex(t["guid"]) + bytes.fromhex(t["body"])


def record_bytes(r):
    body = struct.pack("<HHHHiiII", r["sid"], r["tsid"], r["onid"], r["reserved"], r["favourite"],
                       r["channel"], r["dvb_type"], r["type"])
    body += text(r["name"]) + text(r["provider"])
    body += bytes([r["scrambled"], r["teletext"], r["subtitles"], r["epg"], r["audio"]])
    body += text(r["logo"])
    body += struct.pack("<5H", *r["pids"])
    body += struct.pack("<I", len(r["tune"]))
    body += b"".join(tune_bytes(t) for t in r["tune"])
    return struct.pack("<I", len(body)) + body


def write(description):
    records = description["records"]
    out = struct.pack("<I", description.get("count", len(records)))
    return out + b"".join(record_bytes(r) for r in records)


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, n):
        if self.pos + n > len(self.data):
            raise ValueError("file ends inside a field at %d" % self.pos)
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def unpack(self, fmt):
        return struct.unpack(fmt, self.take(struct.calcsize(fmt)))

    def text(self):
        (n,) = self.unpack("<I")
        if n % 2:
            raise ValueError("odd string length")
        return self.take(n).decode("utf-16-le")


def read(data):
    f = Reader(data)
    (count,) = f.unpack("<I")
    records = []
    for _ in range(count):
        (length,) = f.unpack("<I")
        start = f.pos
        r = dict(zip(["sid", "tsid", "onid", "reserved", "favourite", "channel", "dvb_type", "type"],
                     f.unpack("<HHHHiiII")))
        r["name"], r["provider"] = f.text(), f.text()
        for key in ["scrambled", "teletext", "subtitles", "epg", "audio"]:
            r[key] = f.take(1)[0]
        r["logo"] = f.text()
        r["pids"] = list(f.unpack("<5H"))
        (tunes,) = f.unpack("<I")
        r["tune"] = []
        for _ in range(tunes):
            guid = f.take(16)
            if guid == BDA:
                kind, port = f.unpack("<II")
                name = f.text()
                values = list(f.unpack("<%di" % VALUE_COUNT.get(kind, 0)))
                r["tune"].append({"kind": "bda", "type": kind, "port": port, "name": name, "values": values})
            elif guid == ETH:
                (port,) = f.unpack("<I")
                r["tune"].append({"kind": "eth", "port": port, "address": f.text()})
            else:
                raise ValueError("unknown tune-info GUID " + guid.hex())
        if f.pos - start != length:
            raise ValueError("record length %d, %d bytes follow" % (length, f.pos - start))
        records.append(r)
    if f.pos != len(data):
        raise ValueError("%d bytes after the last record" % (len(data) - f.pos))
    return {"records": records}


def seeds(folder):
    import os
    os.makedirs(folder, exist_ok=True)
    plain = {"sid": 1, "tsid": 2, "onid": 3, "reserved": 4, "favourite": -1, "channel": 1, "dvb_type": 1,
             "type": 1, "name": "Seed", "provider": "P", "scrambled": 0, "teletext": 1, "subtitles": 0, "epg": 1,
             "audio": 0, "logo": "c:\\logo.png", "pids": [0, 256, 257, 0, 259], "tune": []}
    tunes = [{"kind": "bda", "type": 1, "port": 0, "name": "T", "values": [506000, 8]},
             {"kind": "bda", "type": 2, "port": 0, "name": "C", "values": [346000, 6900]},
             {"kind": "bda", "type": 3, "port": 2, "name": "S", "values": [11778000, 27500, 1]},
             {"kind": "bda", "type": 4, "port": 0, "name": "A", "values": [0, 36]},
             {"kind": "bda", "type": 7, "port": 0, "name": "X", "values": []},
             {"kind": "eth", "port": 1234, "address": "239.1.2.3"},
             {"kind": "raw", "guid": "00112233445566778899aabbccddeeff", "body": "00"}]
    for i, tune in enumerate(tunes):
        record = dict(plain, sid=i, tune=[tune, tunes[5]])
        with open(os.path.join(folder, "seed%d.dat" % i), "wb") as out:
            out.write(write({"records": [plain, record, plain]}))
    return 0


def bench(count, path):
    import time
    records = []
    for i in range(count):
        tune = [{"kind": "bda", "type": 1 + i % 4, "port": i % 3, "name": "Tuner %d" % (i % 4),
                 "values": [474000 + 8000 * (i % 40), 8, 1][:VALUE_COUNT[1 + i % 4]]}]
        if i % 5 == 0:
            tune.append({"kind": "eth", "port": 1234 + i, "address": "239.1.%d.%d" % (i // 250 % 250, i % 250)})
        records.append({"sid": i % 65536, "tsid": 1 + i // 65536 + i % 50, "onid": 8916, "reserved": 0,
                        "favourite": i if i % 17 == 0 else -1, "channel": i // 2, "dvb_type": 1,
                        "type": 1 + i % 2, "name": "Channel number %d" % i, "provider": "Provider %d" % (i % 30),
                        "scrambled": i % 2, "teletext": 1, "subtitles": 0, "epg": 1, "audio": i % 3 == 0,
                        "logo": "c:\\program files\\tv\\resources\\tv_logos\\channel %d.png" % i,
                        "pids": [0, 256 + i % 100, 257 + i % 100, 0, 0], "tune": tune})
    description = {"records": records}
    best_write = best_read = None
    for _ in range(3):
        start = time.perf_counter()
        data = write(description)
        best_write = min(best_write or 1e9, time.perf_counter() - start)
        start = time.perf_counter()
        read(data)
        best_read = min(best_read or 1e9, time.perf_counter() - start)
    with open(path, "wb") as out:
        out.write(data)
    print("%.6f %.6f" % (best_write, best_read))
    return 0


def main():
    if sys.argv[1] == "seeds":
        return seeds(sys.argv[2])
    if sys.argv[1] == "bench":
        return bench(int(sys.argv[2]), sys.argv[3])
    command, description_path, path = sys.argv[1:4]
    with open(description_path, encoding="utf-8") as d:
        description = json.load(d)
    if command == "write":
        with open(path, "wb") as out:
            out.write(write(description))
        return 0
    with open(path, "rb") as f:
        got = read(f.read())
    expected = {"records": description["records"]}
    for r in expected["records"]:
        for t in r["tune"]:
            t.setdefault("values", []) if t["kind"] == "bda" else None
    if got != expected:
        print(json.dumps(got, indent=1, ensure_ascii=False), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
