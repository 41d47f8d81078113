#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumRssXmlData.h"
#include "hostapp/feedxml/CLumiTuneXmlData.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

CString text(const Node& node, bool (CLumRssXmlData::*get)(Node, CString&) const,
             const CLumRssXmlData& doc) {
    CString out = u"stale";
    (doc.*get)(node, out);
    return out;
}

}  // namespace

TEST(CLumRssXmlData, ReadsChannelFieldsAndEscapesOnlyTheEscapedOnes) {
    CLumRssXmlData doc(fixturePath("feed/rss20_full.xml"), nullptr);
    ASSERT_TRUE(doc.IsOK());
    EXPECT_EQ(doc.getEncoding(), u"UTF-8");
    Node channel = doc.getChannelNode();
    ASSERT_TRUE(channel);
    EXPECT_EQ(text(channel, &CLumRssXmlData::getTitle, doc), u"AT&amp;T ニュース");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getCopyright, doc), u"(c) A &amp; B");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getDescription, doc), u"<b>太字</b> &amp; more");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getImage, doc), u"http://example.com/logo.png");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getTtl, doc), u"30 minutes");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getAuthor, doc), u"");
}

TEST(CLumRssXmlData, AGetterEmptiesItsOutputWhenTheElementIsMissing) {
    CLumRssXmlData doc(fixturePath("feed/rss20_full.xml"), nullptr);
    CString out = u"left over";
    EXPECT_FALSE(doc.getComments(doc.getChannelNode(), out));
    EXPECT_TRUE(out.IsEmpty());
    out = u"left over";
    EXPECT_FALSE(doc.getTitle(Node(), out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(CLumRssXmlData, ListsItemsCategoriesAndEnclosuresWhereTheyStand) {
    CLumRssXmlData doc(fixturePath("feed/rss20_full.xml"), nullptr);
    NodeArray items;
    doc.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 2u);
    NodeArray list;
    doc.getCategoryNodeArray(doc.getChannelNode(), list);
    ASSERT_EQ(list.size(), 2u);
    CString name;
    doc.getCategory(list[1], name);
    EXPECT_EQ(name, u"news & views");
    doc.getCategoryNodeArray(items[0], list);
    EXPECT_EQ(list.size(), 2u);
    doc.getEnclosureNodeArray(items[0], list);
    ASSERT_EQ(list.size(), 2u);
    CString url;
    doc.getEnclosureUrl(list[1], url);
    EXPECT_EQ(url, u"http://example.com/b.mp3");
    EXPECT_EQ(text(items[0], &CLumRssXmlData::getAuthor, doc), u"ann@example.com (Ann &amp; Bob)");
}

TEST(CLumRssXmlData, NamesCompareWithoutCaseAndTheItunesDeclarationReadsAsAnAttribute) {
    TempDir dir;
    dir.write("a.xml",
              "<RSS xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><Channel>"
              "<TITLE>t</TITLE><itunes:title>not this</itunes:title>"
              "<Item><ENCLOSURE URL='u' Length='5'/></Item></Channel></RSS>");
    CLumiTuneXmlData doc(CString(dir.windows("a.xml")), nullptr);
    Element root = doc.Document->getDocumentElement();
    EXPECT_EQ(root.getTagName(), u"RSS");
    EXPECT_EQ(root.getAttribute(u"xmlns:itunes"), u"http://www.itunes.com/dtds/podcast-1.0.dtd");
    EXPECT_EQ(root.getAttribute(u"XMLNS:ITUNES"), u"http://www.itunes.com/dtds/podcast-1.0.dtd");
    EXPECT_EQ(root.getAttribute(u"xmlns:media"), u"");
    CString title;
    doc.getTitle(doc.getChannelNode(), title);
    EXPECT_EQ(title, u"t");
    NodeArray items;
    doc.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 1u);
    CString value;
    doc.getEnclosureUrl(items[0], value);
    EXPECT_EQ(value, u"u");
    doc.getEnclosureLength(items[0], value);
    EXPECT_EQ(value, u"5");
}

TEST(CLumiTuneXmlData, APodcastWithOnlyAnRss20ImageKeepsItsImage) {
    TempDir dir;
    dir.write("p.xml",
              "<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'><channel>"
              "<image><url>http://e/rss.png</url></image></channel></rss>");
    CLumiTuneXmlData doc(CString(dir.windows("p.xml")), nullptr);
    CString image;
    doc.getImage(doc.getChannelNode(), image);
    EXPECT_EQ(image, u"http://e/rss.png");
}

TEST(CLumRssXmlData, EscapedFieldsSurviveAWriteAndAReadAndStandSinglyEscapedInTheFile) {
    TempDir dir;
    {
        CLumRssXmlData doc(CString(), u"");
        Node channel = doc.createChannelNode();
        ASSERT_TRUE(channel);
        // As the writer hands it over: escaped once.
        doc.setTitle(channel, u"AT&amp;T &lt;news&gt; &quot;q&quot;");
        doc.setDescription(channel, u"a &amp; b");
        Node item = doc.createItemNode(channel);
        doc.setAuthor(item, u"me &amp; you");
        doc.setEnclosure(item, u"http://e/a.mp3?x=1&y=2", u"0", u"audio/mpeg");
        doc.setCategory(item, u"c1");
        doc.setCategory(item, u"c2");
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("out.xml"))));
    }
    std::string file = dir.read("out.xml");
    EXPECT_NE(file.find("<title>AT&amp;T &lt;news&gt; \"q\"</title>"), std::string::npos) << file;
    EXPECT_NE(file.find("<description>a &amp;amp; b</description>"), std::string::npos) << file;
    EXPECT_NE(file.find("<rss version=\"2.0\">"), std::string::npos) << file;
    EXPECT_NE(file.find("url=\"http://e/a.mp3?x=1&amp;y=2\""), std::string::npos) << file;

    CLumRssXmlData back(CString(dir.windows("out.xml")), nullptr);
    Node channel = back.getChannelNode();
    EXPECT_EQ(text(channel, &CLumRssXmlData::getTitle, back),
              u"AT&amp;T &lt;news&gt; &quot;q&quot;");
    EXPECT_EQ(text(channel, &CLumRssXmlData::getDescription, back), u"a &amp; b");
    NodeArray items;
    back.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(text(items[0], &CLumRssXmlData::getAuthor, back), u"me &amp; you");
    NodeArray categories;
    back.getCategoryNodeArray(items[0], categories);
    EXPECT_EQ(categories.size(), 2u);
}

TEST(CLumiTuneXmlData, BuildsTheItunesMarkupAndReadsItBack) {
    TempDir dir;
    {
        CLumiTuneXmlData doc(CString(), nullptr);
        Node channel = doc.createChannelNode();
        doc.setTitle(channel, u"Q&amp;A");
        doc.setImage(channel, u"http://e/art.jpg");
        Node owner = doc.createOwnerNode(channel);
        doc.setName(owner, u"A &amp; B");
        doc.setEMail(owner, u"a@e");
        doc.setCategory(channel, u"Society &amp; Culture", u"History");
        doc.setCategory(channel, u"Arts", u"");
        doc.setBlock(channel, u"yes");
        Node item = doc.createItemNode(channel);
        doc.setSummary(item, u"<p>s</p>");
        doc.setDuration(item, u"01:02:05");
        doc.setKeywords(item, u"k&amp;k");
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("pod.xml"))));
    }
    std::string file = dir.read("pod.xml");
    EXPECT_NE(file.find("xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\""),
              std::string::npos);
    EXPECT_NE(file.find("<itunes:category text=\"Society &amp; Culture\">"), std::string::npos)
        << file;
    EXPECT_NE(file.find("<itunes:image href=\"http://e/art.jpg\"/>"), std::string::npos);

    CLumiTuneXmlData back(CString(dir.windows("pod.xml")), nullptr);
    Node channel = back.getChannelNode();
    CString out;
    back.getName(channel, out);
    EXPECT_EQ(out, u"A &amp; B");
    back.getImage(channel, out);
    EXPECT_EQ(out, u"http://e/art.jpg");
    NodeArray categories;
    back.getCategoryNodeArray(channel, categories);
    ASSERT_EQ(categories.size(), 2u);
    back.getCategory(categories[0], out);
    EXPECT_EQ(out, u"Society &amp; Culture");
    NodeArray subs;
    back.getCategoryNodeArray(categories[0], subs);
    ASSERT_EQ(subs.size(), 1u);
    back.getCategoryNodeArray(categories[1], subs);
    EXPECT_TRUE(subs.empty());
    NodeArray items;
    back.getItemNodeArray(items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(back.getSummary(items[0], out));
    EXPECT_EQ(out, u"<p>s</p>");
    EXPECT_FALSE(back.getSummary(channel, out));
    back.getKeywords(items[0], out);
    EXPECT_EQ(out, u"k&amp;k");
}

TEST(CLumRdfXmlData, BuildsTheRdfMarkupWithAW3cDateAndReadsItBack) {
    TempDir dir;
    {
        CLumRdfXmlData doc(CString(), u"UTF-8");
        Node root = doc.createRdfNode();
        Node channel = doc.createChannelNode(u"Z:\\site\\index.rdf");
        ASSERT_TRUE(root && channel);
        doc.setTitle(channel, u"A &amp; B");
        doc.setImage(channel, u"http://e/i.png");
        doc.setImage(root, u"A &amp; B", u"http://e/", u"http://e/i.png");
        doc.setCreator(channel, u"me");
        doc.setPubDate(channel, u"Sun, 06 Dec 2026 16:12:26 +0900");
        Node item = doc.createItemNode(u"http://e/1");
        doc.setTitle(item, u"one");
        doc.setItemSeq(channel, {u"http://e/1", u"http://e/1"});
        ASSERT_TRUE(doc.lumSxdSaveXmlData(CString(dir.windows("a.rdf"))));
    }
    std::string file = dir.read("a.rdf");
    EXPECT_NE(file.find("<dc:date>2026-12-06T16:12:26+09:00</dc:date>"), std::string::npos) << file;
    EXPECT_NE(file.find("<image rdf:resource=\"http://e/i.png\"/>"), std::string::npos) << file;
    EXPECT_NE(file.find("<rdf:li rdf:resource=\"http://e/1\"/>"), std::string::npos) << file;

    CLumRdfXmlData back(CString(dir.windows("a.rdf")), nullptr);
    Node root = back.getRdfNode();
    Node channel = back.getChannelNode();
    ASSERT_TRUE(root && channel);
    EXPECT_EQ(root.getNodeName(), u"rdf:RDF");
    CString out;
    back.getImage(root, out);
    EXPECT_EQ(out, u"http://e/i.png");
    back.getTitle(channel, out);
    EXPECT_EQ(out, u"A &amp; B");
    back.getPubDate(channel, out);
    EXPECT_EQ(out, u"2026-12-06T16:12:26+09:00");
    NodeArray items;
    back.getItemNodeArray(items);
    EXPECT_EQ(items.size(), 1u);
}

TEST(CLumRdfXmlData, AnotherRootIsNotAnRdfDocument) {
    CLumRdfXmlData doc(fixturePath("feed/rss20_full.xml"), nullptr);
    EXPECT_TRUE(doc.IsOK());
    EXPECT_FALSE(doc.getRdfNode());
    EXPECT_FALSE(doc.getChannelNode());
}
