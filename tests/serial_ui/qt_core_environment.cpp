// The notice sink needs an event loop, not widgets: one core application
// object for the whole run.

#include <memory>

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class QtCoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

}  // namespace
