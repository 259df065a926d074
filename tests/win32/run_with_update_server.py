#!/usr/bin/env python3
"""Runs a command with two canned web servers on 127.0.0.1 for the update check's tests.

QM_TEST_UPDATE_PORT: answers by the Host header: 127.0.0.1 "/" is a frame set that names
localhost /site/, localhost "/site//version.txt" is the version 1.02, anything else is 404.
QM_TEST_STALL_PORT: accepts connections and never answers.
Usage: run_with_update_server.py COMMAND [ARGS...]; exits with the command's exit code.
"""
import http.server
import os
import socket
import subprocess
import sys
import threading

PAGES = {
    ("127.0.0.1", "/"): b'<HTML><FRAMESET ROWS="*"><frame src="http://localhost/site/">'
                        b"</FRAMESET></HTML>",
    ("localhost", "/site//version.txt"): b"1.02\r\n",
}


class CannedHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        host = (self.headers.get("Host") or "").split(":")[0]
        body = PAGES.get((host, self.path))
        self.send_response(200 if body is not None else 404)
        body = body if body is not None else b"<html>not here</html>"
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def stall(listener, held):
    while True:
        connection, _ = listener.accept()
        held.append(connection)  # kept open, never answered


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), CannedHandler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    held = []
    threading.Thread(target=stall, args=(listener, held), daemon=True).start()
    env = dict(os.environ,
               QM_TEST_UPDATE_PORT=str(server.server_address[1]),
               QM_TEST_STALL_PORT=str(listener.getsockname()[1]))
    result = subprocess.run(sys.argv[1:], env=env)
    server.shutdown()
    return result.returncode


if __name__ == "__main__":
    sys.exit(main())
