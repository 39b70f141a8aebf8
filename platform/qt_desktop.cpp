#include "platform/qt_desktop.h"

#include "platform/help_viewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace zw {

namespace {

// Side of the stand-in rectangle for a notification-area icon whose place is unknown.
constexpr int kTrayIconExtent = 24;

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        break;
    }
    return QMessageBox::Critical;
}

QList<QMessageBox::StandardButton> boxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MessageButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MessageButtons::Ok:
        break;
    }
    return {QMessageBox::Ok};
}

QString buttonCaption(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes:
        return QStringLiteral("&Ja");
    case QMessageBox::No:
        return QStringLiteral("&Nein");
    case QMessageBox::Cancel:
        return QStringLiteral("Abbrechen");
    default:
        return QStringLiteral("OK");
    }
}

MessageResult boxResult(const QMessageBox& box, MessageButtons buttons)
{
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return dismissedResult(buttons);
    switch (box.standardButton(clicked)) {
    case QMessageBox::Ok:
        return MessageResult::Ok;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    default:
        return dismissedResult(buttons);
    }
}

bool isPathName(const QString& file)
{
    return file.contains(QLatin1Char('/')) || file.contains(QDir::separator());
}

#ifndef Q_OS_WIN
// How long asking the desktop for a file type's program may hold up the GUI thread.
constexpr int kAssociationQueryBudgetMs = 3000;

enum class Association { Found, None, Unknown };

// Asks xdg-mime for the default program of the file's type and of the types it
// derives from. Only a clear "nothing" from every query counts as no association:
// a missing tool, a failed query or a query that takes too long leave it open.
Association findAssociation(const QString& absolutePath)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return Association::Unknown;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(absolutePath);
    QStringList typeNames{type.name()};
    // Every type derives from application/octet-stream; a program for that one is
    // not a program for the file's real type.
    const QString anyType = QStringLiteral("application/octet-stream");
    for (const QString& ancestor : type.allAncestors()) {
        if (ancestor != anyType)
            typeNames.append(ancestor);
    }
    const QDeadlineTimer deadline(kAssociationQueryBudgetMs);
    for (const QString& typeName : typeNames) {
        QProcess query;
        query.setProcessChannelMode(QProcess::SeparateChannels);
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), typeName});
        if (!query.waitForFinished(int(std::max<qint64>(1, deadline.remainingTime())))) {
            query.kill();
            query.waitForFinished(1000);
            return Association::Unknown;
        }
        if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
            return Association::Unknown;
        if (!query.readAllStandardOutput().trimmed().isEmpty())
            return Association::Found;
    }
    return Association::None;
}
#endif

} // namespace

QList<SettingsProgram> dateTimeSettingsPrograms(const QString& currentDesktop)
{
    QList<SettingsProgram> programs{
        {QStringLiteral("gnome-control-center"), {QStringLiteral("datetime")}, QStringLiteral("GNOME")},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_clock")}, QStringLiteral("KDE")},
        {QStringLiteral("kcmshell6"), {QStringLiteral("kcm_clock")}, QStringLiteral("KDE")},
        {QStringLiteral("kcmshell5"), {QStringLiteral("clock")}, QStringLiteral("KDE")},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("calendar")}, QStringLiteral("X-Cinnamon")},
        {QStringLiteral("time-admin"), {}, QString()},
    };
    const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    std::stable_partition(programs.begin(), programs.end(), [&](const SettingsProgram& p) {
        return !p.desktop.isEmpty() && desktops.contains(p.desktop, Qt::CaseInsensitive);
    });
    return programs;
}

bool isBlankFileName(const QString& file)
{
    return std::all_of(file.begin(), file.end(), [](QChar c) {
        return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
    });
}

QtDesktop::QtDesktop(QString helpSourceFile)
    : helpSourceFile_(std::move(helpSourceFile))
{
}

QtDesktop::~QtDesktop()
{
    // A sound that fails while it is torn down must not call back into this object.
    if (sound_)
        sound_->disconnect();
}

void QtDesktop::setTrayIcon(QSystemTrayIcon* icon)
{
    trayIcon_ = icon;
    if (icon == nullptr)
        return;
    // A status-notifier host tells neither where the icon is nor where it was clicked; the
    // cursor at that moment is the best there is.
    const auto noteClick = [this] { trayClick_ = QCursor::pos(); };
    QObject::connect(icon, &QSystemTrayIcon::activated, icon, noteClick);
    if (QMenu* menu = icon->contextMenu())
        QObject::connect(menu, &QMenu::aboutToShow, icon, noteClick);
}

void QtDesktop::setHelpSourceFile(const QString& helpSourceFile)
{
    helpSourceFile_ = helpSourceFile;
    if (help_)
        help_->setSourceFile(helpSourceFile);
}

QString QtDesktop::boxText(const QString& text)
{
    // Stored messages break lines with line feed + carriage return; a box would show
    // the carriage return as a glyph of its own.
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::unique_ptr<QMessageBox> QtDesktop::buildMessageBox(const QString& text, const QString& title,
                                                        MessageIcon icon, MessageButtons buttons)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(title);
    box->setIcon(boxIcon(icon));
    // Texts quote file names and user input: never read them as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(boxText(text));
    box->setWindowModality(Qt::ApplicationModal);
    // Alarm windows belong to the clock, which may stay on top: a box that waits for the
    // user must not open behind them.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const QList<QMessageBox::StandardButton> standardButtons = boxButtons(buttons);
    for (QMessageBox::StandardButton button : standardButtons)
        box->addButton(button)->setText(buttonCaption(button));
    box->setDefaultButton(standardButtons.front());
    return box;
}

void QtDesktop::runModal(QMessageBox& box)
{
    box.exec();
}

MessageResult QtDesktop::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons)
{
    const std::unique_ptr<QMessageBox> box = buildMessageBox(text, title, icon, buttons);
    runModal(*box);
    return boxResult(*box, buttons);
}

int QtDesktop::startApplication(const QString& file, const QStringList& arguments)
{
    if (isBlankFileName(file))
        return kLaunchFileNotFound;
    QString program;
    if (!isPathName(file))
        program = QStandardPaths::findExecutable(file);
    if (program.isEmpty()) {
        const QFileInfo info(file);
        if (!info.exists())
            return kLaunchFileNotFound;
        if (!info.isFile() || !info.isExecutable())
            return openDocument(info.absoluteFilePath());
        program = info.absoluteFilePath();
    }
    // Started directly: no shell ever sees the arguments.
    return QProcess::startDetached(program, arguments) ? kLaunchStarted : kLaunchOtherFailure;
}

int QtDesktop::openDocument(const QString& absolutePath)
{
#ifdef Q_OS_WIN
    const QString nativePath = QDir::toNativeSeparators(absolutePath);
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(nativePath.utf16()),
                      nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? kLaunchStarted : int(result);
#else
    if (findAssociation(absolutePath) == Association::None)
        return kLaunchNoAssociation;
#ifndef Q_OS_MACOS
    // xdg-open works under every Qt platform plugin and reports whether it started.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty())
        return QProcess::startDetached(xdgOpen, {absolutePath}) ? kLaunchStarted : kLaunchOtherFailure;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath)) ? kLaunchStarted
                                                                         : kLaunchNoAssociation;
#endif
}

void QtDesktop::playWave(const QString& absolutePath)
{
    if (sound_)
        sound_->stop();
    const QFileInfo info(absolutePath);
    if (!info.isFile() || !info.isReadable()) {
        beep();
        return;
    }
    if (!sound_) {
        sound_ = std::make_unique<QSoundEffect>();
        QObject::connect(sound_.get(), &QSoundEffect::statusChanged, sound_.get(), [this] {
            if (sound_->status() == QSoundEffect::Error)
                beep();
        });
    }
    // Loading afresh each time picks up a file that changed or that failed before;
    // the load runs in the background and the sound starts once it is ready.
    sound_->setSource(QUrl());
    sound_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    sound_->play();
}

void QtDesktop::beep()
{
    QApplication::beep();
}

HelpViewer& QtDesktop::helpViewer()
{
    if (!help_)
        help_ = std::make_unique<HelpViewer>(helpSourceFile_);
    return *help_;
}

void QtDesktop::showHelpTopic(const QString& topicId)
{
    helpViewer().showTopic(topicId);
}

void QtDesktop::showHelpContents()
{
    helpViewer().showContents();
}

void QtDesktop::showHelpTopics()
{
    helpViewer().showTopicsDialog();
}

void QtDesktop::showHelpContext(int contextNumber)
{
    helpViewer().showNumbered(contextNumber);
}

void QtDesktop::showHelpPopup(int contextNumber, QPoint globalPos)
{
    helpViewer().showPopup(contextNumber, globalPos);
}

void QtDesktop::closeHelp()
{
    if (help_)
        help_->closeAll();
}

QSize QtDesktop::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

QSize QtDesktop::fullScreenClientSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    const QSize work = screen->availableGeometry().size();
    const int caption = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {work.width(), std::max(0, work.height() - caption)};
}

bool QtDesktop::hasNotificationArea() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

TrayKind QtDesktop::trayKind() const
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt's own test for handing the icon to a StatusNotifierItem host: a watcher on the
    // session bus that has a host registered. Asked once, as Qt asks once.
    static const TrayKind kind = [] {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return TrayKind::Classic;
        QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierWatcher") << QStringLiteral("IsStatusNotifierHostRegistered");
        // A watcher that does not answer at once is as good as none.
        const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
        const bool host = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                          reply.arguments().first().value<QDBusVariant>().variant().toBool();
        return host ? TrayKind::StatusNotifier : TrayKind::Classic;
    }();
    return kind;
#else
    return TrayKind::Classic;
#endif
}

QRect QtDesktop::trayRect() const
{
    if (trayIcon_) {
        const QRect icon = trayIcon_->geometry();
        if (icon.isValid() && !icon.isEmpty())
            return icon;
    }
    if (trayClick_)
        return {*trayClick_, QSize(1, 1)};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    const QRect work = screen->availableGeometry();
    return {work.right() + 1 - kTrayIconExtent, work.bottom() + 1 - kTrayIconExtent,
            kTrayIconExtent, kTrayIconExtent};
}

QString QtDesktop::chooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                                      const QString& directory)
{
    // QFileDialog::getOpenFileName accepts only files that exist.
    return QDir::toNativeSeparators(QFileDialog::getOpenFileName(parent, title, directory, filter));
}

void QtDesktop::openDateTimeSettings()
{
#ifdef Q_OS_WIN
    QProcess::startDetached(QStringLiteral("rundll32.exe"),
                            {QStringLiteral("shell32.dll,Control_RunDLL"), QStringLiteral("timedate.cpl")});
#else
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const SettingsProgram& candidate : dateTimeSettingsPrograms(desktop)) {
        const QString path = QStandardPaths::findExecutable(candidate.program);
        if (!path.isEmpty() && QProcess::startDetached(path, candidate.arguments))
            return;
    }
#endif
}

bool QtDesktop::bringToFront(QWidget* window)
{
    if (window == nullptr)
        return false;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    return window->isActiveWindow();
}

void QtDesktop::requestAttention(QWidget* window)
{
    if (window != nullptr && !window->isActiveWindow())
        QApplication::alert(window);
}

} // namespace zw
