// The built module as the application sees it: one export, the table
// contract, and the attach work done on load.
#include "hostapp/records/CRSSChannel.h"
#include "hostapp/records/FunctionTable.h"
#include "mfc/AfxExtension.h"
#include "mfc/AfxResource.h"
#include "mfc/CString.h"
#include "res/ResourceIds.h"
#include "win32/Gdi.h"
#include "win32/Loader.h"
#include "win32/Resources.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct Module {
    void* handle = dlopen(NEWSDESK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ~Module() {
        if (handle) {
            dlclose(handle);
        }
    }
    FSetFunctionAddressFn set() const {
        return reinterpret_cast<FSetFunctionAddressFn>(dlsym(handle, "FSetFunctionAddress"));
    }
};

using Table = std::array<unsigned char, lum::kFunctionTableSize>;

Table filledTable(unsigned char pattern) {
    Table t;
    t.fill(pattern);
    return t;
}

std::string run(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[256];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get())) {
        out += buffer;
    }
    return out;
}

}  // namespace

TEST(ModuleLoad, ExportsExactlyOneFunction) {
    std::string symbols =
        run(std::string(NEWSDESK_NM) + " -D --defined-only " + NEWSDESK_MODULE_PATH);
    std::istringstream lines(symbols);
    std::string line;
    std::vector<std::string> exported;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        if (!name.empty()) {
            exported.push_back(type + " " + name);
        }
    }
    ASSERT_EQ(exported.size(), 1u) << symbols;
    EXPECT_EQ(exported[0], "T FSetFunctionAddress");
}

TEST(ModuleLoad, LoadingRegistersTheModuleOnTheResourceChainAndUnloadingRemovesIt) {
    size_t before = AfxGetResourceChain().size();
    {
        Module m;
        ASSERT_NE(m.handle, nullptr) << dlerror();
        EXPECT_EQ(AfxGetResourceChain().size(), before + 1);
    }
    EXPECT_EQ(AfxGetResourceChain().size(), before);
}

TEST(ModuleLoad, LoadingServesTheModulesResourcesAndUnloadingWithdrawsThem) {
    HMODULE module = nullptr;
    {
        Module m;
        ASSERT_NE(m.handle, nullptr) << dlerror();
        module = nd::win32::moduleHandleFor(reinterpret_cast<const void*>(m.set()));
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_RSS_BEGINAVI), RT_DIALOG), module);
        CString text;
        ASSERT_TRUE(text.LoadString(IDS_RSS_NAVI_NEW));
        EXPECT_EQ(text.toUtf8(), "RSS ファイルを新規作成します。");
        HBITMAP icons = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_RSS_NAVI_ICONS));
        EXPECT_NE(icons, nullptr);
        DeleteObject(icons);
    }
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDD_RSS_BEGINAVI), RT_DIALOG), nullptr);
    CString text;
    EXPECT_FALSE(text.LoadString(IDS_RSS_NAVI_NEW));
}

TEST(FSetFunctionAddress, RefusesAWrongCallInTheOrderKindTableRevision) {
    Module m;
    ASSERT_NE(m.set(), nullptr);
    EXPECT_EQ(m.set()(nullptr, nullptr, 2, 141), 1);  // kind is tested first
    EXPECT_EQ(m.set()(nullptr, nullptr, 0, 100), 1);
    EXPECT_EQ(m.set()(nullptr, nullptr, 1, 100), 2);
    Table table = filledTable(0xAB);
    EXPECT_EQ(m.set()(table.data(), nullptr, 1, 140), 3);
    EXPECT_EQ(table, filledTable(0xAB));
    EXPECT_EQ(m.set()(table.data(), nullptr, 2, 141), 1);
    EXPECT_EQ(table, filledTable(0xAB));
}

TEST(FSetFunctionAddress, WritesTheSevenSlotsAndNothingElse) {
    Module m;
    Table table = filledTable(0xAB);
    ASSERT_EQ(m.set()(table.data(), nullptr, 1, 141), 0);
    Table expected = filledTable(0xAB);
    for (const auto& slot : lum::kRssSlots) {
        void* fn = lum::readSlot<void*>(table.data(), slot.offset);
        EXPECT_NE(fn, nullptr) << slot.entryName;
        EXPECT_NE(fn, lum::readSlot<void*>(expected.data(), slot.offset)) << slot.entryName;
        std::memcpy(expected.data() + slot.offset, table.data() + slot.offset, sizeof(void*));
    }
    EXPECT_EQ(table, expected);

    // A second call writes the same slots again.
    Table again{};
    ASSERT_EQ(m.set()(again.data(), nullptr, 1, 0x7fffffff), 0);
    for (const auto& slot : lum::kRssSlots) {
        EXPECT_EQ(lum::readSlot<void*>(again.data(), slot.offset),
                  lum::readSlot<void*>(table.data(), slot.offset));
    }
}
