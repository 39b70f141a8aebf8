#include "scheduler/ui/alarm_window.h"

#include "common/civil_time.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "scheduler/alarm_texts.h"
#include "scheduler/due_check.h"
#include "scheduler/ui/appointment_rows.h"

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

AlarmWindow::AlarmWindow(Desktop& desktop, SnoozeCounter& snoozeCounter, const DueAppointment& appointment,
                         const LocalDateTime& createdAt, QStringList soundFolders, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      m_desktop(desktop),
      m_snooze(snoozeCounter),
      m_index(appointment.index),
      m_sound(fromCp1252(appointment.sound)),
      m_soundFolders(std::move(soundFolders))
{
    setObjectName(QStringLiteral("TForm4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(dialogFont(font()));
    setFixedSize(367, 276);

    buildControls();
    buildSnoozeMenu();

    setFittedText(m_timeLabel, fromUtf8(alarmTimeLine(createdAt)));
    setFittedText(m_statusLabel, fromUtf8(alarmStatusLine(appointment.statusText)));
    m_message->setPlainText(fromCp1252(appointment.message));

    m_snoozeTimer = new QTimer(this);
    m_snoozeTimer->setObjectName(QStringLiteral("Timer1"));
    m_snoozeTimer->setInterval(kSnoozeTickMilliseconds);
    connect(m_snoozeTimer, &QTimer::timeout, this, &AlarmWindow::onSnoozeTimer);
}

AlarmWindow::~AlarmWindow() = default;

void AlarmWindow::buildControls()
{
    auto* icon = place(new QLabel(this), "Image1", {17, 10, 32, 32}, 0);
    icon->setPixmap(windowIcon().pixmap(32, 32));

    m_timeLabel = panelLine(this, "Pan2", "Label1", {65, 9, 285, 14}, 30);
    m_statusLabel = panelLine(this, "Pan1", "Label2", {65, 28, 285, 14}, 31);
    horizontalLine(this, "Bevel2", {11, 49, 346, 2});

    m_message = place(new QPlainTextEdit(this), "Memo1", {15, 57, 337, 173}, 32);
    m_message->setReadOnly(true);
    m_message->setFrameShape(QFrame::NoFrame);
    m_message->setFont(messageFont(font()));
    QPalette palette = m_message->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    m_message->setPalette(palette);
    m_message->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Long words wrap too; a message longer than the area can still be scrolled.
    m_message->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_message->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_message->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    horizontalLine(this, "Bevel1", {11, 236, 346, 2});

    // Schließen is created first: it leads the tab order and has the focus at opening.
    m_closeButton = place(new QPushButton(QStringLiteral("Schließen"), this), "Button1", {273, 247, 84, 23}, 35);
    m_editButton = place(new QPushButton(QStringLiteral("&Bearbeiten"), this), "Button3", {12, 247, 84, 23}, 33);
    m_snoozeButton = place(new QPushButton(QStringLiteral("&Snooze"), this), "Button2", {185, 247, 84, 23}, 34);
    m_closeButton->setDefault(true);
    setTabOrder(m_closeButton, m_message);
    setTabOrder(m_message, m_editButton);
    setTabOrder(m_editButton, m_snoozeButton);
    m_closeButton->setFocus();

    connect(m_closeButton, &QPushButton::clicked, this, &AlarmWindow::onCloseClicked);
    connect(m_snoozeButton, &QPushButton::clicked, this, &AlarmWindow::onSnoozeClicked);
    connect(m_editButton, &QPushButton::clicked, this, &AlarmWindow::onEditClicked);

    m_help = new ContextHelp(m_desktop, this);
    for (QWidget* control : {static_cast<QWidget*>(m_closeButton), static_cast<QWidget*>(m_editButton),
                             static_cast<QWidget*>(m_snoozeButton), m_timeLabel->parentWidget(),
                             m_statusLabel->parentWidget()})
        m_help->attach(control);
}

void AlarmWindow::buildSnoozeMenu()
{
    m_snoozeMenu = new QMenu(this);
    m_snoozeMenu->setObjectName(QStringLiteral("PopupMenu1"));
    for (const SnoozeChoice& entry : kSnoozeChoices) {
        QAction* action = m_snoozeMenu->addAction(fromUtf8(entry.caption));
        action->setObjectName(QStringLiteral("N%1Minuten1").arg(entry.minutes));
        action->setData(entry.minutes);
        setHelpNumber(action, 110);
    }
    enableMenuHelp(m_snoozeMenu, m_desktop, MenuHelp::Popup);
    connect(m_snoozeMenu, &QMenu::triggered, this, [this](QAction* action) { snoozeFor(action->data().toInt()); });
}

void AlarmWindow::onCloseClicked()
{
    close();
}

void AlarmWindow::onSnoozeClicked()
{
    // A few pixels inside the button, wherever the window manager put the frame.
    m_snoozeMenu->popup(m_snoozeButton->mapToGlobal(QPoint(3, 3)));
}

void AlarmWindow::onEditClicked()
{
    if (m_rows == nullptr)
        return;
    const QPointer<AlarmWindow> alive(this);
    try {
        m_rows->showEntry(m_index);
    } catch (const std::exception& error) {
        m_desktop.showError(error);
        return;
    }
    if (alive)
        close();
}

void AlarmWindow::snoozeFor(int minutes)
{
    m_snooze.start(minutes);
    hide();
    m_snoozeTimer->start();
}

void AlarmWindow::onSnoozeTimer()
{
    if (!m_snooze.tick())
        return;
    m_snoozeTimer->stop();
    show();
    if (!m_desktop.bringToFront(this))
        m_desktop.requestAttention(this);
    setFittedText(m_statusLabel, fromUtf8(snoozeReturnStatusLine()));
}

void AlarmWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only a showing by the program plays; the window manager restoring it does not.
    if (!event->spontaneous())
        m_desktop.playSound(m_soundFolders, m_sound);
}

} // namespace zw
