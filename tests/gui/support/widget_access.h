#pragma once
// Finding a window's controls by their object names, and typing into them as a user would.
#include <QApplication>
#include <QKeyEvent>
#include <QLatin1String>
#include <QObject>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace zw::testing {

template <typename T = QWidget>
T* findControl(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Types any characters, also those QTest has no key for.
inline void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

} // namespace zw::testing
