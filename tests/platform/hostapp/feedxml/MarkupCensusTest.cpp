// The census skips the runs of a file that cannot change its state; taken
// block by block it must reach every verdict that byte by byte reaches.
#include "hostapp/feedxml/MarkupCensus.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace lum::xml {
namespace {

struct Verdict {
    bool within;
    const char* exceeded;
    bool startTagSeen;
};

Verdict byteByByte(const std::string& bytes) {
    MarkupCensus census;
    for (char c : bytes) {
        if (!census.feed(static_cast<unsigned char>(c))) {
            return {false, census.exceeded(), census.startTagSeen()};
        }
    }
    return {true, census.exceeded(), census.startTagSeen()};
}

// In blocks of the given size, as the file is read.
Verdict inBlocks(const std::string& bytes, std::size_t block) {
    MarkupCensus census;
    for (std::size_t at = 0; at < bytes.size(); at += block) {
        std::size_t size = std::min(block, bytes.size() - at);
        if (!census.feed(reinterpret_cast<const unsigned char*>(bytes.data() + at), size)) {
            return {false, census.exceeded(), census.startTagSeen()};
        }
    }
    return {true, census.exceeded(), census.startTagSeen()};
}

std::string manyAttributes(int count) {
    std::string tag = "<a";
    for (int i = 0; i < count; ++i) {
        tag += " a" + std::to_string(i) + "='v'";
    }
    return tag + "/>";
}

// The state the bytes leave behind shows in whether a tag of 257 attributes
// after them is counted.
void expectSameVerdicts(const std::string& start) {
    for (const std::string& text : {start, start + manyAttributes(257)}) {
        Verdict expected = byteByByte(text);
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                  std::size_t{64}, text.size() + 1}) {
            Verdict got = inBlocks(text, block);
            EXPECT_EQ(got.within, expected.within) << "block " << block << " of " << text;
            EXPECT_EQ(got.startTagSeen, expected.startTagSeen)
                << "block " << block << " of " << text;
            EXPECT_EQ(got.exceeded == nullptr, expected.exceeded == nullptr) << text;
            if (got.exceeded != nullptr && expected.exceeded != nullptr) {
                EXPECT_STREQ(got.exceeded, expected.exceeded);
            }
        }
    }
}

TEST(MarkupCensus, EndsOfCommentsSectionsAndInstructionsAreFoundWhenSkipping) {
    for (const char* start :
         {"<!-- a > b -- c --->", "<!---->", "<!-->", "<![CDATA[ ]> ]]] ]]>", "<?pi ? >?>", "<?>",
          "<a b='>\"' c=\"'>\">text</a>", "<!DOCTYPE a [<!ENTITY e '>'>]>", "<!-- unterminated",
          "<![CDATA[ unterminated ]]"}) {
        expectSameVerdicts(start);
    }
}

TEST(MarkupCensus, ZeroBytesOfWideEncodingsAreSkippedBeforeTheEndOfAComment) {
    // "<!--x-->" in UTF-16LE and UTF-32LE, and a comment whose last two
    // characters before '>' straddle a block.
    std::string utf16;
    std::string utf32;
    for (char c : std::string("<!--x--><!-- y -- ->")) {
        utf16 += c;
        utf16 += '\0';
        utf32 += c;
        utf32.append(3, '\0');
    }
    expectSameVerdicts(utf16);
    expectSameVerdicts(utf32);
    expectSameVerdicts(std::string("<!-- -\0\0\0\0\0\0\0\0\0-\0\0>", 19));
}

TEST(MarkupCensus, TheAttributeLimitHoldsAfterSkippedText) {
    std::string text(100000, 'x');
    EXPECT_TRUE(inBlocks(text + manyAttributes(256), 1 << 16).within);
    Verdict over = inBlocks(text + manyAttributes(257), 1 << 16);
    EXPECT_FALSE(over.within);
    EXPECT_STREQ(over.exceeded, "an element with more than 256 attributes");
}

TEST(MarkupCensus, RandomMarkupGetsTheSameVerdictInBlocksAsByteByByte) {
    const char* pieces[] = {
        "<",      ">",          "\"", "'",  "!",    "-",   "--",        "[",   "]]", "?",
        "/",      "a",          " ",  "\0", "<!--", "-->", "<![CDATA[", "]]>", "<?", "?>",
        " x='1'", "<!DOCTYPE ", "<a", "/>", "</",   "<b>", "</b>",      "<\"", "<>"};
    std::mt19937 random(17);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            const char* piece = pieces[random() % std::size(pieces)];
            text.append(piece, std::max<std::size_t>(1, std::strlen(piece)));
        }
        expectSameVerdicts(text);
    }
}

}  // namespace
}  // namespace lum::xml
