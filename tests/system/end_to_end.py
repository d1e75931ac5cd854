#!/usr/bin/env python3
"""The system as a user meets it, under Wine, one step after another on the demo broadcast from the
virtual DVB-T tuner: the configurator's scan makes the channel list (the demo multiplex on 506 MHz,
and a channel VLC sends by multicast and announces over SAP); the viewer plays the last channel (its picture grabbed from the X server and
matched against the demo's decoded frames, its sound captured from the null sink); the channel
changes by number keys to the next TV channel, to the radio channel, to the multicast channel and
back; the main menu opened by keys opens the channel list, whose pick the next and previous channel
step from; in a zone half an hour off the hour the guide and teletext show their texts where they
belong (read by tesseract); timeshift pauses and resumes; a recording of ten seconds is read
back by ffprobe, played back and sought by a click on the seek bar; a recording scheduled from the guide becomes the Task
Scheduler job that starts the viewer with "/rec"; the updater fetches a newer version
from a python3 server on loopback and starts the viewer again, and refuses a cut-short download;
closing the viewer keeps its channel for the next start.

Usage: end_to_end.py PROGRAM_DIR DEMO_DIR CHANNEL_WRITER WORK_DIR WINDOW_INPUT FAKE_SETUP UPDATE_SERVER
Runs inside the Wine environment of the tests (WINEPREFIX, DISPLAY, PULSE_SERVER set)."""

import atexit
import contextlib
import json
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import time

TSID = 0x0421
TITLE = "Tolvik v1.0"
# service_id: name, number typed to reach it (TV 1000 + n, radio 5000 + n), tone in Hz.
CHANNELS = {
    0x101: ("Demo One", 1001, 440.0),
    0x102: ("Demo Two", 1002, 660.0),
    0x103: ("Demo Three", 1003, 880.0),
    0x104: ("Demo Radio", 5001, 523.25),
}
RADIO = 0x104
SMALL = (180, 144)  # frames are compared at this size, in grey
MATCH_DB = 18.0     # a grab matches a decoded frame at this PSNR or more (other channels stay below 12)
VIEWER_KEY = r"HKCU\Software\Harvo\Tolvik"
PROFILE_KEY = VIEWER_KEY + r"\qor"
UPDATER_KEY = r"HKCU\Software\Harvo\brenvo\Settings"
VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_F2 = 0x26, 0x28, 0x0D, 0x1B, 0x71
ID_FILE_OPEN = 32776  # the File menu's "Open file..."


class Failure(Exception):
    pass


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, **kwargs)


def wait_for(what, condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise Failure("%s: not within %d s" % (what, seconds))


def reg_add(key, name, kind, data):
    run("wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f")


def reg_dword(key, name):
    out = subprocess.run(["wine", "reg", "query", key, "/v", name], capture_output=True, text=True).stdout
    m = re.search(r"%s\s+REG_DWORD\s+0x([0-9a-fA-F]+)" % re.escape(name), out)
    return int(m.group(1), 16) if m else None


def windows_path(path):
    return run("winepath", "-w", path, text=True).stdout.strip()


@contextlib.contextmanager
def program_channel_file(program, what):
    """The program folder's channel list for the length of a run: what it held before comes back."""
    channels = os.path.join(program, "channels.dat")
    saved = channels + ".before-" + what
    if os.path.exists(channels):
        shutil.copy(channels, saved)
    try:
        yield channels
    finally:
        if os.path.exists(saved):
            shutil.move(saved, channels)
        elif os.path.exists(channels):
            os.remove(channels)


def window_geometry(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    m = re.search(r'"%s": \([^)]*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)' % re.escape(title), tree)
    return tuple(int(v) for v in m.groups()) if m else None


def grab(x, y, w, h):
    out = run("ffmpeg", "-v", "error", "-f", "x11grab", "-video_size", "%dx%d" % (w, h), "-i",
              "%s+%d,%d" % (os.environ["DISPLAY"], x, y), "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray",
              "-").stdout
    return out if len(out) == w * h else None


def picture_box(pixels, w, h):
    """The video's rectangle: the picture fills the client height between pure black side bars. The
    sides are found on rows above the OSD's lower panels; a dark column of the picture still lies
    above black."""
    rows = [pixels[y * w:(y + 1) * w] for y in (h * 15 // 100, h * 30 // 100, h * 45 // 100)]
    cols = [x for x in range(w) if max(row[x] for row in rows) > 8]
    if not cols:
        return None
    return cols[0], 0, cols[-1] + 1, h


def shrink(pixels, w, h, box):
    x0, y0, x1, y1 = box
    crop = b"".join(pixels[y * w + x0:y * w + x1] for y in range(y0, y1))
    return run("ffmpeg", "-v", "error", "-f", "rawvideo", "-pix_fmt", "gray", "-video_size",
               "%dx%d" % (x1 - x0, y1 - y0), "-i", "-", "-vf", "scale=%d:%d" % SMALL, "-f", "rawvideo",
               "-pix_fmt", "gray", "-", input=crop).stdout


def compared_pixels(left):
    """Every third pixel of the rows that no OSD panel covers (10-65 %), within the left `left` of the
    width (the panels that come with a channel change lie on the right)."""
    w, h = SMALL
    return [y * w + x for y in range(h // 10, h * 65 // 100) for x in range(int(w * left))][::3]


COMPARED = {1.0: compared_pixels(1.0)}


def psnr(a, b, left=1.0):
    if left not in COMPARED:
        COMPARED[left] = compared_pixels(left)
    pixels = COMPARED[left]
    mse = sum((a[i] - b[i]) ** 2 for i in pixels) / len(pixels)
    return 99.0 if mse == 0 else 10 * math.log10(255 * 255 / mse)


def best_psnr(shot, frames, left=1.0):
    """The best match among the decoded frames."""
    size = SMALL[0] * SMALL[1]
    return max((psnr(shot, frames[i:i + size], left) for i in range(0, len(frames) - size + 1, size)),
               default=0.0)


def tone_power(samples, rate, hz):
    """Goertzel power of one frequency."""
    k = 2 * math.cos(2 * math.pi * hz / rate)
    s1 = s2 = 0.0
    for v in samples:
        s1, s2 = v + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def loudest_tone(seconds=1.2):
    """The loudest of the demo's tones on the null sink's monitor over the last half second of a
    capture of `seconds` (timeout ends the recorder); None without sound."""
    raw = subprocess.run(["timeout", str(seconds), "parec", "--device=null.monitor", "--raw", "--format=s16le",
                          "--channels=1", "--rate=48000"], capture_output=True).stdout
    samples = struct.unpack("<%dh" % (len(raw) // 2), raw[:len(raw) // 2 * 2])[-24000:]
    if len(samples) < 24000 or max(abs(v) for v in samples) < 200:
        return None
    powers = {hz: tone_power(samples, 48000, hz) for _, _, hz in CHANNELS.values()}
    return max(powers, key=powers.get)


class Viewer:
    """The real Tolvik.exe on the X server, driven by window_input.exe as a user's keys would."""

    def __init__(self, session, arguments=(), start=True, zone=None):
        """Starts the viewer, or (start False) takes the window of one another program started. In
        another time `zone` Wine takes it from TZ, which cmd then hides from the program's C library
        (it would read the name as UTC)."""
        self.session = session
        command = ["wine", os.path.join(session.program, "Tolvik.exe")] + list(arguments)
        if zone:
            command = ["wine", "cmd", "/c", "set TZ=&& " + windows_path(command[1])] + list(arguments)
        self.process = start and subprocess.Popen(
            command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=dict(os.environ, TZ=zone) if zone else None)
        self.seen = []
        self.geometry = wait_for("the viewer's window", lambda: window_geometry(TITLE), 60)

    def ended(self):
        return not window_geometry(TITLE) and (not self.process or self.process.poll() is not None)

    def send(self, *actions):
        return run("wine", self.session.window_input, TITLE, *actions, text=True).stdout

    def grab_small(self):
        w, h, x, y = self.geometry
        pixels = grab(x, y, w, h)
        box = pixels and picture_box(pixels, w, h)
        if not box or (box[2] - box[0]) < w // 3:
            self.seen.append("no picture box %s" % (box,))
            return None
        return shrink(pixels, w, h, box)

    def wait_picture(self, service, seconds=30, stream=None, db=MATCH_DB):
        """The channel's picture on the screen within `seconds`; its PSNR against the best frame."""
        name = CHANNELS[service][0] if service in CHANNELS else "service %s" % service
        frames = self.session.frames(service, stream)

        def matched():
            shot = self.grab_small()
            if not shot:
                return None
            value = best_psnr(shot, frames)
            self.seen.append("best %.1f dB" % value)
            return value if value >= db else None

        try:
            return wait_for("a picture of " + name, matched, seconds)
        except Failure:
            raise Failure("no picture of %s within %d s (window %s; last grabs: %s)" %
                          (name, seconds, self.geometry, "; ".join(self.seen[-3:])))

    def wait_tone(self, service, seconds=20):
        hz = CHANNELS[service][2]
        heard = []
        try:
            wait_for("the tone", lambda: heard.append(loudest_tone()) or heard[-1] == hz, seconds)
        except Failure:
            raise Failure("the sound is not %s's %g Hz within %d s (heard %s)" %
                          (CHANNELS[service][0], hz, seconds, heard[-3:]))

    def tune_by_number(self, service):
        """Types the channel's number, moves onto the one matching channel and presses Enter; the wall
        clock of the Enter key."""
        number = str(CHANNELS[service][1])
        self.send(*("char:" + digit for digit in number))
        # The matching channels are listed once the digits have been handled: a call of its own.
        return float(self.send("key:%d" % VK_DOWN, "time", "key:%d" % VK_RETURN).split()[0])

    def open_file(self, path):
        """Opens a media file as a user does: the File menu's "Open file..." and its dialog, the
        file's name typed into the dialog's name box (cmb13); the wall clock of the OK."""
        self.send("command:%d" % ID_FILE_OPEN)
        return float(run("wine", self.session.window_input, "Open", "text:1148=" + windows_path(path), "time",
                         "click:1", text=True).stdout.split()[0])

    def close(self, seconds=30):
        """Closes the window as a user does; the viewer must end."""
        if not self.ended():
            subprocess.run(["wine", self.session.window_input, TITLE, "close"], capture_output=True)
        try:
            wait_for("the viewer's end", self.ended, seconds)
        except Failure:
            self.kill()
            raise

    def kill(self):
        subprocess.run(["wine", "taskkill", "/f", "/im", "Tolvik.exe"], capture_output=True)
        if not self.process:
            return
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Session:
    def __init__(self, program, demo, work, window_input, fake_setup, update_server):
        self.program, self.demo, self.work = program, demo, work
        self.window_input, self.fake_setup, self.update_server = window_input, fake_setup, update_server
        self.viewer = None
        self._frames = {}

    def frames(self, service, stream=None):
        """The channel's decoded frames, small and grey (of the demo or of another stream); a service
        named by text is the only video of `stream` (a recording)."""
        if service not in self._frames:
            program = isinstance(service, int)
            path = os.path.join(self.work, "frames_%s.gray" % (("%x" % service) if program else service))
            run("ffmpeg", "-v", "error", "-y", "-i", stream or os.path.join(self.demo, "demo.ts"), "-map",
                "0:p:%d:v" % service if program else "0:v", "-vf", "scale=%d:%d" % SMALL, "-f", "rawvideo",
                "-pix_fmt", "gray", path)
            self._frames[service] = open(path, "rb").read()
        return self._frames[service]

    def start_viewer(self, *arguments, zone=None):
        self.viewer = Viewer(self, arguments, zone=zone)
        return self.viewer


# The steps, in the order a user goes. Each fails with a message saying what was not seen.

# The multicast channel: VLC sends one programme of the demo to a group and announces it over SAP
# (to 239.255.255.255, the announcement group of the local scope 239.255/16; RFC 2974, 3).
MULTICAST_GROUP, MULTICAST_PORT = "239.255.7.1", 5070
MULTICAST_SID, MULTICAST_TSID, MULTICAST_NAME = 0x105, 0x0422, "Demo Multicast"
ANNOUNCED = "Demo Announced"


def channel_records(path):
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dvb", "DVBPlaybackCore"))
    import channel_file
    with open(path, "rb") as f:
        data = f.read()
    try:
        records = channel_file.read(data)
    except ValueError as error:
        raise Failure("scan: the saved channel file does not read: %s" % error)
    if channel_file.write(records) != data:
        raise Failure("scan: the saved channel file does not load back equal")
    return records["records"]


def probed_services(source):
    """What ffprobe reports of a stream's programmes, as the channel file keeps it: service id ->
    (name, provider, kind 1 TV or 2 radio, teletext, subtitles, several audio streams), and the PIDs."""
    probe = json.loads(run("ffprobe", "-v", "error", "-show_programs", "-print_format", "json", source,
                           text=True, timeout=60).stdout)
    services, pids = {}, {}
    for program in probe["programs"]:
        codecs = [s.get("codec_name") for s in program["streams"]]
        kinds = [s.get("codec_type") for s in program["streams"]]
        tags = program.get("tags", {})
        services[program["program_id"]] = (tags.get("service_name", ""), tags.get("service_provider", ""),
                                           1 if "video" in kinds else 2, int("dvb_teletext" in codecs),
                                           int("dvb_subtitle" in codecs), int(kinds.count("audio") > 1))
        pids[program["program_id"]] = sorted(int(s["id"], 16) for s in program["streams"])
    return services, pids


def scanned_services(records):
    return {r["sid"]: (r["name"], r["provider"], r["type"], r["teletext"], r["subtitles"], r["audio"]) for r in records}


def scan_with_configurator(session, *how, code=0):
    """scan_channels.exe (beside window_input.exe) drives the configurator of the program folder; its
    output, when it ends with `code` (3: nothing found)."""
    tool = os.path.join(os.path.dirname(session.window_input), "scan_channels.exe")
    done = subprocess.run(["wine", tool, windows_path(os.path.join(session.program, "plintor.exe"))] + list(how),
                          capture_output=True, text=True, timeout=240)
    if done.returncode != code:
        raise Failure("scan %s: %s" % (" ".join(how), (done.stderr.strip().splitlines() or ["exit %d" % done.returncode])[-1]))
    return done.stdout


def multicast_stream(session):
    """The multicast channel's stream (one programme of the demo) and its sender, started once for the
    session: VLC (as nobody: it refuses root) loops it to the group and announces it over SAP."""
    path = os.path.join(session.work, "multicast.ts")
    if getattr(session, "multicast_sender", None):
        return path
    run("ffmpeg", "-v", "error", "-y", "-i", os.path.join(session.demo, "demo.ts"), "-map", "0:p:%d" % 0x103,
        "-c", "copy", "-mpegts_service_id", str(MULTICAST_SID), path)
    os.chmod(session.work, 0o755)
    os.chmod(path, 0o644)
    user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.getuid() == 0 else []
    session.multicast_sender = subprocess.Popen(
        user + ["cvlc", "-q", "--loop", path, "--sout-keep", "--sout-ts-es-id-pid", "--sout-ts-tsid=%d" % MULTICAST_TSID,
                "--sout-ts-program-pmt=%d" % MULTICAST_SID, "--sout-ts-sdtdesc=Tolvik Demo,%s" % MULTICAST_NAME,
                "--sout", "#std{access=udp,mux=ts,dst=%s:%d,sap,name=%s}" % (MULTICAST_GROUP, MULTICAST_PORT, ANNOUNCED)],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=dict(os.environ, HOME="/tmp"))

    atexit.register(stop_multicast, session)
    return path


def stop_multicast(session):
    sender, session.multicast_sender = getattr(session, "multicast_sender", None), None
    if sender:
        sender.terminate()
        try:
            sender.wait(timeout=10)
        except subprocess.TimeoutExpired:
            sender.kill()


def scanned_pids(output):
    """The "pids SID: PID ..." lines of scan_channels.exe: service id -> ascending PIDs; the other lines."""
    pids = {int(m.group(1)): [int(p) for p in m.group(2).split()]
            for m in re.finditer(r"^pids (\d+):([ \d]*)$", output, re.M)}
    return pids, [line for line in output.splitlines() if not line.startswith("pids ")]


def step_scan(session):
    """The configurator's scan makes the channel list the later steps play: 530 MHz finds nothing and
    saves nothing; over the virtual tuner on 506 MHz it finds every service of the demo as ffprobe reports it, and over SAP the announced
    multicast channel, each with its tuning record and with the PIDs that the configurator's scan code
    learnt from the PMTs (scan_channels.exe runs it on the same source) equal to ffprobe's; the saved
    file loads back equal."""
    channels = os.path.join(session.program, "channels.dat")
    if os.path.exists(channels):
        os.remove(channels)
    # A frequency without a multiplex: nothing found, said so, and no list saved.
    empty = scan_with_configurator(session, "terrestrial", "530", "8", code=3)
    if empty.strip() or os.path.exists(channels):
        raise Failure("scan: 530 MHz has no multiplex, yet the scan %s" %
                      ("saved a channel list" if os.path.exists(channels) else "found %s" % empty.strip()))
    print("scan: 530 MHz: nothing found, no list saved")
    found, scanned = scanned_pids(scan_with_configurator(session, "terrestrial", "506", "8"))
    records = channel_records(channels)
    expected, pids = probed_services(os.path.join(session.demo, "demo.ts"))
    if scanned_services(records) != expected:
        raise Failure("scan: the channel file holds %s, ffprobe reports %s" % (scanned_services(records), expected))
    if found != pids:
        raise Failure("scan: the configurator's scan learnt the PIDs %s, ffprobe reports %s" % (found, pids))
    tunes = {(r["tsid"], json.dumps(r["tune"])) for r in records}
    terrestrial = [{"kind": "bda", "type": 1, "port": 0, "name": "Virtual Tuner T/C (1)", "values": [506000, 8]}]
    if tunes != {(TSID, json.dumps(terrestrial))}:
        raise Failure("scan: the tuning records are %s, not the demo multiplex on 506 MHz" % tunes)
    print("scan: 506 MHz: %s; PIDs as ffprobe's %s" % ("; ".join(scanned),
                                          ", ".join("%d: %s" % (sid, pids[sid]) for sid in sorted(pids))))

    multicast_stream(session)
    found, scanned = scanned_pids(scan_with_configurator(session, "network", ANNOUNCED, MULTICAST_GROUP,
                                                         str(MULTICAST_PORT)))
    multicast = [r for r in channel_records(channels) if r["sid"] not in expected]
    sent, sent_pids = probed_services("udp://%s:%d?timeout=10000000" % (MULTICAST_GROUP, MULTICAST_PORT))
    eth = [{"kind": "eth", "port": MULTICAST_PORT, "address": MULTICAST_GROUP}]
    if scanned_services(multicast) != sent or [(r["tsid"], r["tune"]) for r in multicast] != [(MULTICAST_TSID, eth)]:
        raise Failure("scan: over SAP the new records are %s, VLC sends %s to %s:%d" %
                      (multicast, sent, MULTICAST_GROUP, MULTICAST_PORT))
    if found != sent_pids:
        raise Failure("scan: over SAP the configurator's scan learnt the PIDs %s, ffprobe reports %s" % (found, sent_pids))
    print("scan: announced \"%s\": %s at %s:%d; PIDs as ffprobe's %s" % (ANNOUNCED, "; ".join(scanned), MULTICAST_GROUP,
                                                                       MULTICAST_PORT, sent_pids[MULTICAST_SID]))

    # The typed numbers are those the configurator gave; the list is kept for a look after a failure.
    shutil.copy(channels, os.path.join(session.work, "scanned-channels.dat"))
    for r in channel_records(channels):
        tone = CHANNELS[r["sid"]][2] if r["sid"] in CHANNELS else CHANNELS[0x103][2]
        CHANNELS[r["sid"]] = (r["name"], r["channel"] + (1000 if r["type"] == 1 else 5000), tone)
    print("scan: the numbers given: %s" % ", ".join("%s %d" % CHANNELS[sid][:2] for sid in sorted(CHANNELS)))


def step_watch(session):
    """The viewer starts on the last channel and shows its picture and plays its sound."""
    viewer = session.start_viewer()
    # The OSD hides itself after three seconds; a frame of the demo must show within 40 s.
    value = viewer.wait_picture(0x101, 40)
    print("watch: the picture matches a decoded frame of Demo One at %.1f dB" % value)
    viewer.wait_tone(0x101)
    print("watch: the sound is Demo One's %g Hz tone" % CHANNELS[0x101][2])


def step_zap(session):
    """By number keys to the next TV channel, to the radio channel and back: each shows its picture
    (a TV channel's frames, and no longer the previous channel's) or the radio screen, with its tone."""
    viewer = session.viewer
    for service, previous in ((0x102, 0x101), (RADIO, 0x102), (0x101, RADIO)):
        name = CHANNELS[service][0]
        viewer.tune_by_number(service)
        if service == RADIO:
            viewer.wait_tone(service)
            shot = viewer.grab_small()
            left = shot and best_psnr(shot, session.frames(previous))
            if left and left >= MATCH_DB:
                raise Failure("zap: the radio channel still shows %s's picture (%.1f dB)" %
                              (CHANNELS[previous][0], left))
            print("zap: %s plays its %g Hz tone without a picture" % (name, CHANNELS[service][2]))
            continue
        value = viewer.wait_picture(service)
        viewer.wait_tone(service)
        print("zap: %s shows its picture (%.1f dB) and plays its %g Hz tone" % (name, value, CHANNELS[service][2]))


def step_menu_and_steps(session):
    """Keys typed on the keyboard open the main menu and run its entry "Channel list"; the list's keys
    pick the TV list's second channel; the next and previous channel are its neighbours in that
    list, in the order of the numbers the scan gave."""
    viewer = session.viewer
    tv = sorted((sid for sid in CHANNELS if 1000 < CHANNELS[sid][1] < 5000), key=lambda sid: CHANNELS[sid][1])
    if len(tv) < 3 or tv[0] != 0x101:
        raise Failure("menu: the TV list is not Demo One and two more (%s)" % tv)
    # The menu opens focused on its first entry; the arrows travel and come back to it.
    viewer.send("type:%d,%d,%d,%d,%d,%d" % (ord("M"), VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_RETURN))
    # The TV tab lists the playing Demo One first, chosen; Down and Return pick the one after it.
    viewer.send("type:%d" % VK_F2)
    viewer.send("type:%d,%d,%d" % (VK_DOWN, VK_RETURN, VK_ESCAPE))
    value = viewer.wait_picture(tv[1], 20)
    print("menu: its channel list, opened by keys, picked %s (%.1f dB)" % (CHANNELS[tv[1]][0], value))
    for command, service, what in ((15, tv[2], "next"), (16, tv[1], "previous")):
        viewer.send("command:%d" % command)
        value = viewer.wait_picture(service, 20)
        print("steps: the %s channel is %s (%.1f dB)" % (what, CHANNELS[service][0], value))


def step_zap_multicast(session):
    """To the multicast channel the scan found over SAP and back: its picture and sound, then Demo
    One's again."""
    if MULTICAST_SID not in CHANNELS:
        raise Failure("zap: the multicast channel is not in the channel list (the scan step makes it)")
    viewer, stream = session.viewer, multicast_stream(session)

    def tune(service, stream=None):
        # On a loaded machine the number entry now and then misses the Enter (the channel stays):
        # once more, said in the log.
        viewer.tune_by_number(service)
        try:
            return viewer.wait_picture(service, 15, stream)
        except Failure as failure:
            print("zap: %s; the number typed again" % failure)
            viewer.tune_by_number(service)
            return viewer.wait_picture(service, 30, stream)

    value = tune(MULTICAST_SID, stream)
    viewer.wait_tone(MULTICAST_SID)
    print("zap: %s from %s:%d shows its picture (%.1f dB) and plays its %g Hz tone" %
          (CHANNELS[MULTICAST_SID][0], MULTICAST_GROUP, MULTICAST_PORT, value, CHANNELS[MULTICAST_SID][2]))
    value = tune(0x101)
    print("zap: back on Demo One from the multicast channel (%.1f dB)" % value)
    stop_multicast(session)  # the later steps play the tuner alone


def osd_scale(height):
    """The OSD's scale for the client height, as the viewer's display takes it."""
    return 0.4 if height < 200 else (height - 200) * 0.0012 + 0.4 if height < 700 else 1.0


def read_words(viewer, box=None, look="eq=contrast=2.5", enlarge=(3, "bicubic")):
    """The words tesseract reads in the window (or in the box x0, y0, x1, y1 of it), each as (text, x,
    y, width, height) in window pixels. The grab is enlarged (three times by default): the OSD's type
    is small."""
    w, h, x, y = viewer.geometry
    x0, y0, x1, y1 = box or (0, 0, w, h)
    shot = os.path.join(viewer.session.work, "read.png")
    run("ffmpeg", "-v", "error", "-y", "-f", "x11grab", "-video_size", "%dx%d" % (x1 - x0, y1 - y0), "-i",
        "%s+%d,%d" % (os.environ["DISPLAY"], x + x0, y + y0), "-frames:v", "1", "-vf",
        "scale=iw*%d:ih*%d:flags=%s,format=gray,%s" % (enlarge[0], enlarge[0], enlarge[1], look), shot)
    words = []
    # One thread: on a busy machine tesseract's threads wait for each other for many seconds.
    read = run("tesseract", shot, "stdout", "--psm", "11", "tsv", text=True, env=dict(os.environ, OMP_THREAD_LIMIT="1"))
    for line in read.stdout.splitlines()[1:]:
        f = line.split("\t")
        if len(f) == 12 and f[11].strip():
            k = enlarge[0]
            words.append((f[11].strip(), x0 + int(f[6]) / k, y0 + int(f[7]) / k, int(f[8]) / k, int(f[9]) / k))
    return words


def wait_words(viewer, what, wanted, seconds=20, box=None):
    """Waits until every item of `wanted` is read: a word, or a tuple of which one word will do (case
    kept, punctuation around a word ignored); the words read."""
    seen = []

    def found():
        words = read_words(viewer, box)
        seen[:] = [w[0] for w in words]
        texts = {w[0].strip(".,:;!|'\"") for w in words}
        return words if all(texts & ({item} if isinstance(item, str) else set(item)) for item in wanted) else None

    try:
        return wait_for(what, found, seconds)
    except Failure:
        raise Failure("%s: %s not read within %d s (read: %s)" % (what, wanted, seconds, " ".join(seen[:60])))


def picture_moves(viewer, seconds=1.0):
    """Whether two grabs `seconds` apart differ (the test patterns move every frame) on the left of the
    picture (the timeshift icon blinks on the right)."""
    first = viewer.grab_small()
    time.sleep(seconds)
    second = viewer.grab_small()
    return bool(first and second) and psnr(first, second, 0.6) < 40.0


ZONE, ZONE_OFFSET = "Asia/Kolkata", 19800  # half an hour off the hour, no summer time


def step_guide_teletext_subtitles(session):
    """In a zone half an hour off the hour: the guide shows Demo One's row with its shows of the demo
    schedule in their blocks and the local times above them; teletext shows page 100 and, typed,
    page 101. Read by tesseract from the screen."""
    if session.viewer:
        session.viewer.close()
    viewer = session.start_viewer(zone=ZONE)
    viewer.wait_picture(0x101, 40)
    made = int(open(os.path.join(session.demo, "demo_made")).read())
    viewer.send("command:24", "command:71")  # the guide of the TV channels
    now = time.time()
    w, h = viewer.geometry[:2]
    s = osd_scale(h)
    # The grid (panel at 8, grid 5 + 63 into it, names 200 wide, 250 per half hour, rows 56 + 2) from
    # half an hour before the local half hour of now; the header above it.
    grid = int(now) - (int(now) + ZONE_OFFSET) % 1800 - 1800
    left, right, per_second = 213 * s, w - 13 * s, 250 * s / 1800
    blocks, running = [], None
    start, t = None, grid
    while True:
        start, title, minutes = demo_one_event_at(made, t)
        x0, x1 = max(left, left + (start - grid) * per_second), min(right, left + (start + minutes * 60 - grid) * per_second)
        if x0 >= right:
            break
        # Blocks with room for a word of their title (the block's start may lie left of the grid)
        # left of the arrow pad that covers the grid's top right corner; the running show's block is
        # darker and the now marker's line cuts its words: not read.
        if min(x1, right - 100 * s) - x0 > 120 * s:
            block = (tuple(word for word in title.split() if len(word) > 3), x0, x1)
            blocks.append(block)
            if start <= now < start + minutes * 60:
                running = block
        t = start + minutes * 60
    if running:
        blocks.remove(running)
    times = ["%d:%02d" % ((grid + c * 1800 + ZONE_OFFSET) // 3600 % 24, (grid + c * 1800 + ZONE_OFFSET) // 60 % 60)
             for c in range(2)]

    def in_block(word, title, x0, x1):
        # A word's first letters may lie left of the grid: four letters of a title's word will do, with
        # or without its first letter, which the reader has taken for another ("Tonight" as "Fonight").
        text = word[0].strip(".,:;!|'\"")
        return (any(len(t) >= 4 and any(t in part for part in title) for t in (text, text[1:])) and
                x0 - 4 <= word[1] < x1 and word[2] > 71 * s)

    seen = []

    def guide_read():
        # Two looks: each misses words the other reads.
        box = (0, 0, w, int(71 * s + 58 * s))
        seen[:] = read_words(viewer, box) + read_words(viewer, box, "eq=contrast=2:brightness=0.3")
        texts = {word[0] for word in seen if word[2] > 71 * s}
        return ({"Demo", "One"} <= texts and all(any(in_block(word, *block) for word in seen) for block in blocks)
                and seen)

    try:
        words = wait_for("the guide", guide_read, 30)
    except Failure:
        raise Failure("guide: Demo One's row and every one of %s in its block not read (read: %s)" % (
            [(" ".join(b[0]), int(b[1]), int(b[2])) for b in blocks], [(w[0], int(w[1]), int(w[2])) for w in seen]))
    # The header's small "9" reads as "3" once contrast is raised (seen in one of ten runs): its row
    # is read once more on its own, enlarged four times, its grey levels as drawn.
    header = [word[0].lstrip("0") for word in words + read_words(viewer, (0, 0, w, int(71 * s)), "null", (4, "lanczos"))
              if word[2] < 71 * s]
    if not all(any(text.startswith(when.lstrip("0")) or text.startswith(str(int(when.split(":")[0]) % 12 or 12) + when[-3:])
                   for text in header) for when in times):
        raise Failure("guide: the header does not read the local times %s (read: %s)" % (times, header))
    print("guide: Demo One's row with %s read in their blocks, the header at %s %s" % (
        ", ".join(" ".join(b[0]) for b in blocks) or "only its running show in view", ZONE, " and ".join(times)))
    viewer.send("command:24")

    viewer.send("command:20")
    # Words of one cell each read whole; a gap between two cells may split a word.
    wait_words(viewer, "teletext page 100", ["TELETEXT", "coloured", "number"])
    viewer.send("char:1", "char:0", "char:1")
    wait_words(viewer, "teletext page 101", ["NEWS", ("patterns", "across", "channels", "Tones", "service")])
    viewer.send("command:20")
    print("teletext: page 100 and the typed page 101 show their text")

    session.viewer.close()
    session.start_viewer().wait_picture(0x101, 40)


def step_subtitles(session):
    """Subtitles switched on as a user does (L opens the stream switcher, its Subtitles tab, the DVB
    stream below "No subtitles", Enter) stay chosen for the channel: from the next start Demo One's
    subtitle reads inside the box where its region lies in the stream's 720 x 576 page (line 480,
    centred, 27 high) as the display scales the page to the window (the largest square that fits,
    centred). Read by tesseract. (The next start, because on a loaded machine the picture, and the
    subtitles with it, fall ever further behind a live stream.)"""
    viewer = session.viewer
    if not viewer:
        viewer = session.start_viewer()
        viewer.wait_picture(0x101, 40)
    switch = ("command:23", "command:82")  # the stream switcher at its Subtitles tab
    viewer.send(*switch)
    viewer.send("key:%d" % VK_DOWN, "key:%d" % VK_DOWN, "key:%d" % VK_RETURN, "key:%d" % VK_ESCAPE)
    viewer.close()
    viewer = session.start_viewer()
    w, h = viewer.geometry[:2]
    side = min(w, h)
    sx, sy = side / 720, side / 576
    widest = (len("DEMO SUBTITLE 10") * 6 + 1) * 3  # the demo's text in dots of 3 pixels
    box = [int((w - side) / 2 + (720 - widest) / 2 * sx) - 6, int((h - side) / 2 + 480 * sy) - 6,
           int((w - side) / 2 + (720 + widest) / 2 * sx) + 6, int((h - side) / 2 + 507 * sy) + 6]
    seen = []

    def subtitle_read():
        # The controls that come up with the channel (and stay under the pointer) cover the region.
        viewer.send("key:%d" % VK_ESCAPE)
        # The subtitle's white (235 grey) alone: the yellow bar behind it is 210 and the paper
        # translucent. Tesseract reads the dot font's SUBTITLE whole; DEMO loses letters. Drawn
        # unscaled, the dots may stand apart: the strokes are then thickened (twice a 3x3 minimum)
        # and read again.
        white = "lutyuv=y=if(gt(val\\,228)\\,0\\,255)"
        for look in (white, white + ",erosion,erosion"):
            seen[:] = [word[0] for word in read_words(viewer, box, look)]
            if "SUBTITLE" in seen:
                return True
        return False

    try:
        wait_for("the subtitle", subtitle_read, 30)
    except Failure:
        raise Failure("subtitles: DEMO SUBTITLE not read in its region %s within 30 s (read: %s)" % (box, " ".join(seen)))
    print("subtitles: Demo One's subtitle reads in its region at %s of the %dx%d window" % (box, w, h))
    # Off again ("No subtitles"), for the recording of the later steps.
    viewer.send(*switch)
    viewer.send("key:%d" % VK_DOWN, "key:%d" % VK_RETURN, "key:%d" % VK_ESCAPE)


def step_pause_and_record(session):
    """Timeshift pauses the picture, resumes and returns to live; command 11 records ten seconds that
    ffprobe reads as MPEG-2 video with the channel's MPEG audio, the duration within half a second."""
    viewer = session.viewer
    viewer.send("command:12")
    wait_for("the paused picture", lambda: not picture_moves(viewer), 10)
    viewer.send("command:12")
    wait_for("the picture resumed from the pause", lambda: picture_moves(viewer), 10)
    viewer.send("command:12")
    viewer.wait_picture(0x101, 20)
    wait_for("the live picture", lambda: picture_moves(viewer), 10)
    print("pause: the picture stood still, played on and came back to live")

    folder = os.path.join(session.work, "recordings")
    before = set(os.listdir(folder))
    started, stopped = (float(t) for t in viewer.send("time", "command:11", "hold:10000", "time", "command:11").split())
    new = sorted(set(os.listdir(folder)) - before)
    if len(new) != 1 or not new[0].endswith(".mpg"):
        raise Failure("record: one new .mpg expected in the recordings folder, found %s" % new)
    path = os.path.join(folder, new[0])
    # The file is whole once the recorder has let go of it.
    wait_for("the closed recording", lambda: subprocess.run(
        ["ffprobe", "-v", "error", path], capture_output=True).returncode == 0, 10)
    probe = json.loads(run("ffprobe", "-v", "error", "-count_frames", "-print_format", "json", "-show_streams",
                           path, text=True).stdout)
    codecs = sorted(s.get("codec_name", "") for s in probe["streams"])
    if codecs != ["mp2", "mpeg2video"]:
        raise Failure("record: %s holds %s, not MPEG-2 video with MPEG audio" % (new[0], codecs))
    # The length is the video's span as ffprobe reports it. Its decodable pictures begin at the
    # first sequence header after the start: within one GOP (0.48 s) and the two B-pictures of
    # that open GOP; a PES cut at the end, and the demo's restart, lose one picture each.
    video = next(s for s in probe["streams"] if s["codec_name"] == "mpeg2video")
    rate = video["r_frame_rate"].split("/")
    duration = float(video["duration"])
    decoded = int(video["nb_read_frames"]) * int(rate[1]) / int(rate[0])
    if abs(duration - (stopped - started)) > 0.5 or decoded < duration - 0.8:
        raise Failure("record: %s holds %.2f s of video (%.2f s decodable), recorded for %.2f s" %
                      (new[0], duration, decoded, stopped - started))
    print("record: %s: %s, %.2f s of video (%.2f s decodable) for %.2f s of recording" %
          (new[0], " and ".join(codecs), duration, decoded, stopped - started))
    play_back(session, path)


def play_back(session, path):
    """The recording opened in the running viewer from its File menu shows its own frames, stands still when paused, and a click on the info bar's seek bar moves the paused
    picture to that place of the recording (the splitter lands on a GOP start up to 1.2 s after
    the asked place, docs/wine-notes.md)."""
    viewer = session.viewer
    viewer.open_file(path)
    value = viewer.wait_picture("recording", 30, stream=path)
    viewer.send("command:12")
    wait_for("the paused recording", lambda: not picture_moves(viewer), 10)
    before = viewer.grab_small()
    paused = recording_place(session, before, path)
    if not paused:
        raise Failure("play back: no picture of the recording while paused (%s)" % viewer.seen[-1:])
    print("play back: the recording shows its frames (%.1f dB) and pauses at %.2f s" % (value, paused[0]))

    frames = session.frames("recording", path)
    seconds = len(frames) // (SMALL[0] * SMALL[1]) / 25.0
    # A place away from the paused picture's best frame; the splitter lands on a GOP start up to
    # 1.2 s after it.
    fraction = 0.55 if paused[0] < seconds * 0.4 else 0.2
    asked = fraction * seconds
    window = (asked - 0.5, asked + 1.7)
    # A paused file draws seldom: the pointer shows the bars and the click comes once they are up,
    # again until the picture has changed (clicks at one place seek to one place). The window has
    # taken the recording's picture size: the bar lies by the client area's now.
    w, h = (int(v) for v in viewer.send("size").split())
    s = osd_scale(h)
    x, y = int(332 * s + fraction * (w - 490 * s)), int(h - 96.5 * s)
    seen = []

    def sought():
        viewer.send("mouse:%d,%d" % (x, y), "hold:800", "lclick:%d,%d" % (x, y))
        shot = viewer.grab_small()
        seen.append(recording_place(session, shot, path, window))
        return shot and psnr(shot, before) < 40.0 and seen[-1] and seen[-1][1] >= seen[-1][2] - 0.5

    try:
        wait_for("the sought place", sought, 20)
    except Failure:
        raise Failure("play back: a click at %.0f %% of the seek bar (%.1f s of %.1f s) left the picture at "
                      "(best frame s, best dB there, best dB overall) %s" % (fraction * 100, asked, seconds, seen[-3:]))
    print("play back: a click at %.0f %% of the seek bar (%.1f s) changed the picture to one matching the "
          "recording's %.1f-%.1f s at %.1f dB (best frame %.2f s, %.1f dB)" %
          (fraction * 100, asked, window[0], window[1], seen[-1][1], seen[-1][0], seen[-1][2]))
    # Back to live television for the steps after.
    viewer.tune_by_number(0x101)
    viewer.wait_picture(0x101)


def recording_place(session, shot, path, window=(0.0, 0.0)):
    """Where in the recording (seconds from its first picture, 25 per second) a grab lies: its best
    frame's time, the best PSNR of the frames within `window` and the best of all. Every frame of
    the test pattern resembles every other at 20-28 dB: a picture lies in a window when a frame
    there matches it within 0.5 dB of its best frame. None without a picture."""
    if not shot:
        return None
    frames, size = session.frames("recording", path), SMALL[0] * SMALL[1]
    values = [psnr(shot, frames[i:i + size]) for i in range(0, len(frames) - size + 1, size)]
    best = max(values, default=0.0)
    if best < MATCH_DB:
        return None
    inside = [v for i, v in enumerate(values) if window[0] <= i / 25.0 <= window[1]]
    return values.index(best) / 25.0, max(inside, default=0.0), best


# Demo One's shows in the order the demo's schedule repeats them from an hour before the half hour
# of its making: title, minutes.
DEMO_ONE_SHOWS = [("Morning News", 30), ("Test Card Classics", 60), ("Football Tonight", 90), ("Weather", 15),
                  ("The Pattern Detectives", 45), ("Late News", 30)]


def demo_one_event_at(made, t):
    """The start, title and minutes of Demo One's event at the Unix time `t`."""
    start, i = made - made % 1800 - 3600, 0
    while True:
        title, minutes = DEMO_ONE_SHOWS[i % len(DEMO_ONE_SHOWS)]
        if t < start + minutes * 60:
            return start, title, minutes
        start, i = start + minutes * 60, i + 1


def jobs_folder():
    """The scheduler's job folder (Wine names it "tasks")."""
    windows = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows")
    return next((os.path.join(windows, n) for n in os.listdir(windows) if n.lower() == "tasks"),
                os.path.join(windows, "tasks"))


def read_job(path):
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dvb", "DVBPlaybackCore"))
    import read_job as job_reader
    with open(path, "rb") as f:
        return dict(job_reader.read(f.read()))


def job_due_at(path, when, parameters):
    """Rewrites the job in place (Wine's scheduler takes in a change of a job file it knows) with new
    parameters and its first trigger at the local minute of `when`, by the documented .job layout:
    the fixed part of 68 bytes with the trigger list's offset at byte 22, the running instance
    count, the application and then the parameters as counted UTF-16 strings; 48-byte triggers
    after their count, with the begin date and the start hour and minute as 16-bit words at 4 and
    16 bytes in."""
    old = open(path, "rb").read()
    at = 70 + 2 + 2 * struct.unpack_from("<H", old, 70)[0]
    end = at + 2 + 2 * struct.unpack_from("<H", old, at)[0]
    text = (parameters + "\0").encode("utf-16-le")
    data = bytearray(old[:at] + struct.pack("<H", len(text) // 2) + text + old[end:])
    triggers = struct.unpack_from("<H", old, 22)[0] + len(data) - len(old)
    struct.pack_into("<H", data, 22, triggers)
    local = time.localtime(when)
    struct.pack_into("<3H", data, triggers + 2 + 4, local.tm_year, local.tm_mon, local.tm_mday)
    struct.pack_into("<2H", data, triggers + 2 + 16, local.tm_hour, local.tm_min)
    with open(path, "r+b") as f:
        f.write(data)
        f.truncate()


def job_started(path, due, seconds):
    """Waits up to `seconds` past `due` for the scheduler to start the job: its status leaves
    SCHED_S_TASK_HAS_NOT_RUN (0x41303). Wine's service marks a due job in its file and starts it on
    the next change it reads in its folder (its own write has not always been one): after the
    minute a file comes and goes there every 2 s. The seconds after `due` it started, or None."""
    poke = os.path.join(os.path.dirname(path), "end_to_end.poke")
    poked = [0.0]

    def started():
        now = time.time()
        if now > due and now > poked[-1] + 2:
            open(poke, "w").close()
            os.remove(poke)
            poked.append(now)
        try:
            return read_job(path).get("status") != "0x00041303" and now
        except ValueError:  # read while the service writes it
            return False

    try:
        return wait_for("the job's start", started, due + seconds - time.time()) - due
    except Failure:
        return None


def step_schedule(session):
    """A right click on Demo One's next show in the guide (the running one when the next lies beyond
    the grid) and "Schedule record once" write a job that starts the viewer with "/rec" for that
    show at its local time. Moved to the next minute and cut to one, the Task Scheduler starts it
    while the viewer runs: the running viewer records a minute into its recordings folder, which
    ffprobe reads, and closes as the line's last value asks."""
    viewer = session.viewer
    made = int(open(os.path.join(session.demo, "demo_made")).read())
    viewer.send("command:24", "command:71")
    # Demo One's next show in the top row, a minute into it, or the running one when the next begins
    # beyond the grid's right edge. The guide's geometry in OSD units (scale as the display's for
    # the client height): panel at 8, grid 5 + 63 into it, names 200 wide, 250 per half hour from
    # half an hour before the local half hour of now, rows 56 + 2.
    now = time.time()
    w, h = viewer.geometry[:2]
    s = osd_scale(h)
    grid = int(now) - (int(now) + time.localtime(now).tm_gmtoff) % 1800 - 1800
    running = demo_one_event_at(made, now)
    start, title, minutes = demo_one_event_at(made, running[0] + running[2] * 60)
    x, y = int(13 * s + 200 * s + (start + 60 - grid) * 250 * s / 1800), int(71 * s + 28 * s)
    if x >= w - 13 * s - 10:
        start, title, minutes = running
        x = int(13 * s + 200 * s + (now + 60 - grid) * 250 * s / 1800)
    folder = jobs_folder()
    before = set(os.listdir(folder)) if os.path.isdir(folder) else set()
    # A click lands on a show once the guide lists the TV channels.
    box = (0, 0, w, int(129 * s))
    wait_for("Demo One's row in the guide", lambda: {"Demo", "One"} <= {word[0] for word in read_words(
        viewer, box) + read_words(viewer, box, "eq=contrast=2:brightness=0.3") if word[2] > 71 * s}, 30)
    viewer.send("rclick:%d,%d" % (x, y))
    viewer.send("menu:%d,%d,%d" % (VK_DOWN, VK_DOWN, VK_RETURN))
    new = wait_for("the scheduled job", lambda: sorted(set(os.listdir(folder)) - before) if os.path.isdir(folder)
                   else None, 10)
    job_path = os.path.join(folder, new[0])
    try:
        job = read_job(job_path)
        begin = time.strftime("%Y-%m-%d %H:%M", time.localtime(start))
        expected = "/rec %d %d %d 1 " % (TSID, 0x101, minutes)
        if (len(new) != 1 or not new[0].startswith("QORSR_") or job.get("comment") != title or
                job.get("parameters") != expected or job.get("trigger0_begin") != begin or
                job.get("application") != windows_path(os.path.join(session.program, "Tolvik.exe"))):
            raise Failure("schedule: for %s at %s the guide wrote %s: %s, %s, %s at %s" % (
                title, begin, new, job.get("application"), job.get("parameters"), job.get("comment"),
                job.get("trigger0_begin")))
        print("schedule: the guide's \"Schedule record once\" on %s wrote %s: \"%s\" at %s" %
              (title, new[0], expected, begin))
        viewer.send("command:24")

        # The scheduler starts jobs by the minute: the next one, or the one after when the next is
        # too close for the service to read the change before it. Not started then (Wine's service
        # keeps one timer, for its earliest job): once more at the minute after.
        recordings = os.path.join(session.work, "recordings")
        before = set(os.listdir(recordings))
        line = "/rec %d %d 1 1 " % (TSID, 0x101)
        for attempt in (1, 2):
            moved = time.time()
            due = (int(moved) // 60 + (2 if moved % 60 > 55 else 1)) * 60
            job_due_at(job_path, due, line)
            late = job_started(job_path, due, 20)
            if late is not None:
                break
            print("schedule: the job moved to %s did not start within 20 s" % time.strftime("%H:%M", time.localtime(due)))
        if late is None:
            state = subprocess.run(["wine", "sc", "query", "schedule"], capture_output=True, text=True).stdout
            raise Failure("schedule: the scheduler did not start the job at the next minute, twice (the Task "
                          "Scheduler service %s)" % ("runs" if "RUNNING" in state else "does not run"))
        began = time.time()
        print("schedule: moved %.0f s before its minute %s, the scheduler started \"%s\" %.1f s after it" %
              (due - moved, time.strftime("%H:%M", time.localtime(due)), line, late))
        new = wait_for("the scheduled recording", lambda: sorted(n for n in set(os.listdir(recordings)) - before
                                                                 if n.endswith(".mpg")), 20)
        path = os.path.join(recordings, new[0])
        size = os.path.getsize(path)
        wait_for("the scheduled recording's growth", lambda: os.path.getsize(path) > size + 100000, 10)
        try:
            wait_for("the viewer's end after its minute of recording", viewer.ended, 60 + 30 - (time.time() - began))
        except Failure:
            raise Failure("schedule: the viewer still runs %.0f s after the job's start (recording %s, %d bytes)" %
                          (time.time() - began, new[0], os.path.getsize(path)))
        ended = time.time() - began
        probe = json.loads(run("ffprobe", "-v", "error", "-count_frames", "-print_format", "json", "-show_streams",
                               path, text=True).stdout)
        video = [s for s in probe["streams"] if s.get("codec_name") == "mpeg2video"]
        rate = video and video[0]["r_frame_rate"].split("/")
        duration = video and int(video[0]["nb_read_frames"]) * int(rate[1]) / int(rate[0])
        # A minute of the viewer's clock; a loaded machine's virtual tuner may deliver the stream a
        # little slower than it plays.
        if len(new) != 1 or not video or not 45 <= duration <= 62 or ended < 60:
            raise Failure("schedule: the job's recording %s holds %s s of video, the viewer closed %.0f s after the "
                          "job's start: not a minute" % (new, duration, ended))
        print("schedule: the running viewer recorded %s: %.2f s of MPEG-2 video, and closed %.0f s after the start" %
              (new[0], duration, ended))
    finally:
        if os.path.exists(job_path):
            os.remove(job_path)
    if not viewer.ended():
        viewer.kill()
    session.start_viewer().wait_picture(0x101, 40)


class UpdateServer:
    """The update script of the updater's tests on port 80 of the loopback."""

    def __init__(self, script, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        for name in ("ready", "requests.log", "setup_ran"):
            if os.path.exists(os.path.join(folder, name)):
                os.remove(os.path.join(folder, name))
        self.process = subprocess.Popen(["python3", script, "80", folder], stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(folder, "server.log"), "w"))
        wait_for("the update server", lambda: os.path.exists(os.path.join(folder, "ready")), 10)

    def scenario(self, **values):
        with open(os.path.join(self.folder, "scenario.json"), "w") as f:
            json.dump(values, f)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def run_updater(session, environment):
    """Starts brenvo.exe of the program folder and asks it for updates as a user fills its form."""
    updater = subprocess.Popen(["wine", os.path.join(session.program, "brenvo.exe")], env=environment,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the updater's window", lambda: window_geometry("Brenvo"), 60)
    run("wine", session.window_input, "Brenvo", "text:0xE900/1000=viewer", "text:0xE900/1001=secret",
        "click:0xE900/1002")
    return updater


def step_update(session):
    """The updater fetches and runs the newer version's setup, records its number and starts the
    viewer again; a download cut short is refused and runs nothing."""
    session.viewer.close()  # the updater works only while no viewer runs
    folder = os.path.join(session.work, "update")
    server = UpdateServer(session.update_server, folder)
    marker = os.path.join(folder, "setup_ran")
    environment = dict(os.environ, TOLVIK_SETUP_MARKER=windows_path(folder) + "\\setup_ran", TOLVIK_SETUP_EXIT="0")
    try:
        reg_add(UPDATER_KEY, "UpdateHost", "REG_SZ", "127.0.0.1")
        common = dict(challenge="c0ffee", account="viewer", password="secret", setup=session.fake_setup,
                      versions="12,1,2007-2-1,New build\r\n")

        # Cut short: the status says so, the installed number stays, nothing runs.
        reg_add(UPDATER_KEY, "Tolvik 1.0", "REG_DWORD", 11)
        server.scenario(download="short", **common)
        updater = run_updater(session, environment)
        try:
            status = wait_for("the updater's failure", lambda: (lambda t: t if t == "Update failed." else None)(
                run("wine", session.window_input, "Brenvo", "read:0xE900/1010", text=True).stdout.strip()), 40)
        finally:
            subprocess.run(["wine", session.window_input, "Brenvo", "close"], capture_output=True)
            updater.wait(timeout=30)
        installed = reg_dword(UPDATER_KEY, "Tolvik 1.0")
        if os.path.exists(marker) or installed != 11 or window_geometry(TITLE):
            raise Failure("update: after a cut-short download the setup %s, the viewer %s, the number is %s, not 11" %
                          ("ran" if os.path.exists(marker) else "did not run",
                           "runs" if window_geometry(TITLE) else "does not run", installed))
        print("update: a cut-short download shows \"%s\", runs nothing and keeps version 11" % status)

        server.scenario(download="good", **common)
        updater = run_updater(session, environment)
        updater.wait(timeout=60)
        if not os.path.exists(marker):
            raise Failure("update: the downloaded setup program did not run")
        installed = reg_dword(UPDATER_KEY, "Tolvik 1.0")
        if installed != 12:
            raise Failure("update: the installed number is %s, not 12" % installed)
        session.viewer = Viewer(session, start=False)
        session.viewer.wait_picture(0x101, 40)
        print("update: version 12's setup ran, the number is kept and the viewer plays again")
    finally:
        server.stop()


def step_shutdown(session):
    """Closing the viewer keeps the channel and the window; the next start plays that channel there."""
    viewer = session.viewer
    viewer.tune_by_number(0x103)
    viewer.wait_picture(0x103)
    # Normal size: the client takes the picture's width at its aspect.
    before = viewer.geometry
    viewer.send("command:32772")
    geometry = wait_for("the window at the picture's size", lambda: (lambda g: g if g and g != before else None)(
        window_geometry(TITLE)), 10)
    viewer.close()
    kept = reg_dword(VIEWER_KEY, "LastActiveService")
    if kept != (TSID << 16 | 0x103):
        raise Failure("shutdown: the last channel kept is %s, not Demo Three" % (kept and hex(kept)))
    viewer = session.start_viewer()
    if viewer.geometry != geometry:
        raise Failure("shutdown: the window came back as %s, it was %s" % (viewer.geometry, geometry))
    viewer.wait_picture(0x103, 40)
    print("shutdown: Demo Three and the %dx%d window at %d,%d are kept for the next start" % geometry)


STEPS = [
    step_scan,
    step_watch,
    step_zap,
    step_menu_and_steps,
    step_zap_multicast,
    step_guide_teletext_subtitles,
    step_subtitles,
    step_pause_and_record,
    step_schedule,
    step_update,
    step_shutdown,
]


def main(program, demo, channel_writer, work, window_input, fake_setup, update_server):
    os.makedirs(work, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    session = Session(program, demo, work, window_input, fake_setup, update_server)
    recordings = os.path.join(work, "recordings")
    shutil.rmtree(recordings, ignore_errors=True)
    os.makedirs(recordings)
    with program_channel_file(program, "end-to-end") as channels:
        try:
            run("python3", channel_writer, "write", os.path.join(here, "..", "fixtures", "demo", "demo_channels.json"),
                channels)
            reg_add(r"HKCU\Software\Tolvik Test\Virtual Tuner", "506000", "REG_SZ",
                    windows_path(os.path.join(demo, "demo.ts")))
            reg_add(VIEWER_KEY, "LastActiveService", "REG_DWORD", TSID << 16 | 0x101)
            reg_add(VIEWER_KEY, "LastActiveServiceIndex", "REG_DWORD", 1)
            # The window's settings of earlier runs go: the window opens at its first-run place and size.
            subprocess.run(["wine", "reg", "delete", PROFILE_KEY, "/f"], capture_output=True)
            reg_add(PROFILE_KEY, "RecPath", "REG_SZ", windows_path(recordings))
            # TOLVIK_E2E_STEPS=watch,zap runs only those steps (while one is being worked on).
            chosen = os.environ.get("TOLVIK_E2E_STEPS")
            for step in STEPS:
                if chosen and step.__name__[len("step_"):] not in chosen.split(","):
                    continue
                started = time.monotonic()
                step(session)
                print("%s: %.1f s" % (step.__name__, time.monotonic() - started))
        except Failure as failure:
            shot = os.path.join(work, "failure.png")
            subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "x11grab", "-i", os.environ["DISPLAY"], "-frames:v", "1",
                            shot], capture_output=True)
            print("end to end: %s (the screen: %s)" % (failure, shot))
            return 1
        finally:
            if session.viewer:
                session.viewer.kill()
            subprocess.run(["wine", "reg", "delete", PROFILE_KEY, "/f"], capture_output=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:8]))
