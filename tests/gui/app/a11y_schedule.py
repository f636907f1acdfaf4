#!/usr/bin/python3
"""The grid as a screen reader reads it: pelo runs under a virtual X server with its own
accessibility bus; the cursor cell of the schedule's table is read through AT-SPI (its name
and the day's lines in its description), Right is pressed, and the new cursor cell is read.

Usage: a11y_schedule.py PELO. Exit 77 (skipped) where the bus or the X server cannot start."""

import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
WEEKDAYS = "月火水木金土日"  # datetime's Monday first


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


def start_xvfb():
    """A virtual X server on a free display; its process and the display's name."""
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


def find(accessible, test, depth=0):
    if accessible is None or depth > 15:
        return None
    if test(accessible):
        return accessible
    for i in range(accessible.childCount):
        found = find(accessible.getChildAtIndex(i), test, depth + 1)
        if found is not None:
            return found
    return None


def wait_for(what, probe, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError(f"no {what} within {seconds} s")


def schedule_table(pyatspi):
    def probe():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Pelo":
                return find(app, lambda a: a.getRole() == pyatspi.ROLE_TABLE)
        return None
    return wait_for("schedule table on the bus", probe)


def cursor_cell(pyatspi, table):
    for i in range(table.childCount):
        cell = table.getChildAtIndex(i)
        if cell.getState().contains(pyatspi.STATE_SELECTED):
            return cell
    return None


def press_and_listen(pyatspi, env):
    """Presses Right in the focused window and collects the bus's focus and selection events
    for a while: (type, source name, detail1)."""
    events = []

    def record(event):
        events.append((event.type, event.source.name if event.source else None, event.detail1))

    def press():
        subprocess.run(["xdotool", "key", "Right"], env=env, check=True, timeout=30)
        return False

    def stop():
        pyatspi.Registry.stop()
        return False

    from gi.repository import GLib
    kinds = ("object:state-changed:focused", "object:state-changed:selected",
             "object:selection-changed")
    pyatspi.Registry.registerEventListener(record, *kinds)
    GLib.timeout_add(500, press)
    GLib.timeout_add(3000, stop)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(record, *kinds)
    return events


def expect_cell(cell, day, lines):
    """The cell reads the day's heading and, after the weekday and any holiday, the lines."""
    weekday = WEEKDAYS[day.weekday()]
    heading = f"{day.year}年{day.month}月{day.day}日({weekday}) "
    assert cell.name.startswith(heading), f"name {cell.name!r}, expected {heading!r}..."
    pattern = f"{day.month}月{day.day}日 {weekday}曜日( [^、]+)?" + "".join(
        "、" + re.escape(line) for line in lines) + "$"
    assert re.match(pattern, cell.description), f"description {cell.description!r} !~ {pattern!r}"
    print(f"{cell.name} / {cell.description}")


def run(pelo):
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    today = datetime.date.today()
    week_on = today + datetime.timedelta(days=7)
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "a11y.nrk")
        with open(data, "w", encoding="cp932") as out:
            out.write(f"{today:%Y/%m/%d} 8:00 朝会\n{today:%Y/%m/%d} 会議\n"
                      f"{week_on:%Y/%m/%d} 歯医者\n")
        server, display = start_xvfb()
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=folder,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        os.environ["DISPLAY"] = display
        viewer = subprocess.Popen([pelo, data], env=env)
        try:
            table = schedule_table(pyatspi)
            cell = wait_for("cursor cell", lambda: cursor_cell(pyatspi, table))
            expect_cell(cell, today, ["8:00 朝会", "会議"])
            subprocess.run(["xdotool", "search", "--sync", "--name", "ぺろん", "windowfocus",
                            "--sync"], env=env, check=True, timeout=30)
            events = press_and_listen(pyatspi, env)
            # Right moves a week along the rows of the first screen's layout.
            cell = wait_for("moved cursor", lambda: (lambda c: c if c is not None and
                            c.name.startswith(f"{week_on.year}年{week_on.month}月{week_on.day}日")
                            else None)(cursor_cell(pyatspi, table)), seconds=10)
            expect_cell(cell, week_on, ["歯医者"])
            assert cell.getState().contains(pyatspi.STATE_FOCUSED), "the cursor cell has no focus"
            # The move was announced: the new cell took the focus.
            focused = [name for kind, name, on in events
                       if kind == "object:state-changed:focused" and on]
            assert cell.name in focused, f"no focus event for {cell.name!r} in {events!r}"
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
    if os.environ.get("PELO_A11Y_SESSION") != "1":
        # Again inside a D-Bus session of its own, where the accessibility bus starts on demand.
        env = dict(os.environ, PELO_A11Y_SESSION="1")
        result = subprocess.run(["dbus-run-session", "--", sys.executable, __file__, sys.argv[1]],
                                env=env)
        if result.returncode not in (0, SKIP) and result.returncode >= 126:
            skip(f"the D-Bus session could not start ({result.returncode})")
        sys.exit(result.returncode)
    run(sys.argv[1])


if __name__ == "__main__":
    main()
