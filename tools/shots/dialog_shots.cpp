// Shows the shell's dialogs and a sample grid and saves what they look like,
// for a person to check the Chinese texts, captions and column widths:
//   xvfb-run -a shell_dialog_shots <folder>

#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "traffic/ui/bw_get_form.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/profile_dialog.h"
#include "widgets/application.h"
#include "widgets/grid_view.h"

namespace {

void Save(QWidget& widget, const QDir& folder, const char* name) {
    widget.grab().save(folder.filePath(QString::fromLatin1(name)));
}

tc101::Table SampleValueTable() {
    tc101::Table table(6, 6);
    const char* titles[] = {"", "遥测量", "单位", "比例", "1#设备", "3#设备"};
    for (int col = 0; col < 6; ++col) table.SetCell(col, 0, titles[col]);
    for (int row = 1; row < 6; ++row) {
        table.SetCell(0, row, std::to_string(row));
        table.SetCell(1, row, "A相电压" + std::to_string(row));
        table.SetCell(2, row, "kV");
        table.SetCell(3, row, "100");
        table.SetCell(4, row, std::to_string(row * 10.25));
    }
    table.SetColWidth(0, 20);
    table.SetColWidth(1, 102);
    table.SetColWidth(2, 73);
    table.SetColWidth(3, 104);
    table.SetTone(4, tc101::ColumnTone::Green);
    table.SetTone(5, tc101::ColumnTone::Green);
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    tc101::Application app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    tc101::TfrmBwSet settings;
    settings.show();
    QTimer::singleShot(300, [&] {
        Save(settings, folder, "shell-bwset-short.png");
        settings.PageControl1->setCurrentIndex(1);
        Save(settings, folder, "shell-bwset-zz.png");
        settings.rbDec->setChecked(true);
        Save(settings, folder, "shell-bwset-zz-decimal.png");
        settings.close();

        auto* generator = new tc101::TfrmBwget(settings);
        generator->SetCaption(QString::fromUtf8("生成第 3 行报文"));
        generator->show();
        generator->cmbBWLX->setCurrentIndex(2);
        QTimer::singleShot(300, [&, generator] {
            Save(*generator, folder, "shell-bwget.png");
            generator->close();
            delete generator;

            static tc101::Table table = SampleValueTable();
            auto* grid = new tc101::GridView(table);
            grid->resize(560, 200);
            grid->show();
            table.SetCurrentRow(2);
            QTimer::singleShot(300, [&, grid] {
                Save(*grid, folder, "shell-grid.png");
                delete grid;

                tc101::LinkProfile profile;
                profile.sizes = {2, 2, 2, 3};
                profile.decoding = tc101::ObjectDecoding::Standard;
                auto* dialog = new tc101::ProfileDialog(profile);
                dialog->show();
                QTimer::singleShot(300, [&, dialog] {
                    Save(*dialog, folder, "shell-profile.png");
                    delete dialog;
                    app.quit();
                });
            });
        });
    });
    return app.exec();
}
