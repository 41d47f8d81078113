#include "mfc/AfxExtension.h"
#include "mfc/AfxResource.h"
#include "mfc/CString.h"
#include "win32/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<char> sampleRes() {
    std::ifstream in(ND_SAMPLE_RES, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(ResourceChain, StringsAndTemplatesAreFoundInTheFirstRegisteredModuleThatHasThem) {
    auto bytes = sampleRes();
    const HMODULE first = reinterpret_cast<HMODULE>(0x9000);
    const HMODULE second = reinterpret_cast<HMODULE>(0xA000);
    ASSERT_TRUE(nd::win32::registerModuleResources(first, bytes.data(), bytes.size()));
    ASSERT_TRUE(nd::win32::registerModuleResources(second, bytes.data(), bytes.size()));

    CString text;
    EXPECT_FALSE(text.LoadString(100)) << "nothing on the chain yet";

    AFX_EXTENSION_MODULE a;
    AFX_EXTENSION_MODULE b;
    ASSERT_TRUE(AfxInitExtensionModule(b, second));
    ASSERT_TRUE(AfxInitExtensionModule(a, first));
    new CDynLinkLibrary(b);
    new CDynLinkLibrary(a);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(200), RT_DIALOG), second);
    EXPECT_TRUE(text.LoadString(101));
    EXPECT_EQ(text, u"こんにちは、%s");
    EXPECT_FALSE(text.LoadString(4000));
    EXPECT_TRUE(text.IsEmpty());

    AfxTermExtensionModule(b);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(200), RT_DIALOG), first);
    AfxTermExtensionModule(a);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(200), RT_DIALOG), nullptr);
    nd::win32::unregisterModuleResources(first);
    nd::win32::unregisterModuleResources(second);
}
