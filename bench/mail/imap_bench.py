#!/usr/bin/env python3
"""IMAP reception against a private Dovecot IMAP server on loopback.

Starts Dovecot (IMAP only) with the mailbox of receive_vs_poplib.py: 2000
messages, 100 of them memo mails. Then, through the same delay proxy (every
chunk held --delay-ms in each direction, 15 ms: a 30 ms round trip), runs
`imap_bench pass`: a first pass with an empty memory and memo (every subject
and the 100 memo bodies) and a pass with nothing new, --runs times; the
proxy counts the client's writes on each connection (each write the client
makes waits for the server's answer, except the final LOGOUT: the round
trips). The peer, in turn with it: Python's imaplib sending the same
commands (LOGIN, EXAMINE, UID FETCH of the subjects and of the memo bodies,
LOGOUT without waiting for its answer; with nothing new, as the client does,
no fetch once UIDNEXT says so). Finally, without the proxy, `imap_bench
push`: the latency from a mail moved into the maildir to the end of the
IDLE wait, --push times, against a bare socket that sends IDLE and waits
for the EXISTS line; and the CPU of an idle wait.

With --hostile, instead: scripted servers that answer a pass with under
1 MB each of what no real server sends; the pass's time, its peak memory
(/usr/bin/time) and how it ended.

usage: imap_bench.py [--bench PATH] [--runs N] [--delay-ms D] [--push N] [--hostile]
"""
import argparse
import imaplib
import re
import os
import pwd
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from receive_vs_poplib import MEMO_WORD, DelayProxy, free_port, message  # noqa: E402


def imaplib_pass(port, memory):
    """The client's commands through imaplib; returns the UIDVALIDITY and
    highest UID, as the client's memory."""
    m = imaplib.IMAP4("127.0.0.1", port)
    m.login("memo", "secret")
    m.select("INBOX", readonly=True)
    validity = int(m.response("UIDVALIDITY")[1][0])
    uidnext = int(m.response("UIDNEXT")[1][0])
    start = memory[1] + 1 if memory and memory[0] == validity else 1
    highest = start - 1
    if start < uidnext:
        typ, data = m.uid("FETCH", f"{start}:*", "(UID BODY.PEEK[HEADER.FIELDS (SUBJECT)])")
        memos = []
        for item in data:
            if isinstance(item, tuple):
                uid = int(re.search(rb"UID (\d+)", item[0]).group(1))
                highest = max(highest, uid)
                if MEMO_WORD.encode() in item[1]:
                    memos.append(str(uid))
        if memos:
            m.uid("FETCH", ",".join(memos), "(BODY.PEEK[])")
    m.send(b"Z LOGOUT\r\n")
    m.shutdown()
    return validity, highest


def deliver(maildir, name, text):
    owner = os.stat(maildir)
    written = os.path.join(maildir, "tmp", name)
    with open(written, "wb") as f:
        f.write(text)
    os.chown(written, owner.st_uid, owner.st_gid)
    delivered = time.monotonic()
    os.rename(written, os.path.join(maildir, "new", name))
    return delivered


def raw_idle_latencies(port, maildir, count):
    """IDLE on a bare socket: from the mail's move into new/ to its EXISTS."""
    s = socket.create_connection(("127.0.0.1", port))
    f = s.makefile("rb")

    def until(prefix):
        while True:
            line = f.readline()
            if not line:
                sys.exit("the server closed the connection")
            if line.startswith(prefix) or prefix in line:
                return line
    until(b"* OK")
    s.sendall(b"a LOGIN memo secret\r\n")
    until(b"a OK")
    s.sendall(b"b EXAMINE INBOX\r\n")
    until(b"b OK")
    latencies = []
    for i in range(count):
        s.sendall(b"c IDLE\r\n")
        until(b"+")
        time.sleep(0.2)
        delivered = deliver(maildir, f"peer{i}.bench", b"Subject: x\r\n\r\npeer\r\n")
        until(b"EXISTS")
        latencies.append((time.monotonic() - delivered) * 1000)
        s.sendall(b"DONE\r\n")
        until(b"c OK")
    s.close()
    return sorted(latencies)


class CountingProxy(DelayProxy):
    """The delay proxy, counting the client's writes per connection."""

    def __init__(self, target_port, delay):
        self.writes = []
        self._calls = 0
        super().__init__(target_port, delay)

    def _pipe(self, src, dst):
        self._calls += 1
        if self._calls % 2 == 1:  # _accept pipes client to server first
            self.writes.append(0)
            index = len(self.writes) - 1
            proxy = self

            class Counted:
                def recv(self, n, sock=src):
                    data = sock.recv(n)
                    if data:
                        proxy.writes[index] += 1
                    return data
            src = Counted()
        super()._pipe(src, dst)


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
protocols = imap
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
service imap-login {{
  inet_listener imap {{
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
            with socket.create_connection(("127.0.0.1", port)) as s:
                if s.recv(4) == b"* OK":
                    return proc, mail
        except OSError:
            pass
        time.sleep(0.01)
    proc.kill()
    sys.exit("dovecot did not start")


def run(args):
    """Runs the bench program; its messages are Shift_JIS."""
    done = subprocess.run(args, capture_output=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(args)} failed: " + done.stderr.decode("cp932", "replace"))
    return done.stdout.decode("cp932", "replace")


OPENED = ("* OK [CAPABILITY IMAP4rev1 IDLE] ready\r\nA1 OK [CAPABILITY IMAP4rev1 IDLE] in\r\n"
          "* 20000 EXISTS\r\n* OK [UIDVALIDITY 7] v\r\n* OK [UIDNEXT 20001] n\r\nA2 OK [READ-ONLY] done\r\n")


def literal(text):
    return "{%d}\r\n%s" % (len(text), text)


def subject_fetch(uid, subject):
    return f"* {uid} FETCH (UID {uid} BODY[HEADER.FIELDS (SUBJECT)] " + literal(f"Subject: {subject}\r\n\r\n") + ")\r\n"


def hostile_cases():
    memo = subject_fetch(1, MEMO_WORD) + "A3 OK\r\n"
    body = "Subject: x\r\n\r\n" + "x\r\n" * 330000
    return {
        "memo mail of 1 MB of one-byte lines": memo + "* 1 FETCH (UID 1 BODY[] " + literal(body) + ")\r\nA4 OK\r\n",
        "1 MB of untagged responses": "* OK still here\r\n" * 60000 + "A3 OK\r\n",
        "12,000 new messages' subjects": "".join(subject_fetch(u, f"note {u}") for u in range(1, 12001)) + "A3 OK\r\n",
        "a FETCH of 16 KB of nested lists": "* 1 FETCH (UID 1 X " + "(" * 16000 + "\r\nA3 OK\r\n",
        "64 literals of 15 KB in one response": "* 1 FETCH (UID 1 " + " ".join(
            "X " + literal("y" * 15000) for _ in range(64)) + ")\r\nA3 OK\r\n",
        "a literal of 4 GB announced": "* 1 FETCH (UID 1 BODY[] {4294967295}\r\n" + "z" * 1000000,
    }


def scripted_server(script):
    """Sends the whole script to the first client, then reads until it goes."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)

    def serve():
        conn, _ = listener.accept()
        try:
            conn.sendall(script)
            while conn.recv(65536):
                pass
        except OSError:
            pass
        conn.close()
        listener.close()
    threading.Thread(target=serve, daemon=True).start()
    return listener.getsockname()[1]


def hostile(bench):
    for name, payload in hostile_cases().items():
        script = (OPENED + payload).encode("latin-1")
        port = scripted_server(script)
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-f", "%M", bench, "pass", str(port), "u", "p", "0"],
                              capture_output=True)
        elapsed = time.perf_counter() - start
        lines = done.stderr.decode("cp932", "replace").strip().splitlines()
        peak = int(lines[-1]) / 1024
        outcome = lines[0] if done.returncode != 0 and len(lines) > 1 else done.stdout.decode().strip()
        print(f"{name} ({len(script) / 1e6:.2f} MB): {elapsed:.2f} s, {peak:.1f} MB, {outcome}")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", default=os.path.join(here, "..", "..", "build", "bin", "imap_bench"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--messages", type=int, default=2000)
    parser.add_argument("--memos", type=int, default=100)
    parser.add_argument("--delay-ms", type=float, default=15.0, help="delay added in each direction")
    parser.add_argument("--push", type=int, default=20, help="mails pushed during IDLE")
    parser.add_argument("--hostile", action="store_true", help="scripted hostile servers instead")
    args = parser.parse_args()
    bench = os.path.abspath(args.bench)
    if args.hostile:
        hostile(bench)
        return

    step = args.messages // args.memos
    messages = [message(n, n % step == 0) for n in range(1, args.messages + 1)]
    root = tempfile.mkdtemp(prefix="corkpane-imap-bench-")
    port = free_port()
    proc, maildir = start_dovecot(root, port, messages)
    proxy = None
    try:
        # Dovecot builds its index on first access.
        run([bench, "pass", str(port), "memo", "secret", "1"])
        proxy = CountingProxy(port, args.delay_ms / 1000.0)
        first, again, peer_first, peer_again = [], [], [], []
        for _ in range(args.runs):
            line = run([bench, "pass", str(proxy.port), "memo", "secret", "1"])
            words = line.split()
            first.append(float(words[1]))
            again.append(float(words[-2]))
            if f"lines {3 * args.memos})" not in line:
                sys.exit("the first pass did not add every memo body: " + line)
            start = time.perf_counter()
            memory = imaplib_pass(proxy.port, None)
            peer_first.append((time.perf_counter() - start) * 1000)
            start = time.perf_counter()
            imaplib_pass(proxy.port, memory)
            peer_again.append((time.perf_counter() - start) * 1000)
        print(f"messages {args.messages}, memo mails {args.memos}, runs {args.runs},"
              f" added delay {args.delay_ms:g} ms each way")
        print(f"first pass        median {statistics.median(first):7.1f} ms (min {min(first):.1f}),"
              f" client writes {proxy.writes[0]}")
        print(f"nothing new       median {statistics.median(again):7.1f} ms (min {min(again):.1f}),"
              f" client writes {proxy.writes[1]}")
        print(f"imaplib first     median {statistics.median(peer_first):7.1f} ms (min {min(peer_first):.1f}),"
              f" client writes {proxy.writes[2]}")
        print(f"imaplib nothing   median {statistics.median(peer_again):7.1f} ms (min {min(peer_again):.1f}),"
              f" client writes {proxy.writes[3]}")
        proxy.close()
        proxy = None
        out = run([bench, "push", str(port), "memo", "secret", maildir, str(args.push)])
        print(out, end="")
        peer = raw_idle_latencies(port, maildir, args.push)
        print(f"push, bare socket: median {peer[len(peer) // 2]:.1f} ms, min {peer[0]:.1f}, max {peer[-1]:.1f}")
    finally:
        if proxy:
            proxy.close()
        proc.send_signal(signal.SIGTERM)
        proc.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
