#include "platform/help_viewer.h"

#include "platform/classic_dialog.h"
#include "platform/dialog_controls.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace zw {

namespace {

using dialog::named;
using dialog::spoken;

constexpr int kPopupMaxWidth = 320;
const QString kContentsId = QStringLiteral("INHALT");

bool isContextNumber(const QString& name)
{
    return !name.isEmpty()
        && std::all_of(name.begin(), name.end(), [](QChar c) { return c.isDigit(); });
}

// The body of a section without the blank lines around it.
QString sectionBody(QStringList lines)
{
    while (!lines.isEmpty() && lines.front().trimmed().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}

QString titleOf(const QString& id, const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString title = line.trimmed();
        while (title.startsWith(QLatin1Char('#')))
            title.remove(0, 1);
        title = title.trimmed();
        if (!title.isEmpty())
            return title;
    }
    return id;
}

} // namespace

QString HelpContent::topic(const QString& id) const
{
    return topics.value(id.toUpper(), QString::fromUtf8(kMissingHelpText));
}

QString HelpContent::title(const QString& id) const
{
    const QString key = id.toUpper();
    return titleOf(key, topics.value(key));
}

QStringList HelpContent::topicsMatching(const QString& words) const
{
    const QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    for (const QString& id : topicOrder) {
        // The contents page names every topic: it would be found for any title.
        if (id == kContentsId)
            continue;
        const QString& text = topics[id];
        if (std::all_of(wanted.begin(), wanted.end(),
                        [&](const QString& word) { return text.contains(word, Qt::CaseInsensitive); }))
            found.append(id);
    }
    return found;
}

QString HelpContent::numberedText(int number) const
{
    return numbered.value(number, QString::fromUtf8(kMissingHelpText));
}

QString HelpContent::contents() const
{
    if (topics.contains(kContentsId))
        return topics.value(kContentsId);
    if (topicOrder.isEmpty())
        return QString::fromUtf8(kMissingHelpText);
    QString page = QStringLiteral("# Inhalt\n\n");
    for (const QString& id : topicOrder)
        page += QStringLiteral("- [%1](%2)\n").arg(title(id), id);
    return page;
}

HelpContent parseHelpSource(const QString& source)
{
    HelpContent content;
    QString section;
    bool inSection = false;
    QStringList body;
    auto finish = [&] {
        if (!inSection)
            return;
        const QString text = sectionBody(body);
        if (isContextNumber(section)) {
            content.numbered.insert(section.toInt(), text);
        } else {
            const QString id = section.toUpper();
            if (!content.topics.contains(id))
                content.topicOrder.append(id);
            content.topics.insert(id, text);
        }
    };
    for (QString line : source.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.size() > 2 && trimmed.startsWith(QLatin1Char('['))
            && trimmed.endsWith(QLatin1Char(']'))) {
            finish();
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
            inSection = true;
            body.clear();
        } else if (inSection) {
            body.append(line);
        }
    }
    finish();
    return content;
}

HelpTopicsDialog::HelpTopicsDialog(HelpViewer& viewer)
    : QWidget(nullptr, Qt::Dialog), viewer_(viewer), search_(new QLineEdit), topics_(new QListWidget),
      found_(new QLabel)
{
    setObjectName(QStringLiteral("HelpTopics"));
    setWindowTitle(QStringLiteral("Hilfethemen: Zeitwache 99"));
    resize(380, 400);

    const QString searchCaption = QStringLiteral("&Suchen nach:");
    const QString listCaption = QStringLiteral("&Themen:");
    auto* searchLabel = new QLabel(searchCaption);
    searchLabel->setBuddy(named(search_, "SearchEdit", 0, spoken(searchCaption)));
    search_->setPlaceholderText(QStringLiteral("Wörter aus dem Hilfetext"));
    search_->setClearButtonEnabled(true);
    auto* listLabel = new QLabel(listCaption);
    listLabel->setBuddy(named(topics_, "TopicList", 0, spoken(listCaption)));
    named(found_, "FoundLabel", 0);
    found_->setWordWrap(true);
    found_->setTextFormat(Qt::PlainText);

    auto* show = named(new QPushButton(QStringLiteral("&Anzeigen")), "ShowButton", 0);
    show->setDefault(true);
    auto* close = named(new QPushButton(QStringLiteral("Schließen")), "CloseButton", 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(searchLabel);
    layout->addWidget(search_);
    layout->addWidget(listLabel);
    layout->addWidget(topics_, 1);
    layout->addWidget(found_);
    layout->addLayout(buttonRow({show, close}));

    connect(search_, &QLineEdit::textChanged, this, [this] { search(); });
    connect(search_, &QLineEdit::returnPressed, this, [this] { showChosen(); });
    connect(topics_, &QListWidget::itemActivated, this, [this] { showChosen(); });
    connect(show, &QPushButton::clicked, this, [this] { showChosen(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void HelpTopicsDialog::present()
{
    search();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    search_->setFocus();
}

void HelpTopicsDialog::search()
{
    const HelpContent& content = viewer_.content();
    const QString words = search_->text().simplified();
    topics_->clear();
    for (const QString& id : content.topicsMatching(words)) {
        auto* item = new QListWidgetItem(content.title(id), topics_);
        item->setData(Qt::UserRole, id);
    }
    if (topics_->count() > 0)
        topics_->setCurrentRow(0);
    if (words.isEmpty())
        found_->setText(QStringLiteral("%1 Themen").arg(topics_->count()));
    else if (topics_->count() == 0)
        found_->setText(QStringLiteral("Kein Thema enthält „%1“.").arg(words));
    else if (topics_->count() == 1)
        found_->setText(QStringLiteral("1 Thema enthält „%1“.").arg(words));
    else
        found_->setText(QStringLiteral("%1 Themen enthalten „%2“.").arg(topics_->count()).arg(words));
}

void HelpTopicsDialog::showChosen()
{
    const QListWidgetItem* item = topics_->currentItem();
    if (item == nullptr)
        return;
    const QString words = search_->text().simplified();
    viewer_.showTopic(item->data(Qt::UserRole).toString(), words.section(QLatin1Char(' '), 0, 0));
}

HelpPopup::HelpPopup()
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint)
    , label_(new QLabel(this))
{
    setObjectName(QStringLiteral("HelpPopup"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setMaximumWidth(kPopupMaxWidth);
    label_->setFrameShape(QFrame::Box);
    label_->setMargin(6);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
}

void HelpPopup::showText(const QString& text, QPoint globalPos)
{
    label_->setText(text);
    adjustSize();
    // Keep the whole pop-up on the screen that holds the point.
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    QPoint place = globalPos;
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - width())));
        place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - height())));
    }
    move(place);
    show();
}

QString HelpPopup::text() const
{
    return label_->text();
}

void HelpPopup::mousePressEvent(QMouseEvent* event)
{
    // A click elsewhere is handled by Qt's pop-up logic; inside, it closes as well.
    event->accept();
    close();
}

void HelpPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

HelpViewer::HelpViewer(QString sourceFile)
    : sourceFile_(std::move(sourceFile))
    , browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Zeitwache 99 - Hilfe"));
    resize(520, 420);
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { followLink(url); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::setSourceFile(const QString& sourceFile)
{
    sourceFile_ = sourceFile;
    loaded_ = false;
}

const HelpContent& HelpViewer::content()
{
    const QFileInfo info(sourceFile_);
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    if (loaded_ && stamp == loadedStamp_)
        return content_;
    content_ = HelpContent();
    QFile file(sourceFile_);
    if (!sourceFile_.isEmpty() && file.open(QIODevice::ReadOnly))
        content_ = parseHelpSource(QString::fromUtf8(file.readAll()));
    loaded_ = true;
    loadedStamp_ = stamp;
    return content_;
}

void HelpViewer::present(const QString& text, bool markdown)
{
    text_ = text;
    if (markdown)
        browser_->setMarkdown(text);
    else
        browser_->setPlainText(text);
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpViewer::showTopic(const QString& topicId, const QString& found)
{
    present(content().topic(topicId), true);
    if (!found.isEmpty())
        browser_->find(found);
}

void HelpViewer::showContents()
{
    present(content().contents(), true);
}

void HelpViewer::showTopicsDialog()
{
    if (!topics_)
        topics_ = std::make_unique<HelpTopicsDialog>(*this);
    topics_->present();
}

void HelpViewer::showNumbered(int contextNumber)
{
    present(content().numberedText(contextNumber), false);
}

void HelpViewer::showPopup(int contextNumber, QPoint globalPos)
{
    if (!popup_)
        popup_ = std::make_unique<HelpPopup>();
    popup_->showText(content().numberedText(contextNumber), globalPos);
}

void HelpViewer::closeAll()
{
    if (popup_)
        popup_->close();
    if (topics_)
        topics_->close();
    close();
}

void HelpViewer::followLink(const QUrl& url)
{
    if (url.scheme().isEmpty()) {
        const QString target = url.path();
        if (isContextNumber(target))
            showNumbered(target.toInt());
        else
            showTopic(target);
        return;
    }
    // Web and mail links go to the desktop; nothing else leaves the help.
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

} // namespace zw
