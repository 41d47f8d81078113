#include "TempDir.h"
#include "hostapp/files/SaveLeftovers.h"
#include "win32/PathMapping.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string nameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

}  // namespace

TEST(SaveLeftovers, LongNamesGetOwnNamesThatFitAFolder) {
    TempDir dir;
    // Two names that differ only past the point where our names cut them.
    std::string a = std::string(250, 'n') + "a.xml";
    std::string b = std::string(250, 'n') + "b.xml";
    auto keptA = nd::win32::toNativePath(lum::keptCopyPath(CString(dir.windows(a))).view());
    auto keptB = nd::win32::toNativePath(lum::keptCopyPath(CString(dir.windows(b))).view());
    ASSERT_TRUE(keptA && keptB);
    EXPECT_NE(*keptA, *keptB);
    EXPECT_LE(nameOf(*keptA).size(), static_cast<size_t>(NAME_MAX));
    std::string tempA = lum::temporaryTemplate(dir.native(a).string());
    std::string tempB = lum::temporaryTemplate(dir.native(b).string());
    EXPECT_NE(tempA, tempB);
    EXPECT_LE(nameOf(tempA).size(), static_cast<size_t>(NAME_MAX));
    // A short name is carried whole, so a person can tell whose file it is.
    EXPECT_EQ(nameOf(lum::temporaryTemplate(dir.native("news.rss").string())),
              ".news.rss.XXXXXX.ndsave");
    EXPECT_EQ(nameOf(*nd::win32::toNativePath(
                  lum::keptCopyPath(CString(dir.windows("news.rss"))).view())),
              ".news.rss.ndkept");
}
