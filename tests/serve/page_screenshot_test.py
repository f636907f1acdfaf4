#!/usr/bin/env python3
"""The month page in a real browser: headless chromium takes screenshots of / at 360 x 800
(a phone) and 1280 x 800 (a desktop); each must exist, have that size and not be blank.
They are kept in OUT_FOLDER to be looked at. Skipped where chromium is missing.

    page_screenshot_test.py PELO_SERVE DATA_FILE PAGE_FILE OUT_FOLDER
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_testing import Server, check, finish, skip, tool  # noqa: E402

SIZES = [(360, 800), (1280, 800)]
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--hide-scrollbars"]


def png_facts(path):
    """(width, height, number of distinct byte values in the image data)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return 0, 0, 0
    at, width, height, pixels = 8, 0, 0, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            pixels += body
        at += 12 + length
    return width, height, len(set(zlib.decompress(pixels)))


def main():
    serve, data_file, page_file, out = sys.argv[1:5]
    browser = tool("chromium", "chromium-browser")
    if not browser:
        skip("chromium is not installed (Debian package chromium)")
    os.makedirs(out, exist_ok=True)
    with Server(serve, ["--today", "2026/12/7", data_file, page_file]) as server:
        for width, height in SIZES:
            shot = os.path.join(out, "month-%dx%d.png" % (width, height))
            if os.path.exists(shot):
                os.remove(shot)
            with tempfile.TemporaryDirectory() as profile:
                subprocess.run([browser] + FLAGS + ["--user-data-dir=" + profile,
                                                    "--window-size=%d,%d" % (width, height),
                                                    "--screenshot=" + shot, server.url + "/"],
                               capture_output=True, timeout=120, check=False)
            facts = png_facts(shot) if os.path.exists(shot) else "no screenshot"
            # A blank page compresses to a handful of byte values; text brings dozens.
            check(shot, facts[:2] == (width, height) and facts[2] >= 32, facts)
    return finish("page_screenshot_test")


if __name__ == "__main__":
    sys.exit(main())
