// The application's view of the page document in its editor: the cursor,
// the element around it and the paths its references name.
#pragma once

#include "hostapp/feedxml/DomNode.h"
#include "mfc/CString.h"

class CWnd;

// Element type ids of the page DOM.
constexpr int kHtmlTypeAnchor = 1;  // A
constexpr int kHtmlTypeImage = 49;  // IMG

class COrvHTMLDocUtil {
  public:
    // The nearest element of the type id that encloses the cursor (or
    // `start` when it is not null, the start node itself included); a null
    // element when there is none.
    virtual Element isTagExist(int typeId, Node start) = 0;
    // The node at the cursor and the offset in it: for a text node a
    // character offset (UTF-16 units) into its text, for an element the
    // index of the child before which the cursor stands. false when the
    // cursor is nowhere in the body.
    virtual bool getCursorPos(Node& node, long& offset) = 0;
    // The full path of a reference made in the page: a relative or
    // root-relative reference resolved against the page's location and
    // given as a Windows path when it names a file of this machine
    // ("feeds/a.rss" -> "Z:\site\feeds\a.rss"); any other URL unchanged.
    virtual CString getFullPath(const CString& reference) = 0;
    virtual bool isFreeLayoutMode() = 0;
    // Set before content is appended to the free-layout container.
    virtual void setFreeLayoutInsert(bool on) = 0;
    // The sample-material chooser: a path of one of the application's
    // sample files of the type (0 = RSS icons), or empty when cancelled.
    virtual CString GetSampleFile(int fileType, CWnd* parent) = 0;

  protected:
    virtual ~COrvHTMLDocUtil() = default;
};
