#!/usr/bin/env python3
"""Checks that the source tree keeps its layers; the test suite runs it.

The Qt-free core, src/core, builds upwards in the order text, calendar, entries, datafiles,
schedule: a file of one folder includes headers of its own folder and of the folders before
it, never one of a later folder, nothing under src/gui and no Qt header. In src/gui the
widgets do not include the application. The console tool (tools/agenda), the server
(tools/serve, which may also use the console tool's headers) and the window placement's rules
(src/gui/app/WindowPlacements) need no Qt either.

    python3 tools/check_layers.py [--agenda BUILT_PELO_AGENDA] [--serve BUILT_PELO_SERVE]

With --agenda or --serve, the built program must not need a Qt library (its NEEDED entries,
read with readelf). Every broken rule is printed as "file:line: what"; the exit status is 1 when there
is one, 2 when the tree or the binary cannot be read. Standard library only.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORE_LAYERS = ["text", "calendar", "entries", "datafiles", "schedule"]
GUI_LAYERS = ["widgets", "app"]
SOURCE_SUFFIXES = (".h", ".cpp", ".inc")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Qt's own headers: <QWidget>, <QtCore/qglobal.h>, <qpa/...> and the lower-case ones.
QT_HEADER = re.compile(r"^(Q[A-Za-z]|Qt|qt|q[a-z]+\.h$|qpa/)")


class TreeError(Exception):
    pass


def source_files(folder):
    for dirpath, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(dirpath, name)


def includes(path):
    with open(path, encoding="utf-8") as f:
        for line_no, line in enumerate(f, 1):
            match = INCLUDE.match(line)
            if match:
                yield line_no, match.group(1) == "<", match.group(2)


def check_file(path, allowed_folders, allow_bare, root, allowed_names=()):
    """The broken rules of one file: a Qt header, or a quoted include whose first folder is
    not among allowed_folders (a bare name only when allow_bare, and the allowed_names)."""
    problems = []
    where = os.path.relpath(path, root)
    for line_no, system, name in includes(path):
        if system:
            if QT_HEADER.match(name):
                problems.append("%s:%d: includes the Qt header <%s>" % (where, line_no, name))
            continue
        folder = name.split("/")[0] if "/" in name else None
        if name in allowed_names or (folder is None and allow_bare and ".." not in name):
            continue
        if folder not in allowed_folders:
            problems.append('%s:%d: includes "%s", outside %s' %
                            (where, line_no, name, ", ".join(allowed_folders)))
    return problems


def check_tree(root):
    problems = []
    core = os.path.join(root, "src", "core")
    for rank, layer in enumerate(CORE_LAYERS):
        folder = os.path.join(core, layer)
        files = list(source_files(folder))
        if not files:
            raise TreeError("no sources in %s: is the layer list out of date?" % folder)
        for path in files:
            problems += check_file(path, CORE_LAYERS[:rank + 1], False, root)
    known = set(CORE_LAYERS)
    for name in sorted(os.listdir(core)):
        if os.path.isdir(os.path.join(core, name)) and name not in known:
            problems.append("src/core/%s: a folder the layer order does not name" % name)

    widgets = os.path.join(root, "src", "gui", "widgets")
    for path in source_files(widgets):
        # Qt is expected here; only the application is out of reach.
        problems += [p for p in check_file(path, CORE_LAYERS + ["widgets"], False, root)
                     if "Qt header" not in p]

    agenda = list(source_files(os.path.join(root, "tools", "agenda")))
    placement = [os.path.join(root, "src", "gui", "app", "WindowPlacements" + suffix)
                 for suffix in (".h", ".cpp")]
    if not agenda or not all(os.path.exists(path) for path in placement):
        raise TreeError("tools/agenda or src/gui/app/WindowPlacements not found")
    for path in agenda:
        problems += check_file(path, CORE_LAYERS, True, root)
    # The server's own headers and the console tool's are named bare, as in one folder.
    for path in source_files(os.path.join(root, "tools", "serve")):
        problems += check_file(path, CORE_LAYERS, True, root)
    for path in placement:
        problems += check_file(path, CORE_LAYERS, False, root, ["app/WindowPlacements.h"])
    return problems


def needed_libraries(binary):
    readelf = shutil.which("readelf")
    if readelf is None:
        raise TreeError("readelf not found (binutils)")
    result = subprocess.run([readelf, "--dynamic", "--wide", binary], capture_output=True,
                            text=True, check=False)
    if result.returncode != 0:
        raise TreeError("readelf cannot read %s: %s" % (binary, result.stderr.strip()))
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", result.stdout)


def check_console_binary(binary):
    libraries = needed_libraries(binary)
    if not libraries:
        raise TreeError("%s names no shared library: not a dynamic executable?" % binary)
    return ["%s: needs %s" % (binary, lib) for lib in libraries if re.match(r"libQt", lib)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=ROOT, help="the top of the source tree")
    parser.add_argument("--agenda", help="the built pelo-agenda")
    parser.add_argument("--serve", help="the built pelo-serve")
    args = parser.parse_args()
    try:
        problems = check_tree(args.root)
        for binary in (args.agenda, args.serve):
            if binary:
                problems += check_console_binary(binary)
    except (OSError, TreeError) as error:
        print("check_layers: %s" % error, file=sys.stderr)
        return 2
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
