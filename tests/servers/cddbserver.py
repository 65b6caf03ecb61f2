#!/usr/bin/python3
"""cddbserver.py - the project's CDDB test server, on loopback ports chosen
at run time. Speaks the CDDB server protocol (up to level 6) and CDDB over
HTTP (GET of /~cddb/cddb.cgi, also as a proxy, and POST of submissions to
/~cddb/submit.cgi), from the canned data of cddbdata.py. Each mode listens
on a port of its own; the hostile modes misbehave in one way each.

    cddbserver.py --spool DIR [--lifetime SECONDS]

prints one line "READY mode=port ..." and serves until stdin closes or the
lifetime ends. Every command line it receives is appended to DIR/cddb.log
as "mode line"; submissions are kept as DIR/submit-N.txt (headers, a blank
line, then the body as received).
"""
import argparse
import http.server
import os
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cddbdata  # noqa: E402

SPOOL = "."
LOG_LOCK = threading.Lock()
SUBMISSIONS = [0]


def log(mode, line):
    with LOG_LOCK:
        with open(os.path.join(SPOOL, "cddb.log"), "a", encoding="utf-8", errors="replace") as f:
            f.write("%s %s\n" % (mode, line))


class Cddb:
    """The command interpreter shared by the cddbp and HTTP modes."""

    def __init__(self, mode, max_level, level=1):
        self.mode = mode
        self.max_level = max_level
        self.level = level
        self.hello = False

    def encode(self, text):
        # Level 6 speaks UTF-8; lower levels ISO-8859-1, "?" for the rest.
        return text.encode("utf-8") if self.level >= 6 else text.encode("latin-1", "replace")

    def body(self, status, lines):
        return [status] + [("." + l) if l.startswith(".") else l for l in lines] + ["."]

    def run(self, line):
        """The answer's lines (str) to one command."""
        words = line.split()
        if not words:
            return ["500 Unrecognized command."]
        cmd = words[0].lower()
        if cmd == "quit":
            return ["230 Goodbye."]
        if cmd == "proto":
            if len(words) == 1:
                return ["200 CDDB protocol level: current %d, supported %d" % (self.level, self.max_level)]
            try:
                wanted = int(words[1])
            except ValueError:
                return ["500 Command syntax error."]
            if wanted < 1 or wanted > self.max_level:
                return ["501 Illegal CDDB protocol level."]
            if wanted == self.level:
                return ["502 CDDB protocol level already %d." % wanted]
            self.level = wanted
            return ["201 OK, CDDB protocol level now: %d" % wanted]
        if cmd == "sites":
            if self.level >= 3:
                lines = ["%s %s %d %s %s %s %s" % s for s in cddbdata.SITES]
            else:
                lines = ["%s %d %s %s %s" % (s[0], s[2], s[4], s[5], s[6])
                         for s in cddbdata.SITES if s[1] == "cddbp"]
            return self.body("210 OK, site information follows (until terminating `.')", lines)
        if cmd != "cddb" or len(words) < 2:
            return ["500 Unrecognized command."]
        sub = words[1].lower()
        if sub == "hello":
            if len(words) != 6:
                return ["431 Handshake not successful, closing connection."]
            if self.hello:
                return ["402 Already shook hands."]
            self.hello = True
            return ["200 Hello and welcome %s@%s running %s %s." % tuple(words[2:6])]
        if not self.hello:
            return ["409 No handshake."]
        if sub == "lscat":
            return self.body("210 OK, category list follows (until terminating `.')", cddbdata.CATEGORIES)
        if sub == "query":
            return self.query(words[2:])
        if sub == "read":
            return self.read(words[2:])
        return ["500 Unrecognized command."]

    def query(self, args):
        try:
            discid = int(args[0], 16)
            count = int(args[1])
            offsets = [int(a) for a in args[2:2 + count]]
            seconds = int(args[2 + count])
        except (IndexError, ValueError):
            return ["500 Command syntax error."]
        if len(args) != count + 3 or cddbdata.disc_id(offsets, seconds * 75) != discid:
            # The id is checked against the offsets, so a client that
            # computes it wrongly fails here.
            return ["500 Command syntax error: the disc id does not match the offsets."]
        exact, close = cddbdata.query(discid, offsets, seconds)
        if self.mode == "badcode":
            return ["777 what a strange answer"]
        match = lambda e: "%s %08x %s / %s" % (e["category"], e["id"], e["artist"], e["title"])
        if len(exact) == 1:
            return ["200 " + match(exact[0])]
        if exact:
            code = "210 Found exact matches, list follows (until terminating `.')" if self.level >= 4 else \
                "211 Found inexact matches, list follows (until terminating `.')"
            return self.body(code, [match(e) for e in exact])
        if close:
            return self.body("211 Found inexact matches, list follows (until terminating `.')",
                             [match(e) for e in close])
        return ["202 No match found."]

    def read(self, args):
        if len(args) != 2:
            return ["500 Command syntax error."]
        try:
            e = cddbdata.find(args[0], int(args[1], 16))
        except ValueError:
            e = None
        if not e:
            return ["401 %s %s No such CD entry in database." % tuple(args)]
        drop = 1 if self.mode == "shortentry" else None
        return self.body("210 %s %08x CD database entry follows (until terminating `.')" % (e["category"], e["id"]),
                         cddbdata.xmcd_lines(e, drop))


class CddbpHandler(socketserver.BaseRequestHandler):
    def send(self, lines):
        data = b"".join(self.cddb.encode(l) + b"\r\n" for l in lines)
        if self.server.mode == "earlyclose" and len(lines) > 1:
            self.request.sendall(data[:len(data) // 2])
            raise ConnectionAbortedError
        self.request.sendall(data)

    def handle(self):
        mode = self.server.mode
        sock = self.request
        try:
            if mode == "silent":
                time.sleep(self.server.lifetime)
                return
            if mode == "drip":
                # A greeting that never ends, one byte at a time.
                sock.sendall(b"200 ")
                while True:
                    time.sleep(0.3)
                    sock.sendall(b"x")
            if mode == "garbage":
                sock.sendall(b"\x00\xff\xfeGARBAGE\x1b[0m not a greeting\r\n")
                time.sleep(1)
                return
            if mode == "longline":
                sock.sendall(b"200 " + b"x" * 5000 + b"\r\n")
                time.sleep(1)
                return
            if mode == "denied":
                sock.sendall(b"432 No connections allowed: permission denied\r\n")
                return
            self.cddb = Cddb(mode, 3 if mode == "cddbp3" else 6)
            self.send(["201 testhost CDDBP server v1.5.2PL0 ready at %s" % time.ctime()])
            f = sock.makefile("rb")
            for raw in f:
                line = raw.decode("latin-1").rstrip("\r\n")
                log(mode, line)
                answer = self.cddb.run(line)
                self.send(answer)
                if answer[0].startswith("230"):
                    return
        except (OSError, ConnectionAbortedError):
            pass


class HttpHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def answer(self, status, body, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        mode = self.server.mode
        log(mode, "GET " + self.path)
        if mode == "http-garbage":
            self.wfile.write(b"NOT HTTP AT ALL\r\n\r\n")
            return
        target = urllib.parse.urlsplit(self.path)
        if target.scheme:
            # Asked as a proxy: the server behind it is named in the URL.
            log(mode, "proxy to %s Host: %s" % (target.netloc, self.headers.get("Host", "")))
            if target.hostname == "down.example":
                self.answer(502, b"Bad Gateway\r\n", "text/html")
                return
        if target.path != "/~cddb/cddb.cgi":
            self.answer(404, b"Not Found\r\n", "text/html")
            return
        q = urllib.parse.parse_qs(target.query)
        try:
            level = int(q.get("proto", ["1"])[0])
        except ValueError:
            level = 0
        max_level = 3 if mode == "http3" else 6
        cddb = Cddb(mode, max_level, max(1, min(level, 6)))
        if level < 1 or level > max_level:
            lines = ["501 Illegal CDDB protocol level."]
        else:
            hello = q.get("hello", [""])[0].split()
            answer = cddb.run("cddb hello " + " ".join(hello))
            if not answer[0].startswith("200"):
                lines = answer
            else:
                lines = cddb.run(q.get("cmd", [""])[0])
        self.answer(200, b"".join(cddb.encode(l) + b"\n" for l in lines))

    def do_POST(self):
        mode = self.server.mode
        log(mode, "POST " + self.path)
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        if self.path != "/~cddb/submit.cgi":
            self.answer(404, b"Not Found\r\n", "text/html")
            return
        names = ["Category", "Discid", "User-Email", "Submit-Mode", "Charset", "Content-Type"]
        with LOG_LOCK:
            SUBMISSIONS[0] += 1
            path = os.path.join(SPOOL, "submit-%d.txt" % SUBMISSIONS[0])
        with open(path, "wb") as f:
            for name in names:
                f.write(("%s: %s\n" % (name, self.headers.get(name, ""))).encode("latin-1", "replace"))
            f.write(b"\n" + body)
        if "reject" in self.headers.get("User-Email", ""):
            self.answer(200, b"500 Invalid entry: rejected by the test server.\n")
        elif not all(self.headers.get(n) for n in names[:5]):
            self.answer(200, b"501 Missing submission headers.\n")
        else:
            self.answer(200, b"200 OK, submission has been sent.\n")


class RawSmtpHandler(socketserver.BaseRequestHandler):
    """SMTP servers of the odd kinds aiosmtpd does not play: one that refuses
    at the greeting, one that never speaks, and one that knows only HELO."""

    def handle(self):
        mode = self.server.mode
        sock = self.request
        try:
            if mode == "smtp-refuse":
                sock.sendall(b"554 No SMTP service here\r\n")
                time.sleep(1)
                return
            if mode == "smtp-silent":
                time.sleep(self.server.lifetime)
                return
            sock.sendall(b"220 testhost ESMTP of the old kind\r\n")
            f = sock.makefile("rb")
            in_data = False
            for raw in f:
                line = raw.decode("latin-1").rstrip("\r\n")
                if in_data:
                    if line == ".":
                        in_data = False
                        sock.sendall(b"250 Queued\r\n")
                    continue
                log(mode, line)
                verb = line[:4].upper()
                if verb == "EHLO":
                    sock.sendall(b"502 Command not implemented\r\n")
                elif verb == "DATA":
                    in_data = True
                    sock.sendall(b"354 End data with <CR><LF>.<CR><LF>\r\n")
                elif verb == "QUIT":
                    sock.sendall(b"221 Bye\r\n")
                    return
                else:
                    sock.sendall(b"250 OK\r\n")
        except OSError:
            pass


class Threaded(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True


class ThreadedHttp(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


CDDBP_MODES = ["cddbp", "cddbp3", "silent", "drip", "garbage", "longline", "denied",
               "badcode", "earlyclose", "shortentry"]
HTTP_MODES = ["http", "http3", "http-garbage"]
SMTP_MODES = ["smtp-refuse", "smtp-silent", "smtp-helo"]


def main():
    global SPOOL
    parser = argparse.ArgumentParser()
    parser.add_argument("--spool", required=True)
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()
    SPOOL = args.spool
    servers = []
    for mode in CDDBP_MODES + HTTP_MODES + SMTP_MODES:
        if mode in HTTP_MODES:
            server = ThreadedHttp(("127.0.0.1", 0), HttpHandler)
        else:
            server = Threaded(("127.0.0.1", 0), RawSmtpHandler if mode in SMTP_MODES else CddbpHandler)
        server.mode = mode
        server.lifetime = args.lifetime
        threading.Thread(target=server.serve_forever, daemon=True).start()
        servers.append(server)
    print("READY " + " ".join("%s=%d" % (s.mode, s.server_address[1]) for s in servers), flush=True)
    # Ends when whoever started it closes our stdin, or at the lifetime's end.
    deadline = time.time() + args.lifetime
    watcher = threading.Thread(target=lambda: sys.stdin.read(), daemon=True)
    watcher.start()
    while watcher.is_alive() and time.time() < deadline:
        watcher.join(0.5)


if __name__ == "__main__":
    main()
