#!/usr/bin/env bash
# Seeds for the demultiplexer and recorder fuzzers: a configuration byte, then runs of 188-byte
# packets of the video and audio PIDs (256, 257 MP2, 258 AC-3, 259 radio) cut from an ffmpeg
# multiplex, including PES starts after long adaptation fields.
set -euo pipefail
out=$1
mkdir -p "$out"
root=$(cd "$(dirname "$0")/../.." && pwd)
media="$out.media"
bash "$root/tests/fixtures/media/ts_services.sh" "$media"
python3 - "$media/services.ts" "$out" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
packets = [data[i:i + 188] for i in range(0, len(data) - 187, 188)]
def write(name, config, chosen):
    open(f"{sys.argv[2]}/{name}", 'wb').write(bytes([config]) + b''.join(chosen))
for config, pids, name in ((0x03, (256, 257), 'mp2'), (0x07, (256, 258), 'ac3'), (0x0B, (259,), 'radio')):
    chosen = [p for p in packets if ((p[1] & 0x1F) << 8 | p[2]) in pids][:120]
    write(name, config, chosen)
# A start packet whose PES header follows a long adaptation field.
start = next(p for p in packets if ((p[1] & 0x1F) << 8 | p[2]) == 257 and p[1] & 0x40)
pes = start[4:4 + 20] if not start[3] & 0x20 else start[5 + start[4]:5 + start[4] + 20]
short = bytes([0x47, 0x41, 0x01, 0x30, 183 - len(pes)]) + b'\x00' + b'\xff' * (182 - len(pes)) + pes
write('short_start', 0x03, [short[:188]] + [p for p in packets if ((p[1] & 0x1F) << 8 | p[2]) == 257][1:20])
PY
