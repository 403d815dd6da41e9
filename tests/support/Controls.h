#pragma once
// A window's control found by its objectName, as a user finds it by what it shows: the tests
// reach no window's members.

#include <gtest/gtest.h>

#include <QObject>
#include <QString>

namespace testsupport {

template <class T = QWidget> T* control(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name, Qt::FindDirectChildrenOnly);
    if (!found) ADD_FAILURE() << "no control named " << name.toStdString();
    return found;
}

}  // namespace testsupport
