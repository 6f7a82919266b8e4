#pragma once

// The two questions both editors ask: before deleting a row, and before
// closing with changes that were not saved.

#include <functional>

#include <QString>

class QWidget;

namespace tc101 {

// "确定删除第 n 行纪录?" answered Yes.
bool ConfirmRowDelete(QWidget* parent, int row);

// Whether the window may close after asking `question` (Yes, No, Cancel):
// Cancel keeps it open; Yes saves first, and a save that fails keeps it
// open too, edits and all, after showing the error.
bool MayCloseAfterAsking(QWidget* parent, const QString& question, const std::function<void()>& save);

}  // namespace tc101
