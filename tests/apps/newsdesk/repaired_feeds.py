"""Feeds that other readers forgive are read and rewritten well-formed, and
Debian's feedparser sees the same text in the rewritten file as in the one
it forgave.

usage: repaired_feeds.py NEWSDESK WORKDIR FEED REPAIRS
REPAIRS is the list `read` must report, comma-separated ("entities,encoding").
Run with Debian's /usr/bin/python3 (python3-feedparser).
"""
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import feedparser

failures = []


def same(what, seen, expected):
    if seen != expected:
        failures.append(f"{what}: {seen!r}, expected {expected!r}")


def texts(path):
    feed = feedparser.parse(path)
    f = feed.feed
    seen = {"title": f.get("title"), "link": f.get("link"), "subtitle": f.get("subtitle")}
    for n, entry in enumerate(feed.entries):
        for key in ("title", "link", "summary", "author"):
            seen[f"entry {n} {key}"] = entry.get(key)
        seen[f"entry {n} enclosures"] = [e.get("href") for e in entry.get("enclosures", [])]
    return seen, feed


def main():
    program, work, fixture, repairs = sys.argv[1:5]
    os.makedirs(work, exist_ok=True)
    feed = os.path.join(work, os.path.basename(fixture))
    shutil.copyfile(fixture, feed)
    before, _ = texts(feed)

    read = subprocess.run([program, "read", feed], capture_output=True, text=True)
    same("read status", read.returncode, 0)
    expected = [r for r in repairs.split(",") if r]
    if read.returncode == 0:
        same("repaired", json.loads(read.stdout)["repaired"], expected)
    lines = [line for line in read.stderr.splitlines() if line]
    # "newsdesk: FEED: repaired KIND: why"
    same("stderr", [line.split(": ")[2] for line in lines],
         [f"repaired {r}" for r in expected])

    rewrite = subprocess.run([program, "rewrite", feed], capture_output=True, text=True)
    same("rewrite", (rewrite.returncode, rewrite.stdout), (0, "written\n"))
    try:
        ElementTree.parse(feed)
    except ElementTree.ParseError as error:
        failures.append(f"the rewritten feed is not well-formed: {error}")
    after, parsed = texts(feed)
    if parsed.bozo:
        failures.append(f"feedparser finds the rewritten feed malformed: {parsed.bozo_exception}")
    for key in before:
        same(key, after.get(key), before[key])

    again = subprocess.run([program, "read", feed], capture_output=True, text=True)
    same("read after the rewrite", (again.stderr, json.loads(again.stdout or "{}").get("repaired")),
         ("", []))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
