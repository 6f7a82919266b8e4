#pragma once

// A private, empty application folder for one test: the INI files the
// dialogs read and write land there.

#include <filesystem>

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tc101::testing {

class ConfigDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = qgetenv("TC101_CONFIG_DIR");
        qputenv("TC101_CONFIG_DIR", dir_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TC101_CONFIG_DIR", previous_); }

    std::filesystem::path File(const char* name) const {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

}  // namespace tc101::testing
