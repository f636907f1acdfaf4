#!/usr/bin/env python3
"""Pins what pelo-agenda prints in the classic calendar, its default.

The classic calendar must go on printing, byte for byte, what the program printed before the
calendar of today was added beside it: old files and other installations rely on it. The
manifest holds one run per line, the SHA-256 of its standard output and of its standard error,
its exit status and its arguments (paths relative to the top of the source tree, which is the
working folder of every run).
Each run is made as written and again with --calendar classic; both must give the recorded
digests.

    classic_agenda.py --agenda BUILD/pelo-agenda --root SOURCE_TREE MANIFEST
    classic_agenda.py --agenda OTHER/pelo-agenda --root SOURCE_TREE --record MANIFEST

--record writes the digests of the given program for the argument lists of the manifest.
Standard library only.
"""

import argparse
import hashlib
import shlex
import subprocess
import sys


def digests(agenda, root, args):
    done = subprocess.run([agenda] + args, cwd=root, capture_output=True, check=False)
    return (hashlib.sha256(done.stdout).hexdigest(), hashlib.sha256(done.stderr).hexdigest(),
            str(done.returncode))


def read_manifest(path):
    """(comment lines, [(recorded fields, args)]) in file order."""
    head, runs = [], []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                head.append(line)
                continue
            fields = shlex.split(line)
            runs.append((tuple(fields[:3]), fields[3:]))
    return head, runs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--agenda", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--record", action="store_true")
    parser.add_argument("manifest")
    options = parser.parse_args()
    head, runs = read_manifest(options.manifest)
    if options.record:
        lines = head + [" ".join(digests(options.agenda, options.root, args) +
                                 tuple(shlex.quote(a) for a in args)) for _, args in runs]
        with open(options.manifest, "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
        return 0
    failures = 0
    for recorded, args in runs:
        for extra in ([], ["--calendar", "classic"]):
            got = digests(options.agenda, options.root, extra + args)
            if got != recorded:
                failures += 1
                print("classic_agenda: differs from the recorded output: pelo-agenda %s"
                      % " ".join(extra + args), file=sys.stderr)
    print("classic_agenda: %d runs, %d differ" % (2 * len(runs), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
