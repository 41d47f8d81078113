#include "NavigatorTesting.h"

#include "art/HostArt.h"
#include "host/DllMain.h"
#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/records/FunctionTable.h"
#include "mfc/CWnd.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const int kModuleAnchor = 0;
constexpr int kOpenRssFileFunction = 40153;

class NavigatorEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ::setenv("NEWSDESK_PRODUCT_FOLDER", NEWSDESK_PRODUCT_DATA, 1);
        ASSERT_TRUE(newsdesk::app::registerHostArt());
        ASSERT_TRUE(newsdesk::DllMain(module(), DLL_PROCESS_ATTACH, nullptr));
    }
    void TearDown() override { newsdesk::DllMain(module(), DLL_PROCESS_DETACH, nullptr); }

  private:
    static HINSTANCE module() {
        return reinterpret_cast<HINSTANCE>(const_cast<int*>(&kModuleAnchor));
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new NavigatorEnvironment);

std::vector<navtest::EditCall>& recorded() {
    static std::vector<navtest::EditCall> calls;
    return calls;
}

bool recordEdit(CWnd* parent, CString& path, bool report, CLumRssFileConfigDlg** dialog) {
    recorded().push_back(
        {parent ? parent->GetSafeHwnd() : nullptr, path, report, dialog != nullptr});
    return true;
}

}  // namespace

namespace navtest {

EditRecorder::EditRecorder() {
    recorded().clear();
    lum::EditRssFileEntryFn fn = &recordEdit;
    CLumDllFunctionEngineer::getInstance()->SetFunctionAddr(kOpenRssFileFunction,
                                                            reinterpret_cast<void*>(fn));
}

EditRecorder::~EditRecorder() {
    CLumDllFunctionEngineer::getInstance()->SetFunctionAddr(kOpenRssFileFunction, nullptr);
}

const std::vector<EditCall>& EditRecorder::calls() const {
    return recorded();
}

}  // namespace navtest
