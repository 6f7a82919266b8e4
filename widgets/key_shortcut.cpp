#include "widgets/key_shortcut.h"

#include <array>

#include <QShortcut>
#include <QWidget>

namespace tc101 {

QList<QKeySequence> KeyWithAnyModifiers(Qt::Key key, Qt::KeyboardModifiers required) {
    constexpr std::array optional{Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier};
    QList<QKeySequence> keys;
    for (unsigned set = 0; set < (1U << optional.size()); ++set) {
        Qt::KeyboardModifiers modifiers = required;
        for (std::size_t i = 0; i < optional.size(); ++i)
            if ((set & (1U << i)) != 0) modifiers |= optional[i];
        const QKeySequence sequence(QKeyCombination(modifiers, key));
        if (!keys.contains(sequence)) keys << sequence;
    }
    return keys;
}

QShortcut* AddKeyShortcut(QWidget& owner, Qt::Key key, Qt::KeyboardModifiers required, Qt::ShortcutContext context,
                          std::function<void()> command) {
    auto* shortcut = new QShortcut(&owner);
    shortcut->setKeys(KeyWithAnyModifiers(key, required));
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, &owner, std::move(command));
    return shortcut;
}

}  // namespace tc101
