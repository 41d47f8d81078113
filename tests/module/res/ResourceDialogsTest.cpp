// The compiled resources as the window system serves them: each template
// becomes a dialog whose controls carry the template's classes, ids, texts,
// styles and rectangles; strings and bitmaps load by id.
#include "ResFile.h"
#include "res/CompiledResources.h"
#include "res/ResourceIds.h"
#include "win32/Dialog.h"
#include "win32/Gdi.h"
#include "win32/Resources.h"
#include "win32/TextConv.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace restest;

namespace {

// Any distinct address serves as the handle under which the test registers
// the module's resources.
const int kModuleAnchor = 0;
HMODULE testModule() {
    return reinterpret_cast<HMODULE>(const_cast<int*>(&kModuleAnchor));
}

class ServedResources : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto bytes = newsdesk::res::compiledResources();
        ASSERT_TRUE(nd::win32::registerModuleResources(testModule(), bytes.data(), bytes.size()));
    }
    static void TearDownTestSuite() { nd::win32::unregisterModuleResources(testModule()); }

    static const std::vector<ResEntry>& entries() {
        static const std::vector<ResEntry> parsed =
            parseResFile(newsdesk::res::compiledResources()).value_or(std::vector<ResEntry>{});
        return parsed;
    }
};

INT_PTR quietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string folded(std::u16string s) {
    for (auto& c : s) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return nd::text::toUtf8(s);
}

std::u16string windowText(HWND window) {
    WCHAR buffer[512] = {};
    int length = GetWindowTextW(window, buffer, 512);
    return std::u16string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::u16string windowClass(HWND window) {
    WCHAR buffer[128] = {};
    int length = GetClassNameW(window, buffer, 128);
    return std::u16string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

// Pixels for a rectangle in dialog units, converted as the dialog manager
// does: position and size each on their own.
RECT pixelRect(HWND dialog, int x, int y, int cx, int cy) {
    RECT origin{x, y, cx, cy};
    MapDialogRect(dialog, &origin);
    return RECT{origin.left, origin.top, origin.left + origin.right, origin.top + origin.bottom};
}

}  // namespace

TEST_F(ServedResources, EveryTemplateBecomesADialogWithTheTemplatesControls) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        SCOPED_TRACE("template " + std::to_string(id));
        HRSRC found = FindResourceW(testModule(), MAKEINTRESOURCEW(id), RT_DIALOG);
        ASSERT_NE(found, nullptr);
        const void* bytes = LockResource(LoadResource(testModule(), found));
        DWORD size = SizeofResource(testModule(), found);
        auto tmpl = parseDialogEx(std::span(static_cast<const std::byte*>(bytes), size));
        ASSERT_TRUE(tmpl.has_value());

        // Property pages are child windows; they are created inside a parent
        // as their sheet would do.
        HWND parent = nullptr;
        if (tmpl->style & WS_CHILD) {
            parent = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr,
                                     nullptr, nullptr);
        }
        HWND dialog = CreateDialogIndirectParamW(testModule(), bytes, parent, quietProc, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(windowText(dialog), tmpl->caption);
        RECT client;
        GetClientRect(dialog, &client);
        RECT expectedClient = pixelRect(dialog, 0, 0, tmpl->cx, tmpl->cy);
        EXPECT_EQ(client.right - client.left, expectedClient.right);
        EXPECT_EQ(client.bottom - client.top, expectedClient.bottom);

        std::size_t index = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT), ++index) {
            ASSERT_LT(index, tmpl->items.size());
            const DialogItem& item = tmpl->items[index];
            SCOPED_TRACE("control " + std::to_string(item.id));
            // The window system keeps control ids to 16 bits, so -1 reads 65535.
            EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(item.id));
            EXPECT_EQ(folded(windowClass(child)), folded(className(item.windowClass)));
            // A date and time picker shows its value as its text.
            if (!item.text.isId && folded(className(item.windowClass)) != "sysdatetimepick32") {
                EXPECT_EQ(nd::text::toUtf8(windowText(child)), nd::text::toUtf8(item.text.name));
            }
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)), item.style);
            EXPECT_EQ(IsWindowEnabled(child) != FALSE, (item.style & WS_DISABLED) == 0);

            RECT want = pixelRect(dialog, item.x, item.y, item.cx, item.cy);
            RECT got;
            GetWindowRect(child, &got);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&got), 2);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            if (folded(className(item.windowClass)) != "combobox") {
                EXPECT_EQ(got.bottom, want.bottom);
            }
        }
        EXPECT_EQ(index, tmpl->items.size());
        DestroyWindow(dialog);
        if (parent != nullptr) {
            DestroyWindow(parent);
        }
    }
}

TEST_F(ServedResources, EveryStringLoadsByIdWithTheCompiledText) {
    for (UINT id = 11900; id <= 11934; ++id) {
        auto want = findString(entries(), static_cast<std::uint16_t>(id));
        ASSERT_TRUE(want.has_value()) << id;
        WCHAR buffer[256] = {};
        int length = LoadStringW(testModule(), id, buffer, 256);
        EXPECT_EQ(std::u16string(buffer, static_cast<std::size_t>(length)), *want) << id;
    }
    WCHAR buffer[8] = {};
    EXPECT_EQ(LoadStringW(testModule(), 11935, buffer, 8), 0);
}

TEST_F(ServedResources, BitmapsLoadWithTheirSizes) {
    struct {
        int id, width, height;
    } bitmaps[] = {{IDB_RSS_ICON, 16, 16}, {IDB_RSS_NAVI_ICONS, 128, 32}};
    for (const auto& b : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(testModule(), MAKEINTRESOURCEW(b.id));
        ASSERT_NE(bitmap, nullptr) << b.id;
        BITMAP info{};
        ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, b.width);
        EXPECT_EQ(info.bmHeight, b.height);
        DeleteObject(bitmap);
    }
}
