#!/usr/bin/env python3
"""Reads a Task Scheduler 1.0 job file (.job) by its documented layout and prints its fields as
"name value" lines: the fixed-length part (68 bytes), the variable-length part (strings as a
16-bit character count with the terminating NUL, then UTF-16LE), and the 48-byte triggers.
Usage: read_job.py JOB_FILE OUTPUT_FILE"""
import struct
import sys


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.at + size > len(self.data):
            raise ValueError("job file ends inside a field at %d" % self.at)
        values = struct.unpack_from(fmt, self.data, self.at)
        self.at += size
        return values if len(values) > 1 else values[0]

    def text(self):
        count = self.take("<H")
        if count == 0:
            return ""
        raw = self.data[self.at:self.at + 2 * count]
        if len(raw) != 2 * count:
            raise ValueError("string runs past the end")
        self.at += 2 * count
        text = raw.decode("utf-16-le")
        if not text.endswith("\0"):
            raise ValueError("string without its NUL")
        return text[:-1]

    def blob(self):
        size = self.take("<H")
        raw = self.data[self.at:self.at + size]
        self.at += size
        return raw


def read(data):
    r = Reader(data)
    fields = []
    product, file_version = r.take("<HH")
    r.take("<16s")  # job identifier
    app_offset, trigger_offset = r.take("<HH")
    r.take("<HHHH")  # error retry count and interval, idle deadline and wait
    priority, max_run_time, exit_code, status, flags = r.take("<IIIII")
    r.take("<8H")  # last run time
    fields += [("product_version", "0x%04x" % product), ("file_version", file_version),
               ("priority", "0x%x" % priority), ("status", "0x%08x" % status), ("flags", "0x%x" % flags)]
    if r.at != 68 or app_offset != 70:
        raise ValueError("fixed-length part of %d bytes, application at %d" % (r.at, app_offset))
    r.take("<H")  # running instance count
    for name in ("application", "parameters", "working_directory", "author", "comment"):
        fields.append((name, r.text()))
    r.blob()  # user data
    r.blob()  # reserved data
    if r.at != trigger_offset:
        raise ValueError("triggers at %d, header says %d" % (r.at, trigger_offset))
    count = r.take("<H")
    fields.append(("triggers", count))
    for i in range(count):
        (size, _, by, bm, bd, ey, em, ed, hour, minute, duration, interval, tflags, ttype,
         s0, s1, s2, _, _, _) = r.take("<10HIIII6H")
        if size != 48:
            raise ValueError("trigger of %d bytes" % size)
        fields += [("trigger%d_begin" % i, "%04d-%02d-%02d %02d:%02d" % (by, bm, bd, hour, minute)),
                   ("trigger%d_end" % i, "%04d-%02d-%02d" % (ey, em, ed)),
                   ("trigger%d_duration" % i, duration), ("trigger%d_interval" % i, interval),
                   ("trigger%d_flags" % i, tflags), ("trigger%d_type" % i, ttype),
                   ("trigger%d_specific" % i, "%d %d %d" % (s0, s1, s2))]
    return fields


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        lines = ["%s %s" % (k, v) for k, v in read(data)]
    except ValueError as e:
        lines = ["error %s" % e]
    with open(sys.argv[2] + ".tmp", "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    import os
    os.replace(sys.argv[2] + ".tmp", sys.argv[2])


if __name__ == "__main__":
    main()
