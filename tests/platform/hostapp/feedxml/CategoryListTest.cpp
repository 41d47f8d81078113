#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/files/CKmxCommon.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(CLumItunesCategoryXmlData, TheShippedListIsFoundInTheProductFolderWithLabels) {
    CString folder = CKmxCommon::getProductFolder(54, 0);
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder.Right(1), u"\\");
    CLumItunesCategoryXmlData list(folder + u"itunescategory.xml");
    ASSERT_TRUE(list.IsOK());
    NodeArray top;
    list.getCategoryNodeArray(list.getTopNode(), top);
    ASSERT_GE(top.size(), 19u);
    int withSubcategories = 0;
    for (const Node& node : top) {
        CString name;
        CString label;
        EXPECT_TRUE(list.getCategoryName(node, name));
        EXPECT_TRUE(list.getCategoryLabel(node, label));
        EXPECT_FALSE(name.IsEmpty());
        EXPECT_FALSE(label.IsEmpty());
        NodeArray subs;
        list.getCategoryNodeArray(node, subs);
        withSubcategories += subs.empty() ? 0 : 1;
        for (const Node& sub : subs) {
            NodeArray none;
            list.getCategoryNodeArray(sub, none);
            EXPECT_TRUE(none.empty());
        }
    }
    EXPECT_GE(withSubcategories, 15);
    CString name;
    list.getCategoryName(top[0], name);
    EXPECT_EQ(name, u"Arts");
}

TEST(CLumItunesCategoryXmlData, AMissingOrForeignFileIsNotOK) {
    TempDir dir;
    EXPECT_FALSE(CLumItunesCategoryXmlData(CString(dir.windows("none.xml"))).IsOK());
    dir.write("other.xml", "<rss/>");
    EXPECT_FALSE(CLumItunesCategoryXmlData(CString(dir.windows("other.xml"))).IsOK());
}
