// Feeds other readers forgive: undeclared HTML entity names and UTF-8 under
// a wrong encoding declaration are read with their text; nothing else is.
#include "hostapp/HtmlEntities.h"
#include "hostapp/XmlFile.h"
#include "hostapp/XmlRepair.h"

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
            xmlFree(text);
            xmlFree(attribute);
            xmlFreeDoc(doc);
        }
        return out;
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(Repair, HtmlNamesReadAsTheirCharactersInTextAndAttributes) {
    Loaded r = load(
        "<r a='caf&eacute;&nbsp;&LT;'>x&nbsp;&amp;&hellip;&NewLine;&notinva;"
        "<![CDATA[&nbsp;]]><!-- &bogus; --></r>");
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.repairs.entities);
    EXPECT_FALSE(r.repairs.encoding);
    EXPECT_EQ(r.attribute, "café\u00a0<");
    // CDATA and comments are not markup: what they hold stays as written.
    EXPECT_EQ(r.text, "x\u00a0&…\n∉&nbsp;");
}

TEST_F(Repair, TheDocumentsOwnEntitiesMayUseHtmlNamesAndStillWin) {
    Loaded r = load(
        "<!DOCTYPE r [<!ENTITY sig '&copy; Ann'><!ENTITY nbsp 'NB'>]>"
        "<r>&sig; &nbsp;&eacute;</r>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "© Ann NBé");
}

TEST_F(Repair, AFeedWithAnExternalDtdNoLongerLosesTheNamesItUses) {
    // Without loading the DTD these parsed before with the references empty.
    Loaded r = load(
        "<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" "
        "\"http://my.netscape.com/publish/formats/rss-0.91.dtd\">"
        "<rss a='&eacute;'>A&nbsp;B</rss>");
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.repairs.entities);
    EXPECT_EQ(r.text, "A\u00a0B");
    EXPECT_EQ(r.attribute, "é");
}

TEST_F(Repair, NamesHtmlDoesNotKnowAndBrokenFilesAreStillRefused) {
    EXPECT_FALSE(load("<r>&nbsp;&nosuchname;</r>").ok);
    EXPECT_FALSE(load("<r>&notit;</r>").ok);
    // Truncated: the repair would have to drop what is missing.
    EXPECT_FALSE(load("<rss><channel><title>caf&eacute;</title>").ok);
    EXPECT_FALSE(load("<r>&nbsp;</s>").ok);
    EXPECT_FALSE(lum::xml::htmlNamedCharacter("nbsp;x").has_value());
    EXPECT_EQ(lum::xml::htmlNamedCharacter("ThickSpace").value_or(""), "\u205f\u200a");
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

TEST_F(Repair, Iso88591IsSecondGuessedOnlyWhenItWouldGiveControlCharacters) {
    // "’" is E2 80 99: as ISO-8859-1, two C1 controls.
    Loaded quote = load("<?xml version='1.0' encoding='ISO-8859-1'?><r>Don\xe2\x80\x99t</r>");
    EXPECT_TRUE(quote.repairs.encoding);
    EXPECT_EQ(quote.text, "Don’t");
    // "é" as UTF-8 is also two good ISO-8859-1 letters: the declaration stands.
    Loaded letters = load("<?xml version='1.0' encoding='ISO-8859-1'?><r>caf\xc3\xa9</r>");
    EXPECT_FALSE(letters.repairs.any());
    EXPECT_EQ(letters.text, "caf\xc3\x83\xc2\xa9");
}

TEST_F(Repair, ADeclarationThatDecodesTheBytesIsNeverSecondGuessed) {
    // Real Shift_JIS is read as Shift_JIS.
    Loaded sjis = load("<?xml version='1.0' encoding='Shift_JIS'?><r>\x93\xfa\x96\x7b</r>");
    ASSERT_TRUE(sjis.ok);
    EXPECT_FALSE(sjis.repairs.any());
    EXPECT_EQ(sjis.text, "日本");
    // Latin-1 bytes declared UTF-8 would need a guess: refused.
    EXPECT_FALSE(load("<?xml version='1.0' encoding='UTF-8'?><r>caf\xe9</r>").ok);
    // Not valid UTF-8 either: refused.
    EXPECT_FALSE(load("<?xml version='1.0' encoding='US-ASCII'?><r>caf\xe9</r>").ok);
    // UTF-8 that is cut short stays refused.
    EXPECT_FALSE(load("<?xml version='1.0' encoding='Shift_JIS'?><r>\xe3\x81\x82<r>").ok);
}

TEST_F(Repair, BothRepairsTogetherAndTheDeclarationFound) {
    Loaded r = load("<?xml version='1.0' encoding='EUC-JP'?><r>日記&nbsp;&mdash;</r>");
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.repairs.entities);
    EXPECT_TRUE(r.repairs.encoding);
    EXPECT_EQ(r.text, "日記\u00a0—");
    EXPECT_EQ(
        lum::xml::declaredEncoding("\xEF\xBB\xBF<?xml version=\"1.0\" encoding = \"sjis\" ?>"),
        "sjis");
    EXPECT_EQ(lum::xml::declaredEncoding("<?xml version='1.0'?><r encoding='x'/>"), "");
}
