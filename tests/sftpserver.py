"""A throw-away SFTP server with password logins for the upload tests.

Reads its set-up as one JSON line on standard input, so the password never shows on a
command line: {"home": dir served as "/", "user": name, "password": text, "hostKey":
private key file, "log": file for what happened, passwords left out}. Listens on 127.0.0.1
at a free port, prints the port on standard output once it accepts connections, and serves
until it is killed.
"""

import asyncio
import json
import logging
import sys

import asyncssh


def main():
    config = json.loads(sys.stdin.readline())
    logging.basicConfig(filename=config.get("log", "/dev/null"), level=logging.INFO)

    class Server(asyncssh.SSHServer):
        def begin_auth(self, username):
            return True

        def password_auth_supported(self):
            return True

        def validate_password(self, username, password):
            accepted = username == config["user"] and password == config["password"]
            logging.info("login %s %s", username, "accepted" if accepted else "refused")
            return accepted

    class Files(asyncssh.SFTPServer):
        def __init__(self, channel):
            super().__init__(channel, chroot=config["home"].encode())

    async def serve():
        listener = await asyncssh.listen(
            "127.0.0.1", 0, server_host_keys=[config["hostKey"]], server_factory=Server,
            sftp_factory=Files, allow_scp=False)
        print(listener.sockets[0].getsockname()[1], flush=True)
        await asyncio.Event().wait()

    asyncio.run(serve())


if __name__ == "__main__":
    main()
