"""Starting pelo-serve for a test: on 127.0.0.1 with a free port (it prints the one it got),
stopped with SIGTERM. Standard library only."""

import os
import re
import signal
import subprocess
import sys
import tempfile

SKIP = 77  # the exit status CTest is told means "skipped"


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIP)


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
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

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


def tool(name):
    """The path of a program on PATH, or None."""
    for folder in os.environ.get("PATH", "").split(os.pathsep):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    return None
