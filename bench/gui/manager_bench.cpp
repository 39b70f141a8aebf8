// The manager's commands on the real dialog over 100,000 appointments.
#include "bench/realistic_lines.h"
#include "manager/ui/editor_page.h"
#include "manager/ui/list_page.h"
#include "manager/ui/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "scheduler/appointment_book.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QPushButton>
#include <QString>

#include <benchmark/benchmark.h>

#include "widgets/multi_list.h"

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
        dialog = std::make_unique<ManagerDialog>(desktop, *book, clock, QStringList{QString::fromStdString(dir.path().string())});
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

// The first opening of the manager, now built at its first use: the dialog with its pages
// and small dialogs over the list, shown and laid out, as after a double-click on the
// tray icon.
void Manager_FirstOpening(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    const QStringList sounds{QString::fromStdString(m.dir.path().string())};
    for (auto _ : state) {
        auto dialog = std::make_unique<ManagerDialog>(m.desktop, *m.book, m.clock, sounds);
        dialog->showManager();
        QCoreApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(Manager_FirstOpening)->Arg(0)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// `liste` over the whole list, with the page drawn once.
void ListPage_Fill(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    m.dialog->pages()->setCurrentIndex(1);
    ListPage* page = m.dialog->listPage();
    for (auto _ : state) {
        page->fill();
        benchmark::DoNotOptimize(page->list()->grab());
    }
    if (page->list()->rowCount() != static_cast<int>(m.list.count()) + 1)
        state.SkipWithError("rows missing");
}
BENCHMARK(ListPage_Fill)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Scrolling from the first row to the last, drawn.
void ListPage_ScrollToEnd(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    m.dialog->pages()->setCurrentIndex(1);
    MultiList* list = m.dialog->listPage()->list();
    QScrollBar* bar = list->verticalScrollBar();
    for (auto _ : state) {
        state.PauseTiming();
        bar->setValue(bar->minimum());
        benchmark::DoNotOptimize(list->grab());
        state.ResumeTiming();
        list->scrollToRow(list->rowCount() - 1);
        benchmark::DoNotOptimize(list->grab());
    }
}
BENCHMARK(ListPage_ScrollToEnd)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Alles markieren" followed by "Markierung umkehren", each with the commands updated.
void ListPage_MarkAllThenInvert(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    m.dialog->pages()->setCurrentIndex(1);
    ListPage* page = m.dialog->listPage();
    for (auto _ : state) {
        page->markAll();
        page->invertMarks();
    }
    if (page->list()->selectedCount() != 0)
        state.SkipWithError("marks left after inverting all");
}
BENCHMARK(ListPage_MarkAllThenInvert)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Deleting every tenth appointment: the query answered, the removal, the rows following
// it and one atomic save.
void ListPage_DeleteTenThousandMarked(benchmark::State& state)
{
    Manager m(static_cast<size_t>(state.range(0)));
    m.dialog->pages()->setCurrentIndex(1);
    ListPage* page = m.dialog->listPage();
    const std::vector<std::string> all = m.list.lines();
    std::vector<std::size_t> everyTenth;
    for (std::size_t entry = 0; entry < all.size(); entry += 10)
        everyTenth.push_back(entry);
    for (auto _ : state) {
        state.PauseTiming();
        m.list.assign(all);
        page->unmarkAll();
        page->markEntries(everyTenth);
        m.desktop.queueAnswer(MessageResult::Yes);
        state.ResumeTiming();
        page->deleteMarked();
        state.PauseTiming();
        if (m.list.count() != all.size() - everyTenth.size())
            state.SkipWithError("not every marked appointment deleted");
        state.ResumeTiming();
    }
}
BENCHMARK(ListPage_DeleteTenThousandMarked)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
