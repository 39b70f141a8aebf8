#include "manager/ui/mark_expired_dialog.h"

#include "manager/expiry.h"
#include "manager/ui/busy_pointer.h"
#include "manager/ui/marked_rows.h"
#include "platform/classic_dialog.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/dialog_controls.h"
#include "store/appointment_list.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

namespace zw {

namespace {

using dialog::named;
using dialog::spoken;

constexpr int kClientWidth = 341;
constexpr int kClientHeight = 133;

} // namespace

MarkExpiredDialog::MarkExpiredDialog(Desktop& desktop, const AppointmentList& list, MarkedRows& rows,
                                     const Clock& clock, QWidget* parent)
    : CentredDialog(desktop, parent),
      desktop_(desktop),
      list_(list),
      rows_(rows),
      clock_(clock)
{
    help_ = setUpDialog(*this, desktop, "TForm6", QStringLiteral("Termine markieren"), true);

    auto* group = named(new QGroupBox(QStringLiteral("Auswahl")), "GroupBox1", 0, QStringLiteral("Auswahl"));
    const QString onlyOnce = QStringLiteral("Nur abgelaufene Termine ohne Wiederholung markieren");
    const QString every = QStringLiteral("Alle abgelaufenen Termine markieren");
    withoutRepetition_ = named(new QRadioButton(onlyOnce), "RadioButton1", 50, onlyOnce);
    all_ = named(new QRadioButton(every), "RadioButton2", 51, every);
    withoutRepetition_->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(withoutRepetition_);
    choices->addWidget(all_);

    auto* ok = named(new QPushButton(QStringLiteral("Ok")), "Button1", 52, QStringLiteral("Ok"));
    auto* cancel = named(new QPushButton(QStringLiteral("Abbrechen")), "Button2", 53, spoken(QStringLiteral("Abbrechen")));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &MarkExpiredDialog::markExpired);
    // Esc and the close box do the same: the marks stay as they were.
    connect(cancel, &QPushButton::clicked, this, &MarkExpiredDialog::reject);
    help_->attach({withoutRepetition_, all_, ok, cancel});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({ok, cancel}));
    fixClassicSize(*this, {kClientWidth, kClientHeight});
}

MarkExpiredDialog::~MarkExpiredDialog() = default;

void MarkExpiredDialog::markExpired()
{
    // Out of the way first, so that the list shows the new marks uncovered.
    hide();
    const ExpiredChoice choice = all_->isChecked() ? ExpiredChoice::All : ExpiredChoice::WithoutRepetition;
    try {
        const BusyPointer busy;
        const std::vector<std::size_t> entries = expiredEntries(list_.lines(), choice, clock_);
        rows_.unmarkAll();
        rows_.markEntries(entries);
        rows_.updateCommands();
    } catch (const std::exception& error) {
        desktop_.showError(error);
    }
    accept();
}

} // namespace zw
