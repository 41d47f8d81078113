"""Reads a feed that newsdesk wrote with independent feed readers and checks
that they see what the record held.

usage: outside_readers.py RECORD.json FEED
Run with Debian's /usr/bin/python3 (python3-feedparser, python3-podcastparser).
"""
import calendar
import json
import sys
import xml.etree.ElementTree as ElementTree

import feedparser
import podcastparser

failures = []


def same(what, seen, expected):
    if seen != expected:
        failures.append(f"{what}: read {seen!r}, record held {expected!r}")


def seconds(parsed):
    return calendar.timegm(parsed) if parsed else None


def duration_text(total):
    return f"{total // 3600:02d}:{total % 3600 // 60:02d}:{total % 60:02d}"


def terms(tags):
    return [t.term for t in tags or []]


def check_rss2(record, feed):
    f = feed.feed
    same("channel title", f.get("title"), record["title"])
    same("channel link", f.get("link"), record["link"])
    same("channel description", f.get("subtitle"), record["description"])
    same("channel language", f.get("language"), record.get("language"))
    same("channel copyright", f.get("rights"), record.get("copyright"))
    same("channel date", seconds(f.get("published_parsed")), record.get("pubDate"))
    same("channel ttl", f.get("ttl"), str(record["ttl"]))
    same("channel image", f.get("image", {}).get("href"), record.get("image"))
    same("channel categories", terms(f.get("tags")),
         [c["category"] for c in record.get("categories", []) if c["category"]])
    same("item count", len(feed.entries), len(record["items"]))
    for entry, item in zip(feed.entries, record["items"]):
        name = f"item {item['title']!r}"
        same(name + " title", entry.get("title"), item["title"])
        same(name + " link", entry.get("link"), item["link"])
        same(name + " description", entry.get("summary"), item["description"])
        same(name + " author", entry.get("author"), item.get("author"))
        same(name + " comments", entry.get("comments"), item.get("comments"))
        same(name + " date", seconds(entry.get("published_parsed")), item.get("pubDate"))
        same(name + " categories", terms(entry.get("tags")),
             [c["category"] for c in item.get("categories", []) if c["category"]])
        enclosures = [(e.get("href"), e.get("length"), e.get("type")) for e in entry.enclosures]
        expected = ([(item["enclosureUrl"], str(item["enclosureLength"]), item["enclosureType"])]
                    if item.get("enclosureUrl") else [])
        same(name + " enclosure", enclosures, expected)


def check_rss1(record, feed):
    f = feed.feed
    same("version", feed.version, "rss10")
    same("channel title", f.get("title"), record["title"])
    same("channel link", f.get("link"), record["link"])
    same("channel description", f.get("subtitle"), record["description"])
    same("channel creator", f.get("author"), record.get("author"))
    same("channel rights", f.get("rights"), record.get("copyright"))
    same("channel date", seconds(f.get("updated_parsed")), record.get("pubDate"))
    same("item count", len(feed.entries), len(record["items"]))
    for entry, item in zip(feed.entries, record["items"]):
        name = f"item {item['title']!r}"
        same(name + " title", entry.get("title"), item["title"])
        same(name + " link", entry.get("link"), item["link"])
        same(name + " description", entry.get("summary"), item["description"])
        same(name + " creator", entry.get("author"), item.get("author"))
        same(name + " date", seconds(entry.get("updated_parsed")), item.get("pubDate"))


def check_rss1_image(record, path):
    # feedparser does not report RSS 1.0 images at all (not even for the
    # example the RSS 1.0 standard itself gives), so the standard library's XML
    # parser reads them.
    rdf = "{http://www.w3.org/1999/02/22-rdf-syntax-ns#}"
    rss = "{http://purl.org/rss/1.0/}"
    root = ElementTree.parse(path).getroot()
    reference = root.find(f"{rss}channel/{rss}image")
    same("channel image reference", reference.get(f"{rdf}resource") if reference is not None else None,
         record["image"])
    image = root.find(f"{rss}image")
    same("image", (image.get(f"{rdf}about"), image.findtext(f"{rss}url"), image.findtext(f"{rss}title"),
                   image.findtext(f"{rss}link")) if image is not None else None,
         (record["image"], record["image"], record["title"], record["link"]))
    same("item sequence", [li.get(f"{rdf}resource") for li in root.iter(f"{rdf}li")],
         [item["link"] for item in record["items"]])


def check_podcast(record, feed, path):
    f = feed.feed
    same("channel title", f.get("title"), record["title"])
    same("channel link", f.get("link"), record["link"])
    same("channel language", f.get("language"), record.get("language"))
    same("channel copyright", f.get("rights"), record.get("copyright"))
    same("channel image", f.get("image", {}).get("href"), record.get("image"))
    same("channel author", f.get("author"), record.get("author"))
    same("channel block", f.get("itunes_block", 0), 1 if record.get("block") else 0)
    owner = f.get("publisher_detail", {})
    same("owner", (owner.get("name"), owner.get("email")),
         (record.get("ownerName"), record.get("ownerEmail")))
    same("channel categories", terms(f.get("tags")),
         [t for c in record["categories"] for t in (c["category"], c["subCategory"]) if t])
    same("item count", len(feed.entries), len(record["items"]))
    for entry, item in zip(feed.entries, record["items"]):
        name = f"item {item['title']!r}"
        same(name + " title", entry.get("title"), item["title"])
        same(name + " author", entry.get("author"), item.get("artist"))
        same(name + " subtitle", entry.get("subtitle"), item.get("subTitle"))
        same(name + " summary", entry.get("summary"), item.get("description"))
        same(name + " date", seconds(entry.get("published_parsed")), item.get("pubDate"))
        same(name + " duration", entry.get("itunes_duration"), duration_text(item["duration"]))
        same(name + " block", entry.get("itunes_block", 0), 1 if item.get("block") else 0)
        enclosures = [(e.get("href"), e.get("length"), e.get("type")) for e in entry.enclosures]
        same(name + " enclosure", enclosures,
             [(item["enclosureUrl"], str(item["enclosureLength"]), item["enclosureType"])])

    with open(path, "rb") as stream:
        podcast = podcastparser.parse("file://" + path, stream)
    same("podcastparser title", podcast.get("title"), record["title"])
    same("podcastparser link", podcast.get("link"), record["link"])
    same("podcastparser description", podcast.get("description"), record["description"])
    same("podcastparser cover", podcast.get("cover_url"), record["image"])
    same("podcastparser author", podcast.get("itunes_author"), record["author"])
    same("podcastparser owner", podcast.get("itunes_owner"),
         {"name": record["ownerName"], "email": record["ownerEmail"]})
    same("podcastparser categories", podcast.get("itunes_categories"),
         [[t for t in (c["category"], c["subCategory"]) if t] for c in record["categories"]])
    episodes = {e["title"]: e for e in podcast.get("episodes", [])}
    same("podcastparser episodes", sorted(episodes), sorted(i["title"] for i in record["items"]))
    for item in record["items"]:
        episode = episodes.get(item["title"], {})
        name = f"podcastparser episode {item['title']!r}"
        same(name + " subtitle", episode.get("subtitle", ""), item.get("subTitle", ""))
        same(name + " description", episode.get("description"), item["description"])
        same(name + " published", episode.get("published"), item["pubDate"])
        same(name + " duration", episode.get("total_time"), item["duration"])
        same(name + " author", episode.get("itunes_author"), item.get("artist"))
        same(name + " enclosure",
             [(e["url"], e["file_size"], e["mime_type"]) for e in episode.get("enclosures", [])],
             [(item["enclosureUrl"], item["enclosureLength"] or -1, item["enclosureType"])])


def main():
    record_path, feed_path = sys.argv[1], sys.argv[2]
    with open(record_path, encoding="utf-8") as f:
        record = json.load(f)
    feed = feedparser.parse(feed_path)
    if feed.bozo:
        failures.append(f"feedparser finds the file malformed: {feed.bozo_exception}")
    if record["format"] == 0:
        check_rss1(record, feed)
        check_rss1_image(record, feed_path)
    elif record["format"] == 1:
        check_rss2(record, feed)
    else:
        check_podcast(record, feed, feed_path)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
