#pragma once

// A shown main window with its port open on a pty pair and a scripted
// outstation at the other end; the log read back line by line.

#include <memory>
#include <optional>

#include <QAction>
#include <QCheckBox>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "files/ini_file.h"
#include "protocol/hex_text.h"
#include "serial/port_settings.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "traffic/ui/traffic_log.h"
#include "support/scripted_peer.h"
#include "support/wait_for.h"
#include "window_parts.h"

namespace tc101::testing {

using testing_support::Bytes;

// Short enough for quick tests, long enough that a reply (10 ms of line
// silence) lands well before the next tick.
inline constexpr int kTestInterval = 100;
inline constexpr int kTestFrameDelay = 10;

inline Bytes Hex(const char* text) { return HexTextToBytes(text); }

class WindowOverPty : public ConfigDirTest {
protected:
    void SetUp() override {
        ConfigDirTest::SetUp();
        IniFile comset(File("comset.ini"));
        comset.WriteString(kComSetSection, kKeyPort, pty.SlaveName());
        comset.WriteInteger(kComSetSection, kKeyRecieveDelay, kTestFrameDelay);
        window = std::make_unique<TfrmZh>();
        ui.emplace(*window);
        window->show();
        ui->BtnOpenCom->trigger();
        ASSERT_TRUE(window->PortOpen());
        ui->txtInteval1->setValue(kTestInterval);
        ui->txtInteval2->setValue(kTestInterval);
        peer = std::make_unique<testing_support::ScriptedPeer>(pty);
    }
    void TearDown() override {
        peer.reset();
        ui.reset();
        window.reset();
        ConfigDirTest::TearDown();
    }

    // Lines of the log that start with the prefix, the prefix cut off.
    QStringList LogLines(const QString& prefix) const {
        QStringList found;
        for (const QString& line : ui->Memo1->toPlainText().split(QLatin1Char('\n')))
            if (line.startsWith(prefix)) found << line.mid(prefix.size());
        return found;
    }
    // "TX:"/"Tx:" lines without their stamp suffix.
    QStringList SentLines(const char* prefix) const { return SentLines(QString::fromLatin1(prefix)); }
    QStringList SentLines(const QString& prefix) const {
        QStringList found = LogLines(prefix);
        for (QString& line : found) line = line.left(line.lastIndexOf(QStringLiteral("  (")));
        return found;
    }

    testing_support::PtyPair pty;
    std::unique_ptr<TfrmZh> window;
    std::optional<WindowParts> ui;
    std::unique_ptr<testing_support::ScriptedPeer> peer;
    MessageRecorder boxes;
};

}  // namespace tc101::testing
