#include "feed/HeldFields.h"

#include "hostapp/feedxml/CLumiTuneXmlData.h"
#include "hostapp/feedxml/DomNode.h"

namespace newsdesk {

void takeLaterEnclosure(CRSSItem& item) {
    if (!item.m_enclosureUrl.IsEmpty()) {
        return;
    }
    auto namesAFile = [](const xmlNode* node) {
        return !Element(const_cast<xmlNode*>(node)).getAttribute(u"url").IsEmpty();
    };
    if (const xmlNode* later = item.m_kept.takeFirstElement(nullptr, "enclosure", namesAFile)) {
        Element enclosure(const_cast<xmlNode*>(later));
        item.m_enclosureUrl = enclosure.getAttribute(u"url");
        CString length = enclosure.getAttribute(u"length");
        item.m_enclosureLength = length.IsEmpty() ? 0 : wtoi64(length);
        item.m_enclosureType = enclosure.getAttribute(u"type");
    }
}

void takeLaterDuration(CRSSItem& item) {
    if (item.m_duration != 0) {
        return;
    }
    auto reads = [](const xmlNode* node) {
        return parseDuration(Node(const_cast<xmlNode*>(node)).getTextContent()) > 0;
    };
    if (const xmlNode* later = item.m_kept.takeFirstElement(kItunesNamespace, "duration", reads)) {
        item.m_duration = parseDuration(Node(const_cast<xmlNode*>(later)).getTextContent());
    }
}

void takeLaterImage(CRSSChannel& channel) {
    if (!channel.m_image.IsEmpty()) {
        return;
    }
    auto namesAPicture = [](const xmlNode* node) {
        return !Element(const_cast<xmlNode*>(node)).getAttribute(u"href").IsEmpty();
    };
    if (const xmlNode* later =
            channel.m_kept.takeFirstElement(kItunesNamespace, "image", namesAPicture)) {
        channel.m_image = Element(const_cast<xmlNode*>(later)).getAttribute(u"href");
    }
}

void takeLaterBlock(CRSSItem& item) {
    if (item.m_block) {
        return;
    }
    auto blocks = [](const xmlNode* node) {
        return Node(const_cast<xmlNode*>(node)).getTextContent().CompareNoCase(u"yes") == 0;
    };
    if (item.m_kept.takeFirstElement(kItunesNamespace, "block", blocks) != nullptr) {
        item.m_block = true;
    }
}

}  // namespace newsdesk
