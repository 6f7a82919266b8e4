// Every GUI test executable needs one application object before its first
// widget; this makes the program's own one for the whole run.

#include <memory>

#include <gtest/gtest.h>

#include "widgets/application.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Headless unless the caller chose a platform (xvfb for screenshots).
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<tc101::Application>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<tc101::Application> app_;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
