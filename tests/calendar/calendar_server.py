#!/usr/bin/env python3
"""An HTTPS server on loopback for the calendar fetch tests and benchmark.

    calendar_server.py CERT KEY

Listens on 127.0.0.1 on a free port, prints the port on a line of its own
and serves until standard input closes. Paths:

  /etag.ics         a calendar with ETag "v1"; 304 when If-None-Match is "v1"
  /modified.ics     a calendar with Last-Modified; 304 when If-Modified-Since
                    repeats it
  /redirect.ics     302 to /etag.ics
  /loop.ics         302 to itself, for ever
  /to-plain-http    302 to http://calendar.example.invalid/x.ics
  /gzip.ics         the calendar gzip-encoded (when the client accepts it)
  /huge.ics         a calendar that never ends (streamed until the client stops)
  /signin           200 text/html: a sign-in page
  /error            500
"""
import gzip
import http.server
import ssl
import sys
import threading

CALENDAR = (
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Corkpane tests//EN\r\n"
    "BEGIN:VEVENT\r\nUID:served@example.com\r\nDTSTART:20260302T010000Z\r\n"
    "SUMMARY:\u914d\u4fe1\u3055\u308c\u305f\u4e88\u5b9a\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
).encode()
LAST_MODIFIED = "Mon, 02 Mar 2026 00:00:00 GMT"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in [*headers, ("Content-Length", str(len(body)))]:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path, calendar = self.path, ("Content-Type", "text/calendar; charset=utf-8")
        redirects = {"/redirect.ics": "/etag.ics", "/loop.ics": "/loop.ics",
                     "/to-plain-http": "http://calendar.example.invalid/x.ics"}
        if path == "/etag.ics":
            fresh = self.headers.get("If-None-Match") == '"v1"'
            return self.reply(304 if fresh else 200, b"" if fresh else CALENDAR, [calendar, ("ETag", '"v1"')])
        if path == "/modified.ics":
            fresh = self.headers.get("If-Modified-Since") == LAST_MODIFIED
            return self.reply(304 if fresh else 200, b"" if fresh else CALENDAR,
                              [calendar, ("Last-Modified", LAST_MODIFIED)])
        if path in redirects:
            return self.reply(302, headers=[("Location", redirects[path])])
        if path == "/gzip.ics":
            if "gzip" not in self.headers.get("Accept-Encoding", ""):
                return self.reply(406)
            return self.reply(200, gzip.compress(CALENDAR),
                              [("Content-Type", "text/calendar"), ("Content-Encoding", "gzip")])
        if path == "/huge.ics":
            self.send_response(200)
            self.send_header("Content-Type", "text/calendar")
            self.send_header("Connection", "close")
            self.end_headers()
            self.close_connection = True
            try:
                self.wfile.write(b"BEGIN:VCALENDAR\r\n")
                line = b"X-FILLER:" + b"x" * 1000 + b"\r\n"
                while True:
                    self.wfile.write(line * 64)
            except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
                return
        if path == "/signin":
            return self.reply(200, b"<!DOCTYPE html><html><body><form>Sign in</form></body></html>",
                              [("Content-Type", "text/html; charset=utf-8")])
        if path == "/error":
            return self.reply(500, b"Internal error", [("Content-Type", "text/plain")])
        self.reply(404)


def main():
    cert, key = sys.argv[1], sys.argv[2]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(server.server_address[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
