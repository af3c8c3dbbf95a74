#!/usr/bin/env python3
"""The HTTP server of the streaming tests, on 127.0.0.1 only.

    test_server.py ROOT RUN_DIR [--tls CERT KEY NAME]...

Serves the files in ROOT and writes its port to RUN_DIR/port (each TLS
listener's port to RUN_DIR/port-NAME). The first part of a path chooses how
the server behaves; the rest names the file:

    /files/F          Content-Length, honours Range (206 with Content-Range)
    /nolength/F       no Content-Length, ignores Range, body ends when the connection does
    /norange/F        Content-Length, ignores Range (always the whole file)
    /auth/F           like /files, behind Basic authentication (anna / secret)
    /stall-headers/F  accepts the request and never answers
    /stall-body/F     announces the whole file, sends the first 16 kB, then waits
    /drop/F           announces the whole file, sends a third of it, then resets the connection
    /short/F          announces the whole file, sends half of it, then closes normally
    /huge             announces 2 GiB, sends 1 kB of text, then closes
    /garbage          200 with 64 kB of text and its length
    /error            500
    anything else     404

Every request line, with its Range header, is appended to RUN_DIR/requests.log.
"""
import os
import socket
import ssl
import struct
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ROOT, RUN_DIR = sys.argv[1], sys.argv[2]
# Longer than any test's bound on a time-out (10 s), so a client without one
# still fails; short enough that a client whose library waits for the
# stalled connection at exit still ends well within the test's limit (60 s).
STALL_SECONDS = 20
log_lock = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):
        pass

    def log_request_line(self):
        with log_lock, open(os.path.join(RUN_DIR, "requests.log"), "a") as log:
            log.write(f"{self.server.name} {self.command} {self.path} range={self.headers.get('Range', '-')}\n")

    def send_body_headers(self, status, length, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "audio/mpeg")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def file_bytes(self, name):
        path = os.path.join(ROOT, os.path.basename(name))
        if not name or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def stall(self):
        # Ends early when the client gives up.
        self.connection.settimeout(STALL_SECONDS)
        try:
            self.connection.recv(1)
        except OSError:
            pass
        self.close_connection = True

    def do_GET(self):
        self.log_request_line()
        parts = self.path.split("/", 2)
        kind = parts[1] if len(parts) > 1 else ""
        name = parts[2] if len(parts) > 2 else ""
        if kind == "error":
            return self.send_body_headers(500, 0)
        if kind == "garbage":
            body = (b"This is no audio stream at all. " * 2048)
            self.send_body_headers(200, len(body))
            return self.wfile.write(body)
        if kind == "huge":
            self.send_body_headers(200, 2 ** 31)
            self.wfile.write(b"x" * 1024)
            self.close_connection = True
            return
        data = self.file_bytes(name)
        if data is None or kind not in ("files", "nolength", "norange", "auth", "stall-headers",
                                        "stall-body", "drop", "short"):
            return self.send_body_headers(404, 0)
        if kind == "auth" and self.headers.get("Authorization") != "Basic YW5uYTpzZWNyZXQ=":
            return self.send_body_headers(401, 0, [("WWW-Authenticate", 'Basic realm="tests"')])
        if kind == "stall-headers":
            return self.stall()
        if kind == "nolength":
            self.send_body_headers(200, None, [("Connection", "close")])
            self.wfile.write(data)
            self.close_connection = True
            return
        if kind == "stall-body":
            self.send_body_headers(200, len(data))
            self.wfile.write(data[:16384])
            self.wfile.flush()
            return self.stall()
        if kind in ("drop", "short"):
            self.send_body_headers(200, len(data))
            cut = len(data) // 3 if kind == "drop" else len(data) // 2
            self.wfile.write(data[:cut])
            self.wfile.flush()
            if kind == "drop":
                # A reset, not an orderly end: unsent data is thrown away.
                time.sleep(0.2)
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            return
        first = self.range_start()
        if kind == "norange" or first is None:
            self.send_body_headers(200, len(data))
            return self.wfile.write(data)
        if first >= len(data):
            return self.send_body_headers(416, 0, [("Content-Range", f"bytes */{len(data)}")])
        self.send_body_headers(206, len(data) - first,
                               [("Content-Range", f"bytes {first}-{len(data) - 1}/{len(data)}")])
        self.wfile.write(data[first:])

    def range_start(self):
        value = self.headers.get("Range", "")
        if not value.startswith("bytes=") or not value.endswith("-"):
            return None
        try:
            return int(value[len("bytes="):-1])
        except ValueError:
            return None


def serve(server, name):
    server.name = name
    server.daemon_threads = True
    server.serve_forever()


def listen(port_file, name, context=None):
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    if context:
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=serve, args=(server, name), daemon=True).start()
    with open(os.path.join(RUN_DIR, port_file + ".tmp"), "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(os.path.join(RUN_DIR, port_file + ".tmp"), os.path.join(RUN_DIR, port_file))


args = sys.argv[3:]
while args:
    assert args[0] == "--tls"
    cert, key, name = args[1:4]
    args = args[4:]
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    listen("port-" + name, name, context)
listen("port", "http")
threading.Event().wait()
