#include "hostapp/feedxml/CLumRssXmlData.h"
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlText.h"
#include "win32/FileApi.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

CString channelTitle(const CString& path) {
    CLumRssXmlData doc(path, nullptr);
    CString title = u"(not loaded)";
    if (doc.IsOK()) {
        doc.getTitle(doc.getChannelNode(), title);
    }
    return title;
}

CString encodingOf(const CString& path) {
    return CLumRssXmlData(path, nullptr).getEncoding();
}

}  // namespace

TEST(FeedDocumentLoading, ReadsEveryCommonEncodingAndReportsTheDeclaredOne) {
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_shift_jis.xml")), u"日本語のフィード");
    EXPECT_EQ(encodingOf(fixturePath("feed/rss20_shift_jis.xml")), u"Shift_JIS");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_euc_jp.xml")), u"日本語のフィード");
    EXPECT_EQ(encodingOf(fixturePath("feed/rss20_euc_jp.xml")), u"EUC-JP");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_iso_2022_jp.xml")), u"日本語のフィード");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_iso_8859_1.xml")), u"Café crème");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_windows_1252.xml")), u"“quoted” €");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_utf16_bom.xml")), u"UTF-16 ですか");
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_no_declaration.xml")), u"宣言なし");
    EXPECT_EQ(encodingOf(fixturePath("feed/rss20_no_declaration.xml")), u"");
}

TEST(FeedDocumentLoading, ShiftJisKeepsCharactersWhoseSecondByteIsABackslash) {
    CLumRssXmlData doc(fixturePath("feed/rss20_shift_jis.xml"), nullptr);
    CString description;
    doc.getDescription(doc.getChannelNode(), description);
    EXPECT_EQ(description, u"表示と能力（ソ・十・予）");
}

TEST(FeedDocumentLoading, ShiftJisFeedsMayUseTheWindowsExtensionsAndKeepThemOnSaving) {
    TempDir dir;
    // 0x8160 is a standard code, read as the standard's wave dash.
    EXPECT_EQ(channelTitle(fixturePath("feed/rss20_shift_jis_windows_chars.xml")), u"①髙﨑〜");
    const std::string windowsBytes = "\x87\x40\xfb\xfc\xfa\xb1\x81\x60";
    std::ifstream fixture(
        std::string(NEWSDESK_FIXTURES) + "/feed/rss20_shift_jis_windows_chars.xml",
        std::ios::binary);
    dir.write("feed.xml", std::string(std::istreambuf_iterator<char>(fixture), {}));
    CString path(dir.windows("feed.xml"));
    {
        CLumRssXmlData doc(path, nullptr);
        ASSERT_TRUE(doc.lumSxdSaveXmlData(path));
    }
    std::string once = dir.read("feed.xml");
    EXPECT_NE(once.find(windowsBytes), std::string::npos) << once;
    {
        CLumRssXmlData doc(path, nullptr);
        ASSERT_TRUE(doc.lumSxdSaveXmlData(path));
    }
    EXPECT_EQ(dir.read("feed.xml"), once);
}

TEST(FeedDocumentLoading, MissingUnreadableAndMalformedFilesAreNotOK) {
    TempDir dir;
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("none.xml")), nullptr).IsOK());
    EXPECT_FALSE(CLumRssXmlData(fixturePath("feed/not_well_formed.xml"), nullptr).IsOK());
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows()), nullptr).IsOK());  // a folder
    EXPECT_FALSE(CLumRssXmlData(CString(u"C:\\elsewhere\\a.xml"), nullptr).IsOK());
    dir.write("empty.xml", "");
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("empty.xml")), nullptr).IsOK());
    dir.write("binary.xml", std::string("\0\x01\xff\xfe garbage", 12));
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("binary.xml")), nullptr).IsOK());
    if (::geteuid() != 0) {
        dir.write("locked.xml", "<rss/>");
        std::filesystem::permissions(dir.native("locked.xml"), std::filesystem::perms::none);
        EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("locked.xml")), nullptr).IsOK());
    }
}

TEST(FeedDocumentLoading, AnExternalEntityNeverBringsAFileIntoAField) {
    CString title = channelTitle(fixturePath("feed/unsafe_external_entity.xml"));
    std::ifstream hostname("/etc/hostname");
    std::string secret;
    std::getline(hostname, secret);
    if (!secret.empty()) {
        EXPECT_EQ(title.toUtf8().find(secret), std::string::npos) << title;
    }
    EXPECT_EQ(title, u"beforeafter");
}

TEST(FeedDocumentLoading, AnEntityBombFailsFastInBoundedMemory) {
    // Expanded, the title would be 500 MB; the parser refuses it on the way.
    CLumRssXmlData doc(fixturePath("feed/unsafe_billion_laughs.xml"), nullptr);
    EXPECT_FALSE(doc.IsOK());
}

TEST(FeedDocumentLoading, ABigEntityReferencedFromManyItemsIsRefused) {
    // 300 KB on disk, 600 MB of descriptions once read: the parser counts
    // the entity once and lets it through.
    auto feed = [](size_t entitySize, int references) {
        std::string xml = "<!DOCTYPE rss [<!ENTITY big \"" + std::string(entitySize, 'x') +
                          "\"><!ENTITY nbsp \"&#160;\">]><rss><channel><title>a&nbsp;b</title>";
        for (int i = 0; i < references; ++i) {
            xml += "<item><description>&big;</description></item>";
        }
        return xml + "</channel></rss>";
    };
    TempDir dir;
    dir.write("blowup.xml", feed(200000, 3000));
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("blowup.xml")), nullptr).IsOK());
    dir.write(
        "attribute.xml", "<!DOCTYPE rss [<!ENTITY big \"" + std::string(200000, 'x') +
                             "\">]><rss><channel>" +
                             [] {
                                 std::string items;
                                 for (int i = 0; i < 3000; ++i) {
                                     items += "<item><enclosure url='&big;'/></item>";
                                 }
                                 return items;
                             }() +
                             "</channel></rss>");
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("attribute.xml")), nullptr).IsOK());
    // Entities used as feeds use them stay welcome.
    dir.write("modest.xml", feed(1000, 100));
    EXPECT_EQ(channelTitle(CString(dir.windows("modest.xml"))), u"a\u00a0b");
}

TEST(FeedDocumentLoading, AnEntityMadeOfReferencesToAnotherCountsAllItStandsFor) {
    // About 120 KB on disk; read, the descriptions would be 300 MB. The outer
    // entity holds no text of its own, only references.
    std::string xml =
        "<!DOCTYPE rss [<!ENTITY leaf \"" + std::string(10000, 'x') + "\"><!ENTITY branch \"";
    for (int i = 0; i < 100; ++i) {
        xml += "&leaf;";
    }
    xml += "\">]><rss><channel><title>t</title>";
    for (int i = 0; i < 300; ++i) {
        xml += "<item><description>&branch;</description></item>";
    }
    xml += "</channel></rss>";
    TempDir dir;
    dir.write("nested.xml", xml);
    EXPECT_FALSE(CLumRssXmlData(CString(dir.windows("nested.xml")), nullptr).IsOK());
}

TEST(FeedDocumentLoading, TheRootIsPeekedWithItsDeclarationsUnlessItsAttributesBalloon) {
    TempDir dir;
    dir.write("pod.xml",
              "<?xml version='1.0'?><!-- c --><RSS version='2.0' "
              "xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel>");
    auto root = lum::xml::peekRootElement(CString(dir.windows("pod.xml")));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, u"RSS");
    EXPECT_EQ(root->attribute(u"XMLNS:iTunes"), u"http://www.itunes.com/dtds/podcast-1.0.dtd");
    EXPECT_EQ(root->attribute(u"version"), u"2.0");
    EXPECT_EQ(root->attribute(u"missing"), u"");

    std::string xml = "<!DOCTYPE rss [<!ENTITY big \"" + std::string(200000, 'x') + "\">]><rss";
    for (int i = 0; i < 3000; ++i) {
        xml += " a" + std::to_string(i) + "='&big;'";
    }
    dir.write("balloon.xml", xml + "><channel/></rss>");
    EXPECT_FALSE(lum::xml::peekRootElement(CString(dir.windows("balloon.xml"))));
    EXPECT_FALSE(lum::xml::peekRootElement(CString(dir.windows("missing.xml"))));
}

TEST(FeedDocumentLoading, AnExternalDtdIsNeitherFetchedNorRequired) {
    // The DTD is not read, and the HTML name it would have declared still
    // reads as its character.
    EXPECT_EQ(channelTitle(fixturePath("feed/unsafe_external_dtd.xml")), u"\u00a0kept");
}

TEST(FeedDocumentSaving, WritesTheDocumentEncodingAndReferencesWhatItCannotHold) {
    TempDir dir;
    CLumRssXmlData doc(CString(), u"Shift_JIS");
    Node channel = doc.createChannelNode();
    doc.setTitle(channel, u"日本語 é 😀");
    ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("sj.xml"))));
    std::string bytes = dir.read("sj.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("&#233;"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("&#128512;"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\x93\xfa\x96\x7b\x8c\xea"), std::string::npos);  // 日本語 in Shift_JIS
    EXPECT_EQ(channelTitle(CString(dir.windows("sj.xml"))), u"日本語 é 😀");
    EXPECT_EQ(encodingOf(CString(dir.windows("sj.xml"))), u"Shift_JIS");
}

TEST(FeedDocumentSaving, AnEmptyOrUnknownEncodingWritesUtf8) {
    TempDir dir;
    for (const char16_t* encoding : {u"", u"no-such-charset"}) {
        CLumRssXmlData doc(CString(), encoding);
        doc.setTitle(doc.createChannelNode(), u"タイトル");
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("u.xml"))));
        std::string bytes = dir.read("u.xml");
        EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
        EXPECT_EQ(channelTitle(CString(dir.windows("u.xml"))), u"タイトル");
    }
}

TEST(FeedDocumentSaving, AnEncodingThatWouldSpellTheMarkupOtherwiseWritesUtf8) {
    TempDir dir;
    // An ASCII file that declares UTF-7 reads; written back in UTF-7 its
    // markup would become "+ADw-rss..." and the feed would be lost.
    dir.write("u7.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-7\"?><rss><channel><title>Hello</title>"
              "</channel></rss>");
    CLumRssXmlData read(CString(dir.windows("u7.xml")), nullptr);
    ASSERT_TRUE(read.IsOK());
    CLumRssXmlData doc(CString(), read.getEncoding());
    doc.setTitle(doc.createChannelNode(), u"Hello <日本語>");
    ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("u7.xml"))));
    std::string bytes = dir.read("u7.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
    EXPECT_EQ(channelTitle(CString(dir.windows("u7.xml"))), u"Hello &lt;日本語&gt;");
}

// A name cannot be a character reference. One that only the Windows codes
// hold takes them even in a new file; one the encoding cannot hold at all
// takes the file to UTF-8 instead of leaving the feed impossible to save.
TEST(FeedDocumentSaving, ANameTheEncodingCannotHoldStillSavesAFileThatReads) {
    TempDir dir;
    struct Case {
        const char16_t* encoding;
        const char* name;
        const char* declaration;
        const char* nameBytes;
    } cases[] = {
        {u"Shift_JIS",
         "e\xE3\x8C\xBB"
         "closure",
         "Shift_JIS",
         "e\x87\x6E"
         "closure"},
        {u"Shift_JIS", "x\xE6\x97\xA5", "Shift_JIS", "x\x93\xFA"},
        {u"ISO-8859-1", "x\xE6\x97\xA5", "UTF-8", "x\xE6\x97\xA5"},
        {u"ISO-8859-1", "caf\xC3\xA9", "ISO-8859-1", "caf\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLumRssXmlData doc(CString(), c.encoding);
        Node channel = doc.createChannelNode();
        doc.setTitle(channel, u"日本語");
        xmlNewTextChild(channel.raw(), nullptr, BAD_CAST c.name, BAD_CAST "kept");
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("n.xml"))));
        std::string bytes = dir.read("n.xml");
        EXPECT_EQ(bytes.rfind(std::string("<?xml version=\"1.0\" encoding=\"") + c.declaration, 0),
                  0u)
            << bytes;
        EXPECT_NE(bytes.find(std::string("<") + c.nameBytes + ">kept<"), std::string::npos)
            << bytes;
        EXPECT_EQ(channelTitle(CString(dir.windows("n.xml"))), u"日本語");
    }
}

// Text decoded under a wrong ISO-8859-1 declaration holds C1 controls
// ("Ã©â\u0080\u0099"). Written back as ISO-8859-1 those bytes are valid UTF-8,
// and the next read would take them for it: the text must not change.
TEST(FeedDocumentSaving, C1ControlsInALatin1FeedAreWrittenInUtf8) {
    TempDir dir;
    const CString title = u"Ren\u00C3\u00A9e\u00E2\u0080\u0099s";
    CLumRssXmlData doc(CString(), u"ISO-8859-1");
    doc.setTitle(doc.createChannelNode(), title);
    ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("c1.xml"))));
    EXPECT_EQ(dir.read("c1.xml").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_EQ(channelTitle(CString(dir.windows("c1.xml"))), title);

    CLumRssXmlData plain(CString(), u"ISO-8859-1");
    plain.setTitle(plain.createChannelNode(), u"Ren\u00E9e");
    ASSERT_TRUE(plain.lumSxdSaveXmlData(CString(dir.windows("latin1.xml"))));
    EXPECT_NE(dir.read("latin1.xml")
                  .find("Ren\xE9"
                        "e"),
              std::string::npos);
}

namespace {

void expectControlCharactersDropped(const char16_t* encoding) {
    TempDir dir;
    CLumRssXmlData doc(CString(), encoding);
    Node channel = doc.createChannelNode();
    doc.setTitle(channel, CString(std::u16string(u"a\x01"
                                                 u"b\x1f"
                                                 u"c\tline\r\nend\xFFFE")));
    Node item = doc.createItemNode(channel);
    doc.setEnclosure(item,
                     CString(std::u16string(u"http://e/\x0b"
                                            u"x")),
                     u"1", u"a/b");
    // Also a text put into the tree behind the document's back.
    xmlNodeAddContent(channel.raw(), reinterpret_cast<const xmlChar*>("\x02"));
    ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("c.xml"))));
    CLumRssXmlData back(CString(dir.windows("c.xml")), nullptr);
    ASSERT_TRUE(back.IsOK());
    CString title;
    back.getTitle(back.getChannelNode(), title);
    EXPECT_EQ(title, u"abc\tline\r\nend");
    NodeArray items;
    back.getItemNodeArray(items);
    CString url;
    back.getEnclosureUrl(items.at(0), url);
    EXPECT_EQ(url, u"http://e/x") << (encoding ? "ISO-8859-1" : "UTF-8");
}

}  // namespace

TEST(FeedDocumentSaving, ControlCharactersNeverMakeTheFileUnreadable) {
    // UTF-8 drops them on the way out, other encodings from the tree.
    for (const char16_t* encoding : {static_cast<const char16_t*>(nullptr), u"ISO-8859-1"}) {
        expectControlCharactersDropped(encoding);
    }
}

// A character beyond U+FFFF that the encoding lacks is written as a
// reference, or the file in UTF-8; never lost, never another in its place
// (the C library's converter behind an odd spelling of Shift_JIS lost it and
// wrote the next character as a reference).
TEST(FeedDocumentSaving, CharactersBeyondTheBasicPlaneSurviveEveryEncoding) {
    const std::u16string text = u"x\U0010FFFFds\U0001F600e";
    for (const char16_t* encoding : {u"Shif_tJIS", u"Shift_JIS", u"EUC-JP", u"ISO-8859-1"}) {
        TempDir dir;
        CLumRssXmlData doc(CString(), encoding);
        Node channel = doc.createChannelNode();
        doc.setDescription(channel, CString(text));
        Element(channel).setAttribute(u"a", CString(text));
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("b.xml"))));
        CLumRssXmlData back(CString(dir.windows("b.xml")), nullptr);
        CString description;
        back.getDescription(back.getChannelNode(), description);
        EXPECT_EQ(description, CString(text)) << CString(encoding).toUtf8();
        EXPECT_EQ(Element(back.getChannelNode()).getAttribute(u"a"), CString(text));
    }
}

TEST(FeedDocumentSaving, ANewFileGetsTheUsualPermissions) {
    TempDir dir;
    mode_t old = ::umask(027);
    CLumRssXmlData doc(CString(), nullptr);
    doc.setTitle(doc.createChannelNode(), u"new");
    bool saved = doc.lumSxdSaveXmlData(CString(dir.windows("fresh.xml")));
    ::umask(old);
    ASSERT_TRUE(saved);
    struct stat st {};
    ::stat(dir.native("fresh.xml").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FeedDocumentSaving, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempDir dir;
    dir.write("feed.xml", "old content");
    ::chmod(dir.native("feed.xml").c_str(), 0640);
    CLumRssXmlData doc(CString(), nullptr);
    doc.setTitle(doc.createChannelNode(), u"new");
    ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("feed.xml"))));
    EXPECT_EQ(channelTitle(CString(dir.windows("feed.xml"))), u"new");
    struct stat st {};
    ::stat(dir.native("feed.xml").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(FeedDocumentSaving, AFailedSaveIsReportedAndLeavesTheOldFileAsItWas) {
    TempDir dir;
    CLumRssXmlData doc(CString(), nullptr);
    doc.setTitle(doc.createChannelNode(), u"new");
    EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(dir.windows("missing\\feed.xml"))));
    EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(u"C:\\nowhere\\feed.xml")));
    EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(dir.windows())));
    std::filesystem::create_directory(dir.native("sub"));
    EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(dir.windows("sub"))));  // a folder in the way
    if (::geteuid() != 0) {
        dir.write("readonly.xml", "old");
        ::chmod(dir.native("readonly.xml").c_str(), 0444);
        EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(dir.windows("readonly.xml"))));
        EXPECT_EQ(dir.read("readonly.xml"), "old");
        std::filesystem::create_directory(dir.native("ro"));
        std::ofstream(dir.native("ro/feed.xml")) << "old";
        std::filesystem::permissions(dir.native("ro"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
        EXPECT_FALSE(doc.lumSxdSaveXmlData(CString(dir.windows("ro\\feed.xml"))));
        std::ifstream in(dir.native("ro/feed.xml"));
        std::string content;
        std::getline(in, content);
        EXPECT_EQ(content, "old");
    }
}

TEST(FeedDocumentSaving, ALargeDocumentIsSavedWholeAsLibxml2SerialisesIt) {
    // Far beyond one buffer of the serialiser, so that it writes in many
    // pieces.
    TempDir dir;
    CLumRssXmlData doc(CString(), nullptr);
    Node channel = doc.createChannelNode();
    for (int i = 0; i < 3000; ++i) {
        doc.setTitle(doc.createItemNode(channel),
                     CString(u"項目 ") + CString(std::u16string(40, u'あ')));
    }
    CString path(dir.windows("big.xml"));
    ASSERT_TRUE(doc.lumSxdSaveXmlData(path));
    std::string saved = dir.read("big.xml");
    EXPECT_GT(saved.size(), 300000u);
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc.Document->raw(), &bytes, &size, "UTF-8", 1);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(saved, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size)));
    xmlFree(bytes);
}

TEST(XmlText, FindsAndDropsExactlyTheCharactersXmlCannotCarry) {
    struct Case {
        std::string in;
        std::string kept;
    } cases[] = {
        {"plain \t\r\n text", "plain \t\r\n text"},
        {"a\x01"
         "b\x1f"
         "c",
         "abc"},
        {"x\xEF\xBF\xBEy\xEF\xBF\xBFz", "xyz"},                    // U+FFFE, U+FFFF
        {"\xEF\xBF\xBD\xEF\xBC\x81", "\xEF\xBF\xBD\xEF\xBC\x81"},  // U+FFFD and U+FF01 stay
        {"\xEF\xBF", "\xEF\xBF"},                                  // cut short: nothing to drop
        {"", ""},
    };
    // Each also inside longer text, at every place among the eight bytes
    // looked at together.
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const Case& c : cases) {
        for (std::size_t before = 1; before <= 9; ++before) {
            std::string pad(before, 'p');
            all.push_back({pad + c.in + "0123456789", pad + c.kept + "0123456789"});
        }
    }
    for (const Case& c : all) {
        std::string text = c.in;
        bool dropped = lum::xml::dropNonXmlChars(text);
        EXPECT_EQ(text, c.kept);
        EXPECT_EQ(dropped, c.in != c.kept);
        EXPECT_EQ(lum::xml::hasNonXmlChars(c.in), dropped);
        // The same bytes cut into two blocks anywhere, as a save hands them
        // on, keep the same.
        for (std::size_t cut = 0; cut <= c.in.size(); ++cut) {
            lum::xml::NonXmlCharDropper dropper;
            std::string kept;
            for (std::string_view block :
                 {std::string_view(c.in).substr(0, cut), std::string_view(c.in).substr(cut)}) {
                if (dropper.passes(block)) {
                    kept.append(block);
                } else {
                    dropper.take(block, kept);
                }
            }
            dropper.finish(kept);
            EXPECT_EQ(kept, c.kept) << cut;
        }
    }
}

TEST(FeedDocumentLoading, MarkupBuiltToKeepTheParserBusyForHoursIsRefusedAtOnce) {
    // The parser compares each attribute with every one before it: a tag of
    // 300,000 attributes, or as many declared by a DTD, took hours.
    TempDir dir;
    std::string crowded = "<rss version='2.0'";
    std::string declared = "<!DOCTYPE rss [<!ATTLIST rss";
    for (int i = 0; i < 300000; ++i) {
        crowded += " a" + std::to_string(i) + "='1'";
        declared += " xmlns:a" + std::to_string(i) + " CDATA 'u'";
    }
    dir.write("crowded.xml", crowded + "><channel><title>t</title></channel></rss>");
    dir.write("declared.xml", declared + ">]><rss version='2.0'><channel/></rss>");
    for (const char* name : {"crowded.xml", "declared.xml"}) {
        CString path(dir.windows(name));
        EXPECT_FALSE(lum::xml::peekRootElement(path)) << name;
        EXPECT_FALSE(CLumRssXmlData(path, nullptr).IsOK()) << name;
    }
    // Far into the file, after what a reader takes in at once: the items
    // before it are read, and the file is refused all the same.
    std::string items;
    for (int i = 0; i < 5000; ++i) {
        items += "<item><title>" + std::to_string(i) + "</title></item>";
    }
    crowded.replace(0, 4, "<item");
    dir.write("late.xml", "<rss version='2.0'><channel>" + items + crowded + "/></channel></rss>");
    CString late(dir.windows("late.xml"));
    EXPECT_TRUE(lum::xml::peekRootElement(late));
    CLumRssXmlData lateFeed(late, nullptr);
    EXPECT_FALSE(lateFeed.IsOK());
    NodeArray lateItems;
    lateFeed.getItemNodeArray(lateItems);
    EXPECT_TRUE(lateItems.empty());
}

TEST(FeedDocumentLoading, ManyAttributesAndQuotesInTextCommentsAndCDataStillRead) {
    TempDir dir;
    std::string attributes;
    for (int i = 0; i < 200; ++i) {
        attributes += " a" + std::to_string(i) + "=\"1\"";
    }
    std::string quotes(2000, '"');
    dir.write("busy.xml", "<?xml version='1.0'?><!DOCTYPE rss [<!ENTITY q '" + quotes +
                              "'>]><rss version='2.0'" + attributes + "><!-- <a " + quotes +
                              " --><?pi <a " + quotes + "?><channel><title>t" + quotes +
                              "<![CDATA[<a " + quotes + "]]></title></channel></rss>");
    // The title comes escaped: t"""...<a """...
    std::string title = channelTitle(CString(dir.windows("busy.xml"))).toUtf8();
    EXPECT_EQ(title.rfind("t&quot;", 0), 0u) << title.substr(0, 40);
    EXPECT_NE(title.find("&lt;a &quot;"), std::string::npos) << title.substr(0, 40);
}

// Whatever a document came to hold, bytes that would not parse back never
// replace a feed: an entity it does not declare, an attribute twice.
TEST(FeedDocumentSaving, ADocumentThatWouldNotParseBackIsNotSaved) {
    using Spoil = void (*)(xmlDoc*, xmlNode*);
    const Spoil spoilers[] = {
        [](xmlDoc* doc, xmlNode* root) {
            xmlAddChild(root, xmlNewReference(doc, BAD_CAST "&id;"));
        },
        [](xmlDoc*, xmlNode* root) {
            xmlNewProp(root, BAD_CAST "a", BAD_CAST "1");
            xmlNewProp(root, BAD_CAST "a", BAD_CAST "2");
        },
    };
    // The bytes are parsed as they are written: the fault in the first of
    // them, in the last, or in a small file alone.
    auto bulk = [](xmlNode* parent) {
        for (int i = 0; i < 20000; ++i) {
            xmlNewTextChild(parent, nullptr, BAD_CAST "item", BAD_CAST "some text of an item");
        }
    };
    for (int where = 0; where < 3; ++where) {
        for (Spoil spoil : spoilers) {
            TempDir dir;
            dir.write("feed.xml", "old");
            xmlDoc* doc = xmlNewDoc(BAD_CAST "1.0");
            xmlNode* root = xmlNewDocNode(doc, nullptr, BAD_CAST "rss", nullptr);
            xmlDocSetRootElement(doc, root);
            xmlNode* first = xmlNewChild(root, nullptr, BAD_CAST "channel", nullptr);
            if (where == 1) {
                bulk(root);
            }
            spoil(doc, where == 2 ? first : root);
            if (where == 2) {
                bulk(root);
            }
            SetLastError(ERROR_SUCCESS);
            EXPECT_FALSE(lum::xml::saveFile(doc, CString(dir.windows("feed.xml")), u"UTF-8"));
            EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
            EXPECT_EQ(dir.read("feed.xml"), "old");
            xmlFreeDoc(doc);
        }
    }
}

// A prefix the feed never declared is a slip the reader forgives; the element
// is written back as it was read, and the save goes ahead.
TEST(FeedDocumentSaving, AnUndeclaredPrefixReadIsWrittenBackAsItWas) {
    TempDir dir;
    dir.write("feed.xml", "old");
    xmlDoc* doc = xmlNewDoc(BAD_CAST "1.0");
    xmlNode* root = xmlNewDocNode(doc, nullptr, BAD_CAST "rss", nullptr);
    xmlDocSetRootElement(doc, root);
    xmlNewTextChild(root, nullptr, BAD_CAST "itunes:summary", BAD_CAST "text");
    EXPECT_TRUE(lum::xml::saveFile(doc, CString(dir.windows("feed.xml")), u"UTF-8"));
    EXPECT_NE(dir.read("feed.xml").find("<itunes:summary>text</itunes:summary>"), std::string::npos)
        << dir.read("feed.xml");
    xmlFreeDoc(doc);
}
