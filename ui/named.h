#pragma once
// Tests and tools find every control by its name: the objectName of a
// control is the name it has in the code.

#include <QString>

namespace kv::ui {

template <typename T> T* Named(T* object, const QString& name) {
    object->setObjectName(name);
    return object;
}

} // namespace kv::ui
