#include "scheduler/ui/alarm_window.h"

#include "common/civil_time.h"
#include "platform/classic_dialog.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "scheduler/alarm_texts.h"
#include "scheduler/due_check.h"
#include "scheduler/ui/appointment_rows.h"
#include "store/appointment_list.h"

#include <QAction>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <utility>

namespace zw {

namespace {

// The window's 8-point sans font. The classic dialog font is missing on most systems;
// the next ones are the closest in width that are commonly installed.
QFont dialogFont(const QFont& base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont messageFont(const QFont& base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    return font;
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, QRect geometry, int helpContext)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    setHelpNumber(widget, helpContext);
    return widget;
}

QFrame* horizontalLine(QWidget* parent, const char* name, QRect geometry)
{
    auto* line = place(new QFrame(parent), name, geometry, 0);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The lines were laid out for a narrow bitmap font; a wider substitute would cut the
// longest status off at the panel's edge. Such a text is set a little condensed instead.
void setFittedText(QLabel* label, const QString& text)
{
    constexpr int kNarrowestStretch = 80;
    QFont font = label->font();
    font.setStretch(QFont::Unstretched);
    const int available = label->width();
    const int natural = QFontMetrics(font).horizontalAdvance(text);
    if (natural > available) {
        int stretch = std::max(kNarrowestStretch, available * 100 / natural);
        for (;;) {
            font.setStretch(stretch);
            if (stretch == kNarrowestStretch || QFontMetrics(font).horizontalAdvance(text) <= available)
                break;
            --stretch;
        }
    }
    label->setFont(font);
    label->setText(text);
}

// A borderless panel holding one line of plain text.
QLabel* panelLine(QWidget* parent, const char* panelName, const char* labelName, QRect geometry,
                  int helpContext)
{
    auto* panel = place(new QFrame(parent), panelName, geometry, helpContext);
    panel->setFrameShape(QFrame::NoFrame);
    auto* label = new QLabel(panel);
    label->setObjectName(QLatin1String(labelName));
    label->setGeometry(0, 0, geometry.width(), geometry.height());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Right-clicks go to the panel, which carries the help number.
    label->setContextMenuPolicy(Qt::NoContextMenu);
    return label;
}

} // namespace

class AlarmWindow::Appointment : public AppointmentList::TrackedEntry {
    using TrackedEntry::TrackedEntry;
};

AlarmWindow::AlarmWindow(Desktop& desktop, SnoozeCounter& snoozeCounter, const AppointmentList& list,
                         const DueAppointment& appointment, const LocalDateTime& createdAt, QStringList soundFolders,
                         QWidget* owner)
    : QDialog(owner, fixedDialogFlags() | Qt::CustomizeWindowHint),
      desktop_(desktop),
      snooze_(snoozeCounter),
      sound_(fromCp1252(appointment.sound)),
      soundFolders_(std::move(soundFolders))
{
    setObjectName(QStringLiteral("TForm4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(dialogFont(font()));
    setFixedSize(367, 276);

    buildControls();
    buildSnoozeMenu();
    // Followed while the list changes under the open or snoozed window; "Bearbeiten" goes
    // off once the appointment has left the list.
    appointment_ = std::make_unique<Appointment>(list);
    appointment_->set(appointment.index);
    appointment_->whenGone([this] { editButton_->setEnabled(false); });

    setFittedText(timeLabel_, fromUtf8(alarmTimeLine(createdAt)));
    setFittedText(statusLabel_, fromUtf8(alarmStatusLine(appointment.statusText)));
    message_->setPlainText(fromCp1252(appointment.message));

    snoozeTimer_ = new QTimer(this);
    snoozeTimer_->setObjectName(QStringLiteral("Timer1"));
    snoozeTimer_->setInterval(kSnoozeTickMilliseconds);
    connect(snoozeTimer_, &QTimer::timeout, this, &AlarmWindow::onSnoozeTimer);
}

AlarmWindow::~AlarmWindow() = default;

void AlarmWindow::buildControls()
{
    auto* icon = place(new QLabel(this), "Image1", {17, 10, 32, 32}, 0);
    icon->setPixmap(windowIcon().pixmap(32, 32));

    timeLabel_ = panelLine(this, "Pan2", "Label1", {65, 9, 285, 14}, 30);
    statusLabel_ = panelLine(this, "Pan1", "Label2", {65, 28, 285, 14}, 31);
    horizontalLine(this, "Bevel2", {11, 49, 346, 2});

    message_ = place(new QPlainTextEdit(this), "Memo1", {15, 57, 337, 173}, 32);
    message_->setReadOnly(true);
    message_->setFrameShape(QFrame::NoFrame);
    message_->setFont(messageFont(font()));
    QPalette palette = message_->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    message_->setPalette(palette);
    message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Long words wrap too; a message longer than the area can still be scrolled.
    message_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    horizontalLine(this, "Bevel1", {11, 236, 346, 2});

    // Schließen is created first: it leads the tab order and has the focus at opening.
    closeButton_ = place(new QPushButton(QStringLiteral("Schließen"), this), "Button1", {273, 247, 84, 23}, 35);
    editButton_ = place(new QPushButton(QStringLiteral("&Bearbeiten"), this), "Button3", {12, 247, 84, 23}, 33);
    snoozeButton_ = place(new QPushButton(QStringLiteral("&Snooze"), this), "Button2", {185, 247, 84, 23}, 34);
    closeButton_->setDefault(true);
    setTabOrder(closeButton_, message_);
    setTabOrder(message_, editButton_);
    setTabOrder(editButton_, snoozeButton_);
    closeButton_->setFocus();

    connect(closeButton_, &QPushButton::clicked, this, &AlarmWindow::onCloseClicked);
    connect(snoozeButton_, &QPushButton::clicked, this, &AlarmWindow::onSnoozeClicked);
    connect(editButton_, &QPushButton::clicked, this, &AlarmWindow::onEditClicked);

    help_ = new ContextHelp(desktop_, this);
    help_->attach({closeButton_, editButton_, snoozeButton_, timeLabel_->parentWidget(), statusLabel_->parentWidget()});
}

void AlarmWindow::buildSnoozeMenu()
{
    snoozeMenu_ = new QMenu(this);
    snoozeMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const SnoozeChoice& entry : kSnoozeChoices) {
        QAction* action = snoozeMenu_->addAction(fromUtf8(entry.caption));
        action->setObjectName(QStringLiteral("N%1Minuten1").arg(entry.minutes));
        action->setData(entry.minutes);
        setHelpNumber(action, 110);
    }
    enableMenuHelp(snoozeMenu_, desktop_, MenuHelp::Popup);
    connect(snoozeMenu_, &QMenu::triggered, this, [this](QAction* action) { snoozeFor(action->data().toInt()); });
}

void AlarmWindow::onCloseClicked()
{
    close();
}

void AlarmWindow::onSnoozeClicked()
{
    // A few pixels inside the button, wherever the window manager put the frame.
    snoozeMenu_->popup(snoozeButton_->mapToGlobal(QPoint(3, 3)));
}

void AlarmWindow::onEditClicked()
{
    const std::optional<std::size_t> entry = appointment_->position();
    if (rows_ == nullptr || !entry)
        return;
    const QPointer<AlarmWindow> alive(this);
    try {
        rows_->showEntry(*entry);
    } catch (const std::exception& error) {
        desktop_.showError(error);
        return;
    }
    if (alive)
        close();
}

void AlarmWindow::snoozeFor(int minutes)
{
    snooze_.start(minutes);
    hide();
    snoozeTimer_->start();
}

void AlarmWindow::onSnoozeTimer()
{
    if (!snooze_.tick())
        return;
    snoozeTimer_->stop();
    show();
    if (!desktop_.bringToFront(this))
        desktop_.requestAttention(this);
    setFittedText(statusLabel_, fromUtf8(snoozeReturnStatusLine()));
}

void AlarmWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only a showing by the program plays; the window manager restoring it does not.
    if (!event->spontaneous())
        desktop_.playSound(soundFolders_, sound_);
}

} // namespace zw
