// Tfrmyxycdef's widgets: the toolbar, the two pages with their tables and
// right-hand panels, captions and start widths.

#include <array>
#include <limits>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "files/ratio_text.h"
#include "files/ui/yc_yx_def_form.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {

namespace {

constexpr int kMinWidth = 606;
constexpr int kMinHeight = 546;
constexpr int kPanelWidth = 170;
constexpr std::array kYcWidths{20, 171, 72, 78};
constexpr std::array kYxWidths{20, 101, 64, 60};
constexpr std::array kYcTitles{u"", u"遥测量", u"单位", u"比例"};
constexpr std::array kYxTitles{u"", u"遥信量", u"0的意义", u"1的意义"};

void SetUpTable(Table& table, const std::array<int, 4>& widths, const std::array<const char16_t*, 4>& titles) {
    for (int col = 0; col < table.ColCount(); ++col) {
        table.SetColWidth(col, widths[static_cast<size_t>(col)]);
        table.SetCell(col, 0, QString::fromUtf16(titles[static_cast<size_t>(col)]).toStdString());
    }
}

GridView* EditorGrid(Table& table) {
    auto* grid = new GridView(table);
    grid->SetWholeRowSelection(false);
    grid->SetAlwaysEditing(true);
    grid->SetEditableColumns({1, 2, 3});
    grid->SetEnterMovesRight(true);
    return grid;
}

QWidget* Page(GridView* grid, QLabel* caption, QWidget* field) {
    auto* panel = new QWidget;
    panel->setFixedWidth(kPanelWidth);
    auto* column = new QVBoxLayout(panel);
    column->addWidget(caption);
    column->addWidget(field);
    column->addStretch();
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->addWidget(grid, 1);
    row->addWidget(panel);
    return page;
}

}  // namespace

void Tfrmyxycdef::BuildLayout() {
    BuildToolbar(QSize(kMinWidth, kMinHeight));

    SetUpTable(ycTable_, kYcWidths, kYcTitles);
    SetUpTable(yxTable_, kYxWidths, kYxTitles);
    GrdYC = EditorGrid(ycTable_);
    GrdYC->setObjectName(QStringLiteral("GrdYC"));
    GrdYC->Model()->SetTitleToolTip(kYcRatioColumn, QString::fromUtf16(kRatioColumnTip));
    GrdYX = EditorGrid(yxTable_);
    GrdYX->setObjectName(QStringLiteral("GrdYX"));

    txtYcUseByte = new QSpinBox;
    txtYcUseByte->setObjectName(QStringLiteral("txtYcUseByte"));
    txtYcUseByte->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    cmbYxUseByte = new QComboBox;
    cmbYxUseByte->setObjectName(QStringLiteral("cmbYxUseByte"));
    cmbYxUseByte->addItem(QString::fromUtf16(u"1个字节"));
    cmbYxUseByte->addItem(QString::fromUtf16(u"1位"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(Page(GrdYC, new QLabel(QString::fromUtf16(u"每个遥测量所占字节个数")), txtYcUseByte),
                         QString::fromUtf16(u"遥测(F3)"));
    PageControl1->addTab(Page(GrdYX, new QLabel(QString::fromUtf16(u"每个遥信量所占")), cmbYxUseByte),
                         QString::fromUtf16(u"遥信(F4)"));
    LayOut(PageControl1);
}

}  // namespace tc101
