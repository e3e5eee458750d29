#!/usr/bin/env python3
"""The calendar reader against Python's icalendar with dateutil, and a
conditional re-fetch answered 304.

1. A generated calendar shaped like a Google export (5,000 events, 500 of
   them repeating: weekly, daily, monthly and yearly, some with excluded and
   moved occurrences) is expanded for a 10-day window, shown in Asia/Tokyo,
   by both sides in one run: `calendar_bench expand` (the calendar module:
   libical) and icalendar's Calendar.from_ical with dateutil's rrulestr. Each
   side repeats for about a second of processor time per round; the median
   processor and wall-clock time per expansion and the largest resident set
   of a process doing it are printed, with the occurrence counts (which must
   agree). Run it with Debian's python3 (/usr/bin/python3), which has
   python3-icalendar and python3-dateutil.
2. tests/calendar/calendar_server.py is started with a certificate made
   here; `calendar_bench refetch` fetches /etag.ics once and then re-fetches
   it: every re-fetch must be one request answered 304, whose kept copy is
   used without reading the calendar.

usage: expand_vs_icalendar.py --bench PATH [--rounds N]
"""
import argparse
import datetime as dt
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "..", "tests", "calendar", "calendar_server.py")
TODAY = dt.date(2026, 3, 1)
DAYS = 10


def generate(path, events=5000, repeating=500):
    rnd = random.Random(34)
    lines = ["BEGIN:VCALENDAR", "PRODID:-//Google Inc//Google Calendar 70.9054//EN", "VERSION:2.0",
             "CALSCALE:GREGORIAN", "METHOD:PUBLISH", "X-WR-CALNAME:予定", "X-WR-TIMEZONE:Asia/Tokyo",
             "BEGIN:VTIMEZONE", "TZID:Asia/Tokyo", "X-LIC-LOCATION:Asia/Tokyo", "BEGIN:STANDARD",
             "TZOFFSETFROM:+0900", "TZOFFSETTO:+0900", "TZNAME:JST", "DTSTART:19700101T000000",
             "END:STANDARD", "END:VTIMEZONE"]

    def event(uid, start, extra, summary):
        lines.extend(["BEGIN:VEVENT", start, *extra, "DTSTAMP:20260301T000000Z", f"UID:{uid}@google.com",
                      "CREATED:20240101T000000Z", "DESCRIPTION:", "LAST-MODIFIED:20250101T000000Z",
                      "SEQUENCE:0", "STATUS:CONFIRMED", f"SUMMARY:{summary}", "TRANSP:OPAQUE", "END:VEVENT"])

    for i in range(events - repeating):
        day = dt.date(2025, 9, 1) + dt.timedelta(days=rnd.randrange(365))
        kind = rnd.random()
        if kind < 0.1:
            start = f"DTSTART;VALUE=DATE:{day:%Y%m%d}"
        elif kind < 0.2:
            start = f"DTSTART:{day:%Y%m%d}T{rnd.randrange(24):02d}0000Z"
        else:
            start = f"DTSTART;TZID=Asia/Tokyo:{day:%Y%m%d}T{rnd.randrange(8, 21):02d}{rnd.choice(['00', '30'])}00"
        event(f"single{i}", start, [], f"打ち合わせ {i}")
    for i in range(repeating):
        first = dt.date(2022, 1, 3) + dt.timedelta(days=rnd.randrange(1200))
        hour = rnd.randrange(8, 20)
        start = f"DTSTART;TZID=Asia/Tokyo:{first:%Y%m%d}T{hour:02d}0000"
        kind = i % 5
        extra = []
        if kind < 2:
            rule = "FREQ=WEEKLY;BYDAY=" + rnd.choice(["MO", "TU", "WE,FR", "TH", "MO,WE"])
        elif kind == 2:
            rule = f"FREQ=DAILY;INTERVAL={rnd.randrange(1, 4)}"
            if rnd.random() < 0.5:
                rule += ";UNTIL=20270101T000000Z"
        elif kind == 3:
            rule = "FREQ=MONTHLY;" + rnd.choice(["BYMONTHDAY=5", "BYDAY=2TU", "BYMONTHDAY=-1"])
        else:
            born = dt.date(1960 + rnd.randrange(40), 3, 1) + dt.timedelta(days=rnd.randrange(14))
            start, rule = f"DTSTART;VALUE=DATE:{born:%Y%m%d}", "FREQ=YEARLY"
        extra.append("RRULE:" + rule)
        if i % 10 == 0 and kind < 3:
            extra.append(f"EXDATE;TZID=Asia/Tokyo:{TODAY + dt.timedelta(days=rnd.randrange(DAYS)):%Y%m%d}T{hour:02d}0000")
        event(f"repeat{i}", start, extra, f"定例 {i}")
    lines.append("END:VCALENDAR")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def python_expand(data):
    from dateutil import tz
    from dateutil.rrule import rrulestr
    from icalendar import Calendar

    tokyo = tz.gettz("Asia/Tokyo")
    first, last = TODAY, TODAY + dt.timedelta(days=DAYS)
    low = dt.datetime.combine(first - dt.timedelta(days=2), dt.time(), tokyo)
    high = dt.datetime.combine(last + dt.timedelta(days=2), dt.time(), tokyo)
    found = []
    for ev in Calendar.from_ical(data).walk("VEVENT"):
        if str(ev.get("STATUS", "")) == "CANCELLED":
            continue
        start = ev.decoded("DTSTART")
        allday = not isinstance(start, dt.datetime)
        if "RRULE" in ev:
            begin = dt.datetime.combine(start, dt.time()) if allday else start
            rules = rrulestr(ev["RRULE"].to_ical().decode(), dtstart=begin, forceset=True)
            exdates = ev.get("EXDATE", [])
            for group in exdates if isinstance(exdates, list) else [exdates]:
                for value in group.dts:
                    rules.exdate(value.dt)
            lo, hi = (low.replace(tzinfo=None), high.replace(tzinfo=None)) if allday else (low, high)
            times = rules.between(lo, hi, inc=True)
        else:
            times = [start]
        for t in times:
            if allday:
                day, clock = (t.date() if isinstance(t, dt.datetime) else t), None
            else:
                local = t.astimezone(tokyo)
                day, clock = local.date(), local.time()
            if first <= day <= last:
                found.append((day, clock is not None, clock, str(ev.get("SUMMARY"))))
    found.sort(key=lambda o: o[:3])
    return found


def python_round(data):
    """Expands repeatedly for about a second of processor time; the median
    processor and wall-clock milliseconds per expansion, and the count."""
    count, runs = 0, 0
    cpu, wall = time.process_time(), time.perf_counter()
    while time.process_time() - cpu < 1.0:
        count = len(python_expand(data))
        runs += 1
    return (time.process_time() - cpu) * 1000 / runs, (time.perf_counter() - wall) * 1000 / runs, count


def max_rss_mb(command):
    """The largest resident set of a process, by GNU time."""
    run = subprocess.run(["/usr/bin/time", "-f", "%M", *command], check=True, capture_output=True, text=True)
    return int(run.stderr.split()[-1]) / 1024


def expansion(bench, rounds, folder):
    path = os.path.join(folder, "generated.ics")
    generate(path)
    data = open(path, "rb").read()
    ours = {"cpu": [], "wall": []}
    theirs = {"cpu": [], "wall": []}
    window = [TODAY.isoformat(), str(DAYS), "Asia/Tokyo"]
    for _ in range(rounds):
        out = subprocess.run([bench, "expand", path, *window, "1"], check=True, capture_output=True,
                             text=True).stdout.split()
        ours["cpu"].append(float(out[out.index("cpu_ms") + 1]))
        ours["wall"].append(float(out[out.index("wall_ms") + 1]))
        ours_count = int(out[out.index("occurrences") + 1])
        cpu, wall, theirs_count = python_round(data)
        theirs["cpu"].append(cpu)
        theirs["wall"].append(wall)
    # Memory: a process that reads the calendar once (ours: a round of
    # readings, which frees each before the next).
    ours_rss = max_rss_mb([bench, "expand", path, *window, "1"])
    theirs_rss = max_rss_mb([sys.executable, __file__, "--peer-once", path])
    median = statistics.median
    print(f"calendar: {len(data) / 1e6:.2f} MB, 5000 events (500 repeating), window {TODAY} + {DAYS} days, "
          f"{rounds} rounds; median per expansion")
    print(f"calendar_bench      {median(ours['cpu']):9.2f} ms processor, {median(ours['wall']):9.2f} ms wall, "
          f"{ours_rss:6.1f} MB max RSS, {ours_count} occurrences")
    print(f"icalendar+dateutil  {median(theirs['cpu']):9.2f} ms processor, {median(theirs['wall']):9.2f} ms wall, "
          f"{theirs_rss:6.1f} MB max RSS, {theirs_count} occurrences")
    print(f"processor time ratio {median(theirs['cpu']) / median(ours['cpu']):8.1f}x")


def refetch(bench, folder):
    def openssl(*args):
        subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)

    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=Corkpane Bench CA", "-days", "2",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign")
    openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=localhost")
    with open(os.path.join(folder, "server.ext"), "w") as f:
        f.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-days", "2", "-extfile", "server.ext", "-out", "server.pem")
    server = subprocess.Popen([sys.executable, SERVER, "server.pem", "server.key"], cwd=folder,
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        port = int(server.stdout.readline())
        out = subprocess.run([bench, "refetch", f"https://127.0.0.1:{port}/etag.ics",
                              os.path.join(folder, "ca.pem"), os.path.join(folder, "cache"), "200"],
                             capture_output=True, text=True)
        print("conditional re-fetch (200 times):", " | ".join(out.stdout.split("\n")).strip(" |"),
              "" if out.returncode == 0 else f"FAILED ({out.returncode})")
    finally:
        server.stdin.close()
        server.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", help="path of the calendar_bench executable")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--peer-once", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.peer_once:
        python_expand(open(args.peer_once, "rb").read())
        return
    with tempfile.TemporaryDirectory(prefix="corkpane-calendar-bench-") as folder:
        expansion(args.bench, args.rounds, folder)
        refetch(args.bench, folder)


if __name__ == "__main__":
    main()
