// The manager's small dialogs on the real windows over 100,000 appointments: marking
// the expired ones, and one search press that runs through the whole list in vain.
#include "bench/realistic_lines.h"
#include "manager/ui/mark_expired_dialog.h"
#include "manager/ui/marked_rows.h"
#include "manager/ui/search_dialog.h"
#include "platform/scripted_desktop.h"
#include "store/appointment_list.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace zw::bench {
namespace {

class BenchClock : public Clock {
public:
    LocalDateTime now() const override { return kCheckTime; }
};

// The list page's marks, one flag per row, as cheap as marks can be.
class BitRows : public MarkedRows {
public:
    explicit BitRows(size_t n) : marks(n) {}
    void unmarkAll() override { std::fill(marks.begin(), marks.end(), false); }
    void markEntries(const std::vector<size_t>& entries) override
    {
        for (size_t e : entries)
            if (e < marks.size())
                marks[e] = true;
    }
    void markEntry(size_t entry) override
    {
        if (entry < marks.size())
            marks[entry] = true;
    }
    std::vector<size_t> markedEntries() const override
    {
        std::vector<size_t> out;
        for (size_t i = 0; i < marks.size(); ++i)
            if (marks[i])
                out.push_back(i);
        return out;
    }
    void updateCommands() override { ++updates; }

    std::vector<bool> marks;
    int updates = 0;
};

// "Ok" of "Termine markieren" with "Alle abgelaufenen Termine markieren": every line's
// date and time read and compared, the marks replaced.
void Dialogs_MarkExpired(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    ScriptedDesktop desktop;
    BenchClock clock;
    AppointmentList list;
    list.assign(asLoaded(realisticLines(n)));
    BitRows rows(n);
    MarkExpiredDialog dialog(desktop, list, rows, clock);
    auto* all = dialog.findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    if (all == nullptr || ok == nullptr) {
        state.SkipWithError("controls not found");
        return;
    }
    all->click();
    for (auto _ : state) {
        state.PauseTiming();
        dialog.show();
        state.ResumeTiming();
        ok->click();
        state.PauseTiming();
        if (dialog.isVisible() || rows.markedEntries().empty()) {
            state.SkipWithError("the dialog did not mark and close");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(Dialogs_MarkExpired)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One press of "Weitersuchen" in "Alles", case not observed, for a text no appointment
// holds: every line lowered and searched, then the report.
void Dialogs_SearchWithoutHit(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    ScriptedDesktop desktop;
    AppointmentList list;
    list.assign(asLoaded(realisticLines(n)));
    BitRows rows(n);
    QWidget manager;
    manager.setGeometry(300, 300, 578, 424);
    SearchDialog dialog(desktop, list, rows, &manager);
    dialog.showSearch();
    auto* text = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* next = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    if (text == nullptr || next == nullptr) {
        state.SkipWithError("controls not found");
        return;
    }
    text->setText(QStringLiteral("Kein solcher Termin \u00D6"));
    for (auto _ : state) {
        state.PauseTiming();
        desktop.queueAnswer(MessageResult::Ok);
        desktop.clearCalls();
        state.ResumeTiming();
        next->click();
        state.PauseTiming();
        if (desktop.count(DesktopCall::Kind::MessageBox) != 1 || desktop.pendingAnswers() != 0) {
            state.SkipWithError("not one report");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(Dialogs_SearchWithoutHit)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
