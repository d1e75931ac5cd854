#!/usr/bin/env python3
"""scan_check.py DEMO.json CHANNELS.dat [SID...]: exits 0 when the channel file holds exactly the
demo's records except the SIDs named (ids, names, providers, kinds, PIDs, tuning records), each
once; the channel numbers are the configurator's to give. Prints what differs.
scan_check.py list CHANNELS.dat: prints one line per record, "sid|tsid|name|provider|tuning records"."""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dvb", "DVBPlaybackCore"))
import channel_file  # noqa: E402

KEYS = ("sid", "tsid", "onid", "type", "name", "provider", "scrambled", "pids", "tune")


def main():
    if sys.argv[1] == "list":
        with open(sys.argv[2], "rb") as f:
            for r in channel_file.read(f.read())["records"]:
                tunes = ",".join("%s:%s" % (t.get("address", t.get("name")), t["port"]) for t in r["tune"])
                print("%d|%d|%s|%s|%s" % (r["sid"], r["tsid"], r["name"], r["provider"], tunes))
        return 0
    with open(sys.argv[1], encoding="utf-8") as f:
        demo = json.load(f)["records"]
    left_out = {int(s) for s in sys.argv[3:]}
    with open(sys.argv[2], "rb") as f:
        got = channel_file.read(f.read())["records"]
    expected = sorted(({k: r[k] for k in KEYS} for r in demo if r["sid"] not in left_out), key=lambda r: r["sid"])
    found = sorted(({k: r[k] for k in KEYS} for r in got), key=lambda r: r["sid"])
    if found != expected:
        print(json.dumps({"expected": expected, "found": found}, indent=1, ensure_ascii=False), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
