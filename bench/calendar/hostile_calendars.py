#!/usr/bin/env python3
"""Hostile calendars of about a megabyte each, read by the calendar module
(`calendar_bench read`) and, for comparison, parsed by libical alone
(`calendar_bench libical`), each in a process of its own under GNU time:
processor seconds, the largest resident set, and what the reading found.
libical alone is stopped after 60 s.

usage: hostile_calendars.py --bench PATH
"""
import argparse
import os
import subprocess
import tempfile

CAL = "BEGIN:VCALENDAR\r\n{}END:VCALENDAR\r\n"


def event(lines):
    return "BEGIN:VEVENT\r\n" + "".join(line + "\r\n" for line in lines) + "END:VEVENT\r\n"


INPUTS = {
    "200,000 parameters on one line": CAL.format("BEGIN:VEVENT\r\nSUMMARY" + ";A=b" * 200_000 + ":x\r\nEND:VEVENT\r\n"),
    "50,000 unreadable values in one event": CAL.format(event(["DTSTART:2026"] * 50_000)),
    "30,000 time zones": CAL.format("BEGIN:VTIMEZONE\r\nTZID:X\r\nEND:VTIMEZONE\r\n" * 30_000),
    "250,000 junk lines": CAL.format(":\r\n;\r\n\"\r\nX:\r\n" * 62_500),
    "40,000 nested BEGIN lines": CAL.format("BEGIN:VEVENT\r\n" * 40_000 + "END:VEVENT\r\n" * 40_000),
    "12,000 rules naming no day (week 53 in January)": CAL.format(
        event(["DTSTART:19000101T000000", "RRULE:FREQ=YEARLY;BYWEEKNO=53;BYDAY=MO;BYMONTH=1"]) * 12_000),
    "16,000 rules every minute since 1900": CAL.format(
        event(["DTSTART:19000101T000000", "RRULE:FREQ=MINUTELY", "SUMMARY:m"]) * 16_000),
    "20,000 events in a zone changing every second": CAL.format(
        "BEGIN:VTIMEZONE\r\nTZID:Z\r\nBEGIN:STANDARD\r\nDTSTART:19000101T000000\r\nRRULE:FREQ=SECONDLY\r\n"
        "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0000\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
        + event(["DTSTART;TZID=Z:20260302T100000", "SUMMARY:z"]) * 20_000),
    "60,000 EXDATE values on one line": CAL.format(
        event(["DTSTART:20200101T000000Z", "RRULE:FREQ=DAILY",
               "EXDATE:" + ",".join(["20260302T000000Z"] * 60_000)])),
    "8,000 ordinary events": CAL.format("".join(
        event([f"UID:{i}", f"DTSTART;TZID=Asia/Tokyo:2026{i % 12 + 1:02d}{i % 28 + 1:02d}T100000",
               "DTEND;TZID=Asia/Tokyo:20260101T110000", f"SUMMARY:会議 {i}"]) for i in range(8000))),
}


def run(command):
    try:
        done = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", *command], capture_output=True, text=True,
                              timeout=60)
    except subprocess.TimeoutExpired:
        return "over 60 s", ""
    user, system, rss = done.stderr.split()[-3:]
    found = " ".join(f"{k}={v}" for k, v in zip(done.stdout.split()[2::2], done.stdout.split()[3::2]))
    return f"{float(user) + float(system):.2f} s, {int(rss) / 1024:.0f} MB", found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="corkpane-hostile-calendars-") as folder:
        for name, text in INPUTS.items():
            path = os.path.join(folder, "input.ics")
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(text)
            ours, found = run([args.bench, "read", path])
            alone, _ = run([args.bench, "libical", path])
            print(f"| {name} | {os.path.getsize(path) / 1e6:.2f} MB | {alone} | {ours} | {found} |")


if __name__ == "__main__":
    main()
