// newsdesk dialog ID: creates one of the module's dialog templates without
// showing it and prints the control tree the window system built from it.
#include "Commands.h"
#include "StyleNames.h"
#include "TextQuote.h"

#include "win32/CommCtrl.h"
#include "win32/Dialog.h"
#include "win32/Gdi.h"
#include "win32/Resources.h"
#include "win32/Window.h"

#include <charconv>
#include <cstdio>
#include <ostream>
#include <string>

namespace newsdesk::app {

namespace {

// The dialog runs no code of its own: the window system's default handling
// is what is being looked at.
INT_PTR inspectProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::u16string textOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::u16string classOf(HWND window) {
    WCHAR name[128] = {};
    int length = GetClassNameW(window, name, 128);
    return std::u16string(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string column(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string number(long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*ld", width, value);
    return buffer;
}

std::string hex(DWORD value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

// A picture control's bitmap, as "  image WxH"; empty for other controls.
std::string imageOf(HWND control) {
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return {};
    }
    return "  image " + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
}

// The dialog is never shown, so a control counts as visible when its own
// WS_VISIBLE is set: what the user would see once the dialog appears.
void printControl(std::ostream& out, HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&r), 2);
    std::u16string cls = classOf(control);
    DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    out << number(GetDlgCtrlID(control), 6) << "  " << column(quoteText(cls), 21)
        << number(r.left, 4) << number(r.top, 5) << number(r.right - r.left, 6)
        << number(r.bottom - r.top, 5) << "  " << column(IsWindowEnabled(control) ? "yes" : "no", 8)
        << column((style & WS_VISIBLE) ? "yes" : "no", 8) << hex(style) << " "
        << styleNames(cls, style) << "  " << quoteText(textOf(control)) << imageOf(control) << "\n";
}

// "11900 to 11910": the first and last dialog template the module holds.
std::string dialogRange(HMODULE module) {
    int first = 0;
    int last = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        if (FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG) != nullptr) {
            first = first == 0 ? id : first;
            last = id;
        }
    }
    if (first == 0) {
        return "none";
    }
    return first == last ? std::to_string(first)
                         : std::to_string(first) + " to " + std::to_string(last);
}

}  // namespace

int runDialog(CommandContext& context) {
    int id = 0;
    if (context.args.size() == 1) {
        const std::string& arg = context.args[0];
        auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), id);
        if (ec != std::errc() || end != arg.data() + arg.size() || id <= 0 || id > 0xFFFF) {
            id = 0;
        }
    }
    HMODULE module = context.module.moduleHandle();
    if (id == 0) {
        context.err << "newsdesk: " << usageLine(*context.command)
                    << " (ID is one of the module's dialog templates: " << dialogRange(module)
                    << ")\n";
        return 2;
    }
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (found == nullptr) {
        context.err << "newsdesk: the module has no dialog template " << id << " (its dialogs are "
                    << dialogRange(module) << ")\n";
        return 1;
    }
    auto parsed = nd::win32::parseDialogTemplate(LockResource(LoadResource(module, found)),
                                                 SizeofResource(module, found));
    if (!parsed) {
        context.err << "newsdesk: dialog template " << id << " is malformed\n";
        return 1;
    }
    // A property page is a child window and needs a parent to be created in,
    // as the sheet gives it.
    HWND host = nullptr;
    if (parsed->style & WS_CHILD) {
        host = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr,
                               nullptr, nullptr);
    }
    HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(id), host, inspectProc, 0);
    if (dialog == nullptr) {
        context.err << "newsdesk: dialog template " << id << " could not be created\n";
        if (host != nullptr) {
            DestroyWindow(host);
        }
        return 1;
    }
    RECT client;
    GetClientRect(dialog, &client);
    DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    context.out << "dialog " << id << "  " << quoteText(textOf(dialog)) << "  client "
                << client.right - client.left << " x " << client.bottom - client.top << "  "
                << hex(style) << " " << dialogStyleNames(style) << "\n";
    context.out << "    id  class                left  top width  hgt  enabled visible style\n";
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        printControl(context.out, dialog, child);
    }
    DestroyWindow(dialog);
    if (host != nullptr) {
        DestroyWindow(host);
    }
    return 0;
}

}  // namespace newsdesk::app
