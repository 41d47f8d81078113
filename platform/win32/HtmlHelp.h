// The HTML Help call. This system shows no help window: each request is
// kept, in order, so that the host and tests can see which file and topic
// were asked for.
#pragma once

#include "win32/windows.h"

#include <string>
#include <vector>

constexpr UINT HH_HELP_CONTEXT = 0x000F;
constexpr UINT HH_CLOSE_ALL = 0x0012;

// The help window's handle on the system; here always null, since no window
// is made (callers treat the result as a hint only).
HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

namespace nd::win32 {

struct HtmlHelpRequest {
    HWND caller = nullptr;
    std::u16string file;
    UINT command = 0;
    // The topic text of HH_DISPLAY_TOPIC / HH_DISPLAY_TOC when one was given.
    std::u16string topic;
    // The number of HH_HELP_CONTEXT (and any other command's data).
    DWORD_PTR data = 0;
};

const std::vector<HtmlHelpRequest>& htmlHelpRequests();
void clearHtmlHelpRequests();

}  // namespace nd::win32
