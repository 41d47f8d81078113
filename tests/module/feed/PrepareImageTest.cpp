#include "TempDir.h"
#include "feed/PrepareImage.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/UrlUtil.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <memory>

namespace {

std::string bmp() {
    const unsigned char rgb[] = {1, 2, 3, 4, 5, 6};
    std::string out;
    stbi_write_bmp_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<char*>(data), size);
        },
        &out, 2, 1, 3, rgb);
    return out;
}

CString url(const TempDir& dir, const std::string& name) {
    return cat_file_colon(CString(dir.windows(name)));
}

}  // namespace

TEST(prepareImage, ABmpIsConvertedButTheLoadedPictureIsTheChosenFile) {
    TempDir dir;
    dir.write("logo.bmp", bmp());
    CString out;
    std::unique_ptr<pixImage> picture(
        newsdesk::prepareImage(CString(dir.windows("logo.bmp")), out));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->kind(), pixImage::Kind::Bmp);
    EXPECT_EQ(out, url(dir, "logo.png"));
    EXPECT_TRUE(std::filesystem::exists(dir.native("logo.png")));
}

TEST(prepareImage, APictureOutsideTheOpenSiteIsLoadedFromItsBytes) {
    TempDir dir;
    std::filesystem::create_directory(dir.native("site"));
    dir.write("site/newsdesk-site.json", R"({"url": "https://ann.example/"})");
    dir.write("icon.bmp", bmp());
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows("site")), error));
    CString out;
    std::unique_ptr<pixImage> picture(newsdesk::prepareImage(url(dir, "x/../icon.bmp"), out));
    LumSiteMgr::closeSite();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 2);
    EXPECT_EQ(out, url(dir, "icon.png"));
}

TEST(prepareImage, NoResourceOrAnUndecodablePictureGivesNoneWithTheNormalizedLocation) {
    TempDir dir;
    dir.write("empty.png", "");
    dir.write("text.gif", "GIF89a but nothing else");
    CString out = u"untouched";
    EXPECT_EQ(newsdesk::prepareImage(CString(dir.windows("missing.png")), out), nullptr);
    EXPECT_EQ(out, url(dir, "missing.png"));
    for (const char* name : {"empty.png", "text.gif"}) {
        EXPECT_EQ(newsdesk::prepareImage(CString(dir.windows(name)), out), nullptr) << name;
        EXPECT_EQ(out, url(dir, name));
    }
    EXPECT_EQ(newsdesk::prepareImage(u"https://ann.example/a.png", out), nullptr);
    EXPECT_EQ(out, u"https://ann.example/a.png");
}
