// RssWelcomeEntry: the welcome navigator, run modally.
#include "host/Entries.h"
#include "navigator/CLumRssBeginaviPage.h"
#include "res/ResourceIds.h"

namespace newsdesk {

bool RssWelcomeEntry(void*, CLumRssBeginaviPage** dialog, HICON icon) {
    CLumRssBeginaviPage navigator(IDD_RSS_BEGINAVI, nullptr, icon);
    if (dialog != nullptr) {
        *dialog = &navigator;
    }
    INT_PTR result = navigator.DoModal();
    // The address is the host's only while the dialog is shown.
    if (dialog != nullptr) {
        *dialog = nullptr;
    }
    return result == IDOK;
}

}  // namespace newsdesk
