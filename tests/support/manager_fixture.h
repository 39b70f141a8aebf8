#pragma once
// The manager as the program builds it, on a data file in a folder of its own, with a
// scripted desktop and a clock the test sets.
#include "manager/ui/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "recording_executor.h"
#include "scheduler/appointment_book.h"
#include "test_clock.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zw::testing {

struct ManagerFixture : ::testing::Test {
    QTemporaryDir dir;
    TestClock clock;
    ScriptedDesktop desktop;
    AppointmentList list;
    RecordingExecutor executor;
    std::unique_ptr<AppointmentBook> book;
    std::unique_ptr<ManagerDialog> manager;

    // Builds the manager over `lines` (written to termine.dat first).
    void open(const std::vector<std::string>& lines = {})
    {
        desktop.setScreenSize({1024, 768});
        desktop.setFullScreenClientSize({1024, 722});
        book = std::make_unique<AppointmentBook>(std::filesystem::path(dir.path().toStdString()), list, clock,
                                                 executor);
        list.assign(lines);
        list.save();
        manager = std::make_unique<ManagerDialog>(desktop, *book, clock, QStringList{dir.path()});
    }
    std::string dataFile() const
    {
        QFile file(QDir(dir.path()).filePath(QStringLiteral("termine.dat")));
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        const QByteArray bytes = file.readAll();
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    void TearDown() override { manager.reset(); }
};

} // namespace zw::testing
