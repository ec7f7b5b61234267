#!/usr/bin/python3
# A local SMTP server for the tests, built on aiosmtpd.
#
#   smtp_server.py FOLDER [USER PASSWORD]
#
# Listens on 127.0.0.1 on a free port and prints the port as the first line of stdout ("unavailable"
# and exit code 3 when aiosmtpd is missing). With USER, AUTH LOGIN/PLAIN are offered without TLS,
# only that user and password are accepted, and mail is refused until the client has logged in.
# Message N is stored as FOLDER/NNNN.eml (the data as received, dot-unstuffed, CR LF line ends) and
# FOLDER/NNNN.envelope (envelope sender, then one recipient a line); the envelope file appears last.
# Runs until stdin closes or the process is killed.

import logging
import os
import socket
import sys
import threading
import warnings

try:
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult, LoginPassword
except ImportError:
    print("unavailable", flush=True)
    sys.exit(3)


class MessageStore:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            base = os.path.join(self.folder, "%04d" % self.count)
        with open(base + ".eml", "wb") as content:
            content.write(envelope.original_content)
        with open(base + ".envelope.tmp", "w", encoding="utf-8", errors="surrogateescape") as lines:
            lines.write("\n".join([envelope.mail_from] + list(envelope.rcpt_tos)) + "\n")
        os.replace(base + ".envelope.tmp", base + ".envelope")
        return "250 OK message accepted"


def login_checker(user, password):
    def check(server, session, envelope, mechanism, auth_data):
        accepted = (isinstance(auth_data, LoginPassword) and auth_data.login == user
                    and auth_data.password == password)
        return AuthResult(success=accepted, handled=False)
    return check


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start(folder, user, password):
    options = {}
    if user:
        options = dict(authenticator=login_checker(user, password), auth_required=True)
    # The probed port can be taken by someone else before the server binds it; then try another.
    for attempt in range(5):
        controller = Controller(MessageStore(folder), hostname="127.0.0.1", port=free_port(),
                                auth_require_tls=False, **options)
        try:
            controller.start()
            return controller
        except Exception:
            if attempt == 4:
                raise


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit("usage: smtp_server.py FOLDER [USER PASSWORD]")
    # aiosmtpd warns about authentication without TLS, which is what the tests want.
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    warnings.filterwarnings("ignore", "Requiring AUTH while not requiring TLS")
    user = os.fsencode(sys.argv[2]) if len(sys.argv) == 4 else b""
    password = os.fsencode(sys.argv[3]) if len(sys.argv) == 4 else b""
    controller = start(sys.argv[1], user, password)
    print(controller.port, flush=True)
    sys.stdin.buffer.read()
    controller.stop()


if __name__ == "__main__":
    main()
