#include <fstream>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "support/config_dir.h"
#include "files/ini_file.h"
#include "support/message_hook.h"
#include "protocol/hex_text.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/cell_delegate.h"
#include "widgets/grid_view.h"

namespace tc101 {
namespace {

std::vector<std::string> ValueColumn(const Table& table) {
    std::vector<std::string> values;
    for (int row = 1; row < table.RowCount(); ++row) values.push_back(table.Cell(kBwValueCol, row));
    return values;
}

using Strings = std::vector<std::string>;

class BwSetFormTest : public testing::ConfigDirTest {
protected:
    static void Edit(GridView* grid, int row, const char* text) {
        ASSERT_TRUE(grid->model()->setData(grid->model()->index(row - 1, kBwValueCol - 1), QString::fromUtf8(text)));
    }
    static std::string Short(const TfrmBwSet& form, ShortRequest request, std::int64_t address = 1) {
        return BytesToHexText(form.ShortRequestFrame(request, address));
    }
    static std::string ZZ(const TfrmBwSet& form, std::int64_t address = 1) {
        return BytesToHexText(form.InterrogationFrame(address));
    }
};

TEST_F(BwSetFormTest, WithoutAFileGivesTheStandardFramesAndLabels) {
    TfrmBwSet form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("报文设置"));
    EXPECT_EQ(Short(form, ShortRequest::LinkStatus), "10 49 01 4A 16");
    EXPECT_EQ(Short(form, ShortRequest::Class1), "10 5A 01 5B 16");
    EXPECT_EQ(Short(form, ShortRequest::Class2), "10 5B 01 5C 16");
    EXPECT_EQ(ZZ(form), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    EXPECT_EQ(Short(form, ShortRequest::LinkStatus, 257), "10 49 01 4A 16");

    const Table& shortCells = form.ShortCells();
    EXPECT_EQ(shortCells.RowCount(), 4);
    EXPECT_EQ(shortCells.Cell(kBwLabelCol, 0), "报文类型");
    EXPECT_EQ(shortCells.Cell(kBwValueCol, 0), "控制字");
    EXPECT_EQ(shortCells.Cell(kBwLabelCol, 3), "二级数据");
    EXPECT_EQ(shortCells.Cell(0, 3), "3");
    EXPECT_EQ(form.ZZCells().RowCount(), 8);
    EXPECT_EQ(form.ZZCells().Cell(kBwLabelCol, 7), "召唤遥信遥测BCD码命令限定词");
    EXPECT_EQ(form.PageControl1->tabText(0), QString::fromUtf8("常用短报文(&S)"));
    EXPECT_EQ(form.rbDec->text(), QString::fromUtf8(" 十进制(&J)"));
    // Columns fit their texts, with the 20 pixels of room.
    const int labelWidth = form.GrdZZ->fontMetrics().horizontalAdvance(QString::fromUtf8("召唤遥信遥测BCD码命令限定词"));
    EXPECT_EQ(form.ZZCells().ColWidth(kBwLabelCol), labelWidth + 20);
}

TEST_F(BwSetFormTest, EditsAreUsedAtOnceAndLostWithoutConfirming) {
    {
        TfrmBwSet form;
        form.show();
        Edit(form.grdShort, 2, "");
        Edit(form.GrdZZ, 7, "15");
        QTest::mouseClick(form.btnBack, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(Short(form, ShortRequest::Class1), "10 00 01 01 16");
        EXPECT_EQ(ZZ(form), "68 09 09 68 53 01 64 01 06 01 00 00 15 D5 16");
    }
    EXPECT_FALSE(std::filesystem::exists(File("bwset.ini")));
    TfrmBwSet restarted;
    EXPECT_EQ(Short(restarted, ShortRequest::Class1), "10 5A 01 5B 16");
}

TEST_F(BwSetFormTest, DecimalViewConvertsAndShowingAgainReturnsToHex) {
    TfrmBwSet form;
    form.show();
    form.rbDec->click();
    EXPECT_EQ(form.Display(), ValueDisplay::Decimal);
    EXPECT_EQ(ValueColumn(form.ShortCells()), (Strings{"73", "90", "91"}));
    EXPECT_EQ(ValueColumn(form.ZZCells()), (Strings{"83", "100", "1", "6", "0", "0", "20"}));
    form.close();
    EXPECT_EQ(form.Display(), ValueDisplay::Hex);
    EXPECT_TRUE(form.rbHex->isChecked());
    EXPECT_EQ(ValueColumn(form.ShortCells()), (Strings{"49", "5A", "5B"}));
    EXPECT_EQ(ValueColumn(form.ZZCells()), (Strings{"53", "64", "01", "06", "00", "00", "14"}));
    EXPECT_EQ(ZZ(form), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
}

TEST_F(BwSetFormTest, ConfirmNormalisesWritesTheListsAndStaysOpen) {
    testing::MessageRecorder boxes;
    TfrmBwSet form;
    form.show();
    Edit(form.grdShort, 1, "4b");
    Edit(form.GrdZZ, 5, "x");
    Edit(form.GrdZZ, 6, "1");
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("召唤报文设置成功！"));
    EXPECT_EQ(boxes.shown[0].caption, QString::fromUtf8("系统提示！"));
    EXPECT_EQ(ValueColumn(form.ShortCells()), (Strings{"4B", "5A", "5B"}));
    EXPECT_EQ(ValueColumn(form.ZZCells()), (Strings{"53", "64", "01", "06", "00", "01", "14"}));

    const IniFile ini(File("bwset.ini"));
    EXPECT_EQ(ini.ReadString("bwset", "grdShort", "?"), ",4B,5A,5B");
    EXPECT_EQ(ini.ReadString("bwset", "GrdZZ", "?"), ",53,64,01,06,00,01,14");
    TfrmBwSet restarted;
    EXPECT_EQ(Short(restarted, ShortRequest::LinkStatus), "10 4B 01 4C 16");
}

TEST_F(BwSetFormTest, StandardLinkIsLiveAndStoredWithConfirm) {
    testing::MessageRecorder boxes;
    {
        TfrmBwSet form;
        EXPECT_EQ(form.chkStandardLink->text(), QString::fromUtf8("标准链路规程(&F)"));
        EXPECT_FALSE(form.StandardLink());
        form.show();
        form.chkStandardLink->setChecked(true);
        EXPECT_TRUE(form.StandardLink());
        EXPECT_FALSE(IniFile(File("bwset.ini")).ReadBool("bwset", "StandardLink", false));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    }
    EXPECT_EQ(IniFile(File("bwset.ini")).ReadString("bwset", "StandardLink", "?"), "1");
    TfrmBwSet restarted;
    EXPECT_TRUE(restarted.StandardLink());
}

TEST_F(BwSetFormTest, LostAfterIsLiveAndStoredWithConfirm) {
    testing::MessageRecorder boxes;
    IniFile(File("bwset.ini")).WriteString("bwset", "LostAfter", "5");
    {
        TfrmBwSet form;
        EXPECT_EQ(form.spnLostAfter->value(), 5);
        form.show();
        form.spnLostAfter->setValue(7);
        EXPECT_EQ(form.Settings().lostAfter, 7);
        EXPECT_EQ(IniFile(File("bwset.ini")).ReadString("bwset", "LostAfter", "?"), "5");
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    }
    EXPECT_EQ(IniFile(File("bwset.ini")).ReadString("bwset", "LostAfter", "?"), "7");
}

TEST_F(BwSetFormTest, ConfirmInDecimalStoresHexAndKeepsWideValues) {
    testing::MessageRecorder boxes;
    TfrmBwSet form;
    form.show();
    form.rbDec->click();
    Edit(form.grdShort, 1, "300");
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    EXPECT_EQ(ValueColumn(form.ShortCells()), (Strings{"300", "90", "91"}));
    EXPECT_EQ(IniFile(File("bwset.ini")).ReadString("bwset", "grdShort", "?"), ",12C,5A,5B");
    form.close();
    EXPECT_EQ(form.ShortCells().Cell(kBwValueCol, 1), "2C");
    TfrmBwSet restarted;
    EXPECT_EQ(restarted.ShortCells().Cell(kBwValueCol, 1), "12C");
    EXPECT_EQ(Short(restarted, ShortRequest::LinkStatus), "10 2C 01 2D 16");
}

TEST_F(BwSetFormTest, ReadsStoredListsKeepingTitlesAndIgnoringSurplus) {
    IniFile ini(File("bwset.ini"));
    ini.WriteString("bwset", "grdShort", ",4B");
    ini.WriteString("bwset", "GrdZZ", ",53,64,01,06,00,00,15,99,98");
    TfrmBwSet form;
    EXPECT_EQ(ValueColumn(form.ShortCells()), (Strings{"4B", "", ""}));
    EXPECT_EQ(form.ShortCells().Cell(kBwValueCol, 0), "控制字");
    EXPECT_EQ(Short(form, ShortRequest::Class2), "10 00 01 01 16");
    EXPECT_EQ(ZZ(form), "68 09 09 68 53 01 64 01 06 01 00 00 15 D5 16");
}

TEST_F(BwSetFormTest, ValueEditorsAcceptTwoCharactersOrThreeInDecimal) {
    TfrmBwSet form;
    EXPECT_EQ(form.grdShort->Delegate()->MaxLength(kBwValueCol), 2);
    form.show();
    form.rbDec->click();
    EXPECT_EQ(form.grdShort->Delegate()->MaxLength(kBwValueCol), 3);
    EXPECT_EQ(form.GrdZZ->Delegate()->MaxLength(kBwValueCol), 3);
    form.rbHex->click();
    EXPECT_EQ(form.grdShort->Delegate()->MaxLength(kBwValueCol), 2);
    EXPECT_EQ(form.GrdZZ->Delegate()->MaxLength(kBwValueCol), 2);
    // Labels are fixed, values editable.
    EXPECT_FALSE(form.grdShort->model()->flags(form.grdShort->model()->index(0, 0)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(form.grdShort->model()->flags(form.grdShort->model()->index(0, 1)).testFlag(Qt::ItemIsEditable));
}

TEST_F(BwSetFormTest, UnwritableSettingsFileIsReportedNotConfirmed) {
    testing::MessageRecorder boxes;
    TfrmBwSet form;
    form.show();
    // The application folder lies under a plain file: nothing can be created there.
    { std::ofstream(File("plain")) << "x"; }
    qputenv("TC101_CONFIG_DIR", QByteArray::fromStdString((File("plain") / "sub").string()));
    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("bwset.ini"))) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace tc101
