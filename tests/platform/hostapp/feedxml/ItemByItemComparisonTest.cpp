#include "hostapp/feedxml/ItemByItemComparison.h"
#include "hostapp/feedxml/XmlFile.h"

#include "TempDir.h"
#include "support/XmlTrees.h"

#include <libxml/tree.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace {

using lum::xml::ItemByItemComparison;

using testing_xml::Doc;
using testing_xml::x;

// A feed's document built the way the writers build one: the channel's own
// elements, then its items, each finished before the next; `extra` runs on
// the channel once the items are in. An item's text may hold what a save
// drops (a control character).
struct Feed {
    int items = 4;
    std::string itemText = "text";
    std::function<void(xmlNode* channel)> beforeItems = [](xmlNode*) {};
    std::function<void(xmlNode* channel)> extra = [](xmlNode*) {};

    // Hands each item to taking when given; false when it was not taken.
    Doc build(ItemByItemComparison* taking, bool* allTaken = nullptr) const {
        Doc doc(xmlNewDoc(x("1.0")));
        xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
        xmlDocSetRootElement(doc.get(), root);
        xmlNewProp(root, x("version"), x("2.0"));
        xmlNode* channel = xmlNewChild(root, nullptr, x("channel"), nullptr);
        xmlNewTextChild(channel, nullptr, x("title"), x("News & more"));
        beforeItems(channel);
        bool taken = true;
        for (int i = 0; i < items; ++i) {
            xmlNode* item = xmlNewChild(channel, nullptr, x("item"), nullptr);
            std::string title = "Item " + std::to_string(i);
            xmlNewTextChild(item, nullptr, x("title"), x(title.c_str()));
            xmlNewTextChild(item, nullptr, x("description"), x(itemText.c_str()));
            xmlNode* enclosure = xmlNewChild(item, nullptr, x("enclosure"), nullptr);
            xmlNewProp(enclosure, x("url"), x("http://example.com/a?b=1&c=\"2\""));
            if (taking != nullptr && taken) {
                taken = taking->take(item);
            }
        }
        extra(channel);
        if (allTaken != nullptr) {
            *allTaken = taken;
        }
        return doc;
    }
};

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ItemByItemComparisonTest : public ::testing::Test {
  protected:
    // Saves the feed as saveFile writes it in encoding.
    void save(const Feed& feed, const char16_t* encoding = u"UTF-8") {
        Doc doc = feed.build(nullptr);
        ASSERT_TRUE(lum::xml::saveFile(doc.get(), path(), CString(encoding)));
    }
    CString path() const { return CString(m_dir.windows("feed.xml")); }
    std::filesystem::path native() const { return m_dir.native("feed.xml"); }

    // What the comparison answers for the feed, and what comparing the
    // whole document answers.
    std::optional<bool> itemByItem(const Feed& feed, const char16_t* encoding = u"UTF-8",
                                   bool* allTaken = nullptr) {
        ItemByItemComparison comparing(path(), CString(encoding));
        Doc doc = feed.build(&comparing, allTaken);
        return comparing.same(doc.get());
    }
    bool whole(const Feed& feed, const char16_t* encoding = u"UTF-8") {
        Doc doc = feed.build(nullptr);
        return lum::xml::savesSameBytes(doc.get(), path(), CString(encoding));
    }

    TempDir m_dir;
};

TEST_F(ItemByItemComparisonTest, AnUnchangedFeedIsTheSameUnderEverySpellingOfUtf8) {
    Feed feed;
    feed.itemText =
        "a\x01"
        "b";
    for (const char16_t* encoding : {u"UTF-8", u"utf-8", u"UTF8"}) {
        SCOPED_TRACE(CString(encoding).toUtf8());
        save(feed, encoding);
        bool allTaken = false;
        EXPECT_EQ(itemByItem(feed, encoding, &allTaken), std::optional<bool>(true));
        EXPECT_TRUE(allTaken);
    }
    // The first item across the edge of the first window read, and enough
    // items to need several.
    Feed large;
    large.items = 5000;
    large.beforeItems = [](xmlNode* channel) {
        std::string text((std::size_t{1} << 20) - 220, 'd');
        xmlNewTextChild(channel, nullptr, x("description"), x(text.c_str()));
    };
    save(large);
    EXPECT_EQ(itemByItem(large), std::optional<bool>(true));
    // One item, and none: a document without items is compared whole.
    for (int items : {1, 0}) {
        feed.items = items;
        save(feed);
        EXPECT_EQ(itemByItem(feed), std::optional<bool>(true)) << items;
    }
}

TEST_F(ItemByItemComparisonTest, EveryChangedByteIsADifferenceOrLeftToTheWholeTree) {
    Feed feed;
    save(feed);
    const std::string bytes = slurp(native());
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (bool removed : {false, true}) {
            std::string changed = bytes;
            if (removed) {
                changed.erase(at, 1);
            } else {
                changed[at] = changed[at] == 'x' ? 'y' : 'x';
            }
            m_dir.write("feed.xml", changed);
            std::optional<bool> answer = itemByItem(feed);
            // Never the same; a definite no only where the whole tree says so.
            EXPECT_NE(answer, std::optional<bool>(true)) << at << (removed ? " removed" : "");
            EXPECT_FALSE(whole(feed)) << at;
        }
    }
    m_dir.write("feed.xml", bytes + "\n");
    EXPECT_EQ(itemByItem(feed), std::optional<bool>(false));
    // A change before the items or after them is a definite no; one in an
    // item ends the taking there.
    std::string header = bytes;
    header[header.find("News")] = 'V';
    m_dir.write("feed.xml", header);
    EXPECT_EQ(itemByItem(feed), std::optional<bool>(false));
    std::string inItem = bytes;
    inItem[inItem.find("Item 2")] = 'J';
    m_dir.write("feed.xml", inItem);
    bool allTaken = true;
    EXPECT_EQ(itemByItem(feed, u"UTF-8", &allTaken), std::nullopt);
    EXPECT_FALSE(allTaken);
}

TEST_F(ItemByItemComparisonTest, LeavesToTheWholeTreeWhatItCannotPlace) {
    // A comment before the items that holds the first item's very bytes:
    // the items are first found inside it, and the rest cannot agree.
    Feed echoed;
    echoed.beforeItems = [](xmlNode* channel) {
        xmlAddChild(channel, xmlNewComment(x("\n    <item>\n      <title>Item 0</title>\n      "
                                             "<description>text</description>\n      "
                                             "<enclosure url=\"http://example.com/a?b=1&amp;c="
                                             "&quot;2&quot;\"/>\n    </item>\n")));
    };
    save(echoed);
    EXPECT_EQ(itemByItem(echoed), std::nullopt);
    EXPECT_TRUE(whole(echoed));

    // Something put after the items once they were taken.
    Feed appended;
    appended.extra = [](xmlNode* channel) { xmlNewTextChild(channel, nullptr, x("ttl"), x("60")); };
    save(appended);
    EXPECT_EQ(itemByItem(appended), std::nullopt);
    EXPECT_TRUE(whole(appended));

    // A channel holding text is written unindented, items and all.
    Feed unindented;
    unindented.beforeItems = [](xmlNode* channel) { xmlAddChild(channel, xmlNewText(x("stray"))); };
    save(unindented);
    EXPECT_EQ(itemByItem(unindented), std::nullopt);
    EXPECT_TRUE(whole(unindented));
}

TEST_F(ItemByItemComparisonTest, TakesNothingItCannotWriteOrRead) {
    Feed feed;
    save(feed, u"ISO-8859-1");
    EXPECT_FALSE(ItemByItemComparison(path(), CString(u"ISO-8859-1")).taking());
    EXPECT_FALSE(ItemByItemComparison(CString(m_dir.windows("missing.xml")), CString()).taking());
    m_dir.write("empty.xml", "");
    EXPECT_FALSE(ItemByItemComparison(CString(m_dir.windows("empty.xml")), CString()).taking());
    EXPECT_FALSE(ItemByItemComparison(CString(m_dir.windows()), CString()).taking());

    // An item that is not its parent's last child is not taken.
    ItemByItemComparison comparing(path(), CString(u"UTF-8"));
    ASSERT_TRUE(comparing.taking());
    Doc doc(xmlNewDoc(x("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, x("rss"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNode* item = xmlNewChild(root, nullptr, x("item"), nullptr);
    xmlNewChild(root, nullptr, x("after"), nullptr);
    EXPECT_FALSE(comparing.take(item));
    EXPECT_FALSE(comparing.taking());
    EXPECT_EQ(item->parent, root);
    EXPECT_EQ(comparing.same(doc.get()), std::nullopt);
}

}  // namespace
