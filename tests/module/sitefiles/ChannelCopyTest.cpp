// A copied feed record is a whole copy: what its file kept beyond the
// record goes with it.
#include "sitefiles/ChannelCopy.h"

#include <gtest/gtest.h>

TEST(ChannelCopy, CarriesTheKeptMarkupOfTheChannelAndItsItems) {
    CRSSChannel source;
    source.m_title = u"T";
    source.m_kept.addElementXml("<generator>g</generator>", lum::KeptPlace::Host, 1);
    CRSSItem item;
    item.m_kept.addElementXml("<guid>x</guid>", lum::KeptPlace::Host, 1);
    source.addItem(item);
    CRSSChannel target;
    newsdesk::sitefiles::copyChannel(source, target);
    source.resetData();
    ASSERT_EQ(target.m_kept.elements().size(), 1u);
    EXPECT_EQ(lum::KeptMarkup::toXml(target.m_kept.elements()[0].node), "<generator>g</generator>");
    ASSERT_EQ(target.m_items.size(), 1u);
    EXPECT_EQ(lum::KeptMarkup::toXml(target.m_items[0].m_kept.elements()[0].node),
              "<guid>x</guid>");
}
