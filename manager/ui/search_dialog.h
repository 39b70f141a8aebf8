#pragma once
// The search window (`TForm7`, "Suchen"): modeless beside the manager; each press of
// "Weitersuchen" marks the next appointment whose text holds the search text. It changes
// marks only, never the list or the data file. The rules live in AppointmentSearch; the
// window only carries out what a press asks for. Created once and hidden between uses:
// text and options keep their values, the search position starts again at each closing.
#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zw {

class AppointmentList;
class AppointmentSearch;
class ContextHelp;
class Desktop;
class MarkedRows;

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    // manager: the window the search window opens beside and stays above.
    SearchDialog(Desktop& desktop, const AppointmentList& list, MarkedRows& rows, QWidget* manager);
    ~SearchDialog() override;

    // Shows the window beside the manager with "Alles" chosen and the focus in the
    // search text, and brings it to the front.
    void showSearch();
    // "Weitersuchen".
    void searchNext();

    const AppointmentSearch& search() const { return *search_; }

    void setVisible(bool visible) override;

signals:
    // The window has been shown; the clock may step down from staying on top.
    void openedSearch();
    // The window has closed; the clock may take its stay-on-top state back.
    void closedSearch();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void place();

    Desktop& desktop_;
    MarkedRows& rows_;
    QWidget* manager_;
    std::unique_ptr<AppointmentSearch> search_;
    ContextHelp* help_ = nullptr;
    QLineEdit* text_ = nullptr;
    QComboBox* object_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* markAll_ = nullptr;
    QPushButton* next_ = nullptr;
};

} // namespace zw
