#pragma once
// The manager as the program builds it, on a data file in a folder of its own, with a
// scripted desktop and a clock the test sets.
#include "common/civil_time.h"
#include "qt_printers.h"
#include "manager/ui/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "scheduler/appointment_book.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zw::testing {

class SettableClock : public Clock {
public:
    LocalDateTime time{{2026, 12, 8}, {9, 5, 30}};
    LocalDateTime now() const override { return time; }
};

class NoExecutor : public AppointmentExecutor {
public:
    void carryOut(const DueAppointment&) override {}
};

struct ManagerFixture : ::testing::Test {
    QTemporaryDir dir;
    SettableClock clock;
    ScriptedDesktop desktop;
    AppointmentList list;
    NoExecutor executor;
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
