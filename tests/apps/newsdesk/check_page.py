#!/usr/bin/env python3
"""Checks a page saved by `newsdesk insert-link` with a second HTML parser.

check_page.py SAVED ENCODING EXPECTED [--anchor HREF SRC ID TEXT]... [--anchors N]
              [--feed-link HREF TITLE]... [--feed-links N]

SAVED is decoded in ENCODING and must equal the UTF-8 text in EXPECTED, where
@ANY@ stands for any attribute value. Each --anchor names an <a> that must be
there with the image and text (SRC "-" for no image, "*" for any; ID "-" for
no id attribute); each --feed-link an auto-discovery link.
"""
import html.parser
import re
import sys


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.anchors = []  # [href, [img attrs...], text]
        self.links = []
        self.open_anchor = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "a":
            self.open_anchor = [a.get("href"), [], ""]
            self.anchors.append(self.open_anchor)
        elif tag == "img" and self.open_anchor is not None:
            self.open_anchor[1].append(a)
        elif tag == "link":
            rel = (a.get("rel") or "").lower().split()
            if "alternate" in rel and (a.get("type") or "").lower() == "application/rss+xml":
                self.links.append((a.get("href"), a.get("title")))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "a":
            self.open_anchor = None

    def handle_data(self, data):
        if self.open_anchor is not None:
            self.open_anchor[2] += data


def fail(message):
    sys.exit(message)


def main(argv):
    saved_path, encoding, expected_path = argv[1:4]
    saved = open(saved_path, "rb").read().decode(encoding)
    expected = open(expected_path, encoding="utf-8").read()
    pattern = "".join(re.escape(part) if part != "@ANY@" else '[^"<>]*'
                      for part in re.split("(@ANY@)", expected))
    if not re.fullmatch(pattern, saved, re.S):
        fail("saved page differs from the expected one:\n%s\n--- expected ---\n%s" % (saved, expected))
    page = Page()
    page.feed(saved)
    page.close()
    args = argv[4:]
    while args:
        option = args.pop(0)
        if option == "--anchor":
            href, src, ident, text = args[:4]
            del args[:4]
            found = [a for a in page.anchors if a[0] == href]
            if not found:
                fail("no anchor to %s among %r" % (href, page.anchors))
            _, images, got_text = found[0]
            if src == "-":
                if images:
                    fail("anchor %s has an image: %r" % (href, images))
            else:
                if len(images) != 1:
                    fail("anchor %s has %d images" % (href, len(images)))
                if src != "*" and images[0].get("src") != src:
                    fail("anchor %s image src %r" % (href, images[0].get("src")))
                if images[0].get("id") != (None if ident == "-" else ident):
                    fail("anchor %s image id %r" % (href, images[0].get("id")))
            if got_text != text:
                fail("anchor %s text %r, expected %r" % (href, got_text, text))
        elif option == "--anchors":
            if len(page.anchors) != int(args.pop(0)):
                fail("anchors: %r" % page.anchors)
        elif option == "--feed-link":
            href, title = args[:2]
            del args[:2]
            if (href, title) not in page.links:
                fail("no feed link (%s, %s) among %r" % (href, title, page.links))
        elif option == "--feed-links":
            if len(page.links) != int(args.pop(0)):
                fail("feed links: %r" % page.links)
        else:
            fail("unknown option " + option)


if __name__ == "__main__":
    main(sys.argv)
