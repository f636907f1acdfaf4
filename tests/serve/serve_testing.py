"""pelo-serve for a test: on 127.0.0.1 with the free port it prints, stopped with SIGTERM."""

import re
import shutil
import signal
import subprocess
import sys
import tempfile

failures = []


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(77)  # what CTest is told means "skipped"


def tool(*names):
    return next(filter(None, map(shutil.which, names)), None)


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + str(detail)))
    if not ok:
        failures.append(what)


def finish(name):
    print("%s: %d failures" % (name, len(failures)))
    return 1 if failures else 0


class Server:
    def __init__(self, binary, args, cwd=None):
        self.log = ""
        # The log goes to a file: a pipe nobody empties would stop the server once full.
        self.log_file = tempfile.TemporaryFile("w+", encoding="utf-8")
        self.process = subprocess.Popen(
            [binary, "--listen", "127.0.0.1:0"] + args, cwd=cwd,
            stdout=subprocess.PIPE, stderr=self.log_file, text=True)
        line = self.process.stdout.readline()
        found = re.search(r"(https?)://127\.0\.0\.1:(\d+)/", line)
        if not found:
            self.stop()
            raise RuntimeError("pelo-serve did not start: %r %r" % (line, self.log))
        self.port = int(found.group(2))
        self.url = "%s://127.0.0.1:%d" % (found.group(1), self.port)

    def rss_kib(self):
        with open("/proc/%d/status" % self.process.pid, encoding="ascii") as status:
            return next((int(l.split()[1]) for l in status if l.startswith("VmRSS:")), 0)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.communicate(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.communicate()
        self.log_file.seek(0)
        self.log = self.log_file.read()
        return self.process.returncode

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
