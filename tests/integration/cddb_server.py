#!/usr/bin/env python3
"""A CDDBP server on 127.0.0.1 that knows every disc it is asked for.

Usage: cddb_server.py PORT_FILE. The port it listens on is written to
PORT_FILE once it accepts connections. Each found disc is "Local Server /
Found Disc" in category rock, its tracks "Found Track N"; the accent in the
last title is sent in Latin-1, as older servers send it.
"""
import os
import socketserver
import sys


class Cddbp(socketserver.StreamRequestHandler):
    def say(self, text):
        self.wfile.write(text.encode("latin-1"))

    def handle(self):
        self.say("201 test server ready\r\n")
        self.rfile.readline()  # the hello
        self.say("200 hello and welcome\r\n")
        for raw in self.rfile:
            words = raw.decode("latin-1").split()
            if words[:2] == ["cddb", "query"]:
                disc_id, tracks = words[2], int(words[3])
                self.tracks = tracks
                self.say(f"200 rock {disc_id} Local Server / Found Disc\r\n")
            elif words[:2] == ["cddb", "read"]:
                disc_id = words[3]
                lines = ["210 rock %s entry follows" % disc_id, "# xmcd", "#",
                         "# Revision: 1", "#", "DISCID=" + disc_id,
                         "DTITLE=Local Server / Found Disc"]
                for n in range(self.tracks):
                    lines.append("TTITLE%d=Found Track %d" % (n, n + 1))
                lines[-1] += " Caf\u00e9"
                lines += ["EXTD=", "PLAYORDER=", "."]
                self.say("\r\n".join(lines) + "\r\n")
            else:
                self.say("500 unknown command\r\n")


def main():
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Cddbp)
    server.daemon_threads = True
    with open(sys.argv[1] + ".tmp", "w") as port_file:
        port_file.write(str(server.server_address[1]))
    os.rename(sys.argv[1] + ".tmp", sys.argv[1])
    server.serve_forever()


if __name__ == "__main__":
    main()
