// Not a test: saves pictures of the main window for a person to look at,
// with a burst of replies fed through the receive path.
// Usage: window_shots OUTPUT_FOLDER

#include <cstdint>
#include <string>
#include <vector>

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include "app/window/main_window.h"
#include "protocol/frame.h"
#include "protocol/hex_text.h"
#include "traffic/log_lines.h"
#include "traffic/ui/explanation_tree.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"

namespace {

// Length octets and checksum made right, so the hex below need not carry them.
std::vector<std::uint8_t> Sealed(const char* hex) {
    std::vector<std::uint8_t> frame = tc101::HexTextToBytes(hex);
    if (frame.size() > 6 && frame[0] == tc101::kVariableStart) {
        const auto length = static_cast<std::uint8_t>(frame.size() - 6);
        frame[1] = frame[2] = length;
        frame[frame.size() - 2] = tc101::FrameChecksum(frame, tc101::kVarControlOffset, static_cast<int>(frame.size()) - 3);
    }
    return frame;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    tc101::Application app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    tc101::TfrmZh window;
    auto& t = window.Tables();
    for (tc101::Table* table : {&t.GrdYC, &t.GrdYX}) table->SetRowCount(9);
    for (int row = 1; row <= 8; ++row) {
        t.GrdYC.SetCell(0, row, std::to_string(row));
        t.GrdYX.SetCell(0, row, std::to_string(row));
        t.GrdYC.SetCell(1, row, "线路" + std::to_string(row) + "电流");
        t.GrdYC.SetCell(2, row, "A");
        t.GrdYC.SetCell(3, row, "10");
        t.GrdYX.SetCell(1, row, std::to_string(row) + "号开关");
        t.GrdYX.SetCell(2, row, "分");
        t.GrdYX.SetCell(3, row, "合");
    }
    window.SendList().SetRowCount(4);
    window.SendList().SetCell(1, 1, "总召");
    window.SendList().SetCell(2, 1, "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    window.SendList().SetCell(1, 2, "链路状态");
    window.SendList().SetCell(2, 2, "10 49 01 4A 16");
    window.SendList().SetCell(1, 3, "二级数据");
    window.SendList().SetCell(2, 3, "10 5B 01 5C 16");
    for (int row = 1; row <= 3; ++row) window.SendList().SetCell(0, row, std::to_string(row));
    window.show();
    auto& log = *window.findChild<tc101::TrafficLog*>(QStringLiteral("Memo1"));
    log.AppendLine(tc101::LogColour::Black, tc101::RequestBanner(tc101::MasterRequest::GeneralInterrogation, 1));
    const std::vector<std::uint8_t> gi = tc101::HexTextToBytes("68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    log.AppendLine(tc101::LogColour::Blue, tc101::RequestLine(gi, "09:15:02:117"));
    for (const char* hex : {"10 0B 01 0C 16", "68 14 14 68 28 01 15 88 14 01 01 40 E8 03 18 FC 10 00 20 00 30 00 40 00 50 00 D2 16",
                            "68 11 11 68 08 02 01 88 14 02 01 00 00 01 01 00 01 00 00 01 AD 16",
                            "68 0A 0A 68 28 01 02 01 03 01 05 00 01 10 27 15 CD 16", "E5"}) {
        const std::vector<std::uint8_t> block = Sealed(hex);
        window.Comm1ReceiveData(block.data(), static_cast<std::uint16_t>(block.size()));
    }
    // One value reported invalid, to see it drawn grey.
    t.GrdYC.SetQuality(t.Slot(tc101::ValuePage::Yc, 1).column, 2, 0x80);
    window.findChild<QPlainTextEdit*>(QStringLiteral("memoAna"))->setPlainText(QStringLiteral("68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16"));
    for (int page = 0; page < 3; ++page) {
        window.findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(page);
        window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(page);
        QCoreApplication::processEvents();
        window.grab().save(out.filePath(QStringLiteral("window-page%1.png").arg(page)));
    }
    // 报文详解: the tree beside the pane, and the log with "详细解析" ticked.
    window.resize(1180, 900);
    window.findChild<QStackedWidget*>(QStringLiteral("Notebook1"))->setMinimumHeight(330);
    window.findChild<tc101::TrafficLog*>(QStringLiteral("Memo1"))->X1->setChecked(true);
    window.findChild<QPlainTextEdit*>(QStringLiteral("memoAna"))->setPlainText(QString::fromStdString(tc101::BytesToHexText(
        Sealed("68 00 00 68 08 01 1E 02 03 01 05 00 81 D2 04 22 0C E8 0C 1A 06 00 00 D2 04 22 0C E8 0C 1A 00 16"))) +
                                 QStringLiteral(" 68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16"));
    window.findChild<QPushButton*>(QStringLiteral("BtnAnalyze"))->click();
    auto* tree = window.findChild<tc101::ExplanationTree*>(QStringLiteral("TreeAna"));
    tree->collapseItem(tree->topLevelItem(0)->child(0));
    QCoreApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("window-explain.png")));
    return 0;
}
