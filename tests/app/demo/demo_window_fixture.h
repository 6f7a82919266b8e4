#pragma once

// What the main window tests against the simulator share: a private settings
// folder whose comset.ini gives the window a short frame delay, the
// simulator's port set-up, and the message boxes recorded instead of shown.

#include <string>

#include "files/ini_file.h"
#include "outstation/station_runner.h"
#include "serial/port_settings.h"
#include "support/config_dir.h"
#include "support/message_hook.h"

namespace tc101::demo {

class DemoWindowFixture : public testing::ConfigDirTest {
protected:
    static constexpr int kStationDelayMs = 5;
    static constexpr int kWindowDelayMs = 10;

    void SetUp() override {
        ConfigDirTest::SetUp();
        IniFile comset(File("comset.ini"));
        comset.WriteInteger(kComSetSection, kKeyRecieveDelay, kWindowDelayMs);
    }

    static StationRunner::PortSetup StationPort(const std::string& name) {
        return [name](TComm& comm) {
            SetComm1Properties(comm);
            PortSettings settings;
            settings.port = name;
            settings.recieveDelay = kStationDelayMs;
            ApplyPortSettings(settings, comm);
        };
    }

    testing::MessageRecorder boxes;
};

}  // namespace tc101::demo
