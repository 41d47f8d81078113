"""Reads a feed that `newsdesk edit` wrote with Debian's feed readers and
checks the values an expectations file names.

usage: edit_readback.py FEED EXPECTATIONS.json
The file maps "feedparser" and "podcastparser" to {path: value}; a path is
keys and list indexes joined by dots ("entries.0.enclosures.0.href"). A value
"size of NAME" stands for the size in bytes of the file NAME beside the feed.
"""
import json
import os
import sys

import feedparser
import podcastparser


def lookup(value, path):
    for part in path.split("."):
        if isinstance(value, list):
            value = value[int(part)] if int(part) < len(value) else None
        elif isinstance(value, dict):
            value = value.get(part)
        else:
            value = None
    return value


def main(feed_path, expectations_path):
    with open(expectations_path, encoding="utf-8") as stream:
        expected = json.load(stream)
    parsed = {"feedparser": feedparser.parse(feed_path)}
    with open(feed_path, "rb") as stream:
        parsed["podcastparser"] = podcastparser.parse("https://ann.example/radio/feed.rss", stream)
    failures = []
    for reader, values in expected.items():
        for path, value in values.items():
            seen = lookup(parsed[reader], path)
            if isinstance(value, str) and value.startswith("size of "):
                size = os.path.getsize(os.path.join(os.path.dirname(feed_path), value[8:]))
                value = str(size) if isinstance(seen, str) else size
            if seen != value:
                failures.append(f"{reader} {path}: read {seen!r}, expected {value!r}")
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
