#!/usr/bin/env python3
"""pelo-serve over a real socket: requests httplib itself refuses, clients that trickle one byte a
second or send nothing (cut off after --timeout while others are served, over TLS too), a crowd
of connections (no more held than the threads and the waiting line), and a log without the token.

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
from serve_testing import Server, check, finish  # noqa: E402

TOKEN = "serve-socket-test-token-0123456789"
AUTH = {"Authorization": "Bearer " + TOKEN}


def raw(port, data):
    """Sends data whole and returns the status line the server answers (or '' on close)."""
    with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
        s.sendall(data)
        return s.recv(4096).split(b"\r\n", 1)[0].decode("latin-1")


def get(port, target, headers=None, context=None):
    conn = (http.client.HTTPSConnection("127.0.0.1", port, timeout=10, context=context)
            if context else http.client.HTTPConnection("127.0.0.1", port, timeout=10))
    conn.request("GET", target, headers=headers or {})
    response = conn.getresponse()
    body = response.read()
    conn.close()
    return response.status, body


def trickling(connection, data):
    """Sends data a byte a second on a thread until the server hangs up; the thread, the list
    that gets how long it took and the connection."""
    result = []

    def trickle():
        start = time.monotonic()
        try:
            for byte in data:
                connection.send(bytes([byte]))
                time.sleep(1.0)
        except OSError:  # also the broken pipe, the reset and ssl.SSLError
            pass
        result.append(time.monotonic() - start)

    thread = threading.Thread(target=trickle)
    thread.start()
    return thread, result, connection


def check_cut_off(what, thread, result, connection):
    thread.join()
    connection.close()
    check(what + " is cut off after the timeout", result and 2 <= result[0] <= 8, result)


def check_tls(binary, data_file, folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    if subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                       key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1"],
                      capture_output=True, check=False).returncode != 0:
        print("skip TLS: openssl cannot make a certificate")
        return
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    with Server(binary, ["--timeout", "3", "--tls-cert", cert, "--tls-key", key, "--today",
                         "2026/12/7", data_file]) as server:
        plain = socket.create_connection(("127.0.0.1", server.port), timeout=30)
        handshake = trickling(plain, b"\x16\x03\x01\x02\x00" + b"\x01" * 60)
        secure = context.wrap_socket(socket.create_connection(("127.0.0.1", server.port),
                                                              timeout=30))
        request = trickling(secure, b"GET / HTTP/1.1\r\nX-Slow: " + b"a" * 60)
        status = get(server.port, "/calendar.ics", context=context)[0]
        check("HTTPS while two slow clients trickle", status == 200, status)
        check_cut_off("a slow TLS handshake", *handshake)
        check_cut_off("a slow request over TLS", *request)


def check_requests(port):
    status, body = get(port, "/calendar.ics", AUTH)
    check("a normal request while a slow client trickles", status == 200, status)
    check("the feed", b"BEGIN:VCALENDAR" in body)
    for what, target, headers, expected in [
            ("no token", "/calendar.ics", None, 401),
            ("a bad token", "/", {"Authorization": "Bearer x"}, 401),
            ("the token parameter", "/?token=" + TOKEN, None, 200),
            ("an encoded path up", "/%2e%2e/%2e%2e/etc/passwd?token=" + TOKEN, None, 404)]:
        status = get(port, target, headers)[0]
        check(what, status == expected, status)
    for what, data, expected in [  # the status lines allowed; "" is a hang-up
            ("POST", b"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n", ["405"]),
            ("a method nobody knows", b"BREW / HTTP/1.1\r\nHost: x\r\n\r\n", ["400"]),
            ("bytes that are no HTTP", b"\x16\x03\x01\x02\x00\x01\x00\r\n\r\n", ["400", ""]),
            ("a request line too long", b"GET /" + b"a" * 9000 + b" HTTP/1.1\r\nHost: x\r\n\r\n",
             ["414"])]:
        line = raw(port, data)
        check(what, line[:12] in [("HTTP/1.1 " + e) if e else e for e in expected], line)


def check_crowd(server):
    """Connections that send nothing: held up to the threads and the waiting line, no more."""
    crowd = [socket.socket() for _ in range(150)]
    for s in crowd:
        s.setblocking(False)  # those past the backlog wait for the server, not us
        s.connect_ex(("127.0.0.1", server.port))
    time.sleep(1.0)
    held = len(os.listdir("/proc/%d/fd" % server.process.pid))
    check("connections held at once are bounded", held < 4 + 64 + 32, held)
    for s in crowd:
        s.close()
    check("a normal request after the crowd", get(server.port, "/", AUTH)[0] == 200)


def main():
    binary, data_file = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        token_file = os.path.join(folder, "token")
        with open(token_file, "w", encoding="ascii") as f:
            f.write(TOKEN + "\n")
        with Server(binary, ["--timeout", "3", "--threads", "4", "--token-file", token_file,
                             "--today", "2026/12/7", data_file]) as server:
            slow_socket = socket.create_connection(("127.0.0.1", server.port), timeout=30)
            slow = trickling(slow_socket, b"GET /calendar.ics HTTP/1.1\r\nX-Slow: " + b"a" * 100)
            idle = socket.create_connection(("127.0.0.1", server.port), timeout=10)
            check_requests(server.port)
            check_cut_off("the slow client", *slow)
            try:
                closed = idle.recv(10) == b""
            except OSError:
                closed = False
            check("a connection that sends nothing is closed", closed)
            idle.close()
            status = get(server.port, "/day/2026-12-07", AUTH)[0]
            check("a normal request afterwards", status == 200, status)
            check_crowd(server)
        check("one log line per request", server.log.count(" /calendar.ics ") >= 2, server.log)
        check("the token is not logged", TOKEN not in server.log, server.log)
        check("a stop by SIGTERM is a clean exit", server.process.returncode == 0,
              server.process.returncode)
        check_tls(binary, data_file, folder)
    return finish("serve_socket_test")


if __name__ == "__main__":
    sys.exit(main())
