#!/usr/bin/env python3
"""The update script's side of the updater's exchange, for the tests.

update_server.py PORT STATE_DIR

Reads STATE_DIR/scenario.json before every request (the test changes it between cases), appends
every request to STATE_DIR/requests.log as one JSON line, and writes STATE_DIR/ready once it
listens. GET /quit ends it.

Scenario keys:
  challenge     first line of the opcode 0 reply
  account, password   the login the opcode 1 hash must prove (hashlib as the peer MD5)
  status        {"0": 404, ...}: a status to answer an opcode with instead
  versions      the opcode 3 body
  setup         path of the file opcode 5 serves
  download      "good", "short" (half the declared length, then a close), "chunked",
                "nolength" (no Content-Length, body until the close)
  size          for /body: the length of a generated body
"""
import hashlib
import http.server
import json
import os
import socket
import sys
import urllib.parse

PORT = int(sys.argv[1])
STATE = sys.argv[2]


def scenario():
    try:
        with open(os.path.join(STATE, "scenario.json")) as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, entry):
        with open(os.path.join(STATE, "requests.log"), "a") as f:
            f.write(json.dumps(entry) + "\n")

    def reply(self, status, body=b"", length=True, close=False):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        if length:
            self.send_header("Content-Length", str(len(body)))
        if close or not length:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def send_setup(self, data, mode):
        if mode == "short":
            self.send_response(200)
            self.send_header("Content-Length", str(2 * len(data)))
            self.end_headers()
            self.wfile.write(data)
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
        elif mode == "chunked":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for i in range(0, len(data), 3000):
                piece = data[i:i + 3000]
                self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
            self.wfile.write(b"0\r\n\r\n")
        elif mode == "nolength":
            self.reply(200, data, length=False)
        else:
            self.reply(200, data)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        # The updater's query is in the Western ANSI code page: latin-1 keeps each byte.
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True, encoding="latin-1")
        query = {k: v[0] for k, v in query.items()}
        s = scenario()
        self.record({"path": url.path, "raw": self.path, "query": query,
                     "agent": self.headers.get("User-Agent"), "accept": self.headers.get("Accept")})
        if url.path == "/quit":
            self.reply(200, b"bye", close=True)
            self.server.quit = True
            return
        if url.path == "/body":
            n = int(query.get("n", s.get("size", 10000)))
            self.send_setup(bytes(i * 7 % 256 for i in range(n)), query.get("mode", "good"))
            return
        if url.path == "/lines":
            self.reply(200, b"first\r\n\r\nthird\nlast-without-end")
            return
        if url.path != "/tolvik/autoupdate.php":
            self.reply(404, b"no such script")
            return
        if self.headers.get("User-Agent") != "Harvo-Update" or self.headers.get("Accept") != "text/*":
            self.reply(400, b"bad headers")
            return
        opcode = query.get("opcode", "")
        override = s.get("status", {}).get(opcode)
        if override:
            self.reply(int(override), b"refused")
            return
        if opcode == "0":
            self.reply(200, (s.get("challenge", "") + "\r\n").encode("latin-1"))
        elif opcode == "1":
            inner = hashlib.md5(s.get("password", "").encode("latin-1")).hexdigest()
            expected = hashlib.md5((inner + s.get("challenge", "")).encode("latin-1")).hexdigest()
            ok = query.get("login") == s.get("account") and query.get("pass") == expected
            self.reply(200 if ok else 403, b"OK" if ok else b"wrong account")
        elif opcode == "3":
            self.reply(200, s.get("versions", "").encode("latin-1"))
        elif opcode == "5":
            with open(s["setup"], "rb") as f:
                data = f.read()
            self.send_setup(data, s.get("download", "good"))
        elif opcode == "7":
            self.reply(200, b"recorded")
        else:
            self.reply(400, b"unknown opcode")


class Server(http.server.ThreadingHTTPServer):
    allow_reuse_address = True
    daemon_threads = True
    quit = False


server = Server(("127.0.0.1", PORT), Handler)
server.timeout = 0.2
with open(os.path.join(STATE, "ready.tmp"), "w") as f:
    f.write(str(os.getpid()))
os.replace(os.path.join(STATE, "ready.tmp"), os.path.join(STATE, "ready"))
while not server.quit:
    server.handle_request()
