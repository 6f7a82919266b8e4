#include "files/ui/yc_yx_def_form.h"

#include <filesystem>
#include <functional>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/find_part.h"
#include "files/comset_keys.h"
#include "files/form_size.h"
#include "files/ini_file.h"
#include "protocol/decoding_settings.h"

namespace tc101 {
namespace {

using testing::Part;

using Rows = std::vector<std::vector<std::string>>;

const QString kBothEmpty = QStringLiteral(u"遥测和遥信都没有设置,不可保存!");
const QString kSaveQuestion = QStringLiteral(u"修改的遥测遥信设置没有保存，是否要保存？");
const QString kSaved = QStringLiteral(u"保存成功!");

class YcYxDefTest : public testing::EditorTest {
protected:
    std::unique_ptr<Tfrmyxycdef> Shown() {
        auto form = std::make_unique<Tfrmyxycdef>();
        form->show();
        return form;
    }
    IniFile Comset() const { return IniFile(File("comset.ini")); }
};

TEST_F(YcYxDefTest, OpensWithBlankRowsOrTheFiles) {
    {
        Tfrmyxycdef form;
        EXPECT_EQ(form.windowTitle(), QStringLiteral(u"遥测遥信设置"));
        EXPECT_EQ(form.YcTable().RowCount(), 20);
        EXPECT_EQ(form.YxTable().RowCount(), 9);
        EXPECT_EQ(form.YcTable().ColWidth(1), 171);
        EXPECT_EQ(form.YxTable().ColWidth(3), 60);
        EXPECT_EQ(form.YcTable().Cell(3, 0), "比例");
        EXPECT_EQ(form.YxTable().Cell(2, 0), "0的意义");
        EXPECT_EQ(form.YcTable().Cell(0, 19), "19");
        EXPECT_EQ(Part<QTabWidget>(form, "PageControl1")->tabText(1), QStringLiteral(u"遥信(F4)"));
        EXPECT_GE(form.minimumWidth(), 606);
    }
    WriteTable("yc.sen", {{"温度", "℃", "0.1"}, {"电压", "kV", "1"}});
    // Row numbers as last shown in the file are repaired.
    Table stale(4, 2);
    stale.SetCell(0, 1, "7");
    stale.SetCell(1, 1, "开关");
    SaveTableFile(stale, File("yx.sen"));
    Tfrmyxycdef form;
    EXPECT_EQ(form.YcTable().RowCount(), 3);
    EXPECT_EQ(form.YcTable().Cell(1, 2), "电压");
    EXPECT_EQ(form.YxTable().Cell(0, 1), "1");
    EXPECT_EQ(form.YxTable().Cell(1, 1), "开关");
    EXPECT_TRUE(boxes.shown.empty());
}

// Stand-ins fill in where the working folder has no file and are never
// written; the working folder's file wins; saving writes the working folder's.
TEST_F(YcYxDefTest, StandInsShowWhereTheWorkingFolderHasNoFile) {
    WriteTable("stand-in-yc.sen", {{"线路1电流", "A", "10"}});
    WriteTable("stand-in-yx.sen", {{"开关1", "分", "合"}});
    WriteTable("yx.sen", {{"自己的开关", "开", "关"}});
    const StandInDefinitions standIns{File("stand-in-yc.sen"), File("stand-in-yx.sen")};
    auto form = std::make_unique<Tfrmyxycdef>(nullptr, standIns);
    form->show();
    EXPECT_EQ(form->YcTable().Cell(1, 1), "线路1电流");
    EXPECT_EQ(form->YxTable().Cell(1, 1), "自己的开关");
    EXPECT_FALSE(form->Modified());
    form->YcTable().SetCell(3, 1, "20");
    EXPECT_TRUE(form->BtnSaveClick());
    EXPECT_EQ(ReadTable("yc.sen"), (Rows{{"线路1电流", "A", "20"}}));
    EXPECT_EQ(ReadTable("stand-in-yc.sen"), (Rows{{"线路1电流", "A", "10"}}));
    EXPECT_EQ(ReadTable("stand-in-yx.sen"), (Rows{{"开关1", "分", "合"}}));
}

// The ratio column's title tells how a ratio is applied.
TEST_F(YcYxDefTest, RatioTitleTellsHowTheRatioIsApplied) {
    Tfrmyxycdef form;
    EXPECT_EQ(Part<GridView>(form, "GrdYC")->model()->headerData(kYcRatioColumn - 1, Qt::Horizontal, Qt::ToolTipRole),
              QStringLiteral(u"显示值 = 原始值 ÷ 比例"));
}

TEST_F(YcYxDefTest, CreationShowsTheStoredDecodingSettings) {
    struct Case {
        const char* yc;
        const char* yx;
        int spin;
        int index;
    };
    const Case cases[] = {{nullptr, nullptr, 2, 0}, {"4", "1", 4, 1}, {"258", "0", 2, 0}, {"3", "5", 3, -1}};
    for (const auto& c : cases) {
        std::filesystem::remove(File("comset.ini"));
        IniFile comset = Comset();
        if (c.yc) comset.WriteString(kYcYxDefSection, kYcUseByteKey, c.yc);
        if (c.yx) comset.WriteString(kYcYxDefSection, kYxUseByteKey, c.yx);
        Tfrmyxycdef form;
        EXPECT_EQ(Part<QSpinBox>(form, "txtYcUseByte")->value(), c.spin) << c.yc;
        EXPECT_EQ(Part<QComboBox>(form, "cmbYxUseByte")->currentIndex(), c.index) << c.yx;
    }
}

// The modified mark through each way of changing the tables.
TEST_F(YcYxDefTest, ModifiedByAddDeleteAndChangedCells) {
    struct Case {
        const char* what;
        std::function<void(Tfrmyxycdef&)> act;
        std::deque<Answer> answers;
        bool modified;
    };
    const Case cases[] = {
        {"nothing", [](Tfrmyxycdef&) {}, {}, false},
        {"add", [](Tfrmyxycdef& f) { f.BtnAddClick(); }, {}, true},
        {"delete answered No", [](Tfrmyxycdef& f) { f.BtnDelClick(); }, {Answer::No}, true},
        {"delete answered Yes", [](Tfrmyxycdef& f) { f.BtnDelClick(); }, {Answer::Yes}, true},
        {"typed name", [](Tfrmyxycdef& f) { testing::TypeInto(*Part<GridView>(f, "GrdYC"), 1, 2, QStringLiteral("A")); }, {}, true},
        {"same text typed again", [](Tfrmyxycdef& f) { testing::TypeInto(*Part<GridView>(f, "GrdYC"), 1, 1, QStringLiteral("温度")); },
         {}, false},
        {"typed telesignal state",
         [](Tfrmyxycdef& f) {
             Part<QTabWidget>(f, "PageControl1")->setCurrentIndex(1);
             testing::TypeInto(*Part<GridView>(f, "GrdYX"), 3, 1, QStringLiteral("合"));
         },
         {}, true},
        {"refresh", [](Tfrmyxycdef& f) { f.BtnRefreshClick(); }, {}, false},
        {"ratio re-typed as 0.10", [](Tfrmyxycdef& f) { testing::TypeInto(*Part<GridView>(f, "GrdYC"), 3, 1, QStringLiteral("0.10")); },
         {}, false},
        {"add then save", [](Tfrmyxycdef& f) { f.BtnAddClick(); f.BtnSaveClick(); }, {}, false},
    };
    for (const auto& c : cases) {
        WriteTable("yc.sen", {{"温度", "℃", "0.1"}, {"电压", "kV", "1"}});
        auto form = Shown();
        boxes.answers = c.answers;
        c.act(*form);
        EXPECT_EQ(form->Modified(), c.modified) << c.what;
    }
}

TEST_F(YcYxDefTest, DeleteAsksWithTheRowNumber) {
    WriteTable("yc.sen", {{"a"}, {"b"}, {"c"}});
    auto form = Shown();
    Part<GridView>(*form, "GrdYC")->setCurrentIndex(testing::CellIndex(*Part<GridView>(*form, "GrdYC"), 1, 2));
    boxes.answers = {Answer::No};
    form->BtnDelClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral(u"确定删除第 2 行纪录?"));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral(u"系统提示!"));
    EXPECT_EQ(form->YcTable().RowCount(), 4);
    boxes.answers = {Answer::Yes};
    form->BtnDelClick();
    EXPECT_EQ(form->YcTable().RowCount(), 3);
    EXPECT_EQ(form->YcTable().Cell(1, 2), "c");
    EXPECT_EQ(form->YcTable().Cell(0, 2), "2");
}

TEST_F(YcYxDefTest, AddWorksOnTheShownPage) {
    auto form = Shown();
    Part<QTabWidget>(*form, "PageControl1")->setCurrentIndex(1);
    form->BtnAddClick();
    EXPECT_EQ(form->YcTable().RowCount(), 20);
    EXPECT_EQ(form->YxTable().RowCount(), 10);
    EXPECT_EQ(form->YxTable().Cell(0, 9), "9");
}

TEST_F(YcYxDefTest, SaveTidiesAndWritesBothFiles) {
    auto form = Shown();
    Table& yc = form->YcTable();
    yc.SetCell(1, 2, "温度");
    yc.SetCell(3, 2, "0.1");
    yc.SetCell(2, 4, "kV");  // no name: not a definition
    yc.SetCell(3, 5, "2");
    yc.SetCell(1, 7, "电压");
    EXPECT_TRUE(form->BtnSaveClick());
    EXPECT_TRUE(Asked(kSaved));
    EXPECT_EQ(ReadTable("yc.sen"), (Rows{{"温度", "", "0.1"}, {"电压", "", ""}}));
    // The untouched telesignal table is written as one blank row.
    EXPECT_EQ(ReadTable("yx.sen"), (Rows{{"", "", ""}}));
    EXPECT_EQ(yc.RowCount(), 3);
    EXPECT_EQ(yc.Cell(0, 2), "2");
}

TEST_F(YcYxDefTest, BothEmptyIsNeverSaved) {
    auto form = Shown();
    form->BtnAddClick();
    form->YcTable().SetCell(2, 3, "kV");
    EXPECT_FALSE(form->BtnSaveClick());
    EXPECT_TRUE(Asked(kBothEmpty));
    EXPECT_FALSE(Asked(kSaved));
    EXPECT_TRUE(form->Modified());
    EXPECT_FALSE(std::filesystem::exists(File("yc.sen")));
    EXPECT_FALSE(std::filesystem::exists(File("yx.sen")));
    // Closing says so again and goes, writing nothing.
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(Asked(kSaveQuestion));
    EXPECT_FALSE(std::filesystem::exists(File("yc.sen")));
}

TEST_F(YcYxDefTest, CloseCheckAnswers) {
    struct Case {
        Answer answer;
        bool open;
        bool written;
    };
    const Case cases[] = {{Answer::Cancel, true, false}, {Answer::No, false, false}, {Answer::Yes, false, true}};
    for (const auto& c : cases) {
        WriteTable("yc.sen", {{"温度", "℃", "0.1"}});
        auto form = Shown();
        form->BtnAddClick();
        form->YcTable().SetCell(1, 2, "新");
        boxes.shown.clear();
        boxes.answers = {c.answer};
        Part<QPushButton>(*form, "btnBack")->click();
        EXPECT_TRUE(Asked(kSaveQuestion));
        EXPECT_EQ(boxes.shown[0].caption, QStringLiteral(u"系统提示！"));
        EXPECT_EQ(boxes.shown[0].kind, BoxKind::YesNoCancel);
        EXPECT_EQ(form->isVisible(), c.open);
        EXPECT_EQ(Asked(kSaved), c.written);
        EXPECT_EQ(ReadTable("yc.sen").size(), c.written ? 2u : 1u);
    }
}

TEST_F(YcYxDefTest, SavedThenClosedAsksNothing) {
    WriteTable("yc.sen", {{"温度"}});
    auto form = Shown();
    testing::TypeInto(*Part<GridView>(*form, "GrdYC"), 2, 1, QStringLiteral("K"));
    form->BtnSaveClick();
    boxes.shown.clear();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(YcYxDefTest, CellBeingTypedCountsAtClose) {
    WriteTable("yc.sen", {{"温度"}});
    auto form = Shown();
    QTest::qWait(0);
    Part<GridView>(*form, "GrdYC")->setFocus();
    const QModelIndex unit = testing::CellIndex(*Part<GridView>(*form, "GrdYC"), 2, 1);
    Part<GridView>(*form, "GrdYC")->setCurrentIndex(unit);
    if (!Part<GridView>(*form, "GrdYC")->indexWidget(unit)) Part<GridView>(*form, "GrdYC")->edit(unit);
    auto* line = qobject_cast<QLineEdit*>(Part<GridView>(*form, "GrdYC")->indexWidget(unit));
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, QStringLiteral("kV"));
    boxes.answers = {Answer::Yes};
    form->close();
    EXPECT_TRUE(Asked(kSaveQuestion));
    EXPECT_EQ(ReadTable("yc.sen"), (Rows{{"温度", "kV", ""}}));
}

TEST_F(YcYxDefTest, RatioColumnTakesNumbersOnly) {
    struct Case {
        const char* typed;
        const char* shown;
        bool modified;
    };
    const Case cases[] = {{"abc", "0.1", false}, {"2.50", "2.5", true}, {"", "", true}, {"1e2", "100", true}};
    for (const auto& c : cases) {
        WriteTable("yc.sen", {{"温度", "℃", "0.1"}});
        auto form = Shown();
        testing::TypeInto(*Part<GridView>(*form, "GrdYC"), 3, 1, QString::fromUtf8(c.typed));
        EXPECT_EQ(form->YcTable().Cell(3, 1), c.shown) << c.typed;
        EXPECT_EQ(form->Modified(), c.modified) << c.typed;
    }
}

TEST_F(YcYxDefTest, EnterMovesRightAndWraps) {
    struct Case {
        int col, row, toCol, toRow;
    };
    const Case cases[] = {{1, 1, 2, 1}, {2, 4, 3, 4}, {3, 4, 1, 5}, {3, 8, 3, 8}};
    auto form = Shown();
    Part<QTabWidget>(*form, "PageControl1")->setCurrentIndex(1);
    GridView& grid = *Part<GridView>(*form, "GrdYX");
    for (const auto& c : cases) {
        grid.setFocus();
        grid.setCurrentIndex(testing::CellIndex(grid, c.col, c.row));
        QWidget* target = grid.indexWidget(grid.currentIndex());
        QTest::keyClick(target ? target : &grid, Qt::Key_Return);
        EXPECT_EQ(testing::CurrentCell(grid), std::make_pair(c.toCol, c.toRow)) << c.col << "," << c.row;
    }
    EXPECT_FALSE(form->Modified());
}

TEST_F(YcYxDefTest, FunctionKeysSwitchPagesWithoutTyping) {
    WriteTable("yc.sen", {{"温度"}});
    auto form = Shown();
    QTest::qWait(0);
    testing::TypeInto(*Part<GridView>(*form, "GrdYC"), 1, 1, QStringLiteral("温度"));
    QWidget* editor = Part<GridView>(*form, "GrdYC")->indexWidget(Part<GridView>(*form, "GrdYC")->currentIndex());
    QTest::keyClick(editor ? editor : Part<GridView>(*form, "GrdYC"), Qt::Key_F4);
    EXPECT_EQ(Part<QTabWidget>(*form, "PageControl1")->currentIndex(), 1);
    QTest::keyClick(Part<GridView>(*form, "GrdYX"), Qt::Key_F3);
    EXPECT_EQ(Part<QTabWidget>(*form, "PageControl1")->currentIndex(), 0);
    EXPECT_EQ(form->YcTable().Cell(1, 1), "温度");
    EXPECT_EQ(form->YcTable().Cell(2, 1), " ");  // an empty field as loaded
    EXPECT_FALSE(form->Modified());
}

TEST_F(YcYxDefTest, DecodingSettingsStoredAtEveryClose) {
    WriteTable("yc.sen", {{"温度"}});
    auto form = Shown();
    Part<QSpinBox>(*form, "txtYcUseByte")->setValue(4);
    Part<QComboBox>(*form, "cmbYxUseByte")->setCurrentIndex(1);
    form->BtnAddClick();
    boxes.answers = {Answer::No};
    form->close();
    EXPECT_FALSE(form->isVisible());
    // What the main window decodes with after the editor.
    EXPECT_EQ(ReadDecodingSettings(), (DecodingSettings{4, 1}));
    EXPECT_EQ(Comset().ReadInteger(kYcYxDefSection, kYcUseByteKey, -1), 4);
    EXPECT_EQ(Comset().ReadInteger(kYcYxDefSection, kYxUseByteKey, -1), 1);
    EXPECT_EQ(Comset().ReadString(kYcYxDefSection, kDefFileNameKey, "<none>"), "");
    EXPECT_GT(IniFile(File("FromSizeInfo.ini")).ReadInteger("frmyxycdef", "width", 0), 0);
}

TEST_F(YcYxDefTest, FileThatCannotBeWrittenKeepsTheEdits) {
    auto form = Shown();
    std::filesystem::create_directory(File("yc.sen"));  // a folder where the file should be
    form->YcTable().SetCell(1, 1, "温度");
    form->BtnAddClick();
    EXPECT_ANY_THROW(form->BtnSaveClick());
    EXPECT_TRUE(form->Modified());
    EXPECT_FALSE(std::filesystem::exists(File("yx.sen")));  // the second file is not written
    boxes.shown.clear();
    boxes.answers = {Answer::Yes};
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes.shown.back().kind, BoxKind::Error);
}

}  // namespace
}  // namespace tc101
