// A page opened for the link command as the host program opens one: the
// application's page editor over the page's bytes, at Z:\site\index.html
// unless the test names another file.
#pragma once

#include "hostapp/PageEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace rltest {

struct LinkPage {
    explicit LinkPage(std::string html, const CString& file = u"Z:\\site\\index.html")
        : bytes(std::move(html)) {
        std::string error;
        editor = lum::page::PageEditor::open(file, bytes, error);
        EXPECT_TRUE(editor) << error;
    }
    // The cursor just before the first `marker` of a one-line page.
    void cursorBefore(const std::string& marker) {
        size_t at = bytes.find(marker);
        ASSERT_NE(at, std::string::npos) << marker;
        auto offset = editor->document().offsetOfLineColumn(1, static_cast<long>(at) + 1);
        ASSERT_TRUE(offset) << marker;
        editor->docUtil().setCursor(*offset);
    }
    // The element of that kind around the cursor.
    Element around(int typeId) { return editor->getDocUtil()->isTagExist(typeId, Node()); }
    std::string saved() { return editor->savedBytes(); }

    std::string bytes;
    std::unique_ptr<lum::page::PageEditor> editor;
};

}  // namespace rltest
