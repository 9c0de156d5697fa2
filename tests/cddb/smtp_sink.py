"""A mail server for tests: accepts every message on 127.0.0.1 and keeps it.

Usage: smtp_sink.py PORT_FILE OUT_DIR

Listens on a free port and writes its number to PORT_FILE once it is
listening. Each message becomes OUT_DIR/message-N: "MAIL FROM:" with the
envelope sender, one "RCPT TO:" line per recipient, "DATA", then the data
bytes exactly as the server keeps them (dot lines already un-doubled). Files
appear whole (written aside, then renamed). Runs until killed.
"""

import asyncio
import os
import sys

from aiosmtpd.smtp import SMTP


class Sink:
    def __init__(self, out_dir):
        self.out_dir = out_dir
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        name = os.path.join(self.out_dir, "message-%d" % self.count)
        head = "MAIL FROM: %s\n" % envelope.mail_from
        head += "".join("RCPT TO: %s\n" % rcpt for rcpt in envelope.rcpt_tos)
        head += "DATA\n"
        with open(name + ".part", "wb") as out:
            out.write(head.encode("latin-1"))
            out.write(envelope.original_content)
        os.rename(name + ".part", name)
        return "250 Message accepted"


def write_whole(path, text):
    with open(path + ".part", "w") as out:
        out.write(text)
    os.rename(path + ".part", path)


async def main(port_file, out_dir):
    loop = asyncio.get_running_loop()
    sink = Sink(out_dir)
    server = await loop.create_server(
        lambda: SMTP(sink, hostname="sink.test"), "127.0.0.1", 0
    )
    write_whole(port_file, str(server.sockets[0].getsockname()[1]))
    await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main(sys.argv[1], sys.argv[2]))
