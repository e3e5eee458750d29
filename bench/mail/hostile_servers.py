#!/usr/bin/env python3
"""Cost of `corkpane-tool receive` against hostile POP3 servers on loopback.

Each case is a scripted server that answers the login, STAT (one message),
and the header fetch with a memo subject, then misbehaves:
  big      the memo mail is 50 MB of one-byte lines;
  endless  the reply to RETR never ends (lines as fast as the client reads);
  drip     every byte, from the greeting on, comes --drip-seconds apart (59 s:
           just within the 60 s limit on a single read);
  drip5    the reply to RETR never ends and comes at 5 bytes a second, above
           the minimum rate;
  tall     300 messages and PIPELINING; every header reply is 256 KB of
           one-byte lines, and message 1 is a memo mail, so the header
           replies sent ahead pile up while its RETR is awaited;
  long     three messages: a header line of 20 KB before the subject, a memo
           mail with a body line of 20 KB, then a plain memo mail.
For each case and each tool given, prints the wall time, the peak memory
(maximum resident set of the tool process), the exit status and the size of
memo.txt afterwards. A run still going after --cap seconds is stopped and
shown as such.

usage: hostile_servers.py [--tool PATH ...] [--cases big,endless,drip,drip5,tall,long]
                          [--cap SECONDS] [--drip-seconds S]
"""
import argparse
import os
import signal
import socket
import subprocess
import tempfile
import threading
import time

MEMO_SUBJECT = b"=?ISO-2022-JP?B?GyRCJWElYhsoQg==?="
HEADER = b"From: a@example.jp\r\nSubject: " + MEMO_SUBJECT + b"\r\n\r\n"
TALL_HEADER = b"Subject: tall\r\n" + b"x\r\n" * (256 * 1024 // 3)
LONG_LINE = b"x" * 20000
LONG_MAILBOX = [
    b"X-Long: " + LONG_LINE + b"\r\nSubject: " + MEMO_SUBJECT + b"\r\n\r\nlost\r\n",
    HEADER + b"first\r\n" + LONG_LINE + b"\r\n",
    HEADER + b"after the long lines\r\n",
]


def header_of(message):
    return message[:message.index(b"\r\n\r\n") + 4]


def serve(listener, case, drip_seconds):
    conn, _ = listener.accept()
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def count():
        return {"tall": 300, "long": len(LONG_MAILBOX)}.get(case, 1)

    def number(command):
        return int(command.split()[1])

    def send(data):
        if case == "drip":
            for i in range(len(data)):
                time.sleep(drip_seconds)
                conn.sendall(data[i:i + 1])
        else:
            conn.sendall(data)

    try:
        send(b"+OK ready\r\n")
        pending = b""
        while True:
            chunk = conn.recv(4096)
            if not chunk:
                return
            pending += chunk
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                command = line.strip().upper()
                if command == b"CAPA":
                    send(b"+OK\r\nTOP\r\nPIPELINING\r\n.\r\n" if case == "tall" else b"-ERR\r\n")
                elif command == b"STAT":
                    send(b"+OK %d 100\r\n" % count())
                elif command.startswith(b"TOP") and case == "tall":
                    send(b"+OK\r\n" + (HEADER if number(command) == 1 else TALL_HEADER) + b".\r\n")
                elif command.startswith(b"TOP") and case == "long":
                    send(b"+OK\r\n" + header_of(LONG_MAILBOX[number(command) - 1]) + b".\r\n")
                elif command.startswith(b"TOP"):
                    send(b"+OK\r\n" + HEADER + b".\r\n")
                elif command.startswith(b"RETR") and case in ("tall", "long"):
                    body = HEADER + b"memo\r\n" if case == "tall" else LONG_MAILBOX[number(command) - 1]
                    send(b"+OK\r\n" + body + b".\r\n")
                elif command.startswith(b"RETR") and case == "drip5":
                    send(b"+OK\r\n" + HEADER)
                    while True:
                        time.sleep(1)
                        conn.sendall(b"x\r\nx\r\n"[:5])
                elif command.startswith(b"RETR"):
                    send(b"+OK\r\n" + HEADER)
                    block = b"x\r\n" * (1 << 20)
                    if case == "big":
                        for _ in range(50 * 1024 * 1024 // len(block)):
                            conn.sendall(block)
                        conn.sendall(b".\r\n")
                    else:
                        while True:
                            conn.sendall(block)
                elif command == b"QUIT":
                    send(b"+OK\r\n")
                    return
                else:
                    send(b"+OK\r\n")
    except OSError:
        pass
    finally:
        conn.close()


def run(tool, case, cap, drip_seconds):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]
    threading.Thread(target=serve, args=(listener, case, drip_seconds), daemon=True).start()
    with tempfile.TemporaryDirectory(prefix="corkpane-hostile-") as folder:
        scrambled = subprocess.run([tool, "password", "scramble"], input=b"pw", capture_output=True,
                                   check=True).stdout.strip()
        with open(os.path.join(folder, "corkpane.ini"), "wb") as f:
            f.write(b"POP3Host1=127.0.0.1\r\nUser1=u\r\nPOP3Port1=%d\r\nPassWord1=%s\r\n" % (port, scrambled))
            f.write("キーワード１=メモ\r\n".encode("cp932"))
        open(os.path.join(folder, "memo.txt"), "wb").close()
        start = time.perf_counter()
        # LC_ALL=C: the tool's messages stay Shift_JIS, as decoded below.
        proc = subprocess.Popen([tool, "receive"], cwd=folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, env=dict(os.environ, LC_ALL="C"))
        stopped = False
        while True:
            pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                break
            if time.perf_counter() - start > cap:
                proc.send_signal(signal.SIGKILL)
                pid, status, usage = os.wait4(proc.pid, 0)
                stopped = True
                break
            time.sleep(0.05)
        elapsed = time.perf_counter() - start
        error = proc.stderr.read().decode("cp932", "replace").strip().replace("\n", " ")
        memo = os.path.getsize(os.path.join(folder, "memo.txt"))
    listener.close()
    outcome = "stopped at cap" if stopped else f"exit {os.waitstatus_to_exitcode(status)}"
    return elapsed, usage.ru_maxrss / 1024, outcome, memo, error


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", action="append")
    parser.add_argument("--cases", default="big,endless,drip,drip5,tall,long")
    parser.add_argument("--cap", type=float, default=150.0)
    parser.add_argument("--drip-seconds", type=float, default=59.0)
    args = parser.parse_args()
    tools = [os.path.abspath(t) for t in (args.tool or [os.path.join(here, "..", "..", "build", "bin",
                                                                      "corkpane-tool")])]
    for case in args.cases.split(","):
        for tool in tools:
            elapsed, rss, outcome, memo, error = run(tool, case, args.cap, args.drip_seconds)
            print(f"{case:8} {tool}\n         time {elapsed:8.2f} s  peak {rss:8.1f} MB  {outcome}"
                  f"  memo.txt {memo} bytes  {error[:80]}", flush=True)


if __name__ == "__main__":
    main()
