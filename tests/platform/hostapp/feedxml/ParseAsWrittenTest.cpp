// The parse that follows a save's bytes into the file: whatever the pieces
// it is told of, it answers as a parse of the whole file would, and a save
// that gives up leaves it without waiting for bytes that never come.
#include "hostapp/feedxml/ParseAsWritten.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Writes bytes to a new file in pieces of size piece, telling a parse of
// each; whether the parse finds them well-formed.
bool parsedInPieces(const std::string& bytes, std::size_t piece) {
    std::FILE* file = std::tmpfile();
    int fd = fileno(file);
    lum::xml::ParseAsWritten parse(fd);
    off_t end = 0;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        std::string part = bytes.substr(at, piece);
        EXPECT_EQ(::write(fd, part.data(), part.size()), static_cast<ssize_t>(part.size()));
        end += static_cast<off_t>(part.size());
        parse.written(end);
    }
    bool wellFormed = parse.wellFormed();
    std::fclose(file);
    return wellFormed;
}

TEST(ParseAsWritten, AnswersAsAParseOfTheWholeFileWhateverThePieces) {
    for (int count : {3, 5000}) {
        std::string items;
        for (int i = 0; i < count; ++i) {
            items += "<item><title>t" + std::to_string(i) + "</title></item>";
        }
        const std::string good =
            "<?xml version=\"1.0\"?><rss><channel>" + items + "</channel></rss>";
        // Byte by byte (the encoding is told from four), or as a save writes.
        for (std::size_t piece : {std::size_t{1}, std::size_t{4000}, good.size()}) {
            if (piece == 1 && count > 3) {
                continue;
            }
            EXPECT_TRUE(parsedInPieces(good, piece)) << piece;
            EXPECT_FALSE(parsedInPieces(good.substr(0, good.size() - 1), piece)) << piece;
            EXPECT_FALSE(parsedInPieces("<rss><a></b></rss>" + items, piece)) << piece;
        }
    }
    EXPECT_FALSE(parsedInPieces("", 1));
    EXPECT_FALSE(parsedInPieces("<", 1));
}

TEST(ParseAsWritten, ASaveThatGivesUpDoesNotWaitForTheRest) {
    std::FILE* file = std::tmpfile();
    int fd = fileno(file);
    {
        lum::xml::ParseAsWritten parse(fd);
        ASSERT_EQ(::write(fd, "<rss><channel>", 14), 14);
        parse.written(14);
        // Gone without asking: the parse stops rather than wait.
    }
    std::fclose(file);
}

}  // namespace
