// Dialogs: creation from templates, the dialog manager's default handling
// and modal runs. Its keyboard interface is in DialogKeyboard.cpp.
#include "win32/Dialog.h"

#include "win32/Controls.h"
#include "win32/DialogKeyboard.h"
#include "win32/Gdi.h"
#include "win32/MessageLoop.h"
#include "win32/Resources.h"
#include "win32/UiDriver.h"
#include "win32/UserInput.h"
#include "win32/Window.h"
#include "win32/WindowTree.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

using nd::win32::detail::find;

namespace nd::win32::detail {
void ensureBuiltinClasses();
}

namespace {

nd::win32::detail::DialogState* dialogState(HWND dialog) {
    auto* w = find(dialog);
    return w ? w->dialog.get() : nullptr;
}

}  // namespace

namespace nd::win32::detail {

void collectTabOrder(HWND parent, std::vector<HWND>& out) {
    auto* w = find(parent);
    if (!w) {
        return;
    }
    for (HWND c : w->children) {
        auto* cw = find(c);
        if (!cw) {
            continue;
        }
        if ((cw->exStyle & WS_EX_CONTROLPARENT) && (cw->style & WS_VISIBLE)) {
            collectTabOrder(c, out);
        } else {
            out.push_back(c);
        }
    }
}

void pressButton(HWND dialog, int id) {
    HWND button = nd::win32::findDescendant(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        return;  // a disabled default button ignores Enter
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

}  // namespace nd::win32::detail

using nd::win32::detail::collectTabOrder;
using nd::win32::detail::pressButton;

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* w = find(dialog);
    if (!w) {
        return 0;
    }
    if (!w->dialog) {
        w->dialog = std::make_unique<nd::win32::detail::DialogState>();
    }
    if (DLGPROC proc = w->dialog->proc) {
        w->dialog->msgResult = 0;
        INT_PTR r = proc(dialog, message, wParam, lParam);
        auto* state = dialogState(dialog);
        if (r) {
            switch (message) {
                case WM_CTLCOLORMSGBOX:
                case WM_CTLCOLOREDIT:
                case WM_CTLCOLORLISTBOX:
                case WM_CTLCOLORBTN:
                case WM_CTLCOLORDLG:
                case WM_CTLCOLORSCROLLBAR:
                case WM_CTLCOLORSTATIC:
                case WM_INITDIALOG:
                    return r;
                default:
                    return state ? state->msgResult : 0;
            }
        }
        if (!state) {
            return 0;  // the procedure destroyed the dialog
        }
    }
    switch (message) {
        case WM_NEXTDLGCTL: {
            HWND target = nullptr;
            if (LOWORD(static_cast<DWORD_PTR>(lParam))) {
                target = reinterpret_cast<HWND>(wParam);
            } else {
                target = GetNextDlgTabItem(dialog, GetFocus(), wParam ? TRUE : FALSE);
            }
            if (target && (IsChild(dialog, target) || target == dialog)) {
                SetFocus(target);
            }
            return 0;
        }
        case DM_GETDEFID: {
            std::vector<HWND> all;
            collectTabOrder(dialog, all);
            for (HWND c : all) {
                auto* cw = find(c);
                if (cw && nd::win32::className(c) == WC_BUTTON &&
                    (cw->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(cw->id), DC_HASDEFID));
                }
            }
            return 0;
        }
        case WM_CLOSE:
            pressButton(dialog, IDCANCEL);
            return 0;
        case WM_ERASEBKGND: {
            // A dialog's background is the brush it answers for itself.
            auto dc = reinterpret_cast<HDC>(wParam);
            auto brush = reinterpret_cast<HBRUSH>(
                SendMessageW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
            if (!brush) {
                brush = GetSysColorBrush(COLOR_BTNFACE);
            }
            RECT r;
            GetClientRect(dialog, &r);
            FillRect(dc, &r, brush);
            return TRUE;
        }
        case WM_INITDIALOG:
            return TRUE;
        case WM_NCDESTROY:
            if (auto* state = dialogState(dialog); state && state->font) {
                DeleteObject(std::exchange(state->font, nullptr));
            }
            return 0;
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

namespace {

LRESULT dialogClassProcImpl(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(dialog, message, wParam, lParam);
}

}  // namespace

namespace nd::win32::detail {
WNDPROC dialogClassProc() {
    return dialogClassProcImpl;
}
}  // namespace nd::win32::detail

namespace nd::win32 {

HWND createDialog(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc,
                  LPARAM param, int templateId) {
    detail::ensureBuiltinClasses();
    BaseUnits units = baseUnitsFor(t);
    auto px = [&](int dlu) { return MulDiv(dlu, units.x, 4); };
    auto py = [&](int dlu) { return MulDiv(dlu, units.y, 8); };
    DWORD style = t.style & ~WS_VISIBLE;
    std::u16string cls = t.windowClass.isOrdinal || t.windowClass.text.empty()
                             ? std::u16string(WC_DIALOG)
                             : t.windowClass.text;
    int x = px(t.x);
    int y = py(t.y);
    if (!(style & WS_CHILD) && parent) {
        // A top-level dialog is placed relative to its owner's client area.
        POINT origin;
        ClientToScreen(parent, &origin);
        x += origin.x;
        y += origin.y;
    }
    HWND dialog = CreateWindowExW(t.exStyle, cls.c_str(), t.title.c_str(), style, x, y, px(t.cx),
                                  py(t.cy), parent, nullptr, instance, nullptr);
    if (!dialog) {
        return nullptr;
    }
    auto* w = find(dialog);
    if (!w->dialog) {
        w->dialog = std::make_unique<detail::DialogState>();
    }
    w->dialog->templateId = templateId;
    w->dialog->baseUnitX = units.x;
    w->dialog->baseUnitY = units.y;
    HFONT font = nullptr;
    if (t.hasFont) {
        LOGFONTW lf;
        lf.lfHeight = -MulDiv(t.pointSize, 96, 72);
        lf.lfWeight = t.weight ? t.weight : FW_NORMAL;
        lf.lfItalic = t.italic;
        lf.lfCharSet = t.charset;
        std::u16string face = t.typeface.substr(0, 31);
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        font = CreateFontIndirectW(&lf);
        w->dialog->font = font;
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    for (const auto& item : t.items) {
        std::u16string text = item.title.isOrdinal ? u"" : item.title.text;
        HWND control = CreateWindowExW(
            item.exStyle, item.className.c_str(), text.c_str(), item.style | WS_CHILD, px(item.x),
            py(item.y), px(item.cx), py(item.cy), dialog,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<WORD>(item.id))), instance,
            item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
        if (!control) {
            DestroyWindow(dialog);
            return nullptr;
        }
        if (font) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        if (item.title.isOrdinal && className(control) == WC_STATIC) {
            // A picture control names its image by resource number.
            DWORD type = item.style & SS_TYPEMASK;
            if (type == SS_BITMAP) {
                HBITMAP bmp = LoadBitmapW(instance, MAKEINTRESOURCEW(item.title.ordinal));
                SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
            }
        }
    }
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT setFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (setFocus) {
        first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (first) {
            SetFocus(first);
        }
    }
    if (t.style & WS_VISIBLE) {
        ShowWindow(dialog, SW_SHOW);
    }
    return dialog;
}

HWND createDialog(HINSTANCE instance, const void* data, size_t size, HWND parent, DLGPROC proc,
                  LPARAM param, int templateId) {
    auto parsed = parseDialogTemplate(data, size);
    if (!parsed) {
        return nullptr;
    }
    return createDialog(instance, *parsed, parent, proc, param, templateId);
}

INT_PTR runModal(HWND dialog) {
    auto* state = dialogState(dialog);
    if (!state) {
        return -1;
    }
    state->modal = true;
    const int templateId = state->templateId;
    // A dialog that ended while it was being created (a progress dialog that
    // did its work in WM_INITDIALOG) is never handed to the user: the run
    // returns its code at once, as the system's dialog box does.
    if (state->ended) {
        INT_PTR code = state->result;
        DestroyWindow(dialog);
        return code;
    }
    HWND owner = GetWindow(dialog, GW_OWNER);
    bool reenable = owner && IsWindowEnabled(owner);
    if (reenable) {
        EnableWindow(owner, FALSE);
    }
    HWND previousActive = SetActiveWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
    UiDriver* driver = uiDriver();
    if (driver) {
        driver->dialogOpened(dialog, templateId);
    } else {
        EndDialog(dialog, -1);
    }
    INT_PTR result = -1;
    while (IsWindow(dialog) && !dialogEnded(dialog)) {
        pumpMessages();
        if (!IsWindow(dialog) || dialogEnded(dialog)) {
            break;
        }
        if (!driver || driver->aborted() || !driver->step(dialog, templateId)) {
            if (IsWindow(dialog) && !dialogEnded(dialog)) {
                EndDialog(dialog, -1);
            }
        }
    }
    if (auto* s = dialogState(dialog)) {
        result = s->result;
    }
    if (driver) {
        driver->dialogClosed(dialog, templateId, result);
    }
    if (reenable && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    DestroyWindow(dialog);
    SetActiveWindow(IsWindow(previousActive) ? previousActive : owner);
    return result;
}

int dialogTemplateId(HWND dialog) {
    auto* s = dialogState(dialog);
    return s ? s->templateId : 0;
}

void setDialogTemplateId(HWND dialog, int templateId) {
    if (auto* s = dialogState(dialog)) {
        s->templateId = templateId;
    }
}

bool isDialog(HWND window) {
    return dialogState(window) != nullptr;
}

bool dialogEnded(HWND dialog) {
    auto* s = dialogState(dialog);
    return s && s->ended;
}

HWND dialogOf(HWND window) {
    for (HWND h = window; h; h = GetParent(h)) {
        auto* w = find(h);
        if (!w) {
            return nullptr;
        }
        if (w->dialog && !(w->style & WS_CHILD)) {
            return h;
        }
        if (!(w->style & WS_CHILD)) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace nd::win32

namespace {

size_t boundsOf(const void* data) {
    size_t remaining = 0;
    if (nd::win32::resourceBytesAfter(data, remaining)) {
        return remaining;
    }
    // Caller's own memory: trust the template, as the system does.
    return SIZE_MAX / 2;
}

}  // namespace

HWND CreateDialogIndirectParamW(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM param) {
    return nd::win32::createDialog(instance, dialogTemplate, boundsOf(dialogTemplate), parent, proc,
                                   param);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, const void* dialogTemplate, HWND parent,
                                DLGPROC proc, LPARAM param) {
    HWND dialog = CreateDialogIndirectParamW(instance, dialogTemplate, parent, proc, param);
    return dialog ? nd::win32::runModal(dialog) : -1;
}

namespace {

HWND createFromResource(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    HRSRC res = FindResourceW(instance, name, nd::win32::RT_DIALOG_NAME);
    if (!res) {
        return nullptr;
    }
    const void* data = LockResource(LoadResource(instance, res));
    DWORD size = SizeofResource(instance, res);
    int id = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<UINT_PTR>(name)) : 0;
    return nd::win32::createDialog(instance, data, size, parent, proc, param, id);
}

}  // namespace

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    return createFromResource(instance, name, parent, proc, param);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    HWND dialog = createFromResource(instance, name, parent, proc, param);
    return dialog ? nd::win32::runModal(dialog) : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    auto* s = dialogState(dialog);
    if (!s) {
        return FALSE;
    }
    s->ended = true;
    s->result = result;
    if (!s->modal) {
        ShowWindow(dialog, SW_HIDE);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    auto* s = dialogState(dialog);
    if (!s || !rect) {
        return FALSE;
    }
    rect->left = MulDiv(rect->left, s->baseUnitX, 4);
    rect->right = MulDiv(rect->right, s->baseUnitX, 4);
    rect->top = MulDiv(rect->top, s->baseUnitY, 8);
    rect->bottom = MulDiv(rect->bottom, s->baseUnitY, 8);
    return TRUE;
}
