// One QApplication for the whole test program, created before any widget and living
// longer than all of them. Without a display the tests run offscreen.
#include "platform/scripted_desktop.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    // A box that a test did not ask for would otherwise be answered silently.
    zw::ScriptedDesktop::setUnexpectedHandler(
        [](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    return RUN_ALL_TESTS();
}
