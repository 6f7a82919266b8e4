#pragma once

// A closed window's part as the tests reach it: by its object name.

#include <stdexcept>
#include <string>

#include <QDialog>
#include <QObject>

namespace tc101::testing {

// The child of `owner` named `name`; one inside a dialog of its own (a
// settings dialog the window owns, an editor open over it) is passed over.
// Throws, failing the test, when there is none.
template <typename T>
T* Part(const QObject& owner, const char* name) {
    for (T* found : owner.findChildren<T*>(QString::fromLatin1(name))) {
        bool ownDialog = false;
        for (const QObject* up = found->parent(); up != nullptr && up != &owner; up = up->parent())
            ownDialog = ownDialog || qobject_cast<const QDialog*>(up) != nullptr;
        if (!ownDialog) return found;
    }
    throw std::runtime_error("no part named " + std::string(name));
}

}  // namespace tc101::testing
