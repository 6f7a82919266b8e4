#include "files/ui/define_send_form.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/find_part.h"
#include "files/app_paths.h"
#include "files/comset_keys.h"
#include "files/ini_file.h"
#include "files/send_list_normalize.h"
#include "traffic/ui/bw_get_form.h"
#include "traffic/ui/bw_set_form.h"

namespace tc101 {
namespace {

using testing::Part;

using Rows = std::vector<std::vector<std::string>>;

const QString kEmptyList = QStringLiteral(u"没有报文,不可保存!");
const QString kSaveQuestion = QStringLiteral(u"修改的报文没有保存，是否要保存？");
const QString kSaved = QStringLiteral(u"保存成功!");

class DefineSendTest : public testing::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        settings_ = std::make_unique<TfrmBwSet>();
    }
    void TearDown() override {
        settings_.reset();
        EditorTest::TearDown();
    }
    std::unique_ptr<TfrmDefineSend> Shown() {
        auto form = std::make_unique<TfrmDefineSend>(*settings_);
        form->show();
        return form;
    }
    void WriteList() { WriteTable("send.sen", {{"链路", "10 49 01 4A 16"}, {"一级", "10 5A 01 5B 16"}}); }
    // A press and release of the left button at a point of the grid.
    static void ClickAt(GridView& grid, const QPoint& at) {
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, at);
    }
    static QPoint ButtonCell(GridView& grid, int row) {
        return grid.visualRect(testing::CellIndex(grid, kSendButtonCol, row)).center();
    }

    std::unique_ptr<TfrmBwSet> settings_;
};

TEST_F(DefineSendTest, ShowLoadsTheListAndTheFileName) {
    {
        auto form = Shown();
        EXPECT_EQ(form->windowTitle(), QStringLiteral(u"维护发送报文"));
        EXPECT_EQ(form->SendTable().RowCount(), 5);
        EXPECT_EQ(form->SendTable().Cell(3, 0), "规约报文");
        EXPECT_EQ(form->SendFileName(), AppFile("default.sen").string());
    }
    {
        // An empty file has no rows; the editor keeps one to type into.
        std::ofstream(File("send.sen")).flush();
        auto form = Shown();
        EXPECT_EQ(form->SendTable().RowCount(), 2);
    }
    WriteList();
    auto form = Shown();
    EXPECT_EQ(form->SendTable().RowCount(), 3);
    EXPECT_EQ(form->SendTable().Cell(2, 2), "10 5A 01 5B 16");
    EXPECT_EQ(form->SendTable().Cell(0, 2), "2");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DefineSendTest, ModifiedByEditsButNotByTableKeys) {
    struct Case {
        const char* what;
        std::function<void(TfrmDefineSend&)> act;
        std::deque<Answer> answers;
        bool modified;
        int rows;  // data rows afterwards
    };
    const auto key = [](int k) {
        return [k](TfrmDefineSend& f) { QTest::keyClick(Part<GridView>(f, "GrdSend"), static_cast<Qt::Key>(k), Qt::ControlModifier); };
    };
    const Case cases[] = {
        {"add", [](TfrmDefineSend& f) { f.BtnAddClick(); }, {}, true, 3},
        {"delete answered No", [](TfrmDefineSend& f) { f.BtnDelClick(); }, {Answer::No}, false, 2},
        {"delete answered Yes", [](TfrmDefineSend& f) { f.BtnDelClick(); }, {Answer::Yes}, true, 1},
        {"Ctrl+Insert", key(Qt::Key_Insert), {}, false, 3},
        {"Ctrl+Delete", key(Qt::Key_Delete), {}, false, 1},
        {"refresh", [](TfrmDefineSend& f) { f.BtnRefreshClick(); }, {}, false, 2},
        {"typed name", [](TfrmDefineSend& f) { testing::TypeInto(*Part<GridView>(f, "GrdSend"), 1, 2, QStringLiteral("x")); }, {}, true, 2},
        {"typed content",
         [](TfrmDefineSend& f) { testing::TypeInto(*Part<GridView>(f, "GrdSend"), 2, 1, QStringLiteral("10 49 01 4A 16 ")); }, {}, true, 2},
        {"same name again", [](TfrmDefineSend& f) { testing::TypeInto(*Part<GridView>(f, "GrdSend"), 1, 1, QStringLiteral(u"链路")); }, {},
         false, 2},
        {"add then save", [](TfrmDefineSend& f) { f.BtnAddClick(); f.BtnSaveClick(); }, {}, false, 2},
    };
    for (const auto& c : cases) {
        WriteList();
        auto form = Shown();
        boxes.answers = c.answers;
        c.act(*form);
        EXPECT_EQ(form->Modified(), c.modified) << c.what;
        EXPECT_EQ(form->SendTable().RowCount() - 1, c.rows) << c.what;
        // Closing right after asks only when modified.
        boxes.shown.clear();
        boxes.answers = {Answer::No};
        form->close();
        EXPECT_EQ(Asked(kSaveQuestion), c.modified) << c.what;
    }
}

TEST_F(DefineSendTest, TableKeysActAtTheCurrentRow) {
    WriteTable("send.sen", {{"a", "01"}, {"b", "02"}, {"c", "03"}});
    auto form = Shown();
    Part<GridView>(*form, "GrdSend")->setCurrentIndex(testing::CellIndex(*Part<GridView>(*form, "GrdSend"), 1, 1));
    QTest::keyClick(Part<GridView>(*form, "GrdSend"), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(form->SendTable().Cell(1, 2), "");
    EXPECT_EQ(form->SendTable().Cell(1, 3), "b");
    form->BtnAddClick();  // two below the current row
    EXPECT_EQ(form->SendTable().Cell(1, 3), "");
    EXPECT_EQ(form->SendTable().Cell(1, 4), "b");
    Part<GridView>(*form, "GrdSend")->setCurrentIndex(testing::CellIndex(*Part<GridView>(*form, "GrdSend"), 1, 4));
    QTest::keyClick(Part<GridView>(*form, "GrdSend"), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(form->SendTable().Cell(1, 4), "c");
    EXPECT_EQ(form->SendTable().Cell(0, 4), "4");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DefineSendTest, SaveNormalisesAndWritesTheFile) {
    auto form = Shown();
    Table& list = form->SendTable();
    list.SetCell(1, 1, "状态");
    list.SetCell(2, 1, "680c0c68");
    list.SetCell(1, 2, "no content");
    list.SetCell(1, 3, "召唤");
    list.SetCell(2, 3, "10,5b,01,5c,16");
    EXPECT_TRUE(form->BtnSaveClick());
    EXPECT_TRUE(Asked(kSaved));
    EXPECT_FALSE(form->Modified());
    EXPECT_EQ(ReadTable("send.sen"), (Rows{{"状态", "68 0C 0C 68", ""}, {"召唤", "10 5B 01 5C 16", ""}}));
}

TEST_F(DefineSendTest, EmptyListIsNeverSaved) {
    auto form = Shown();
    form->SendTable().SetCell(1, 2, "name only");
    form->BtnAddClick();
    EXPECT_FALSE(form->BtnSaveClick());
    EXPECT_TRUE(Asked(kEmptyList));
    EXPECT_FALSE(std::filesystem::exists(File("send.sen")));
    boxes.shown.clear();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(Asked(kEmptyList));
    EXPECT_FALSE(Asked(kSaveQuestion));
}

TEST_F(DefineSendTest, CloseCheckAnswers) {
    struct Case {
        Answer answer;
        bool open;
        bool written;
    };
    const Case cases[] = {{Answer::Cancel, true, false}, {Answer::No, false, false}, {Answer::Yes, false, true}};
    for (const auto& c : cases) {
        WriteList();
        auto form = Shown();
        form->BtnAddClick();
        form->SendTable().SetCell(2, 2, "680c0c68");
        boxes.shown.clear();
        boxes.answers = {c.answer};
        Part<QPushButton>(*form, "btnBack")->click();
        ASSERT_TRUE(Asked(kSaveQuestion));
        EXPECT_EQ(boxes.shown[0].caption, QStringLiteral(u"系统提示！"));
        EXPECT_EQ(form->isVisible(), c.open);
        // Normalised before the question, whatever the answer.
        EXPECT_EQ(form->SendTable().Cell(2, 2), "68 0C 0C 68");
        EXPECT_EQ(ReadTable("send.sen")[1][1], c.written ? "68 0C 0C 68" : "10 5A 01 5B 16");
    }
}

TEST_F(DefineSendTest, CloseStoresTheFileNameAndSize) {
    const std::string kept = File("mine.sen").string();
    std::ofstream(File("mine.sen")) << "x";
    IniFile(File("comset.ini")).WriteString(kDefineSendSection, kSendFileNameKey, kept);
    WriteList();
    auto form = Shown();
    EXPECT_EQ(form->SendFileName(), kept);
    form->close();
    EXPECT_EQ(IniFile(File("comset.ini")).ReadString(kDefineSendSection, kSendFileNameKey, ""), kept);
    EXPECT_GT(IniFile(File("FromSizeInfo.ini")).ReadInteger("frmDefineSend", "width", 0), 0);
}

TEST_F(DefineSendTest, GeneratorFillsOnlyTheRowItWasOpenedOn) {
    WriteList();
    auto form = Shown();
    GridView& grid = *Part<GridView>(*form, "GrdSend");
    QString caption;
    {
        testing::ModalDriver ok([&caption](QWidget* modal) {
            auto* generator = qobject_cast<TfrmBwget*>(modal);
            ASSERT_NE(generator, nullptr);
            caption = generator->lblCaption->text();
            generator->cmbBWLX->setCurrentIndex(2);
            generator->cmbAddress->setValue(3);
            generator->btnOk->click();
        });
        ClickAt(grid, ButtonCell(grid, 2));
        EXPECT_TRUE(ok.seen);
    }
    EXPECT_EQ(caption, QStringLiteral(u"生成第 2 行报文"));
    EXPECT_TRUE(form->Modified());
    EXPECT_EQ(form->SendTable().Cell(1, 2), "召唤二级数据3#");
    EXPECT_EQ(form->SendTable().Cell(2, 2), "10 5B 03 5E 16");
    {
        testing::ModalDriver back([](QWidget* modal) {
            auto* generator = qobject_cast<TfrmBwget*>(modal);
            ASSERT_NE(generator, nullptr);
            generator->cmbBWLX->setCurrentIndex(0);
            generator->btnBack->click();
        });
        ClickAt(grid, ButtonCell(grid, 1));
        EXPECT_TRUE(back.seen);
    }
    EXPECT_EQ(form->SendTable().Cell(1, 1), "链路");
    EXPECT_EQ(form->SendTable().Cell(2, 1), "10 49 01 4A 16");
    EXPECT_EQ(form->SendTable().Cell(2, 2), "10 5B 03 5E 16");
}

TEST_F(DefineSendTest, GeneratorOpensOnlyOnAReleaseInsideTheCurrentButtonCell) {
    WriteList();
    auto form = Shown();
    GridView& grid = *Part<GridView>(*form, "GrdSend");
    testing::ModalDriver never([](QWidget* modal) { modal->close(); });
    // Pressed on the button of row 1, released over row 2: not the current cell.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, ButtonCell(grid, 1));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, ButtonCell(grid, 2));
    // A release inside a cell of another column.
    ClickAt(grid, grid.visualRect(testing::CellIndex(grid, 1, 1)).center());
    // The generator opens inside the release: had it opened, the driver has seen it.
    EXPECT_FALSE(never.seen);
    EXPECT_FALSE(form->Modified());
    EXPECT_EQ(grid.indexWidget(grid.currentIndex()), nullptr);
}

TEST_F(DefineSendTest, ButtonCellsNeverEdit) {
    WriteList();
    auto form = Shown();
    GridView& grid = *Part<GridView>(*form, "GrdSend");
    const QModelIndex button = testing::CellIndex(grid, kSendButtonCol, 1);
    grid.setCurrentIndex(button);
    QTest::keyClicks(&grid, QStringLiteral("ab"));
    EXPECT_EQ(grid.indexWidget(button), nullptr);
    EXPECT_EQ(form->SendTable().Cell(kSendButtonCol, 1), " ");  // an empty field as loaded
    // Enter from the last column goes on to the name of the next row.
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(testing::CurrentCell(grid), std::make_pair(1, 2));
}

TEST_F(DefineSendTest, ContentColumnTakesTheRestOfTheWidth) {
    auto form = Shown();
    for (const int width : {600, 900, 700}) {
        form->resize(width, 400);
        QTest::qWait(0);
        const Table& list = form->SendTable();
        EXPECT_EQ(list.ColWidth(0), 25);
        EXPECT_EQ(list.ColWidth(3), 58);
        EXPECT_EQ(list.ColWidth(2), Part<GridView>(*form, "GrdSend")->width() - 25 - list.ColWidth(1) - 58 - 30) << width;
    }
}

}  // namespace
}  // namespace tc101
