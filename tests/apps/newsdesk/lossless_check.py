"""Checks that a feed newsdesk rewrote, edited or converted lost nothing:
every element of the original is in the result or listed on stderr as
dropped, and Debian's feed readers see the same guids, links, dates and
enclosures in both.

usage: lossless_check.py ORIGINAL RESULT STDERR_FILE
Run with Debian's /usr/bin/python3 (python3-feedparser, python3-podcastparser).
"""
import collections
import re
import sys
import xml.etree.ElementTree as ElementTree

import feedparser
import podcastparser

RSS10 = "http://purl.org/rss/1.0/"
PREFIXES = {
    "http://www.w3.org/1999/02/22-rdf-syntax-ns#": "rdf",
    "http://purl.org/dc/elements/1.1/": "dc",
    "http://www.itunes.com/dtds/podcast-1.0.dtd": "itunes",
    "http://purl.org/rss/1.0/modules/content/": "content",
    "http://www.w3.org/2005/Atom": "atom",
    "http://search.yahoo.com/mrss/": "media",
    "http://purl.org/rss/1.0/modules/syndication/": "sy",
    "http://purl.org/rss/1.0/modules/slash/": "slash",
    "http://wellformedweb.org/CommentAPI/": "wfw",
    "https://podcastindex.org/namespace/1.0": "podcast",
    "http://webns.net/mvcb/": "admin",
}
# What the records model, which the formats spell differently: a change of
# format moves these between names rather than keeping them as they were.
MODELLED = {"rss", "rdf:RDF", "channel", "item", "items", "rdf:Seq", "rdf:li", "title", "link",
            "description", "language", "copyright", "pubDate", "ttl", "image", "url", "category",
            "author", "comments", "enclosure", "dc:creator", "dc:rights", "dc:date",
            "dc:subject", "dc:language", "itunes:image", "itunes:summary", "itunes:author",
            "itunes:subtitle", "itunes:owner", "itunes:name", "itunes:email", "itunes:category",
            "itunes:block", "itunes:keywords", "itunes:duration"}

failures = []


def name_of(tag):
    if tag.startswith("{"):
        uri, local = tag[1:].split("}")
        if uri == RSS10:
            return local
        return PREFIXES.get(uri, uri) + ":" + local
    return tag


def inventory(path, dropped=None):
    """Element names and counts; what an element listed as dropped held is
    gone with it."""
    counts = collections.Counter()
    budget = collections.Counter(dropped or {})

    def walk(element):
        name = name_of(element.tag)
        counts[name] += 1
        if budget[name] > 0:
            budget[name] -= 1
            return
        for child in element:
            walk(child)

    walk(ElementTree.parse(path).getroot())
    return counts


def dropped_counts(stderr_text):
    counts = collections.Counter()
    for line in stderr_text.splitlines():
        m = re.fullmatch(r"dropped: (\d+) (\S+)", line)
        if m:
            counts[m.group(2)] += int(m.group(1))
    return counts


def is_rss(path):
    return ElementTree.parse(path).getroot().tag == "rss"


def itunes_root(path):
    with open(path, "rb") as f:
        return b'xmlns:itunes=' in f.read().split(b">", 2)[1]


def check_elements(original, result, dropped, same_format):
    before, after = inventory(original, dropped), inventory(result)
    for name, count in before.items():
        missing = count - after.get(name, 0)
        if missing <= 0 or dropped.get(name, 0) >= missing:
            continue
        # The podcast writer writes an item's description as its summary.
        if same_format and name == "description" and after.get("itunes:summary", 0) >= missing:
            continue
        if not same_format and name in MODELLED:
            continue
        failures.append(f"{missing} {name} lost and not listed as dropped")


def attribute_values(path):
    """(element, attribute, value) of what the records do not model, and of
    categories (their domain)."""
    counts = collections.Counter()
    for e in ElementTree.parse(path).iter():
        name = name_of(e.tag)
        if name in MODELLED and name != "category":
            continue
        for attribute, value in e.attrib.items():
            counts[(name, name_of(attribute), value)] += 1
    return counts


def check_attributes(original, result, dropped):
    after = attribute_values(result)
    for (element, attribute, value), count in attribute_values(original).items():
        if after.get((element, attribute, value), 0) >= count:
            continue
        if dropped.get("@" + attribute) or dropped.get(element):
            continue
        failures.append(f"{element} {attribute}={value!r} lost and not listed as dropped")


def entries(path):
    feed = feedparser.parse(path)
    if feed.bozo:
        failures.append(f"{path}: feedparser finds it malformed: {feed.bozo_exception}")
    out = []
    for e in feed.entries:
        out.append({
            "guid": e.get("id"),
            "link": e.get("link"),
            "date": e.get("published_parsed") or e.get("updated_parsed"),
            "enclosures": [x.get("href") for x in e.get("enclosures", [])],
        })
    return out


def check_readers(original, result, dropped):
    before, after = entries(original), entries(result)
    if len(before) != len(after):
        failures.append(f"feedparser: {len(before)} entries before, {len(after)} after")
        return
    for i, (b, a) in enumerate(zip(before, after)):
        for key in ("guid", "link", "date", "enclosures"):
            if key == "guid" and "guid" in dropped:
                continue
            if key == "enclosures" and "enclosure" in dropped:
                continue
            if b[key] != a[key]:
                failures.append(f"feedparser entry {i} {key}: {b[key]!r} before, {a[key]!r} after")
    if not (is_rss(original) and is_rss(result)):
        return
    episodes = []
    for path in (original, result):
        with open(path, "rb") as stream:
            parsed = podcastparser.parse("file://" + path, stream)
        episodes.append([(e.get("guid"), e.get("link"), e.get("published"),
                          [x["url"] for x in e.get("enclosures", [])])
                         for e in parsed.get("episodes", [])])
    if episodes[0] != episodes[1]:
        failures.append(f"podcastparser episodes differ:\n{episodes[0]}\n{episodes[1]}")


def main():
    original, result, stderr_file = sys.argv[1:4]
    with open(stderr_file, encoding="utf-8") as f:
        dropped = dropped_counts(f.read())
    same_format = is_rss(original) == is_rss(result) and itunes_root(original) == itunes_root(result)
    check_elements(original, result, dropped, same_format)
    check_attributes(original, result, dropped)
    check_readers(original, result, dropped)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
