#!/usr/bin/env python3
"""Decoding speed of memo mails read as MIME against Python's email package.

Both sides decode the same saved messages (by default the memo mails of the
mail tests): the decoded subject and the body a reader sees. The C++ side is
`mime_bench` (subject encoded-words, part search, transfer decoding, charset
to Shift_JIS, flowed text, HTML reduction); the Python side parses each
message with the default policy, takes str(msg["subject"]) and
msg.get_body(preferencelist=("plain", "html")).get_content(). Each side runs
for about a second per round; prints the median time per message of each
over the rounds, and their ratio.

usage: mime_vs_email.py --bench PATH [--rounds N] [FILE...]
"""
import argparse
import email
import email.policy
import glob
import os
import statistics
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_FILES = sorted(glob.glob(os.path.join(HERE, "..", "..", "tests", "mail", "memo-mails", "*.eml")))


def python_round(blobs):
    decoded = 0
    start = time.perf_counter()
    while True:
        for blob in blobs:
            msg = email.message_from_bytes(blob, policy=email.policy.default)
            str(msg["subject"])
            part = msg.get_body(preferencelist=("plain", "html"))
            if part is not None:
                part.get_content()
            decoded += 1
        elapsed = time.perf_counter() - start
        if elapsed >= 1.0:
            return elapsed * 1e9 / decoded


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True, help="path of the mime_bench executable")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("files", nargs="*", default=DEFAULT_FILES)
    args = parser.parse_args()
    blobs = [open(f, "rb").read() for f in args.files]

    ours, theirs = [], []
    for _ in range(args.rounds):
        out = subprocess.run([args.bench, *args.files], check=True, capture_output=True, text=True).stdout
        ours.append(float(out.split()[1]))
        theirs.append(python_round(blobs))
    a, b = statistics.median(ours), statistics.median(theirs)
    print(f"{len(blobs)} messages, {args.rounds} rounds")
    print(f"mime_bench        {a / 1000:9.2f} us per message (median)")
    print(f"python email      {b / 1000:9.2f} us per message (median)")
    print(f"speed-up          {b / a:9.1f}x")


if __name__ == "__main__":
    main()
