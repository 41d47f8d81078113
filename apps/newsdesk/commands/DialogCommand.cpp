// newsdesk dialog ID: creates one of the module's dialog templates and
// prints the control tree the window system built from it, then runs it as
// a modal dialog that OK and Cancel end (in real windows, from a UI script
// or pictured). --controls stops after the tree; --png FILE draws the
// dialog as it opens, shown only when a UI script plays it.
#include "Commands.h"
#include "StyleNames.h"
#include "TextQuote.h"

#include "win32/CommCtrl.h"
#include "win32/Dialog.h"
#include "win32/Gdi.h"
#include "win32/MessageLoop.h"
#include "win32/Resources.h"
#include "win32/UiDriver.h"
#include "win32/Window.h"

#include <charconv>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace newsdesk::app {

namespace {

// The dialog runs no code of its own: the window system's default handling
// is what is being looked at.
INT_PTR inspectProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Shown to a person, the template's OK and Cancel buttons (and Enter, Esc
// and the close box, which end in them) close it.
INT_PTR showProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// A property page is a child window: it is shown inside a plain dialog of
// its size with its caption, as a sheet would hold it.
HWND makePageHost(HMODULE module, const nd::win32::DialogTemplate& page, int id) {
    nd::win32::DialogTemplate host;
    host.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    host.title = page.title;
    host.hasFont = page.hasFont;
    host.pointSize = page.pointSize;
    host.weight = page.weight;
    host.charset = page.charset;
    host.typeface = page.typeface;
    host.cx = page.cx;
    host.cy = page.cy;
    HWND dialog = nd::win32::createDialog(module, host, nullptr, showProc, 0, id);
    return dialog;
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
    std::string png;
    bool controlsOnly = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        if (context.args[i] == "--png" && i + 1 < context.args.size()) {
            png = context.args[++i];
        } else if (context.args[i] == "--controls") {
            controlsOnly = true;
        } else {
            rest.push_back(context.args[i]);
        }
    }
    bool number = false;
    if (rest.size() == 1) {
        const std::string& arg = rest[0];
        auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), id);
        number = ec == std::errc() && end == arg.data() + arg.size();
    }
    HMODULE module = context.module.moduleHandle();
    if (!number) {
        context.err << "newsdesk: " << usageLine(*context.command)
                    << " (ID is one of the module's dialog templates: " << dialogRange(module)
                    << ")\n";
        return 2;
    }
    // Any number that names none of the module's templates is the same
    // mistake, whether or not it could name a resource at all.
    HRSRC found =
        id > 0 && id <= 0xFFFF ? FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG) : nullptr;
    if (found == nullptr) {
        context.err << "newsdesk: the module has no dialog template " << rest[0]
                    << " (its dialogs are " << dialogRange(module) << ")\n";
        return 2;
    }
    // A picture alone needs no one to answer; a script may still play the
    // dialog it pictures.
    bool shows = !controlsOnly && (png.empty() || nd::win32::uiDriver() != nullptr);
    if (shows && !needsSomeoneToAnswer(context)) {
        return 2;
    }
    auto parsed = nd::win32::parseDialogTemplate(LockResource(LoadResource(module, found)),
                                                 SizeofResource(module, found));
    if (!parsed) {
        context.err << "newsdesk: dialog template " << id << " is malformed\n";
        return 1;
    }
    bool page = parsed->style & WS_CHILD;
    HWND host = page ? makePageHost(module, *parsed, id) : nullptr;
    if (page && host == nullptr) {
        context.err << "newsdesk: dialog template " << id << " could not be created\n";
        return 1;
    }
    HWND dialog =
        CreateDialogParamW(module, MAKEINTRESOURCEW(id), host, page ? inspectProc : showProc, 0);
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
    HWND shown = host != nullptr ? host : dialog;
    if (host != nullptr) {
        // The sheet enables and shows the page it brings to the front.
        MoveWindow(host, 0, 0, client.right, client.bottom, FALSE);
        SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        EnableWindow(dialog, TRUE);
        ShowWindow(dialog, SW_SHOW);
    }
    int status = 0;
    if (!png.empty()) {
        ShowWindow(shown, SW_SHOW);
        nd::win32::pumpMessages();
        std::string why = "pictures need the offscreen front end";
        if (context.frontEnd == nullptr || !context.frontEnd->picture(shown, png, why)) {
            context.err << "newsdesk: " << why << "\n";
            status = 1;
        }
    }
    if (status == 0 && shows) {
        INT_PTR result = nd::win32::runModal(shown);
        context.out << "dialog " << id << " closed with " << result << "\n";
    } else {
        DestroyWindow(shown);
    }
    if (host != nullptr && IsWindow(host)) {
        DestroyWindow(host);
    }
    return status;
}

}  // namespace newsdesk::app
