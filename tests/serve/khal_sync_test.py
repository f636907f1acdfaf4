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
from serve_testing import Server, skip, tool  # noqa: E402

TODAY = datetime.date(2026, 12, 7)
FROM = datetime.date(2026, 11, 7)  # one month back
TO = datetime.date(2027, 12, 7)  # twelve months on
ADDED = "2026/12/8 10:30 追加された予定\r\n"


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def configure(folder, url):
    write(os.path.join(folder, "vdirsyncer.conf"), f"""[general]
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
""")
    write(os.path.join(folder, "khal.conf"), f"""[calendars]
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
""")
    os.makedirs(os.path.join(folder, "cal"), exist_ok=True)


def run(args, env):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise RuntimeError("%s failed: %s %s" % (args[0], done.stdout, done.stderr))
    return done.stdout


def sync(folder, env):
    conf = os.path.join(folder, "vdirsyncer.conf")
    run(["vdirsyncer", "-c", conf, "discover"], env)
    run(["vdirsyncer", "-c", conf, "sync"], env)


def synced_items(folder):
    cal = os.path.join(folder, "cal")
    items = {}
    for name in os.listdir(cal):
        with open(os.path.join(cal, name), encoding="utf-8") as f:
            items[name] = f.read()
    return items


def khal_events(folder, env):
    out = run(["khal", "-c", os.path.join(folder, "khal.conf"), "list", "--day-format", "",
               "--format", "{start-date}|{start-time}|{title}",
               FROM.isoformat(), (TO + datetime.timedelta(days=1)).isoformat()], env)
    events = collections.Counter()
    for line in out.splitlines():
        if line.strip():
            date, start, title = line.split("|", 2)
            events[(date, start, title)] += 1
    return events


def agenda_events(agenda, data_file):
    """(date, start, text) per line of pelo-agenda --format text, the start time taken off
    the front of a timed line as khal shows it (zero-padded)."""
    out = subprocess.run([agenda, "--today", "2026/12/7", "--from", "2026/11/7", "--to",
                          "2027/12/7", data_file], capture_output=True, text=True,
                         check=True).stdout
    events = collections.Counter()
    day = None
    for line in out.splitlines():
        if not line.startswith("  "):
            y, m, d = re.match(r"(\d+)/(\d+)/(\d+)", line).groups()
            day = datetime.date(int(y), int(m), int(d))
            continue
        text = line[2:].lstrip()
        timed = re.match(r"(\d{1,2}):(\d\d)(?:[～~]\S*)? (.*)$", text)
        if timed:
            hour, minute, text = int(timed.group(1)), int(timed.group(2)), timed.group(3)
            date = day + datetime.timedelta(days=hour // 24)
            events[(date.isoformat(), "%02d:%02d" % (hour % 24, minute), text)] += 1
        else:
            events[(day.isoformat(), "", text)] += 1
    return events


def main():
    serve, agenda, sample = sys.argv[1:4]
    if not tool("vdirsyncer") or not tool("khal"):
        skip("vdirsyncer or khal is not installed (Debian packages vdirsyncer, khal)")
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, HOME=folder, TZ="Asia/Tokyo", LANG="C.UTF-8",
                   XDG_CONFIG_HOME=folder, XDG_DATA_HOME=folder)
        data_file = os.path.join(folder, "sample.nrk")
        shutil.copyfile(sample, data_file)
        with Server(serve, ["--today", "2026/12/7", data_file]) as server:
            configure(folder, server.url)
            sync(folder, env)
            first = synced_items(folder)
            shown = khal_events(folder, env)
            expected = agenda_events(agenda, data_file)
            if shown != expected or not shown:
                failures += 1
                print("FAIL khal and pelo-agenda differ:\n  only in khal: %s\n  only in "
                      "pelo-agenda: %s" % (shown - expected, expected - shown))
            else:
                print("ok   khal lists the %d events pelo-agenda prints" % sum(shown.values()))

            # In front, so that every other line moves down one.
            with open(data_file, "rb") as f:
                old = f.read()
            with open(data_file, "wb") as f:
                f.write(ADDED.encode("cp932") + old)
            time.sleep(1.2)  # the server looks at the stamps once a second
            sync(folder, env)
            second = synced_items(folder)
            added = set(second) - set(first)
            changed = [name for name in first if second.get(name) != first[name]]
            if len(added) != 1 or changed or len(second) != len(first) + 1:
                failures += 1
                print("FAIL the second sync: %d added, %d changed or gone" % (len(added),
                                                                           len(changed)))
            else:
                print("ok   the second sync adds one event and changes none of %d" % len(first))
            if "追加された予定" not in "".join(second[name] for name in added):
                failures += 1
                print("FAIL the added event is not the added line")
    print("khal_sync_test: %d failures" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
