// Feeds other readers forgive: undeclared HTML entity names and UTF-8 under
// a wrong encoding declaration are read with their text; nothing else is.
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlRepair.h"
#include "hostapp/text/HtmlEntities.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <libxml/tree.h>

#include <string>

namespace {

struct Loaded {
    bool ok = false;
    std::string text;       // the root element's text
    std::string attribute;  // the root's attribute "a"
    std::string encoding;
    std::string href;  // of the root's first namespace declaration
    lum::xml::Repairs repairs;
};

class Repair : public ::testing::Test {
  protected:
    Loaded load(const std::string& bytes) {
        m_dir.write("f.xml", bytes);
        Loaded out;
        xmlDoc* doc = lum::xml::loadFile(CString(m_dir.windows("f.xml")), &out.repairs);
        if (doc != nullptr) {
            out.ok = true;
            xmlNode* root = xmlDocGetRootElement(doc);
            xmlChar* text = xmlNodeGetContent(root);
            xmlChar* attribute = xmlGetProp(root, reinterpret_cast<const xmlChar*>("a"));
            out.text = text ? reinterpret_cast<char*>(text) : "";
            out.attribute = attribute ? reinterpret_cast<char*>(attribute) : "";
            out.encoding = doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "";
            out.href = root->nsDef ? reinterpret_cast<const char*>(root->nsDef->href) : "";
            xmlFree(text);
            xmlFree(attribute);
            xmlFreeDoc(doc);
        }
        return out;
    }

    TempDir m_dir;
};

}  // namespace

// What a file reads as, and which repairs that took (-1: either).
struct Reads {
    const char* bytes;
    const char* text;
    const char* attribute;
    int entities;
    int encoding;
};

TEST_F(Repair, ReadableFilesGiveTheirTextAndTellTheRepairsTaken) {
    const Reads cases[] = {
        // HTML names in text and attributes; CDATA and comments are not
        // markup: what they hold stays as written.
        {"<r a='caf&eacute;&nbsp;&LT;'>x&nbsp;&amp;&hellip;&NewLine;&notinva;"
         "<![CDATA[&nbsp;]]><!-- &bogus; --></r>",
         "x\u00a0&…\n∉&nbsp;", "café\u00a0<", 1, 0},
        // The document's own entities may use HTML names and still win.
        {"<!DOCTYPE r [<!ENTITY sig '&copy; Ann'><!ENTITY nbsp 'NB'>]><r>&sig; &nbsp;&eacute;</r>",
         "© Ann NBé", "", -1, -1},
        // Without loading the DTD these parsed before with the references empty.
        {"<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" "
         "\"http://my.netscape.com/publish/formats/rss-0.91.dtd\"><rss a='&eacute;'>A&nbsp;B</rss>",
         "A\u00a0B", "é", 1, -1},
        // "’" is E2 80 99: as ISO-8859-1, two C1 controls.
        {"<?xml version='1.0' encoding='ISO-8859-1'?><r>Don\xe2\x80\x99t</r>", "Don’t", "", -1, 1},
        // "é" as UTF-8 is also two good ISO-8859-1 letters: the declaration stands.
        {"<?xml version='1.0' encoding='ISO-8859-1'?><r>caf\xc3\xa9</r>", "caf\xc3\x83\xc2\xa9", "",
         0, 0},
        // Real Shift_JIS is read as Shift_JIS.
        {"<?xml version='1.0' encoding='Shift_JIS'?><r>\x93\xfa\x96\x7b</r>", "日本", "", 0, 0},
        {"<?xml version='1.0' encoding='EUC-JP'?><r>日記&nbsp;&mdash;</r>", "日記\u00a0—", "", 1,
         1},
    };
    for (const Reads& c : cases) {
        SCOPED_TRACE(c.bytes);
        Loaded r = load(c.bytes);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.attribute, c.attribute);
        if (c.entities >= 0) {
            EXPECT_EQ(r.repairs.entities, c.entities == 1);
        }
        if (c.encoding >= 0) {
            EXPECT_EQ(r.repairs.encoding, c.encoding == 1);
        }
    }
}

// Under a document type that is never read, a name HTML does not know is no
// error: it is left out, and so is no reference the feed written cannot
// resolve; the HTML names beside it are still read as their characters.
TEST_F(Repair, NamesOnlyAnUnreadDocumentTypeCouldDeclareAreLeftOutAndSaid) {
    Loaded r = load("<!DOCTYPE rss SYSTEM 'rss.dtd'><rss a='&zz;&eacute;'>A&nbsp;&zz;B</rss>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "A\u00a0B");
    EXPECT_EQ(r.attribute, "é");
    EXPECT_TRUE(r.repairs.entities);
    EXPECT_TRUE(r.repairs.droppedEntities);
    // In a namespace's value too, which the parser leaves as the file spells it.
    Loaded declared = load("<r xmlns:c='urn:&eacute;&amp;&#38;'><c:x/></r>");
    EXPECT_TRUE(declared.repairs.entities);
    EXPECT_EQ(declared.href, "urn:é&#38;&#38;");  // the parser keeps &amp; as &#38;
    Loaded known = load("<!DOCTYPE rss SYSTEM 'rss.dtd'><rss>A&nbsp;B</rss>");
    EXPECT_EQ(known.text, "A\u00a0B");
    EXPECT_FALSE(known.repairs.droppedEntities);
}

TEST_F(Repair, NamesHtmlDoesNotKnowAndBrokenFilesAreStillRefused) {
    for (const char* bytes : {"<r>&nbsp;&nosuchname;</r>", "<r>&notit;</r>",
                              // Truncated: the repair would have to drop what is missing.
                              "<rss><channel><title>caf&eacute;</title>", "<r>&nbsp;</s>",
                              // Latin-1 bytes declared UTF-8 would need a guess; not UTF-8 either.
                              "<?xml version='1.0' encoding='UTF-8'?><r>caf\xe9</r>",
                              "<?xml version='1.0' encoding='US-ASCII'?><r>caf\xe9</r>",
                              // UTF-8 that is cut short stays refused.
                              "<?xml version='1.0' encoding='Shift_JIS'?><r>\xe3\x81\x82<r>"}) {
        EXPECT_FALSE(load(bytes).ok) << bytes;
    }
    EXPECT_FALSE(lum::xml::htmlNamedCharacter("nbsp;x").has_value());
    EXPECT_EQ(lum::xml::htmlNamedCharacter("ThickSpace").value_or(""), "\u205f\u200a");
    EXPECT_EQ(
        lum::xml::declaredEncoding("\xEF\xBB\xBF<?xml version=\"1.0\" encoding = \"sjis\" ?>"),
        "sjis");
    EXPECT_EQ(lum::xml::declaredEncoding("<?xml version='1.0'?><r encoding='x'/>"), "");
}

TEST_F(Repair, Utf8BytesUnderAnEncodingTheyAreNotInReadAsUtf8) {
    for (const char* declared :
         {"Shift_JIS", "EUC-JP", "US-ASCII", "windows-1252", "UTF-16", "x-no-such-encoding"}) {
        SCOPED_TRACE(declared);
        Loaded r =
            load(std::string("<?xml version='1.0' encoding='") + declared +
                 "'?><r a='\xe2\x80\x9d'>\xe3\x81\x82\xe3\x81\x84 \xe2\x80\x9d caf\xc3\xa9</r>");
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(r.repairs.encoding);
        EXPECT_EQ(r.text, "あい ” café");
        EXPECT_EQ(r.encoding, "UTF-8");
    }
}
