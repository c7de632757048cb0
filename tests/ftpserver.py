"""A throw-away FTP server for the upload tests.

Reads its set-up as one JSON line on standard input, so the password never shows on a
command line: {"home": dir, "user": name or null for anonymous, "password": text,
"readOnly": [directories under home], "log": file for the commands received, passwords
masked}. Listens on 127.0.0.1 at a free port, prints the port on standard output once it
accepts connections, and serves until it is killed.
"""

import json
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

WRITABLE = "elradfmwMT"
READ_ONLY = "elr"


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
    handler = FTPHandler
    handler.authorizer = authorizer
    # Refused logins are answered at once; the tests try several.
    handler.auth_failed_timeout = 0
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
