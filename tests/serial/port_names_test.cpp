#include "serial/port_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace tc101 {
namespace {

namespace fs = std::filesystem;

TEST(PortNames, NamesToDevices) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},    {"com2", "/dev/ttyS1"},         {"Com12", "/dev/ttyS11"},
        {"COM0", "/dev/COM0"},     {"COM", "/dev/COM"},            {"COM1x", "/dev/COM1x"},
        {"ttyUSB0", "/dev/ttyUSB0"}, {"/dev/pts/3", "/dev/pts/3"}, {"", "/dev/"},
    };
    for (const auto& [name, device] : cases) {
        EXPECT_EQ(DevicePathFor(name), device) << name;
    }
}

class ListedPorts : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("tc101_ports_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "class");
        fs::create_directories(root_ / "by-id");
    }
    void TearDown() override { fs::remove_all(root_); }

    void AddTty(const std::string& name, bool withDevice, const char* uartType = nullptr) {
        const fs::path dir = root_ / "class" / name;
        fs::create_directories(dir);
        if (withDevice) {
            fs::create_directories(dir / "device");
        }
        if (uartType) {
            std::ofstream(dir / "type") << uartType << "\n";
        }
    }

    fs::path root_;
};

TEST_F(ListedPorts, RealDevicesInAStableOrder) {
    AddTty("ttyS10", true, "4");
    AddTty("ttyS1", true, "4");
    AddTty("ttyS0", true, "4");
    AddTty("ttyS2", true, "0");  // a slot without a UART
    AddTty("ttyUSB10", true);
    AddTty("ttyUSB2", true);
    AddTty("ttyACM0", true);
    AddTty("tty1", false);  // virtual console
    AddTty("ptmx", false);
    std::ofstream(root_ / "by-id" / "usb-FTDI_B-if00-port0");
    std::ofstream(root_ / "by-id" / "usb-FTDI_A-if00-port0");

    const std::vector<std::string> expected = {
        "COM1", "COM2", "COM11", "ttyACM0", "ttyUSB2", "ttyUSB10",
        (root_ / "by-id" / "usb-FTDI_A-if00-port0").string(),
        (root_ / "by-id" / "usb-FTDI_B-if00-port0").string(),
    };
    EXPECT_EQ(ListSerialPorts(root_ / "class", root_ / "by-id"), expected);
}

TEST_F(ListedPorts, MissingFoldersGiveAnEmptyList) {
    EXPECT_TRUE(ListSerialPorts(root_ / "absent", root_ / "absent-too").empty());
}

}  // namespace
}  // namespace tc101
