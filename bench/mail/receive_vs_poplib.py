#!/usr/bin/env python3
"""Whole-run speed of `corkpane-tool receive` against Python's poplib.

Starts a private Dovecot POP3 server on a free loopback port with a mailbox
of 2000 messages, 100 of them memo mails, then times in turn, several times:
  - `corkpane-tool receive` in a folder holding corkpane.ini and an empty
    memo.txt (every run adds the 100 bodies, so the memo check grows);
  - poplib issuing the same USER/PASS/STAT, TOP n 0 for every message,
    RETR for the memo mails and QUIT, and nothing else: the floor this
    protocol allows over this connection.
Prints the median of each and their ratio.

With --delay-ms D both talk to the server through a small proxy on loopback
that holds every chunk D ms in each direction (a round trip of 2D ms, like
a home connection to a mail provider) without limiting throughput.

With --remember the tool is timed twice per round instead of against
poplib: without and with "受信済みのメールを記憶する" (its memory file removed
before each run, so both runs fetch and add every memo mail; the second
also asks UIDL and writes the memory).

usage: receive_vs_poplib.py [--tool PATH] [--runs N] [--messages N] [--memos N] [--delay-ms D]
                            [--remember]
"""
import argparse
import base64
import os
import poplib
import pwd
import queue
import resource
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

MEMO_WORD = "=?ISO-2022-JP?B?" + base64.b64encode("メモ".encode("iso2022_jp")).decode() + "?="


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def message(i, memo):
    if memo:
        subject = MEMO_WORD
        body = f"牛乳を買う {i}\n会議室Ａで打ち合わせ {i}\n資料を持参 {i}\n"
    else:
        words = f"会議のお知らせ {i}".encode("iso2022_jp")
        subject = "=?ISO-2022-JP?B?" + base64.b64encode(words).decode() + "?="
        body = "".join(f"本文の {n} 行目です。予定を確認してください。\n" for n in range(1, 25))
    head = (f"Return-Path: <sender{i}@example.jp>\n"
            f"Received: from mail.example.jp (mail.example.jp [192.0.2.1])\n\tby pop.example.jp; Mon, 7 Dec 2026 09:00:00 +0900\n"
            f"From: sender{i}@example.jp\nTo: memo@example.jp\nSubject: {subject}\n"
            f"Date: Mon, 7 Dec 2026 09:00:00 +0900\nMessage-ID: <{i}@example.jp>\nMIME-Version: 1.0\n"
            "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: 7bit\n\n")
    return head.encode() + body.encode("iso2022_jp")


def start_dovecot(root, port, messages):
    mail = os.path.join(root, "mail", "memo")
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(mail, sub))
    for i, data in enumerate(messages, 1):
        with open(os.path.join(mail, "cur", f"{i}.bench:2,"), "wb") as f:
            f.write(data)
    with open(os.path.join(root, "passwd"), "w") as f:
        f.write("memo:{PLAIN}secret::::::\n")
    if os.geteuid() == 0:
        login, internal = "dovenull", "dovecot"
        nobody = pwd.getpwnam("nobody")
        uid, gid = nobody.pw_uid, nobody.pw_gid
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, "mail")):
            for name in [dirpath] + [os.path.join(dirpath, n) for n in filenames]:
                os.chown(name, uid, gid)
        chroot = ""
    else:
        login = internal = pwd.getpwuid(os.geteuid()).pw_name
        uid, gid = os.geteuid(), os.getegid()
        chroot = "  chroot =\n"
    os.chmod(root, 0o755)
    conf = os.path.join(root, "dovecot.conf")
    with open(conf, "w") as f:
        f.write(f"""base_dir = {root}/run
state_dir = {root}/state
log_path = {root}/dovecot.log
protocols = pop3
listen = 127.0.0.1
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
default_login_user = {login}
default_internal_user = {internal}
mail_location = maildir:{root}/mail/%u
passdb {{
  driver = passwd-file
  args = scheme=PLAIN username_format=%u {root}/passwd
}}
userdb {{
  driver = static
  args = uid={uid} gid={gid} home={root}/mail/%u
}}
service pop3-login {{
  inet_listener pop3 {{
    address = 127.0.0.1
    port = {port}
  }}
{chroot}}}
service anvil {{
  chroot =
}}
""")
    proc = subprocess.Popen(["dovecot", "-F", "-c", conf], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while time.time() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port)).close()
            return proc
        except OSError:
            time.sleep(0.01)
    proc.kill()
    sys.exit("dovecot did not start")


class DelayProxy:
    """Forwards loopback connections to target_port, delaying each chunk by
    delay seconds in each direction. A reader and a writer thread per
    direction: the delay is latency only, chunks queue up behind it."""

    def __init__(self, target_port, delay):
        self.target_port = target_port
        self.delay = delay
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(16)
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            server = socket.create_connection(("127.0.0.1", self.target_port))
            for s in (client, server):
                s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            self._pipe(client, server)
            self._pipe(server, client)

    def _pipe(self, src, dst):
        chunks = queue.Queue()

        def read():
            while True:
                try:
                    data = src.recv(65536)
                except OSError:
                    data = b""
                chunks.put((time.monotonic() + self.delay, data))
                if not data:
                    return

        def write():
            while True:
                due, data = chunks.get()
                wait = due - time.monotonic()
                if wait > 0:
                    time.sleep(wait)
                try:
                    if not data:
                        dst.shutdown(socket.SHUT_WR)
                        return
                    dst.sendall(data)
                except OSError:
                    return

        threading.Thread(target=read, daemon=True).start()
        threading.Thread(target=write, daemon=True).start()

    def close(self):
        self.listener.close()


def poplib_run(port, memo_numbers):
    client = poplib.POP3("127.0.0.1", port)
    client.user("memo")
    client.pass_("secret")
    count = client.stat()[0]
    for n in range(1, count + 1):
        client.top(n, 0)
        if n in memo_numbers:
            client.retr(n)
    client.quit()


def tool_run(tool, folder, port, remember=False):
    for name in os.listdir(folder):
        if name.startswith("received-"):
            os.remove(os.path.join(folder, name))
    with open(os.path.join(folder, "corkpane.ini"), "wb") as f:
        f.write(b"POP3Host1=127.0.0.1\r\nUser1=memo\r\nPOP3Port1=%d\r\n" % port)
        if remember:
            f.write(b"POP3Remember1=1\r\n")
        scrambled = subprocess.run([tool, "password", "scramble"], input=b"secret", capture_output=True,
                                   check=True).stdout.strip()
        f.write(b"PassWord1=" + scrambled + b"\r\n")
        f.write("キーワード１=メモ\r\nキーワード２=めも\r\n".encode("cp932"))
    with open(os.path.join(folder, "memo.txt"), "wb"):
        pass
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([tool, "receive"], cwd=folder, stdout=subprocess.DEVNULL, check=True)
    elapsed = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    with open(os.path.join(folder, "memo.txt"), "rb") as f:
        memo = f.read()
    return elapsed, cpu, memo


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", default=os.path.join(here, "..", "..", "build", "bin", "corkpane-tool"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--messages", type=int, default=2000)
    parser.add_argument("--memos", type=int, default=100)
    parser.add_argument("--delay-ms", type=float, default=0.0,
                        help="delay added in each direction by a loopback proxy (0: direct)")
    parser.add_argument("--skip-peer", action="store_true", help="time the tool only (quick checks)")
    parser.add_argument("--remember", action="store_true",
                        help="time the tool without and with its memory of received mail")
    args = parser.parse_args()
    args.tool = os.path.abspath(args.tool)

    step = args.messages // args.memos
    memo_numbers = {n for n in range(1, args.messages + 1) if n % step == 0}
    messages = [message(n, n in memo_numbers) for n in range(1, args.messages + 1)]
    root = tempfile.mkdtemp(prefix="corkpane-bench-")
    port = free_port()
    proc = start_dovecot(root, port, messages)
    proxy = None
    try:
        poplib_run(port, memo_numbers)  # Dovecot builds its index on first access
        if args.delay_ms > 0:
            proxy = DelayProxy(port, args.delay_ms / 1000.0)
            port = proxy.port
        folder = os.path.join(root, "work")
        os.makedirs(folder)
        tool_times, tool_cpu, pop_times, pop_cpu = [], [], [], []
        if args.remember:
            with_times, with_cpu = [], []
            for _ in range(args.runs):
                for remember, times, cpus in ((False, tool_times, tool_cpu), (True, with_times, with_cpu)):
                    elapsed, cpu, memo = tool_run(args.tool, folder, port, remember)
                    if memo.count(b"\r\n") != 3 * len(memo_numbers):
                        sys.exit("the receive run did not add every memo body")
                    times.append(elapsed)
                    cpus.append(cpu)
                if not any(name.startswith("received-") for name in os.listdir(folder)):
                    sys.exit("the run with memory wrote no memory file")
            off, on = statistics.median(tool_times), statistics.median(with_times)
            print(f"messages {args.messages}, memo mails {len(memo_numbers)}, runs {args.runs},"
                  f" added delay {args.delay_ms:g} ms each way")
            print(f"memory off  median {off * 1000:8.1f} ms  (min {min(tool_times) * 1000:.1f}),"
                  f" CPU {statistics.median(tool_cpu) * 1000:.1f} ms")
            print(f"memory on   median {on * 1000:8.1f} ms  (min {min(with_times) * 1000:.1f}),"
                  f" CPU {statistics.median(with_cpu) * 1000:.1f} ms")
            print(f"ratio on / off {on / off:.3f}")
            return
        for _ in range(args.runs):
            elapsed, cpu, memo = tool_run(args.tool, folder, port)
            tool_times.append(elapsed)
            tool_cpu.append(cpu)
            if memo.count(b"\r\n") != 3 * len(memo_numbers):
                sys.exit("the receive run did not add every memo body")
            if args.skip_peer:
                continue
            start, cpu_start = time.perf_counter(), time.process_time()
            poplib_run(port, memo_numbers)
            pop_times.append(time.perf_counter() - start)
            pop_cpu.append(time.process_time() - cpu_start)
        tool_median = statistics.median(tool_times)
        if args.skip_peer:
            print(f"corkpane-tool receive  median {tool_median * 1000:8.1f} ms  (min {min(tool_times) * 1000:.1f})")
            return
        pop_median = statistics.median(pop_times)
        print(f"messages {args.messages}, memo mails {len(memo_numbers)}, runs {args.runs},"
              f" added delay {args.delay_ms:g} ms each way")
        print(f"corkpane-tool receive  median {tool_median * 1000:8.1f} ms  (min {min(tool_times) * 1000:.1f}),"
              f" CPU {statistics.median(tool_cpu) * 1000:.1f} ms")
        print(f"poplib                 median {pop_median * 1000:8.1f} ms  (min {min(pop_times) * 1000:.1f}),"
              f" CPU {statistics.median(pop_cpu) * 1000:.1f} ms")
        print(f"ratio                  {tool_median / pop_median:.2f}")
    finally:
        if proxy:
            proxy.close()
        proc.send_signal(signal.SIGTERM)
        proc.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
