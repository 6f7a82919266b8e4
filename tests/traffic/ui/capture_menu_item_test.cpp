#include "traffic/ui/capture_menu_item.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "files/file_io.h"
#include "support/message_hook.h"
#include "traffic/pcapng.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {
namespace {

// The item shows when the session has frames, even after the log was
// cleared; it writes what a capture reader reads back, and a file that
// cannot be written is reported, not thrown.
TEST(CaptureMenuItemTest, SavesTheSessionsFramesWheneverThereAreAny) {
    testing::MessageRecorder boxes;
    TrafficLog log;
    FrameCapture capture;
    auto* item = new CaptureMenuItem(log, capture, [] { return std::string("tcp:127.0.0.1:4001"); });
    EXPECT_EQ(log.PopupMenu2->actions().back(), item->P1);
    EXPECT_EQ(item->P1->text(), QStringLiteral(u"保存抓包文件(&P)"));
    Q_EMIT log.PopupMenu2->aboutToShow();
    EXPECT_FALSE(item->P1->isVisible());

    const std::vector<std::uint8_t> request{0x10, 0x49, 0x01, 0x4A, 0x16};
    capture.Add(CaptureDirection::Sent, request);
    capture.Add(CaptureDirection::Received, std::vector<std::uint8_t>{0xE5});
    Q_EMIT log.PopupMenu2->aboutToShow();
    EXPECT_TRUE(item->P1->isVisible());

    QTemporaryDir folder;
    QString proposed;
    item->SetFileChooser([&](QWidget*, const QString& name) {
        proposed = name;
        return folder.filePath(name);
    });
    item->SaveAt(QDateTime(QDate(2026, 3, 7), QTime(21, 5, 9)));
    EXPECT_EQ(proposed, QStringLiteral("20260307-210509.pcapng"));
    const auto bytes = ReadFileIfExists(folder.filePath(proposed).toStdString());
    ASSERT_TRUE(bytes);
    const std::vector<CaptureEntry> read = DecodePcapng(*bytes);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].octets, request);
    EXPECT_EQ(read[1].direction, CaptureDirection::Received);

    item->SetFileChooser([](QWidget*, const QString&) { return QStringLiteral("/nonexistent-folder/x.pcapng"); });
    item->SaveAt(QDateTime::currentDateTime());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
}

}  // namespace
}  // namespace tc101
