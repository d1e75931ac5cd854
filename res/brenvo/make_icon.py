#!/usr/bin/env python3
"""Draws the updater's icon (a download arrow into a tray) with the viewer's icon writer."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "viewer"))
import make_icon as writer  # noqa: E402


def pixel(x, y, n):
    """ARGB at (x, y), y down, on an n x n grid."""
    s = n / 32.0
    cx, cy = x / s, y / s
    if 4 <= cx < 28 and 24 <= cy < 29:
        return 0xFF303030  # the tray
    if 13 <= cx < 19 and 3 <= cy < 14:
        return 0xFF2A9A3A  # the arrow's shaft
    if 14 <= cy < 23 and abs(cx - 16) < (23 - cy):
        return 0xFF2A9A3A  # its head
    return 0x00000000


writer.pixel = pixel
if __name__ == "__main__":
    writer.main(sys.argv[1])
