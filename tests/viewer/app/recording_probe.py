#!/usr/bin/env python3
"""Reads the viewer's recording with ffprobe: an MPEG program stream holding one MPEG-2 video and
one audio stream, as long as the transport stream it was recorded from."""
import json
import subprocess
import sys

path = sys.argv[1] + "/recording.mpg"
probe = json.loads(subprocess.run(
    ["ffprobe", "-v", "error", "-show_format", "-show_streams", "-of", "json", path],
    check=True, capture_output=True, text=True).stdout)
fmt = probe["format"]
streams = probe["streams"]
video = [s for s in streams if s["codec_type"] == "video"]
audio = [s for s in streams if s["codec_type"] == "audio"]
errors = []
if fmt["format_name"] != "mpeg":
    errors.append("format %s, not an MPEG program stream" % fmt["format_name"])
if len(video) != 1 or video[0]["codec_name"] != "mpeg2video":
    errors.append("video streams: %s" % [s["codec_name"] for s in video])
if len(audio) != 1 or audio[0]["codec_name"] != "mp2":
    errors.append("audio streams: %s" % [s["codec_name"] for s in audio])
duration = float(fmt.get("duration", 0))
# The source is three seconds long; recording begins with the first packets it receives.
if not 2.0 <= duration <= 3.6:
    errors.append("duration %.2f s" % duration)
if errors:
    print("\n".join(errors))
    sys.exit(1)
print("recording: mpeg, mpeg2video + mp2, %.2f s" % duration)
