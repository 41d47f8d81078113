#include "win32/HtmlHelp.h"

#include "win32/UiDriver.h"

namespace nd::win32 {
namespace {

std::vector<HtmlHelpRequest>& requests() {
    static std::vector<HtmlHelpRequest> all;
    return all;
}

}  // namespace

const std::vector<HtmlHelpRequest>& htmlHelpRequests() {
    return requests();
}

void clearHtmlHelpRequests() {
    requests().clear();
}

}  // namespace nd::win32

HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    nd::win32::HtmlHelpRequest request;
    request.caller = caller;
    request.file = file ? file : u"";
    request.command = command;
    // The topic commands take a text (or nothing); the others a number.
    if ((command == HH_DISPLAY_TOPIC || command == HH_DISPLAY_TOC) && data) {
        request.topic = reinterpret_cast<LPCWSTR>(data);
    } else {
        request.data = data;
    }
    nd::win32::requests().push_back(request);
    if (auto* driver = nd::win32::uiDriver()) {
        driver->helpRequested(request);
    }
    return nullptr;
}
