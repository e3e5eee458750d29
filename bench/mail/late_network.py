#!/usr/bin/env python3
"""The logon run when the network comes up late.

Runs `corkpane /su` (offscreen, in a scratch folder and home, reception on)
against a scripted POP3 server on loopback that starts listening --late
seconds after the program starts, as Wi-Fi does after a laptop's logon.
Prints the wall time until the program ended (or was stopped at --cap),
whether it ended by itself, and whether the memo mail reached memo.txt.

usage: late_network.py [--program build/bin/corkpane ...] [--late 5] [--cap 40]
"""
import argparse
import os
import socket
import subprocess
import tempfile
import threading
import time

MEMO = b"Subject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\nbuy milk\r\n"


def serve(port, late, ready):
    time.sleep(late)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(4)
    ready.set()
    conn, _ = listener.accept()
    file = conn.makefile("rb")
    conn.sendall(b"+OK ready\r\n")
    for line in file:
        command = line.strip().upper()
        if command == b"CAPA":
            conn.sendall(b"+OK\r\nTOP\r\nUIDL\r\n.\r\n")
        elif command == b"STAT":
            conn.sendall(b"+OK 1 40\r\n")
        elif command == b"UIDL":
            conn.sendall(b"+OK\r\n1 memo-1\r\n.\r\n")
        elif command.startswith(b"TOP"):
            conn.sendall(b"+OK\r\n" + MEMO.split(b"\r\n\r\n")[0] + b"\r\n\r\n.\r\n")
        elif command.startswith(b"RETR"):
            conn.sendall(b"+OK\r\n" + MEMO + b".\r\n")
        elif command == b"QUIT":
            conn.sendall(b"+OK\r\n")
            break
        else:
            conn.sendall(b"+OK\r\n")
    conn.close()
    listener.close()


def run(program, late, cap):
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    with tempfile.TemporaryDirectory(prefix="corkpane-late-") as folder:
        tool = os.path.join(os.path.dirname(program), "corkpane-tool")
        scrambled = subprocess.run([tool, "password", "scramble"], input=b"pw", capture_output=True,
                                   check=True).stdout.strip()
        with open(os.path.join(folder, "corkpane.ini"), "wb") as f:
            f.write(b"POP3Host1=127.0.0.1\r\nUser1=u\r\nPOP3Port1=%d\r\nPassWord1=%s\r\n" % (port, scrambled))
            f.write("キーワード１=メモ\r\nスタートアップ受信=0\r\n".encode("cp932"))
        open(os.path.join(folder, "memo.txt"), "wb").close()
        os.makedirs(os.path.join(folder, "home"))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=os.path.join(folder, "home"))
        env.pop("DISPLAY", None)
        ready = threading.Event()
        threading.Thread(target=serve, args=(port, late, ready), daemon=True).start()
        start = time.perf_counter()
        proc = subprocess.Popen([program, "/su"], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        try:
            proc.wait(timeout=cap)
            outcome = f"ended by itself, exit {proc.returncode}"
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            outcome = f"still open at {cap:g} s (stopped)"
        elapsed = time.perf_counter() - start
        with open(os.path.join(folder, "memo.txt"), "rb") as f:
            received = b"buy milk" in f.read()
    return elapsed, outcome, received


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", action="append")
    parser.add_argument("--late", type=float, default=5.0)
    parser.add_argument("--cap", type=float, default=40.0)
    args = parser.parse_args()
    programs = [os.path.abspath(p) for p in (args.program or [os.path.join(here, "..", "..", "build", "bin",
                                                                           "corkpane")])]
    for program in programs:
        elapsed, outcome, received = run(program, args.late, args.cap)
        print(f"{program}\n  network {args.late:g} s late: {elapsed:.2f} s, {outcome},"
              f" memo mail {'in memo.txt' if received else 'not received'}", flush=True)


if __name__ == "__main__":
    main()
