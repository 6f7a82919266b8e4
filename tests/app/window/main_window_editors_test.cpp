#include <array>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "window_parts.h"
#include "support/editor_fixture.h"
#include "files/comset_keys.h"
#include "files/ini_file.h"
#include "files/ui/define_send_form.h"
#include "files/ui/yc_yx_def_form.h"
#include "traffic/ui/profile_dialog.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {
namespace {

class MainWindowEditorsTest : public testing::EditorTest {};

TEST_F(MainWindowEditorsTest, PointEditorClearsDeviceColumnsAndTheTablesFollowItsFile) {
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    window.Tables().EnsureDeviceColumn(ValuePage::Yc, 1);
    window.Tables().EnsureDeviceColumn(ValuePage::Yx, 2);
    int columnsWhileOpen = 0;
    testing::ModalDriver drive([&](QWidget* modal) {
        auto* editor = qobject_cast<Tfrmyxycdef*>(modal);
        ASSERT_NE(editor, nullptr);
        columnsWhileOpen = window.Tables().GrdYC.ColCount() + window.Tables().GrdYX.ColCount();
        editor->YcTable().SetCell(1, 1, "温度");
        editor->YcTable().SetCell(3, 1, "0.1");
        testing::Part<QSpinBox>(*editor, "txtYcUseByte")->setValue(1);
        editor->BtnSaveClick();
        editor->close();
    });
    ui.BtnYcYxDef->trigger();
    EXPECT_TRUE(drive.seen);
    EXPECT_EQ(columnsWhileOpen, 8);
    EXPECT_EQ(window.Tables().GrdYC.RowCount(), 2);
    EXPECT_EQ(window.Tables().GrdYC.Cell(1, 1), "温度");
    EXPECT_EQ(window.Tables().GrdYC.Cell(3, 1), "0.1");
    // Received values are decoded with the width the editor stored: 05, not 01 05.
    const std::array<std::uint8_t, 18> reply{0x68, 0x0C, 0x0C, 0x68, 0x08, 0x01, 0x09, 0x81, 0x14,
                                             0x01, 0x01, 0x40, 0x05, 0x01, 0x02, 0x00, 0xF1, 0x16};
    window.Comm1ReceiveData(reply.data(), reply.size());
    EXPECT_EQ(window.Tables().GrdYC.Cell(window.Tables().Slot(ValuePage::Yc, 1).column, 1), "50");
    window.close();
}

TEST_F(MainWindowEditorsTest, SendEditorAndTheSendListFollowsItsFile) {
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    testing::ModalDriver drive([](QWidget* modal) {
        auto* editor = qobject_cast<TfrmDefineSend*>(modal);
        ASSERT_NE(editor, nullptr);
        editor->SendTable().SetCell(1, 1, "总召");
        editor->SendTable().SetCell(2, 1, "680909685301640106010000 14d416");
        editor->BtnSaveClick();
        editor->close();
    });
    ui.BtnUpdate->click();
    EXPECT_TRUE(drive.seen);
    EXPECT_EQ(window.SendList().RowCount(), 2);
    EXPECT_EQ(window.SendList().Cell(1, 1), "总召");
    EXPECT_EQ(window.SendList().Cell(2, 1), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    // The main window's size was stored before the editor opened.
    EXPECT_GT(IniFile(File("FromSizeInfo.ini")).ReadInteger("frmZh", "width", 0), 0);
    window.close();
}

// The stored profile at start (a value that cannot be used named in red),
// and the dialog from the menu: stored, shown, used by the station.
TEST_F(MainWindowEditorsTest, ProfileFromComsetAndFromTheDialog) {
    IniFile(File("comset.ini")).WriteString("Profile", "LinkAddress", "2");
    IniFile(File("comset.ini")).WriteString("Profile", "ObjectAddress", "9");
    TfrmZh window;
    window.show();
    EXPECT_EQ(window.Profile().sizes, (FieldSizes{2, 1, 1, 2}));
    EXPECT_EQ(testing::Part<QLabel>(window, "ProfilePanel")->text(), QStringLiteral(u" 规约:2/1/1/2"));
    EXPECT_TRUE(testing::Part<TrafficLog>(window, "Memo1")->toPlainText().contains(QStringLiteral(u"ObjectAddress=9 不可用(1 至 3), 按 2 使用")));

    testing::ModalDriver drive([](QWidget* modal) {
        auto* dialog = qobject_cast<ProfileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->spnObjectAddress->setValue(3);
        dialog->cmbDecoding->setCurrentIndex(1);
        dialog->btnOk->click();
    });
    testing::Part<QAction>(window, "btnProfile")->trigger();
    EXPECT_TRUE(drive.seen);
    EXPECT_EQ(window.Profile().sizes, (FieldSizes{2, 1, 1, 3}));
    EXPECT_EQ(window.Profile().decoding, ObjectDecoding::Standard);
    EXPECT_EQ(testing::Part<QLabel>(window, "ProfilePanel")->text(), QStringLiteral(u" 规约:2/1/1/3 标准"));
    EXPECT_EQ(ReadLinkProfile().profile, window.Profile());
    window.close();
}

}  // namespace
}  // namespace tc101
