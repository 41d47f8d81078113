#include "win32/HtmlHelp.h"

#include <gtest/gtest.h>

TEST(HtmlHelp, RequestsAreKeptInOrderWithTheirTopicOrNumber) {
    nd::win32::clearHtmlHelpRequests();
    EXPECT_EQ(HtmlHelpW(nullptr, u"Z:\\help\\app.chm", HH_DISPLAY_TOPIC,
                        reinterpret_cast<DWORD_PTR>(u"pages/links.htm")),
              nullptr);
    HtmlHelpW(nullptr, u"Z:\\help\\app.chm", HH_DISPLAY_TOC, 0);
    HtmlHelpW(nullptr, nullptr, HH_HELP_CONTEXT, 11902);
    const auto& all = nd::win32::htmlHelpRequests();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].file, u"Z:\\help\\app.chm");
    EXPECT_EQ(all[0].command, HH_DISPLAY_TOPIC);
    EXPECT_EQ(all[0].topic, u"pages/links.htm");
    EXPECT_EQ(all[1].command, HH_DISPLAY_TOC);
    EXPECT_EQ(all[1].topic, u"") << "a table of contents without a topic";
    EXPECT_EQ(all[2].file, u"") << "no file is an empty file name, not a crash";
    EXPECT_EQ(all[2].data, 11902u);
    nd::win32::clearHtmlHelpRequests();
    EXPECT_TRUE(nd::win32::htmlHelpRequests().empty());
}
