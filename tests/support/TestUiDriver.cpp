#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

namespace ndtest {

TestUiDriver::TestUiDriver()
    : nd::win32::ScriptedDriver([](const std::string& message) { ADD_FAILURE() << message; }),
      m_previous(nd::win32::setUiDriver(this)) {}

TestUiDriver::~TestUiDriver() {
    nd::win32::setUiDriver(m_previous);
    if (!failed()) {
        for (const auto& unmet : unmetExpectations()) {
            ADD_FAILURE() << unmet;
        }
    }
}

RecordingUiDriver::RecordingUiDriver()
    : nd::win32::ScriptedDriver(
          [this](const std::string& message) { failures.push_back(message); }),
      m_previous(nd::win32::setUiDriver(this)) {}

RecordingUiDriver::~RecordingUiDriver() {
    nd::win32::setUiDriver(m_previous);
}

}  // namespace ndtest
