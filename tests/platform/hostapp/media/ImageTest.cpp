// pixImage decoding, resource properties and the BMP-to-PNG conversion.
#include "TempDir.h"
#include "hostapp/media/pixImage.h"
#include "hostapp/site/CLumElemFunc.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>

namespace {

// A 3x2 picture with distinct pixels, encoded by stb's writers.
std::string encode(const char* kind) {
    const unsigned char rgb[] = {255, 0, 0, 0,  255, 0,  0,   0,   255,
                                 9,   9, 9, 90, 90,  90, 200, 200, 200};
    std::string out;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<char*>(data), size);
    };
    std::string k = kind;
    if (k == "png") {
        stbi_write_png_to_func(append, &out, 3, 2, 3, rgb, 9);
    } else if (k == "bmp") {
        stbi_write_bmp_to_func(append, &out, 3, 2, 3, rgb);
    } else if (k == "jpg") {
        stbi_write_jpg_to_func(append, &out, 3, 2, 3, rgb, 90);
    } else if (k == "tga") {
        stbi_write_tga_to_func(append, &out, 3, 2, 3, rgb);
    }
    return out;
}

// The smallest GIF: one white pixel.
const std::string kGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00"
    "\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
    "D\x01\x00;",
    43);

bool decodes(const std::string& bytes) {
    pixImage picture;
    return picture.read(reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
}

}  // namespace

TEST(pixImage, DecodesTheFourWebPictureFormats) {
    for (const char* kind : {"png", "bmp", "jpg"}) {
        std::string bytes = encode(kind);
        pixImage picture;
        ASSERT_TRUE(picture.read(reinterpret_cast<const unsigned char*>(bytes.data()),
                                 static_cast<int>(bytes.size())))
            << kind;
        EXPECT_EQ(picture.width(), 3) << kind;
        EXPECT_EQ(picture.height(), 2) << kind;
    }
    pixImage gif;
    ASSERT_TRUE(gif.read(reinterpret_cast<const unsigned char*>(kGif.data()), 43));
    EXPECT_EQ(gif.kind(), pixImage::Kind::Gif);
    EXPECT_EQ(gif.width(), 1);
}

TEST(pixImage, RefusesOtherFormatsDamagedAndOversizedPictures) {
    EXPECT_FALSE(decodes(encode("tga")));
    EXPECT_FALSE(decodes("<svg/>"));
    EXPECT_FALSE(decodes(""));
    std::string png = encode("png");
    EXPECT_FALSE(decodes(png.substr(0, png.size() / 2)));
    std::string bmp = encode("bmp");
    EXPECT_FALSE(decodes(bmp.substr(0, 30)));
    // A BMP header claiming 60000 x 60000 pixels is refused before decoding.
    std::string huge = bmp;
    for (int at : {18, 22}) {
        huge[at] = '\x60';
        huge[at + 1] = '\xea';
        huge[at + 2] = huge[at + 3] = '\0';
    }
    EXPECT_FALSE(decodes(huge));
    pixImage picture;
    EXPECT_FALSE(picture.read(u"Z:\\nonexistent\\a.png"));
    EXPECT_FALSE(picture.isLoaded());
}

TEST(SIFUtil, PropertyOfAFileGivesItsPathInsideTheSiteAndItsBytesOutside) {
    TempDir dir;
    std::filesystem::create_directory(dir.native("site"));
    dir.write("site/newsdesk-site.json", R"({"url": "https://ann.example/"})");
    dir.write("site/a.png", "inside");
    dir.write("b.png", "outside");
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows("site")), error));
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    CString url = SIFUtil::normalizeURL(site, CString(dir.windows("site/x/../a.png")), nullptr);
    EXPECT_EQ(url, cat_file_colon(CString(dir.windows("site/a.png"))));
    BasePropertyIF* inside = SIFUtil::getPropertyIF(site, url, u"", nullptr);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->getLocalPath(), CString(dir.windows("site/a.png")));
    inside->release();
    BasePropertyIF* outside =
        SIFUtil::getPropertyIF(site, cat_file_colon(CString(dir.windows("b.png"))), u"", nullptr);
    ASSERT_NE(outside, nullptr);
    EXPECT_TRUE(outside->getLocalPath().IsEmpty());
    int size = 0;
    unsigned char* bytes = outside->getContent(size);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "outside");
    BasePropertyIF::freeContent(bytes);
    outside->release();
    EXPECT_EQ(
        SIFUtil::getPropertyIF(site, cat_file_colon(CString(dir.windows("c.png"))), u"", nullptr),
        nullptr);
    EXPECT_EQ(SIFUtil::getPropertyIF(site, u"https://ann.example/a.png", u"", nullptr), nullptr);
    EXPECT_EQ(SIFUtil::normalizeURL(site, u" https://ann.example/a.png ", nullptr),
              u"https://ann.example/a.png");
    site->release();
    LumSiteMgr::closeSite();
}

TEST(CLumElemFunc, ConvertsABmpToAPngBesideItWithoutTakingAnExistingName) {
    TempDir dir;
    dir.write("logo.bmp", encode("bmp"));
    dir.write("logo.png", "someone else's");
    BasePropertyIF* bmp = BasePropertyIF::create(cat_file_colon(CString(dir.windows("logo.bmp"))),
                                                 CString(dir.windows("logo.bmp")));
    BasePropertyIF* png = CLumElemFunc::convertImageFormat(nullptr, bmp, true, u"");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->getLocalPath(), CString(dir.windows("logo~1.png")));
    EXPECT_EQ(png->getLocation(), cat_file_colon(CString(dir.windows("logo~1.png"))));
    EXPECT_EQ(dir.read("logo.png"), "someone else's");
    pixImage converted;
    ASSERT_TRUE(converted.read(png->getLocalPath()));
    EXPECT_EQ(converted.kind(), pixImage::Kind::Png);
    pixImage original;
    ASSERT_TRUE(original.read(CString(dir.windows("logo.bmp"))));
    EXPECT_EQ(converted.pixels(), original.pixels());
    png->release();
    bmp->release();
}

TEST(CLumElemFunc, LeavesWebFormatsAndNonPicturesAlone) {
    TempDir dir;
    dir.write("a.png", encode("png"));
    dir.write("b.jpg", encode("jpg"));
    dir.write("c.bmp", "BM but not a picture at all.......");
    for (const char* name : {"a.png", "b.jpg", "c.bmp"}) {
        BasePropertyIF* property = BasePropertyIF::create(
            cat_file_colon(CString(dir.windows(name))), CString(dir.windows(name)));
        EXPECT_EQ(CLumElemFunc::convertImageFormat(nullptr, property, true, u""), nullptr) << name;
        property->release();
    }
    EXPECT_EQ(dir.names().size(), 3u);
}
