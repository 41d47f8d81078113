// Every dialog template of the module, created from the compiled resources
// and mirrored: each control has a widget of the kind its class and style
// call for, where its window is, with its text; the picture is the dialog's
// size and not blank.
#include "MirrorHarness.h"
#include "qtview/Pictures.h"
#include "qtview/WindowFonts.h"
#include "res/CompiledResources.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/Resources.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>

using nd::qtview::WidgetKind;

namespace {

const int kAnchor = 0;
HMODULE moduleHandle() {
    return reinterpret_cast<HMODULE>(const_cast<int*>(&kAnchor));
}

INT_PTR quietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class ModuleTemplates : public ndtest::MirrorTest, public ::testing::WithParamInterface<int> {
  protected:
    static void SetUpTestSuite() {
        auto bytes = newsdesk::res::compiledResources();
        ASSERT_TRUE(nd::win32::registerModuleResources(moduleHandle(), bytes.data(), bytes.size()));
    }
    static void TearDownTestSuite() { nd::win32::unregisterModuleResources(moduleHandle()); }
};

// The widget's own text, where the kind shows one.
std::optional<QString> shownText(WidgetKind kind, QWidget* w) {
    switch (kind) {
        case WidgetKind::PushButton:
        case WidgetKind::CheckBox:
        case WidgetKind::RadioButton:
            return static_cast<QAbstractButton*>(w)->text();
        case WidgetKind::GroupBox:
            return static_cast<QGroupBox*>(w)->title();
        case WidgetKind::Label:
            return static_cast<QLabel*>(w)->text();
        case WidgetKind::LineEdit:
            return static_cast<QLineEdit*>(w)->text();
        default:
            return std::nullopt;
    }
}

bool isOfKind(WidgetKind kind, QWidget* w) {
    switch (kind) {
        case WidgetKind::PushButton:
        case WidgetKind::CheckBox:
        case WidgetKind::RadioButton:
        case WidgetKind::OwnerDrawButton:
            return qobject_cast<QAbstractButton*>(w);
        case WidgetKind::LineEdit:
            return qobject_cast<QLineEdit*>(w);
        case WidgetKind::TextEdit:
            return qobject_cast<QPlainTextEdit*>(w);
        case WidgetKind::ListBox:
            return qobject_cast<QListWidget*>(w);
        case WidgetKind::ListView:
            return qobject_cast<QTreeWidget*>(w);
        case WidgetKind::ComboBox:
            return qobject_cast<QComboBox*>(w);
        case WidgetKind::DateTimePicker:
            return qobject_cast<QDateTimeEdit*>(w);
        case WidgetKind::Label:
        case WidgetKind::Picture:
            return qobject_cast<QLabel*>(w);
        case WidgetKind::GroupBox:
            return qobject_cast<QGroupBox*>(w);
        default:
            return w != nullptr;
    }
}

TEST_P(ModuleTemplates, EveryControlIsMirroredAndTheDialogPictured) {
    const int id = GetParam();
    // A property page lives in a window of its sheet.
    HWND sheet = CreateWindowExW(0, u"#32770", u"", WS_POPUP, 0, 0, 700, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND dialog = CreateDialogParamW(moduleHandle(), MAKEINTRESOURCEW(id), sheet, quietProc, 0);
    ASSERT_NE(dialog, nullptr);
    bool page = GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD;
    HWND top = page ? sheet : dialog;
    if (page) {
        EnableWindow(dialog, TRUE);
        ShowWindow(dialog, SW_SHOW);
    }
    ShowWindow(top, SW_SHOW);
    nd::win32::pumpMessages();
    mirror.flush();
    int controls = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++controls) {
        QWidget* w = mirror.widgetFor(c);
        WidgetKind kind = nd::qtview::widgetKindOf(c);
        ASSERT_NE(w, nullptr) << "control " << GetDlgCtrlID(c);
        EXPECT_TRUE(isOfKind(kind, w))
            << "control " << GetDlgCtrlID(c) << " should be a " << nd::qtview::widgetKindName(kind);
        QRect want = ndtest::rectInParent(c);
        EXPECT_EQ(w->pos(), want.topLeft()) << GetDlgCtrlID(c);
        EXPECT_EQ(w->width(), want.width()) << GetDlgCtrlID(c);
        if (auto text = shownText(kind, w)) {
            std::u16string own = nd::win32::windowText(c);
            QString expected = kind == WidgetKind::Label ? nd::qtview::withoutMnemonics(own)
                                                         : nd::qtview::qtText(own);
            EXPECT_EQ(*text, expected) << GetDlgCtrlID(c);
        }
    }
    EXPECT_GT(controls, 3);
    QImage picture = nd::qtview::pictureOf(mirror, top);
    RECT r;
    GetClientRect(top, &r);
    EXPECT_EQ(picture.size(), QSize(r.right, r.bottom));
    EXPECT_GT(ndtest::colourCount(picture), 10) << "a blank picture";
    DestroyWindow(top);
    if (IsWindow(sheet)) {
        DestroyWindow(sheet);
    }
    EXPECT_EQ(mirror.widgetFor(dialog), nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, ModuleTemplates, ::testing::Range(11900, 11911));

}  // namespace
