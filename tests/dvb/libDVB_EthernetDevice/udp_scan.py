#!/usr/bin/env python3
"""Counts the transport-stream packets per PID that a sender puts on a multicast group.

usage: udp_scan.py GROUP PORT STEM
Writes STEM.ready once joined, STEM.first at the first datagram, and, when the group has been quiet
for 1.5 s after the first datagram (or after 60 s in all), STEM.ts (the packets received),
STEM.probe (what ffprobe reports of them: "program <id> <pmt_pid> <pcr_pid> <name>" and
"stream <id> <pid>" lines) and last STEM.counts ("pid count" lines, then "sizes s1 s2 ...").
"""
import json
import os
import socket
import subprocess
import struct
import sys
import time

group, port, stem = sys.argv[1], int(sys.argv[2]), sys.argv[3]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEPORT, 1)
s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4 << 20)
s.bind(("", port))
s.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
             struct.pack("4s4s", socket.inet_aton(group), socket.inet_aton("0.0.0.0")))
s.settimeout(0.1)
open(stem + ".ready", "w").close()

counts, sizes = {}, set()
ts = open(stem + ".ts", "wb")
deadline = time.time() + 60
last = None
while time.time() < deadline and (last is None or time.time() - last < 1.5):
    try:
        d = s.recv(65536)
    except socket.timeout:
        continue
    if last is None:
        open(stem + ".first", "w").close()
    last = time.time()
    sizes.add(len(d))
    offset = 0
    if d[0] != 0x47 and len(d) >= 12 and d[0] >> 6 == 2 and d[1] & 0x7F == 33:
        offset = 12 + 4 * (d[0] & 0x0F)
        if d[0] & 0x10:
            offset += 4 + 4 * struct.unpack(">H", d[offset + 2:offset + 4])[0]
    for p in range(offset, len(d) - 187, 188):
        if d[p] == 0x47:
            pid = (d[p + 1] & 0x1F) << 8 | d[p + 2]
            counts[pid] = counts.get(pid, 0) + 1
            ts.write(d[p:p + 188])
ts.close()

probe = json.loads(subprocess.run(["ffprobe", "-v", "error", "-show_programs", "-of", "json", stem + ".ts"],
                                  capture_output=True, check=True).stdout)
with open(stem + ".probe", "w") as f:
    for p in probe.get("programs", []):
        f.write("program %d %d %d %s\n" % (p["program_num"], p["pmt_pid"], p["pcr_pid"],
                                           p.get("tags", {}).get("service_name", "")))
        for st in p["streams"]:
            f.write("stream %d %d\n" % (p["program_num"], int(st["id"], 16)))

with open(stem + ".counts.tmp", "w") as f:
    for pid in sorted(counts):
        f.write("%d %d\n" % (pid, counts[pid]))
    f.write("sizes %s\n" % " ".join(str(n) for n in sorted(sizes)))
os.replace(stem + ".counts.tmp", stem + ".counts")
