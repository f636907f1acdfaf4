#!/usr/bin/python3
"""The grid as a screen reader reads it through AT-SPI: the cursor cell, then Right pressed,
heard as a focus event, and the new cursor cell. Usage: a11y_schedule.py PELO.
Exits 77 (skipped) where the accessibility bus or the X server cannot start."""

import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


def start_xvfb():
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=[write_fd], stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        display = pipe.readline().strip()
    if not display:
        server.kill()
        skip("Xvfb did not start")
    return server, ":" + display


def wait_for(what, probe, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if found := probe():
            return found
        time.sleep(0.2)
    raise AssertionError(f"no {what} within {seconds} s")


def cursor_cell(pyatspi, table, day):
    # The selected cell, once it is the one of day.
    cells = (table.getChildAtIndex(i) for i in range(table.childCount))
    cell = next((c for c in cells if c.getState().contains(pyatspi.STATE_SELECTED)), None)
    return cell if cell and cell.name.startswith(f"{day.year}年{day.month}月{day.day}日(") else None


def expect_cell(cell, day, lines):
    # The name is the day's heading; the description the weekday, any holiday, the lines.
    weekday = "月火水木金土日"[day.weekday()]
    assert cell.name.startswith(f"{day.year}年{day.month}月{day.day}日({weekday}) "), cell.name
    pattern = f"{day.month}月{day.day}日 {weekday}曜日( [^、]+)?" + "".join(
        "、" + re.escape(line) for line in lines) + "$"
    assert re.match(pattern, cell.description), f"{cell.description!r} !~ {pattern!r}"
    print(f"{cell.name} / {cell.description}")


def press_right_and_listen(pyatspi, env):
    """(type, source name, detail1) of the focus and selection events around a Right key."""
    from gi.repository import GLib
    events = []

    def record(event):
        events.append((event.type, event.source.name if event.source else None, event.detail1))

    kinds = ("object:state-changed:focused", "object:state-changed:selected")
    pyatspi.Registry.registerEventListener(record, *kinds)
    GLib.timeout_add(500, lambda: subprocess.run(["xdotool", "key", "Right"], env=env) and False)
    GLib.timeout_add(3000, lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(record, *kinds)
    return events


def run(pelo, folder):
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:  # the bus's own errors have no common type
        skip(f"the accessibility bus does not answer: {error}")
    today = datetime.date.today()
    week_on = today + datetime.timedelta(days=7)  # Right moves a week in the first layout
    data = os.path.join(folder, "a11y.nrk")
    with open(data, "w", encoding="cp932") as out:
        out.write(f"{today:%Y/%m/%d} 8:00 朝会\n{today:%Y/%m/%d} 会議\n{week_on:%Y/%m/%d} 歯医者\n")
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=folder,
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    viewer = subprocess.Popen([pelo, data], env=env)
    try:
        table = wait_for("schedule table on the bus", lambda: next((pyatspi.findDescendant(
            a, lambda d: d.getRole() == pyatspi.ROLE_TABLE) for a in pyatspi.Registry.getDesktop(0)
            if a and a.name == "Pelo"), None))
        expect_cell(wait_for("cursor cell", lambda: cursor_cell(pyatspi, table, today)), today,
                    ["8:00 朝会", "会議"])
        subprocess.run(["xdotool", "search", "--sync", "--name", "ぺろん", "windowfocus", "--sync"],
                       env=env, check=True, timeout=30)
        events = press_right_and_listen(pyatspi, env)
        cell = wait_for("moved cursor", lambda: cursor_cell(pyatspi, table, week_on), 10)
        expect_cell(cell, week_on, ["歯医者"])
        assert cell.getState().contains(pyatspi.STATE_FOCUSED), "the cursor cell has no focus"
        assert ("object:state-changed:focused", cell.name, 1) in events, events
    finally:
        viewer.terminate()
        viewer.wait(timeout=30)
        server.terminate()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for tool in ("Xvfb", "xdotool", "dbus-run-session"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed")
    if os.environ.get("PELO_A11Y_SESSION") == "1":
        with tempfile.TemporaryDirectory() as folder:
            run(sys.argv[1], folder)
        return
    # Again inside a D-Bus session of its own, where the accessibility bus starts on demand.
    result = subprocess.run(["dbus-run-session", "--", sys.executable, __file__, sys.argv[1]],
                            env=dict(os.environ, PELO_A11Y_SESSION="1"))
    if result.returncode >= 126:
        skip(f"the D-Bus session could not start ({result.returncode})")
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
