#pragma once

// What the editor tests share: a private folder that is both the application
// folder (comset.ini, FromSizeInfo.ini) and the working directory (yc.sen,
// yx.sen, send.sen), message boxes answered from the test, typing into a
// grid's cell and driving a modal window from inside its event loop.

#include <functional>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "files/table_file.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101::testing {

class EditorTest : public ConfigDirTest {
protected:
    void SetUp() override {
        ConfigDirTest::SetUp();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(File("").string()));
    }
    void TearDown() override {
        QDir::setCurrent(previousDir_);
        ConfigDirTest::TearDown();
    }

    // A table file with the given rows (columns 1..) written as the program writes it.
    void WriteTable(const char* name, const std::vector<std::vector<std::string>>& rows) {
        Table table(4, static_cast<int>(rows.size()) + 1);
        for (size_t r = 0; r < rows.size(); ++r) {
            table.SetCell(0, static_cast<int>(r) + 1, std::to_string(r + 1));
            for (size_t c = 0; c < rows[r].size(); ++c)
                table.SetCell(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
        }
        SaveTableFile(table, File(name));
    }
    // The data rows of a file, columns 1..3 trimmed of the space an empty field reads as.
    std::vector<std::vector<std::string>> ReadTable(const char* name) {
        Table table(4, 1);
        if (!LoadTableFile(table, File(name))) return {{"<missing>"}};
        std::vector<std::vector<std::string>> rows;
        for (int row = 1; row < table.RowCount(); ++row) {
            std::vector<std::string> cells;
            for (int col = 1; col < 4; ++col) cells.push_back(table.Cell(col, row) == " " ? "" : table.Cell(col, row));
            rows.push_back(cells);
        }
        return rows;
    }

    bool Asked(const QString& text) const {
        for (const auto& box : boxes.shown)
            if (box.text == text) return true;
        return false;
    }

    MessageRecorder boxes;

private:
    QString previousDir_;
};

inline QModelIndex CellIndex(const GridView& grid, int col, int row) {
    return grid.model()->index(row - 1, col - 1);
}

inline std::pair<int, int> CurrentCell(const GridView& grid) {
    const QModelIndex current = grid.currentIndex();
    return {current.column() + 1, current.row() + 1};
}

// Selects the cell, types the text over its content and presses Enter.
inline void TypeInto(GridView& grid, int col, int row, const QString& text) {
    const QModelIndex index = CellIndex(grid, col, row);
    grid.setFocus();
    grid.setCurrentIndex(index);
    if (!grid.indexWidget(index)) grid.edit(index);
    auto* line = qobject_cast<QLineEdit*>(grid.indexWidget(index));
    ASSERT_NE(line, nullptr);
    line->selectAll();
    // As typed: replaces the selection (QTest types ASCII only).
    line->insert(text);
    QTest::keyClick(line, Qt::Key_Return);
}

// Runs `drive` on the next modal window once it is shown (from inside its
// event loop); `seen` tells afterwards whether one was.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> drive) : drive_(std::move(drive)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            timer_.stop();
            seen = true;
            drive_(modal);
        });
        timer_.start();
    }
    bool seen = false;

private:
    std::function<void(QWidget*)> drive_;
    QTimer timer_;
};

}  // namespace tc101::testing
