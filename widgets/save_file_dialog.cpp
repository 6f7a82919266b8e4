#include "widgets/save_file_dialog.h"

#include <QFileDialog>

namespace tc101 {

QString ChooseSaveFile(QWidget* parent, const SaveFileKind& kind, const QString& proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(kind.nameFilter);
    dialog.setDefaultSuffix(kind.defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace tc101
