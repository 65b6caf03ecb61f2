#!/usr/bin/python3
"""smtpserver.py - a real SMTP server for the tests (Debian's aiosmtpd) on a
loopback port chosen at run time. Keeps each accepted mail as
DIR/mail-N.eml (the DATA exactly as received, dot-stuffing undone) and
DIR/mail-N.envelope (MAIL FROM and RCPT TO). Refuses, for the tests:
senders starting "refuse-sender", recipients starting "refuse-recipient",
and messages whose text holds "reject-data".

    smtpserver.py --spool DIR [--lifetime SECONDS]

prints "READY smtp=port" and serves until stdin closes or the lifetime ends.
"""
import argparse
import os
import socket
import sys
import threading
import time

from aiosmtpd.controller import Controller


class Keeper:
    def __init__(self, spool):
        self.spool = spool
        self.count = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address.startswith("refuse-sender"):
            return "550 Sender refused by the test server"
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refuse-recipient"):
            return "550 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if b"reject-data" in envelope.original_content:
            return "554 Message rejected by the test server"
        self.count += 1
        base = os.path.join(self.spool, "mail-%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".envelope", "w") as f:
            f.write("MAIL FROM:<%s>\n" % envelope.mail_from)
            for rcpt in envelope.rcpt_tos:
                f.write("RCPT TO:<%s>\n" % rcpt)
        return "250 Message accepted for delivery"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--spool", required=True)
    parser.add_argument("--lifetime", type=float, default=900)
    args = parser.parse_args()
    # aiosmtpd wants a port number; a few tries cover a port taken meanwhile.
    for attempt in range(5):
        port = free_port()
        controller = Controller(Keeper(args.spool), hostname="127.0.0.1", port=port, decode_data=False)
        try:
            controller.start()
            break
        except Exception:
            if attempt == 4:
                raise
    print("READY smtp=%d" % port, flush=True)
    deadline = time.time() + args.lifetime
    watcher = threading.Thread(target=lambda: sys.stdin.read(), daemon=True)
    watcher.start()
    while watcher.is_alive() and time.time() < deadline:
        watcher.join(0.5)
    controller.stop()


if __name__ == "__main__":
    main()
