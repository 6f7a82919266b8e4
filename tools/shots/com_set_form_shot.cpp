// Shows the port settings dialog and saves what it looks like, for a person
// to check the texts and the layout:  xvfb-run -a com_set_form_shot <folder>

#include <QDir>
#include <QPixmap>
#include <QTimer>

#include "serial/ui/com_set_form.h"
#include "widgets/application.h"

int main(int argc, char** argv) {
    tc101::Application app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    tc101::TfrmComSet form;
    form.show();
    QTimer::singleShot(300, [&] {
        form.grab().save(folder.filePath(QStringLiteral("port-dialog.png")));
        app.quit();
    });
    return app.exec();
}
