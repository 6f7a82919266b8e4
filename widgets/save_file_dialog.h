#pragma once

// The save dialog the windows ask for a file name with.

#include <QString>

class QWidget;

namespace tc101 {

struct SaveFileKind {
    QString nameFilter;     // as the dialog shows it, e.g. "文本文件*.txt (*.txt)"
    QString defaultSuffix;  // added when the user types a name without one
};

// The chosen path, or empty when the user cancelled.
QString ChooseSaveFile(QWidget* parent, const SaveFileKind& kind, const QString& proposedName);

}  // namespace tc101
