#!/usr/bin/env python3
"""A bounded load test of pelo-serve on loopback, with a small client of its own: 100
connections with keep-alive send 20,000 requests in all, then stop. Prints the requests a
second, p50/p99 latency as the client saw it, the errors (failed connections and answers
other than 200/304, which must be none) and the server's resident size before and after.

    bench/serve-load.py BUILD/tools/serve/pelo-serve [DATA_FILE...] [--target /calendar.ics]
                        [--requests 20000] [--connections 100] [--if-none-match]

The client is Python (asyncio): at these rates it is the slower side, so the figures are a
floor of what the server does. Standard library only; the server is started on a free port
and stopped afterwards.
"""

import argparse
import asyncio
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "serve"))
from serve_testing import Server  # noqa: E402


async def read_answer(reader):
    """The status of one answer, its body read past."""
    head = await reader.readuntil(b"\r\n\r\n")
    status = int(head.split(b" ", 2)[1])
    length = 0
    for line in head.split(b"\r\n"):
        if line.lower().startswith(b"content-length:"):
            length = int(line.split(b":", 1)[1])
    if length:
        await reader.readexactly(length)
    return status


async def connection(port, request, count, latencies, errors):
    try:
        reader, writer = await asyncio.open_connection("127.0.0.1", port)
    except OSError:
        errors.append("connect")
        return
    done = 0
    while done < count:
        start = time.perf_counter()
        writer.write(request)
        try:
            status = await read_answer(reader)
        except (asyncio.IncompleteReadError, ConnectionError):
            # The server ends a connection after its keep-alive count: open another.
            writer.close()
            reader, writer = await asyncio.open_connection("127.0.0.1", port)
            continue
        latencies.append(time.perf_counter() - start)
        if status not in (200, 304):
            errors.append(status)
        done += 1
    writer.close()


async def load(port, request, requests, connections):
    latencies, errors = [], []
    share = [requests // connections + (1 if i < requests % connections else 0)
             for i in range(connections)]
    start = time.perf_counter()
    await asyncio.gather(*(connection(port, request, n, latencies, errors) for n in share))
    return time.perf_counter() - start, sorted(latencies), errors


def first_etag(port, target):
    import http.client
    client = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    client.request("GET", target)
    answer = client.getresponse()
    answer.read()
    client.close()
    return answer.getheader("ETag", "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("serve")
    parser.add_argument("files", nargs="*")
    parser.add_argument("--target", default="/calendar.ics")
    parser.add_argument("--requests", type=int, default=20000)
    parser.add_argument("--connections", type=int, default=100)
    parser.add_argument("--if-none-match", action="store_true",
                        help="send the answer's ETag: every answer is a 304")
    options = parser.parse_args()
    files = options.files or [os.path.join(os.path.dirname(HERE), "examples", "sample.nrk")]
    with Server(options.serve, ["--today", "2026/12/7", "--threads", "16"] + files) as server:
        head = "GET %s HTTP/1.1\r\nHost: 127.0.0.1\r\n" % options.target
        if options.if_none_match:
            head += "If-None-Match: %s\r\n" % first_etag(server.port, options.target)
        rss_before = server.rss_kib()
        seconds, latencies, errors = asyncio.run(
            load(server.port, (head + "\r\n").encode("ascii"), options.requests,
                 options.connections))
        rss_after = server.rss_kib()

    def percentile(p):
        return latencies[min(len(latencies) - 1, int(len(latencies) * p / 100))] * 1000

    print("target %s, %d connections, %d requests in %.2f s: %.0f requests/s"
          % (options.target, options.connections, len(latencies), seconds,
             len(latencies) / seconds))
    print("p50 %.2f ms, p99 %.2f ms" % (percentile(50), percentile(99)))
    print("errors %d" % len(errors))
    print("server RSS before %d KiB, after %d KiB" % (rss_before, rss_after))
    return 1 if errors or len(latencies) != options.requests else 0


if __name__ == "__main__":
    sys.exit(main())
