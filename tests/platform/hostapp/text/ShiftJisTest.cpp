// Shift_JIS as we write it reads the same in an independent reader
// (python3-feedparser) as in ours; what the Windows dialect adds stays
// readable, and a file in either dialect keeps its bytes.
#include "hostapp/feedxml/CLumRssXmlData.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The characters where the dialects part: the standard's wave dash, double
// vertical line, minus, cent, pound and not sign, their Windows look-alikes,
// Windows-only characters (circled one, the IBM and NEC kanji), ASCII that
// some Shift_JIS tables give other meanings, half-width katakana, and what
// no Shift_JIS holds.
const char16_t kMixed[] = u"〜～ ‖∥ −－ ¢￠ £￡ ¬￢ ①髙﨑 \\~ ¥‾ ｶﾀｶﾅ 日本語 é😀";

CString readTitle(const CString& path) {
    CLumRssXmlData doc(path, nullptr);
    CString title = u"(not loaded)";
    if (doc.IsOK()) {
        doc.getTitle(doc.getChannelNode(), title);
    }
    return title;
}

// The channel title and encoding as python3-feedparser reads them, one a line.
std::string feedparserTitle(const TempDir& dir, const std::string& name) {
    std::string command =
        "/usr/bin/python3 -c \"import sys, feedparser\n"
        "d = feedparser.parse(sys.argv[1])\n"
        "sys.stdout.buffer.write((d.get('encoding', '') + '\\n' + d.feed.get('title', '') + "
        "'\\n').encode('utf-8'))\" '" +
        dir.native(name).string() + "'";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

void writeTitle(const CString& path, const CString& title) {
    CLumRssXmlData doc(CString(), u"Shift_JIS");
    Node channel = doc.createChannelNode();
    doc.setTitle(channel, title);
    ASSERT_TRUE(doc.lumSxdSaveXmlData(path));
}

}  // namespace

TEST(ShiftJis, WhatWeWriteReadsTheSameInFeedparserAndInOurReader) {
    TempDir dir;
    CString path(dir.windows("sj.xml"));
    writeTitle(path, CString(kMixed));
    std::string bytes = dir.read("sj.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", 0), 0u) << bytes;
    // Standard codes stay bytes; the rest become references.
    EXPECT_NE(bytes.find("\x81\x60\x26\x23\x36\x35\x33\x37\x34\x3b"), std::string::npos)
        << "〜 as 0x8160, ～ as &#65374;";
    EXPECT_NE(bytes.find("&#9312;"), std::string::npos) << "①";
    EXPECT_NE(bytes.find("\x93\xfa\x96\x7b\x8c\xea"), std::string::npos) << "日本語";
    EXPECT_EQ(readTitle(path), CString(kMixed));
    EXPECT_EQ(feedparserTitle(dir, "sj.xml"), "shift_jis\n" + CString(kMixed).toUtf8() + "\n");
}

TEST(ShiftJis, AFileInEitherDialectKeepsItsBytesWhenWrittenAgain) {
    TempDir dir;
    CString standard(dir.windows("standard.xml"));
    writeTitle(standard, CString(kMixed));
    std::string written = dir.read("standard.xml");
    {
        CLumRssXmlData doc(standard, nullptr);
        ASSERT_TRUE(doc.lumSxdSaveXmlData(standard));
    }
    EXPECT_EQ(dir.read("standard.xml"), written);

    // A file with Windows codes: they are read as Windows reads them and
    // written back the same, and a character added meanwhile takes them too.
    dir.write("windows.xml",
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<rss version=\"2.0\"><channel>"
              "<title>\x87\x40\xfb\xfc\x81\x60</title></channel></rss>\n");
    CString windows(dir.windows("windows.xml"));
    EXPECT_EQ(readTitle(windows), u"①髙〜");
    {
        CLumRssXmlData doc(windows, nullptr);
        doc.setTitle(doc.getChannelNode(), u"①髙〜﨑");
        ASSERT_TRUE(doc.lumSxdSaveXmlData(windows));
    }
    std::string bytes = dir.read("windows.xml");
    EXPECT_NE(bytes.find("<title>\x87\x40\xfb\xfc\x81\x60\xfa\xb1</title>"), std::string::npos)
        << bytes;
    EXPECT_EQ(readTitle(windows), u"①髙〜﨑");
}

TEST(ShiftJis, EveryLabelReadsAndBytesNeitherDialectHasAreRefused) {
    TempDir dir;
    for (const char* label :
         {"Shift_JIS", "shift-jis", "SJIS", "x-sjis", "MS_Kanji", "csShiftJIS"}) {
        dir.write("label.xml", std::string("<?xml version='1.0' encoding='") + label +
                                   "'?><rss><channel><title>\x93\xfa\x96\x7b</title></channel>"
                                   "</rss>");
        EXPECT_EQ(readTitle(CString(dir.windows("label.xml"))), u"日本") << label;
    }
    dir.write("bad.xml",
              "<?xml version='1.0' encoding='Shift_JIS'?><rss><channel><title>\x85\x40"
              "</title></channel></rss>");
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("bad.xml")), nullptr).IsOK());
    // Half-width katakana take three bytes each once read: a long run of them
    // must not outgrow what the parser makes room for.
    dir.write("kana.xml", "<?xml version='1.0' encoding='Shift_JIS'?><rss><channel><title>" +
                              std::string(300000, '\xb1') + "</title></channel></rss>");
    EXPECT_EQ(readTitle(CString(dir.windows("kana.xml"))), CString(u'ｱ', 300000));
}
