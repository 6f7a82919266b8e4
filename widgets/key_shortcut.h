#pragma once

// A window's key as a shortcut that acts however the key is pressed: alone
// or with Shift, Ctrl, Alt or Meta beside the modifiers it needs.

#include <functional>

#include <QKeySequence>
#include <QList>

class QShortcut;
class QWidget;

namespace tc101 {

// `key` with `required` and every combination of the other modifiers.
QList<QKeySequence> KeyWithAnyModifiers(Qt::Key key, Qt::KeyboardModifiers required = Qt::NoModifier);

// A shortcut of `owner` in `context` that runs `command` on the key.
QShortcut* AddKeyShortcut(QWidget& owner, Qt::Key key, Qt::KeyboardModifiers required, Qt::ShortcutContext context,
                          std::function<void()> command);

}  // namespace tc101
