#!/usr/bin/env python3
"""Real calendar clients read the feed: vdirsyncer syncs /calendar.ics into a folder and khal
lists the same events (date, start time and text) as pelo-agenda --format text prints for the
same span. A line added in front of the data file then adds one event at the next sync and changes
no other (stable UIDs). Skipped where vdirsyncer or khal is missing.

    khal_sync_test.py PELO_SERVE PELO_AGENDA DATA_FILE
"""

import collections
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_testing import Server, check, finish, skip, tool  # noqa: E402

FROM, TO = "2026-11-07", "2027-12-08"  # one month back, twelve on (khal's end is exclusive)
ADDED = "2026/12/8 10:30 追加された予定\r\n"
VDIRSYNCER_CONF = """[general]
status_path = "{folder}/status/"
[pair feed]
a = "feed_remote"
b = "feed_local"
collections = null
conflict_resolution = "a wins"
[storage feed_remote]
type = "http"
url = "{url}/calendar.ics"
[storage feed_local]
type = "filesystem"
path = "{folder}/cal/"
fileext = ".ics"
"""
KHAL_CONF = """[calendars]
[[feed]]
path = {folder}/cal/
type = calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = Asia/Tokyo
default_timezone = Asia/Tokyo
"""


def run(args, env=None):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise RuntimeError("%s failed: %s %s" % (args[0], done.stdout, done.stderr))
    return done.stdout


def sync(folder, env):
    """vdirsyncer's run, then what it left in the folder by file name."""
    for step in ["discover", "sync"]:
        run(["vdirsyncer", "-c", os.path.join(folder, "vdirsyncer.conf"), step], env)
    cal = os.path.join(folder, "cal")
    items = {}
    for name in os.listdir(cal):
        with open(os.path.join(cal, name), encoding="utf-8") as f:
            items[name] = f.read()
    return items


def khal_events(folder, env):
    out = run(["khal", "-c", os.path.join(folder, "khal.conf"), "list", "--day-format", "",
               "--format", "{start-date}|{start-time}|{title}", FROM, TO], env)
    return collections.Counter(tuple(l.split("|", 2)) for l in out.splitlines() if l.strip())


def agenda_events(agenda, data_file):
    """(date, start, text) per line of pelo-agenda --format text, the start time taken off
    the front of a timed line as khal shows it (zero-padded)."""
    out = run([agenda, "--today", "2026/12/7", "--from", "2026/11/7", "--to", "2027/12/7",
               data_file])
    events = collections.Counter()
    for line in out.splitlines():
        if not line.startswith("  "):
            day = datetime.date(*map(int, re.match(r"(\d+)/(\d+)/(\d+)", line).groups()))
            continue
        hour, minute, text = re.match(r"\s*(?:(\d{1,2}):(\d\d)(?:[～~]\S*)? )?(.*)$",
                                      line).groups()
        date = day + datetime.timedelta(days=int(hour or 0) // 24)
        start = "%02d:%02d" % (int(hour) % 24, int(minute)) if hour else ""
        events[(date.isoformat(), start, text)] += 1
    return events


def main():
    serve, agenda, sample = sys.argv[1:4]
    if not tool("vdirsyncer") or not tool("khal"):
        skip("vdirsyncer or khal is not installed (Debian packages vdirsyncer, khal)")
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, HOME=folder, TZ="Asia/Tokyo", LANG="C.UTF-8",
                   XDG_CONFIG_HOME=folder, XDG_DATA_HOME=folder)
        data_file = os.path.join(folder, "sample.nrk")
        shutil.copyfile(sample, data_file)
        os.makedirs(os.path.join(folder, "cal"))
        with Server(serve, ["--today", "2026/12/7", data_file]) as server:
            for name, text in [("vdirsyncer.conf", VDIRSYNCER_CONF), ("khal.conf", KHAL_CONF)]:
                with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                    f.write(text.format(folder=folder, url=server.url))
            first = sync(folder, env)
            shown, expected = khal_events(folder, env), agenda_events(agenda, data_file)
            check("khal lists the %d events pelo-agenda prints" % sum(expected.values()),
                  shown == expected and shown,
                  "only in khal: %s, only in pelo-agenda: %s"
                  % (shown - expected, expected - shown))

            # In front, so that every other line moves down one.
            with open(data_file, "rb") as f:
                old = f.read()
            with open(data_file, "wb") as f:
                f.write(ADDED.encode("cp932") + old)
            time.sleep(1.2)  # the server looks at the stamps once a second
            second = sync(folder, env)
            added = set(second) - set(first)
            changed = [name for name in first if second.get(name) != first[name]]
            check("the second sync adds one event and changes none of %d" % len(first),
                  len(added) == 1 and not changed and len(second) == len(first) + 1,
                  "%d added, %d changed or gone" % (len(added), len(changed)))
            check("the added event is the added line",
                  "追加された予定" in "".join(second[name] for name in added))
    return finish("khal_sync_test")


if __name__ == "__main__":
    sys.exit(main())
