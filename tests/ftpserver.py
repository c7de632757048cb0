"""A throw-away FTP server for the upload tests.

Reads its set-up as one JSON line on standard input, so the password never shows on a
command line: {"home": dir, "user": name or null for anonymous, "password": text,
"readOnly": [directories under home], "log": file for the commands received, passwords
masked, "tls": {"certfile": PEM with the key, "required": bool} to offer FTP over TLS,
"stallOn": [file name patterns] whose STOR is accepted and never answered, "readLimit": bytes
a second each upload may bring, "dropOn": [file name patterns] whose upload drops the
connection midway, the first "dropTimes" times (1 when not given), "shortOn": [file name patterns] whose upload is cut to half its bytes and still
answered as complete, "replyDelay" and "dataDelay": seconds every reply and every data
connection waits, as over a long line, "noMlsd": true to offer LIST only}. Listens on
127.0.0.1 at a free port, prints the port on standard output once it accepts connections,
and serves until it is killed. Each connection has a thread of its own, so one waiting
connection does not hold up the others.

With TLS, a data connection that does not resume the control connection's TLS session is
refused, as many servers do, so a client that cannot reuse sessions fails here too.
"""

import fnmatch
import json
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer

WRITABLE = "elradfmwMT"
READ_ONLY = "elr"


def tls_handler(tls):
    from OpenSSL._util import lib as openssl
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class SessionReusingDTPHandler(TLS_DTPHandler):
        def readable(self):
            # The client may finish its TLS handshake before it names the transfer, as
            # other servers allow; pyftpdlib would take the early data for a hang-up.
            if not self._initialized and not self.receive:
                return self._ssl_accepting or self._ssl_want_read
            return super().readable()

        def handle_ssl_established(self):
            if not openssl.SSL_session_reused(self.socket._ssl):
                self._resp = ("522 Data connections must reuse the TLS session.",
                              logging.info)
                self.close()

    class Handler(TLS_FTPHandler):
        certfile = tls["certfile"]
        tls_control_required = tls.get("required", False)
        tls_data_required = tls.get("required", False)
        dtp_handler = SessionReusingDTPHandler

    return Handler


def stalling(handler, patterns):
    class Handler(handler):
        def ftp_STOR(self, file, mode="w"):
            if matches(file, patterns):
                self.log("STOR %s left unanswered" % file)
                return
            return super().ftp_STOR(file, mode)

    return Handler


def matches(file, patterns):
    return any(fnmatch.fnmatch(os.path.basename(file), p) for p in patterns)


def dropping(handler, patterns, times):
    dropped = {}

    class DTPHandler(handler.dtp_handler):
        def handle_read(self):
            super().handle_read()
            name = self.file_obj.name if self.file_obj is not None else ""
            if (self.receive and self.tot_bytes_received > 0 and matches(name, patterns)
                    and dropped.get(name, 0) < times):
                dropped[name] = dropped.get(name, 0) + 1
                control = self.cmd_channel
                control.log("%s: connection dropped midway" % name)
                self.close()
                control.close()

        # pyftpdlib reads through this name.
        handle_read_event = handle_read

    class Handler(handler):
        dtp_handler = DTPHandler

    return Handler


def shortening(handler, patterns):
    class Handler(handler):
        def on_file_received(self, file):
            if matches(file, patterns):
                with open(file, "r+b") as received:
                    received.truncate(os.path.getsize(file) // 2)
                self.log("%s cut to half" % file)
            return super().on_file_received(file)

    return Handler


def delayed(handler, reply_delay, data_delay):
    from pyftpdlib.handlers import PassiveDTP

    class SlowPassiveDTP(PassiveDTP):
        def handle_accepted(self, sock, addr):
            time.sleep(data_delay)
            return super().handle_accepted(sock, addr)

    class Handler(handler):
        passive_dtp = SlowPassiveDTP

        def respond(self, resp, logfun=logging.debug):
            time.sleep(reply_delay)
            return super().respond(resp, logfun)

    return Handler


def without_mlsd(handler):
    class Handler(handler):
        proto_cmds = {k: v for k, v in handler.proto_cmds.items() if k != "MLSD"}

    return Handler


def throttled(handler, read_limit):
    from pyftpdlib.handlers import ThrottledDTPHandler

    class DTPHandler(ThrottledDTPHandler, handler.dtp_handler):
        pass

    DTPHandler.read_limit = read_limit

    class Handler(handler):
        dtp_handler = DTPHandler

    return Handler


def main():
    config = json.loads(sys.stdin.readline())
    home = config["home"]
    user = config.get("user")

    authorizer = DummyAuthorizer()
    if user is None:
        user = "anonymous"
        authorizer.add_anonymous(home, perm=WRITABLE)
    else:
        authorizer.add_user(user, config.get("password", ""), home, perm=WRITABLE)
    for directory in config.get("readOnly", []):
        authorizer.override_perm(user, os.path.join(home, directory), READ_ONLY, recursive=True)

    if "log" in config:
        logging.basicConfig(filename=config["log"], level=logging.DEBUG)
    else:
        logging.basicConfig(level=logging.ERROR)
    handler = tls_handler(config["tls"]) if "tls" in config else FTPHandler
    if config.get("stallOn"):
        handler = stalling(handler, config["stallOn"])
    if config.get("dropOn"):
        handler = dropping(handler, config["dropOn"], config.get("dropTimes", 1))
    if config.get("shortOn"):
        handler = shortening(handler, config["shortOn"])
    if config.get("noMlsd"):
        handler = without_mlsd(handler)
    delays = config.get("replyDelay", 0), config.get("dataDelay", 0)
    if any(delays):
        handler = delayed(handler, *delays)
    if config.get("readLimit"):
        handler = throttled(handler, config["readLimit"])
    handler.authorizer = authorizer
    # Refused logins are answered at once; the tests try several.
    handler.auth_failed_timeout = 0
    # A thread for each connection: uploads open several at once, and pyftpdlib's single-
    # threaded loop loses active-mode data connections opened at the same moment.
    server = ThreadedFTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
