#include "win32/UiDriver.h"

#include <utility>

namespace nd::win32 {
namespace {
UiDriver* g_driver = nullptr;
}

UiDriver* setUiDriver(UiDriver* driver) {
    return std::exchange(g_driver, driver);
}

UiDriver* uiDriver() {
    return g_driver;
}

int showMessageBox(const MessageBoxRequest& request) {
    return g_driver ? g_driver->messageBox(request) : 0;
}

int harmlessAnswer(UINT style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
    }
}

std::optional<std::u16string> choosePath(const ChooserRequest& request) {
    if (!g_driver) {
        return std::nullopt;
    }
    return g_driver->choose(request);
}

}  // namespace nd::win32

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    nd::win32::MessageBoxRequest request;
    request.owner = owner;
    request.text = text ? text : u"";
    request.caption = caption ? caption : u"";
    request.style = type;
    return nd::win32::showMessageBox(request);
}
