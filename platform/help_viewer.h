#pragma once
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace zw {

class HelpViewer;

// Name of the help source in the program's directory.
inline constexpr char kHelpSourceFileName[] = "zeitwache-hilfe.txt";

// Shown wherever the help source has nothing for a topic or number.
inline constexpr char kMissingHelpText[] = "Zu diesem Thema ist noch keine Hilfe vorhanden.";

// The help source is UTF-8 text made of sections. A line "[NAME]" starts a section that
// runs to the next such line. A NAME of digits is a context number: its text is plain
// and shows as a pop-up or in the help window. Any other NAME is a topic ID (letter case
// does not matter): its text is Markdown, and a link whose target is a topic ID or a
// number opens that help. The topic INHALT, when present, is the contents page. Lines
// before the first section are comments.
struct HelpContent {
    QMap<QString, QString> topics;  // by upper-case ID
    QStringList topicOrder;         // upper-case IDs as they stand in the source
    QMap<int, QString> numbered;

    QString topic(const QString& id) const;
    // The topic's first line without its heading marks, or the ID.
    QString title(const QString& id) const;
    // The topics, in their order, whose title or text holds every word of `words` (any
    // letter case); all of them for no words.
    QStringList topicsMatching(const QString& words) const;
    QString numberedText(int number) const;
    // The INHALT topic, or a list of links to every topic.
    QString contents() const;
};

HelpContent parseHelpSource(const QString& source);

// The topics dialog: a search field over the help's text and the list of the topics it
// finds; "Anzeigen", Enter or a double-click opens the chosen one in the help window.
class HelpTopicsDialog : public QWidget {
public:
    explicit HelpTopicsDialog(HelpViewer& viewer);
    // Lists the topics anew (the help source may have changed) and shows the dialog.
    void present();

private:
    void search();
    void showChosen();

    HelpViewer& viewer_;
    QLineEdit* search_;
    QListWidget* topics_;
    QLabel* found_;
};

// A frameless pop-up that shows one help text at a screen point; a click or Esc closes
// it, as does a click elsewhere.
class HelpPopup : public QWidget {
public:
    HelpPopup();
    void showText(const QString& text, QPoint globalPos);
    QString text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* label_;
};

// The help window, non-modal, plus its pop-up. It reads the help source when first
// asked and again whenever the file changed since.
class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QString sourceFile = {});
    ~HelpViewer() override;

    void setSourceFile(const QString& sourceFile);

    // Shows the topic; `found`, when given, is selected where it first stands.
    void showTopic(const QString& topicId, const QString& found = {});
    void showContents();
    // The topics dialog, "Hilfethemen": every topic, and a search over their text.
    void showTopicsDialog();
    HelpTopicsDialog* topicsDialog() { return topics_.get(); }
    void showNumbered(int contextNumber);
    void showPopup(int contextNumber, QPoint globalPos);
    void closeAll();

    // The text the window shows now, as it stands in the help source.
    QString currentText() const { return text_; }
    HelpPopup* popup() { return popup_.get(); }

    // The help source as it stands now.
    const HelpContent& content();

private:
    void present(const QString& text, bool markdown);
    void followLink(const QUrl& url);

    QString sourceFile_;
    QDateTime loadedStamp_;
    bool loaded_ = false;
    HelpContent content_;
    QString text_;
    QTextBrowser* browser_;
    std::unique_ptr<HelpPopup> popup_;
    std::unique_ptr<HelpTopicsDialog> topics_;
};

} // namespace zw
