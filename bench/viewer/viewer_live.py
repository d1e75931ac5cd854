#!/usr/bin/env python3
"""The viewer playing live under Wine, measured from outside (run by scripts/bench inside its Wine
environment, with the virtual tuner registered):

- zap time: from the Enter key that plays the channel typed by number, or the hand-over of a
  transport-stream file (the wall clock window_input prints just before posting it) to the first frame of the X server's screen, grabbed by x11grab at
  25 frames a second, whose picture matches the new channel's decoded frames; for the virtual
  tuner, the multicast device (VLC on loopback) and the file device, each beside its stream's GOP
  length (the decoder waits for the next I-frame);
- live playback cost: the viewer's CPU seconds per second of playing and its peak resident memory
  (the Wine process's VmHWM), for the SD demo channel and a 1920x1080 interlaced stream, beside
  ffplay playing the same stream in the same run; with the busiest threads' shares (the decoder
  works on the demultiplexer's video thread, the presentation on the render thread and Wine's
  Direct3D threads), where the resident memory lies (by mapped file, the largest anonymous regions),
  the frames presented, drawn and of video per second (the render thread's counters, asked with a
  window message), and the floor: a bare Direct3D 9 window paced to the display's refresh as the
  viewer's render thread is. The closing summary sets the viewer beside ffplay (CPU and peak memory,
  their ratios) and the viewer's peak above the floor's.

Usage: viewer_live.py PROGRAM_DIR DEMO_DIR CHANNEL_WRITER WORK_DIR WINDOW_INPUT [BARE_WINDOW]"""

import json
import os
import re
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "system"))
import end_to_end as e2e  # noqa: E402  (the end-to-end test's viewer driver and picture matching)

HD_FREQUENCY = 522000
HD_SERVICE, HD_TSID, HD_ONID = 1, 2, 1
FILE_SERVICE = 0x102  # the file device plays Demo Two's programme cut from the demo
MULTICAST_CHANNEL = 8
PLAY_SECONDS = 10.0
FRAME_COUNTS = 2031  # the render thread's counters: wParam 0 presented, 1 drawn, 2 video frames
GRAB_RATE = 25
ZAP_COMPARED = 0.4  # the left of the picture: the number entry and the channel's panel lie on the right


def gop_seconds(path, program):
    """The mean distance between key frames of the program's video, in seconds."""
    out = e2e.run("ffprobe", "-v", "error", "-select_streams", "v:0" if program is None else "p:%d:v" % program,
                  "-show_entries", "packet=pts_time,flags", "-read_intervals", "%+6", "-of", "csv=p=0", path,
                  text=True).stdout
    keys = [float(line.split(",")[0]) for line in out.splitlines() if ",K" in line and line.split(",")[0] != "N/A"]
    return (keys[-1] - keys[0]) / (len(keys) - 1) if len(keys) > 1 else float("nan")


def capture(viewer, seconds, path):
    """Starts x11grab on the viewer's picture: small grey frames to `path`; its frames' wall clocks
    come from showinfo on stderr (x11grab stamps with the wall clock, kept by -copyts)."""
    w, h, x, y = viewer.geometry
    pixels = e2e.grab(x, y, w, h)
    x0, y0, x1, y1 = e2e.picture_box(pixels, w, h)
    return subprocess.Popen(
        ["ffmpeg", "-v", "info", "-y", "-f", "x11grab", "-framerate", str(GRAB_RATE), "-video_size", "%dx%d" % (w, h),
         "-i", "%s+%d,%d" % (os.environ["DISPLAY"], x, y), "-frames:v", str(seconds * GRAB_RATE), "-copyts", "-vf",
         "crop=%d:%d:%d:%d,scale=%d:%d,format=gray,showinfo" % (x1 - x0, y1 - y0, x0, y0, *e2e.SMALL),
         "-f", "rawvideo", path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
        text=True)


def first_match_after(grabber, path, after, frames):
    """The wall clock of the first grabbed frame after `after` that shows the channel."""
    _, log = grabber.communicate(timeout=60)
    base = re.search(r"config in time_base: (\d+)/(\d+)", log)
    if not base:
        raise e2e.Failure("zap: x11grab did not grab: %s" % log[-500:])
    unit = int(base.group(1)) / int(base.group(2))
    stamps = [int(pts) * unit for pts in re.findall(r" pts:\s*(\d+)", log)]
    data = open(path, "rb").read()
    size = e2e.SMALL[0] * e2e.SMALL[1]
    after_key = [i for i, stamp in enumerate(stamps) if stamp > after and (i + 1) * size <= len(data)]

    def shows(i):
        return e2e.best_psnr(data[i * size:(i + 1) * size], frames, ZAP_COMPARED) >= e2e.MATCH_DB

    # Once the new channel shows it stays: the first frame that shows it is found by halving.
    if not after_key or not shows(after_key[-1]):
        return None
    low, high = 0, len(after_key) - 1
    while low < high:
        middle = (low + high) // 2
        if shows(after_key[middle]):
            high = middle
        else:
            low = middle + 1
    return stamps[after_key[low]]


def zap_time(session, viewer, press, service, stream=None):
    """Seconds from `press` (which acts and returns the wall clock of the key or the hand-over) to
    the first grabbed frame that shows the service."""
    path = os.path.join(session.work, "zap.gray")
    if os.path.exists(path):
        os.remove(path)
    grabber = capture(viewer, 15, path)
    e2e.wait_for("the grabber's first frame", lambda: os.path.exists(path) and os.path.getsize(path) > 0, 10)
    pressed = press()
    shown = first_match_after(grabber, path, pressed, session.frames(service, stream))
    viewer.wait_picture(service, 20, stream)
    os.remove(path)
    print("zap to %s: %s" % (e2e.CHANNELS[service][0], "%.2f s" % (shown - pressed) if shown else "not seen"), flush=True)
    return shown - pressed if shown else float("nan")


def zap_times(session, multicast_ts, file_ts):
    """Zaps between Demo One and Demo Two a few times (the virtual tuner), from Demo One to the
    multicast channel and to a transport-stream file (the file device, opened from the File menu)
    and back; the seconds of each zap onto a device, by device."""
    viewer = session.start_viewer()
    viewer.wait_picture(0x101, 40)

    def by_number(service):
        return lambda: viewer.tune_by_number(service)

    times = {"virtual tuner": [zap_time(session, viewer, by_number(target), target)
                               for target in (0x102, 0x101, 0x102, 0x101)], "multicast": [], "file": []}
    for _ in range(2):
        times["multicast"].append(zap_time(session, viewer, by_number(e2e.MULTICAST_SID), e2e.MULTICAST_SID,
                                           multicast_ts))
        zap_time(session, viewer, by_number(0x101), 0x101)
        times["file"].append(zap_time(session, viewer, lambda: viewer.open_file(file_ts),
                                      FILE_SERVICE, file_ts))
        zap_time(session, viewer, by_number(0x101), 0x101)
    viewer.close()
    return times


def process_of(name, after=0.0):
    """The Linux process of a Windows program (Wine's loader keeps the program's path on its command
    line) started after `after` (seconds since boot, /proc/uptime); of several, the one with the most
    resident memory: a viewer that is closing or a second instance handing over is not the player."""
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            command = open("/proc/%s/cmdline" % pid, "rb").read().split(b"\0")[0]
            fields = open("/proc/%s/stat" % pid).read().rsplit(")", 1)[1].split()
        except (OSError, IndexError):
            continue
        if command.lower().endswith(name.lower().encode()) and int(fields[19]) / os.sysconf("SC_CLK_TCK") >= after:
            found.append((int(fields[21]), int(pid)))
    return max(found)[1] if found else None


def uptime():
    return float(open("/proc/uptime").read().split()[0])


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def thread_seconds(pid):
    """Each thread's name and CPU seconds, by thread id."""
    threads = {}
    for tid in os.listdir("/proc/%d/task" % pid):
        try:
            fields = open("/proc/%d/task/%s/stat" % (pid, tid)).read().rsplit(")", 1)[1].split()
            name = open("/proc/%d/task/%s/comm" % (pid, tid)).read().strip()
        except OSError:
            continue
        threads[tid] = (name, (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK"))
    return threads


def busiest_threads(before, after, seconds, count=5):
    rates = sorted(((after[tid][1] - before.get(tid, ("", 0.0))[1]) / seconds, after[tid][0], tid) for tid in after)
    return ", ".join("%s/%s %.3f" % (name, tid, rate) for rate, name, tid in reversed(rates[-count:]))


def resident_by_mapping(pid, count=6):
    """The resident megabytes by mapped file (anonymous memory together) and the largest anonymous
    regions (size/resident MB), from the process's smaps."""
    files, regions, name, size = {}, [], None, 0
    for line in open("/proc/%d/smaps" % pid):
        fields = line.split()
        if re.match(r"[0-9a-f]+-[0-9a-f]+ ", line):
            low, high = (int(x, 16) for x in fields[0].split("-"))
            name, size = (os.path.basename(fields[5]) if len(fields) > 5 else "anonymous"), high - low
        elif fields[0] == "Rss:":
            files[name] = files.get(name, 0) + int(fields[1]) / 1024
            if name == "anonymous":
                regions.append((int(fields[1]) / 1024, size / 2 ** 20))
    top = sorted(files.items(), key=lambda item: -item[1])[:count]
    return "resident %.0f MB: %s; largest anonymous regions (size/resident MB): %s" % (
        sum(files.values()), ", ".join("%s %.0f" % item for item in top),
        ", ".join("%.1f/%.1f" % (total, rss) for rss, total in sorted(regions, reverse=True)[:count]))


def peak_mb(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmHWM:"):
            return int(line.split()[1]) / 1024
    return float("nan")


def frame_counts(window_input, title):
    """The window's frames presented, drawn and of video so far (its render thread's counters)."""
    out = e2e.run("wine", window_input, title, *("send:%d,%d" % (FRAME_COUNTS, which) for which in range(3)),
                  text=True).stdout.split()
    return [int(value) for value in out]


def playing_cost(pid, label=None, counts=None):
    """CPU seconds per second over PLAY_SECONDS of playing, the peak resident megabytes and (with
    `counts`, which reads a window's frame counters) the frames presented, drawn and of video per
    second; with a label, prints the busiest threads and where the memory lies."""
    frames = counts() if counts else None
    cpu, threads, wall = cpu_seconds(pid), thread_seconds(pid), time.monotonic()
    time.sleep(PLAY_SECONDS)  # the measured stretch of playing
    seconds = time.monotonic() - wall
    cost = (cpu_seconds(pid) - cpu) / seconds, peak_mb(pid)
    rates = [(after - before) / seconds for before, after in zip(frames, counts())] if counts else None
    if label:
        print("  %s threads (CPU s/s): %s" % (label, busiest_threads(threads, thread_seconds(pid), seconds)))
        print("  %s %s" % (label, resident_by_mapping(pid)), flush=True)
        if rates:
            print("  %s frames per second: %.1f presented, %.1f drawn, %.1f of video" % ((label,) + tuple(rates)),
                  flush=True)
    return cost + (rates,)


def viewer_cost(session, service, tsid, stream):
    e2e.reg_add(e2e.VIEWER_KEY, "LastActiveService", "REG_DWORD", tsid << 16 | service)
    started = uptime()
    viewer = session.start_viewer()
    # The interlaced picture scaled down matches less closely than the progressive SD one.
    viewer.wait_picture(service, 40, stream, db=15.0)
    pid = e2e.wait_for("the viewer's process", lambda: process_of("Tolvik.exe", started), 10)
    cost = playing_cost(pid, "viewer", lambda: frame_counts(session.window_input, e2e.TITLE))
    viewer.close()
    return cost


def bare_window_cost(program, window_input, *how):
    """The floor: CPU s/s, peak MB and frame rates of a bare Direct3D 9 window paced to the display's
    refresh (with "video", also drawing a video texture updated at 50 frames a second)."""
    started = uptime()
    window = subprocess.Popen(["wine", program, str(int(PLAY_SECONDS) + 10), *how], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        e2e.wait_for("the bare window", lambda: e2e.window_geometry("bare Direct3D 9 window"), 30)
        pid = e2e.wait_for("the bare window's process", lambda: process_of(os.path.basename(program), started), 10)
        title = "bare Direct3D 9 window"
        return playing_cost(pid, " ".join(("bare window",) + how), lambda: frame_counts(window_input, title))
    finally:
        window.wait(timeout=60)


def ffplay_cost(path, program):
    command = ["ffplay", "-v", "error", "-x", "640", "-y", "480", "-loop", "0"]
    if program is not None:
        command += ["-vst", "p:%d:v" % program, "-ast", "p:%d:a" % program]
    player = subprocess.Popen(command + [path], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        # Its window (titled with the file's name) shows once it plays.
        e2e.wait_for("ffplay's window", lambda: e2e.window_geometry(path), 20)
        return playing_cost(player.pid)[:2]
    finally:
        player.terminate()
        player.wait(timeout=10)


def make_hd_stream(work):
    path = os.path.join(work, "hd_1080i.ts")
    if not os.path.exists(path):
        e2e.run("ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=25", "-f", "lavfi",
                "-i", "sine=frequency=440:sample_rate=48000", "-t", "20", "-c:v", "mpeg2video", "-b:v", "12M",
                "-maxrate", "15M", "-bufsize", "9M", "-g", "12", "-bf", "2", "-flags", "+ilme+ildct", "-top", "1",
                "-pix_fmt", "yuv420p", "-c:a", "mp2", "-b:a", "192k", "-mpegts_transport_stream_id", str(HD_TSID),
                "-mpegts_original_network_id", str(HD_ONID), "-mpegts_service_id", str(HD_SERVICE),
                "-muxrate", "18M", "-f", "mpegts", path)
    return path


def main(program, demo, channel_writer, work, window_input, bare_window=None):
    os.makedirs(work, exist_ok=True)
    session = e2e.Session(program, demo, work, window_input, None, None)
    demo_ts = os.path.join(demo, "demo.ts")
    hd_ts = make_hd_stream(work)
    with e2e.program_channel_file(program, "viewer-live") as channels:
        description = json.load(open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests",
                                                  "fixtures", "demo", "demo_channels.json")))
        hd = dict(description["records"][0], sid=HD_SERVICE, tsid=HD_TSID, onid=HD_ONID, channel=9, name="HD 1080i",
                  teletext=0, subtitles=0, epg=0)
        hd["tune"] = [dict(hd["tune"][0], values=[HD_FREQUENCY, 8])]
        description["records"].append(hd)
        # The multicast channel of the end-to-end test, from VLC on loopback.
        multicast_ts = e2e.multicast_stream(session)
        description["records"].append(dict(
            description["records"][0], sid=e2e.MULTICAST_SID, tsid=e2e.MULTICAST_TSID, channel=MULTICAST_CHANNEL,
            name=e2e.MULTICAST_NAME, teletext=0, subtitles=0, epg=0,
            tune=[{"kind": "eth", "port": e2e.MULTICAST_PORT, "address": e2e.MULTICAST_GROUP}]))
        e2e.CHANNELS[e2e.MULTICAST_SID] = (e2e.MULTICAST_NAME, 1000 + MULTICAST_CHANNEL, e2e.CHANNELS[0x103][2])
        file_ts = os.path.join(work, "file_device.ts")
        e2e.run("ffmpeg", "-v", "error", "-y", "-i", demo_ts, "-map", "0:p:%d" % FILE_SERVICE, "-c", "copy",
                "-mpegts_service_id", str(FILE_SERVICE), file_ts)
        listing = os.path.join(work, "channels.json")
        json.dump(description, open(listing, "w"))
        e2e.run("python3", channel_writer, "write", listing, channels)
        tuner = r"HKCU\Software\Tolvik Test\Virtual Tuner"
        e2e.reg_add(tuner, "506000", "REG_SZ", e2e.windows_path(demo_ts))
        e2e.reg_add(tuner, str(HD_FREQUENCY), "REG_SZ", e2e.windows_path(hd_ts))
        e2e.reg_add(e2e.VIEWER_KEY, "LastActiveService", "REG_DWORD", e2e.TSID << 16 | 0x101)
        subprocess.run(["wine", "reg", "delete", e2e.PROFILE_KEY, "/f"], capture_output=True)
        try:
            floor = None
            for how in ((), ("video",)) if bare_window else ():
                cpu, floor, rates = bare_window_cost(bare_window, window_input, *how)
                print("bare Direct3D 9 window%s (the floor): %.3f CPU s/s, peak %.0f MB; %.1f presented/s" %
                      (" drawing video" if how else "", cpu, floor, rates[0]))
            # VIEWER_LIVE_ZAP=0 measures the playing cost alone (a quicker run while working on it).
            zaps = zap_times(session, multicast_ts, file_ts) if os.environ.get("VIEWER_LIVE_ZAP", "1") != "0" else {}
            for label, path, program_id in (("virtual tuner", demo_ts, 0x101),
                                            ("multicast", multicast_ts, e2e.MULTICAST_SID),
                                            ("file", file_ts, FILE_SERVICE)) if zaps else ():
                times = sorted(zaps[label])
                print("zap, %s: %s s (median %.2f s); GOP %.2f s" %
                      (label, " ".join("%.2f" % t for t in times), times[len(times) // 2], gop_seconds(path, program_id)))
            lines = []
            for label, path, service, tsid, program_id in (
                    ("720x576 demo", demo_ts, 0x101, e2e.TSID, 0x101), ("1920x1080i", hd_ts, HD_SERVICE, HD_TSID, None)):
                cpu, peak, rates = viewer_cost(session, service, tsid, path)
                peer_cpu, peer_peak = ffplay_cost(path, program_id)
                lines.append("live %s: viewer %.3f CPU s/s, peak %.0f MB; ffplay %.3f CPU s/s, peak %.0f MB; "
                             "ratios %.2f (CPU), %.2f (peak); viewer %s MB above the floor; "
                             "%.1f frames presented/s, %.1f drawn/s, %.1f of video/s" %
                             (label, cpu, peak, peer_cpu, peer_peak, cpu / peer_cpu if peer_cpu else float("nan"),
                              peak / peer_peak if peer_peak else float("nan"),
                              "%.0f" % (peak - floor) if floor else "?", *rates))
                print(lines[-1], flush=True)
            print("== viewer_live summary (%d cores)" % os.cpu_count())
            for line in lines:
                print(line)
        except e2e.Failure as failure:
            print("viewer_live: %s" % failure)
            return 1
        finally:
            if session.viewer:
                session.viewer.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:7]))
