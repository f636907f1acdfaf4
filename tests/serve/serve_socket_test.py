#!/usr/bin/env python3
"""pelo-serve over a real socket: requests httplib itself refuses (a bad method, a request line
too long), a client that sends one byte a second (cut off after --timeout while others are
served), a client that sends nothing, a crowd of connections (no more are held than the
threads and the waiting line), and normal requests afterwards; over TLS, a slow handshake
and a slow request are cut off the same way; the log line of each
request keeps the token out.

    serve_socket_test.py PELO_SERVE DATA_FILE
"""

import http.client
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_testing import Server  # noqa: E402

TOKEN = "serve-socket-test-token-0123456789"
failures = []


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + str(detail)))
    if not ok:
        failures.append(what)


def raw(port, data, wait=5.0):
    """Sends data whole and returns the status line the server answers (or '' on close)."""
    with socket.create_connection(("127.0.0.1", port), timeout=wait) as s:
        s.sendall(data)
        try:
            answer = s.recv(4096)
        except socket.timeout:
            return "timeout"
    return answer.split(b"\r\n", 1)[0].decode("latin-1")


def get(port, target, headers=None):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    conn.request("GET", target, headers=headers or {})
    response = conn.getresponse()
    body = response.read()
    conn.close()
    return response.status, body


def slow_client(port, result):
    """One byte a second of a request that never ends; how long until the server hangs up."""
    start = time.monotonic()
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        request = b"GET /calendar.ics HTTP/1.1\r\nHost: x\r\nX-Slow: " + b"a" * 100
        try:
            for byte in request:
                s.send(bytes([byte]))
                time.sleep(1.0)
                s.setblocking(False)
                try:
                    if s.recv(4096) == b"":
                        break
                except BlockingIOError:
                    pass
                finally:
                    s.setblocking(True)
        except (BrokenPipeError, ConnectionResetError):
            pass
    result.append(time.monotonic() - start)


def trickle(connection, data, result):
    """Sends data a byte a second on connection until the server hangs up; how long it took."""
    start = time.monotonic()
    try:
        for byte in data:
            connection.send(bytes([byte]))
            time.sleep(1.0)
    except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
        pass
    result.append(time.monotonic() - start)


def check_tls(binary, data_file, folder):
    """The same deadline over TLS: for the handshake and for the request after it."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    made = subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                           key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1"],
                          capture_output=True, check=False)
    if made.returncode != 0:
        print("skip TLS: openssl cannot make a certificate")
        return
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    with Server(binary, ["--timeout", "3", "--tls-cert", cert, "--tls-key", key, "--today",
                         "2026/12/7", data_file]) as server:
        port = server.port
        handshake, request = [], []
        raw_socket = socket.create_connection(("127.0.0.1", port), timeout=30)
        slow_handshake = threading.Thread(
            target=trickle, args=(raw_socket, b"\x16\x03\x01\x02\x00" + b"\x01" * 60,
                                  handshake))
        slow_handshake.start()
        secure = context.wrap_socket(socket.create_connection(("127.0.0.1", port), timeout=30))
        slow_request = threading.Thread(
            target=trickle, args=(secure, b"GET / HTTP/1.1\r\nX-Slow: " + b"a" * 60, request))
        slow_request.start()
        answer = http.client.HTTPSConnection("127.0.0.1", port, timeout=10, context=context)
        answer.request("GET", "/calendar.ics")
        check("HTTPS while two slow clients trickle", answer.getresponse().status == 200)
        slow_handshake.join()
        slow_request.join()
        raw_socket.close()
        secure.close()
        check("a slow TLS handshake is cut off", handshake and 2 <= handshake[0] <= 8, handshake)
        check("a slow request over TLS is cut off", request and 2 <= request[0] <= 8, request)


def main():
    binary, data_file = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        token_file = os.path.join(folder, "token")
        with open(token_file, "w", encoding="ascii") as f:
            f.write(TOKEN + "\n")
        auth = {"Authorization": "Bearer " + TOKEN}
        with Server(binary, ["--timeout", "3", "--threads", "4", "--token-file", token_file,
                             "--today", "2026/12/7", data_file]) as server:
            port = server.port
            slow = []
            slow_thread = threading.Thread(target=slow_client, args=(port, slow))
            slow_thread.start()
            idle = socket.create_connection(("127.0.0.1", port))  # sends nothing at all

            status, body = get(port, "/calendar.ics", auth)
            check("a normal request while a slow client trickles", status == 200, status)
            check("the feed", b"BEGIN:VCALENDAR" in body)
            check("no token", get(port, "/calendar.ics")[0] == 401)
            check("a bad token", get(port, "/", {"Authorization": "Bearer x"})[0] == 401)
            check("the token parameter", get(port, "/?token=" + TOKEN)[0] == 200)
            check("POST", raw(port, b"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n")
                  .startswith("HTTP/1.1 405"))
            check("a method nobody knows",
                  raw(port, b"BREW / HTTP/1.1\r\nHost: x\r\n\r\n").startswith("HTTP/1.1 400"))
            garbage = raw(port, b"\x16\x03\x01\x02\x00\x01\x00\r\n\r\n")
            check("bytes that are no HTTP", garbage == "" or garbage.startswith("HTTP/1.1 400"),
                  garbage)
            long_line = b"GET /" + b"a" * 9000 + b" HTTP/1.1\r\nHost: x\r\n\r\n"
            check("a request line too long", raw(port, long_line).startswith("HTTP/1.1 414"))
            encoded = "/%2e%2e/%2e%2e/etc/passwd?token=" + TOKEN
            check("an encoded path up", get(port, encoded)[0] == 404)

            slow_thread.join()
            check("the slow client is cut off after the timeout", slow and 2 <= slow[0] <= 8,
                  slow)
            idle.settimeout(10)
            try:
                closed = idle.recv(10) == b""
            except (socket.timeout, ConnectionResetError):
                closed = False
            check("a connection that sends nothing is closed", closed)
            idle.close()
            check("a normal request afterwards", get(port, "/day/2026-12-07", auth)[0] == 200)

            # A crowd of connections that send nothing: the server holds its threads and its
            # line of waiting ones, no more; once they go it answers again.
            crowd = []
            for _ in range(150):
                s = socket.socket()
                s.setblocking(False)  # those past the backlog wait for the server, not us
                s.connect_ex(("127.0.0.1", port))
                crowd.append(s)
            time.sleep(1.0)
            held = len(os.listdir("/proc/%d/fd" % server.process.pid))
            check("connections held at once are bounded", held < 4 + 64 + 32, held)
            for s in crowd:
                s.close()
            check("a normal request after the crowd", get(port, "/", auth)[0] == 200)
        log = server.log
        check("one log line per request", log.count(" /calendar.ics ") >= 2, log)
        check("the token is not logged", TOKEN not in log, log)
        check("a stop by SIGTERM is a clean exit", server.process.returncode == 0,
              server.process.returncode)
        check_tls(binary, data_file, folder)
    print("serve_socket_test: %d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
