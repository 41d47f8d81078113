// Every caption of every dialog template, the module's and the host's, fits
// its control in the font the front end paints it with: a label's text on its
// line (or, where it wraps, in its lines), a button's with its margins, a
// check box's beside its box. A caption cut short hides a field's name or its
// access key.
#include "qtview/WindowFonts.h"
#include "res/CompiledResources.h"
#include "win32/Dialog.h"
#include "win32/Resources.h"
#include "win32/Window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// Two handles for the two resource files, as the program and its module
// each have their own.
const int kAnchors[2] = {0, 0};
HMODULE moduleHandle() {
    return reinterpret_cast<HMODULE>(const_cast<int*>(&kAnchors[0]));
}
HMODULE hostHandle() {
    return reinterpret_cast<HMODULE>(const_cast<int*>(&kAnchors[1]));
}

INT_PTR quietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The room a caption needs beyond its text, or -1 for a control that shows
// none (pictures, frames, edits, owner-drawn buttons).
int margin(HWND control, bool& wraps) {
    std::u16string cls = nd::win32::className(control);
    auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    wraps = false;
    if (cls == u"Static") {
        DWORD type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
            type != SS_LEFTNOWORDWRAP) {
            return -1;
        }
        wraps = type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP;
        return 0;
    }
    if (cls != u"Button") {
        return -1;
    }
    QStyle* qs = QApplication::style();
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return 2 * qs->pixelMetric(QStyle::PM_DefaultFrameWidth);
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return qs->pixelMetric(QStyle::PM_IndicatorWidth) +
                   qs->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return qs->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                   qs->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        default:
            return -1;
    }
}

struct Template {
    const char* owner;
    int id;
};

class TemplateTextFit : public ::testing::TestWithParam<Template> {
  protected:
    static void SetUpTestSuite() {
        auto bytes = newsdesk::res::compiledResources();
        ASSERT_TRUE(nd::win32::registerModuleResources(moduleHandle(), bytes.data(), bytes.size()));
        std::ifstream in(ND_HOST_RES, std::ios::binary);
        std::string res((std::istreambuf_iterator<char>(in)), {});
        ASSERT_TRUE(nd::win32::registerModuleResources(hostHandle(), res.data(), res.size()));
    }
    static void TearDownTestSuite() {
        nd::win32::unregisterModuleResources(moduleHandle());
        nd::win32::unregisterModuleResources(hostHandle());
    }
};

TEST_P(TemplateTextFit, EveryCaptionFitsItsControl) {
    const Template t = GetParam();
    HMODULE from = std::string(t.owner) == "module" ? moduleHandle() : hostHandle();
    // A property page lives in a window of its sheet.
    HWND sheet = CreateWindowExW(0, u"#32770", u"", WS_POPUP, 0, 0, 700, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND dialog = CreateDialogParamW(from, MAKEINTRESOURCEW(t.id), sheet, quietProc, 0);
    ASSERT_NE(dialog, nullptr);
    int measured = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        bool wraps = false;
        int room = margin(c, wraps);
        QString text = nd::qtview::withoutMnemonics(nd::win32::windowText(c));
        if (room < 0 || text.isEmpty()) {
            continue;
        }
        ++measured;
        RECT r;
        GetClientRect(c, &r);
        QFontMetrics metrics(nd::qtview::windowFont(c));
        int width = r.right - room;
        std::string where = std::string(t.owner) + " " + std::to_string(t.id) + ", control " +
                            std::to_string(GetDlgCtrlID(c)) + " \"" + text.toStdString() +
                            "\" in " + std::to_string(r.right) + " x " + std::to_string(r.bottom);
        if (wraps) {
            // A line break anywhere the text allows one; the lines must all
            // be there and none wider than the control.
            QRect lines = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text);
            EXPECT_LE(lines.height(), std::max<int>(r.bottom, metrics.height()))
                << where << " needs " << lines.height() << " pixels of lines";
            EXPECT_LE(lines.width(), width) << where << " has a word too long for a line";
        } else {
            EXPECT_LE(metrics.horizontalAdvance(text), width) << where << " is cut";
        }
    }
    EXPECT_GT(measured, 0);
    DestroyWindow(dialog);
    DestroyWindow(sheet);
}

std::vector<Template> allTemplates() {
    std::vector<Template> all;
    for (int id = 11900; id <= 11910; ++id) {
        all.push_back({"module", id});
    }
    all.push_back({"host", 30100});
    all.push_back({"host", 30110});
    return all;
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateTextFit, ::testing::ValuesIn(allTemplates()),
                         [](const auto& info) {
                             return std::string(info.param.owner) + "_" +
                                    std::to_string(info.param.id);
                         });

}  // namespace
