// The manager's commands on the real dialog over 100,000 appointments.
#include "bench/realistic_lines.h"
#include "manager/ui/editor_page.h"
#include "manager/ui/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "scheduler/appointment_book.h"

#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <benchmark/benchmark.h>

#include <memory>

namespace zw::bench {
namespace {

class BenchClock : public Clock {
public:
    LocalDateTime now() const override { return kCheckTime; }
};

class NoExecutor : public AppointmentExecutor {
public:
    void carryOut(const DueAppointment&) override {}
};

// The program's manager over a data file of n realistic appointments.
struct Manager {
    explicit Manager(size_t n)
    {
        book = std::make_unique<AppointmentBook>(dir.path(), list, clock, executor);
        list.assign(asLoaded(realisticLines(n)));
        list.save();
        dialog = std::make_unique<ManagerDialog>(desktop, *book, clock, QString::fromStdString(dir.path().string()));
        dialog->showManager();
    }
    template <typename T>
    T* control(const char* name) const
    {
        return dialog->findChild<T*>(QLatin1String(name));
    }

    TempDir dir;
    BenchClock clock;
    ScriptedDesktop desktop;
    AppointmentList list;
    NoExecutor executor;
    std::unique_ptr<AppointmentBook> book;
    std::unique_ptr<ManagerDialog> dialog;
};

// "Termin Speichern" for a new appointment in the middle of the list: the check, the
// line, the date-ordered insert, the atomic save of the whole file and the list page
// filled anew.
void Manager_StoreNewAppointment(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    auto* message = m.control<QLineEdit>("Edit4");
    auto* year = m.control<QLineEdit>("Edit6");
    auto* store = m.control<QPushButton>("Button5");
    const size_t before = m.list.count();
    for (auto _ : state) {
        state.PauseTiming();
        year->setText(QStringLiteral("2027"));
        message->setText(QStringLiteral("Neuer Termin mitten in der Liste"));
        state.ResumeTiming();
        store->click();
        state.PauseTiming();
        if (m.list.count() != before + 1 || !m.desktop.calls().empty()) {
            state.SkipWithError("not stored as one new appointment");
            break;
        }
        // Taken out again by position, as the due check would; the next store finds the
        // same list.
        for (size_t i = 0; i < m.list.count(); ++i) {
            if (m.list.get(i).find("Neuer Termin mitten") != std::string::npos) {
                m.list.remove(i);
                break;
            }
        }
        state.ResumeTiming();
    }
}
BENCHMARK(Manager_StoreNewAppointment)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
