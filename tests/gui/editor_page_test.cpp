// The editor page as a user meets it: controls found by name, typed into with the
// keyboard, stored and loaded through the real appointment book and data file.
#include "line_builder.h"
#include "manager/appointment_editor.h"
#include "manager/ui/editor_page.h"
#include "manager/ui/list_page.h"
#include "manager_fixture.h"
#include "widgets/multi_list.h"
#include "platform/context_help.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "widget_access.h"

#include <gtest/gtest.h>

using namespace zw;
using Kind = DesktopCall::Kind;
using zw::testing::typeText;

namespace {

struct EditorPageTest : zw::testing::ManagerFixture {
    void SetUp() override { openWith({}); }

    void openWith(const std::vector<std::string>& lines)
    {
        manager.reset();
        QFile::remove(QDir(dir.path()).filePath(QStringLiteral("gong.wav")));
        QFile sound(QDir(dir.path()).filePath(QStringLiteral("gong.wav")));
        ASSERT_TRUE(sound.open(QIODevice::WriteOnly));
        sound.close();
        open(lines);
        manager->showManager();
        QApplication::setActiveWindow(manager.get());
    }
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return zw::testing::findControl<T>(manager.get(), name);
    }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    // Replaces the field's text by typing, as a user who selected it all would.
    void typeInto(const char* name, const QString& text)
    {
        QLineEdit* field = edit(name);
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        typeText(field, text);
    }
    void alt(Qt::Key key) { QTest::keyClick(manager.get(), key, Qt::AltModifier); }
    const AppointmentEditor& editor() const { return manager->editorPage()->editor(); }
    std::vector<DesktopCall> boxes() const { return desktop.callsOf(Kind::MessageBox); }
};

TEST_F(EditorPageTest, EveryControlCarriesItsHelpNumberAndASpokenName)
{
    const struct {
        const char* name;
        int help;
        const char* spoken;
    } controls[] = {
        {"Edit3", 1, "Tag"}, {"Edit5", 1, "Monat"}, {"Edit6", 1, "Jahr"}, {"Edit1", 2, "Stunde"},
        {"Edit2", 2, "Minute"}, {"UpDown1", 1, "Datum einstellen"}, {"UpDown2", 2, "Uhrzeit einstellen"},
        {"CheckBox1", 3, "Ohne Zeitangabe"}, {"CheckBox3", 0, "Anzeigen wenn abgelaufen"},
        {"CheckBox4", 0, "Nach Ausführung löschen"}, {"RadioButton1", 4, "Keine"}, {"RadioButton6", 4, "Jährlich"},
        {"Edit4", 5, "Nachricht"}, {"ComboBox1", 6, "Sound"}, {"Button2", 8, "Anhören"},
        {"Edit7", 7, "Anwendung oder Datei"}, {"Button4", 9, "Durchsuchen ..."}, {"CheckBox2", 10, "Termin aktiviert"},
        {"Button5", 11, "Termin Speichern"}, {"Button1", 12, "Schließen"}, {"Button8", 13, "Hilfe"},
        {"Button3", 19, "Neu"}, {"MultiList1", 18, "Vorhandene Termine"},
    };
    for (const auto& c : controls) {
        QWidget* widget = control(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(helpNumber(widget), c.help) << c.name;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(spoken, nullptr) << c.name;
        if (spoken->role() == QAccessible::ComboBox) {
            // A drop-down list speaks its value; its name comes from the caption that labels it.
            QStringList labels;
            for (const auto& relation : spoken->relations(QAccessible::Label))
                labels.append(relation.first->text(QAccessible::Name));
            EXPECT_TRUE(labels.contains(QString::fromUtf8(c.spoken) + ":")) << c.name;
        } else {
            EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromUtf8(c.spoken)) << c.name;
        }
    }
    EXPECT_FALSE(control("Button3")->isVisible());
    EXPECT_EQ(manager->windowTitle(), "Terminmanager");
}

TEST_F(EditorPageTest, ShowingStartsANewAppointmentWithStoringOff)
{
    EXPECT_EQ(manager->pages()->currentIndex(), 0);
    EXPECT_EQ(edit("Edit3")->text(), "08");
    EXPECT_EQ(edit("Edit6")->text(), "2026");
    EXPECT_EQ(edit("Edit1")->text(), "09");
    EXPECT_FALSE(control("Button5")->isEnabled());
    EXPECT_FALSE(control("ComboBox1")->isEnabled());
    EXPECT_FALSE(control("Button2")->isEnabled());
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), "(Kein)");
    EXPECT_EQ(control<QComboBox>("ComboBox1")->count(), 2);
    // Placed with its frame 50 px left of and 35 px above the usable area's corner.
    EXPECT_EQ(manager->frameGeometry().right() + 1, 1024 - 50);
}

TEST_F(EditorPageTest, TypingIntoTheDateAndTimeFieldsIsCheckedAsTyped)
{
    typeInto("Edit3", "32");
    EXPECT_EQ(edit("Edit3")->text(), "3");
    typeInto("Edit3", "ab");
    EXPECT_EQ(edit("Edit3")->text(), "3");
    typeInto("Edit1", "7");
    QTest::keyClick(edit("Edit1"), Qt::Key_Tab);
    EXPECT_EQ(edit("Edit1")->text(), "07");
    EXPECT_TRUE(control("Button5")->isEnabled());
    // The arrow keys step the focused field, as the spinner does.
    edit("Edit2")->setFocus();
    QTest::keyClick(edit("Edit2"), Qt::Key_Up);
    EXPECT_EQ(edit("Edit2")->text(), "6");
    EXPECT_EQ(edit("Edit2")->selectedText(), "6");
}

TEST_F(EditorPageTest, AccessLettersMoveTheFocusAndAltCStores)
{
    const struct {
        Qt::Key key;
        const char* target;
    } letters[] = {{Qt::Key_N, "Edit4"}, {Qt::Key_A, "Edit3"}, {Qt::Key_R, "Edit1"}, {Qt::Key_E, "Edit7"}};
    for (const auto& l : letters) {
        alt(l.key);
        EXPECT_EQ(QApplication::focusWidget(), control(l.target)) << l.target;
    }
    alt(Qt::Key_N);
    typeText(QApplication::focusWidget(), QStringLiteral("Tee €"));
    alt(Qt::Key_O);
    EXPECT_EQ(QApplication::focusWidget(), control("ComboBox1"));
    alt(Qt::Key_T); // "&Täglich"
    alt(Qt::Key_R);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    alt(Qt::Key_C);
    // A button's access key clicks it after showing it pressed for a moment.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dataFile().empty(); }, 1000));
    EXPECT_EQ(dataFile(), "[08.12.2026 07:05] [T\xE4glich    ] [Ja  ] [1000000] [005 000 006] [Tee \x80  (Kein)]\r\n");
    EXPECT_FALSE(control("Button5")->isEnabled());
    EXPECT_TRUE(edit("Edit4")->text().isEmpty());
}

TEST_F(EditorPageTest, TextsThatTheDataFileCannotHoldAreRefusedAsTyped)
{
    QLineEdit* message = edit("Edit4");
    message->setFocus();
    typeText(message, QStringLiteral("Grüße 日本 ✓"));
    EXPECT_EQ(message->text(), "Grüße  ");
    message->selectAll();
    typeText(message, QString(300, QLatin1Char('x')));
    EXPECT_EQ(message->text().size(), 256);
}

TEST_F(EditorPageTest, StoreRefusalsAreShownAndStoreNothing)
{
    // "0" alone is no month and would be put back: the month is typed as "4".
    typeInto("Edit5", "4");
    typeInto("Edit3", "31");
    typeInto("Edit4", "m");
    desktop.queueAnswer(MessageResult::Ok);
    control<QPushButton>("Button5")->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Ungültiges Datum!");
    EXPECT_EQ(boxes()[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes()[0].text, "Der von Ihnen gewählte Monat hat nur 30 Tage.");
    EXPECT_EQ(dataFile(), "");
    EXPECT_TRUE(editor().modified());

    typeInto("Edit3", "30");
    typeInto("Edit4", "");
    desktop.queueAnswer(MessageResult::Ok);
    control<QPushButton>("Button5")->click();
    EXPECT_EQ(boxes().back().text,
              "Es muß eine Nachricht und / oder eine Anwendung\n\roder Datei angegeben werden!");
    EXPECT_EQ(boxes().back().title, "Zeitwache 99");
    EXPECT_EQ(dataFile(), "");
}

TEST_F(EditorPageTest, LoadChangeAndStoreReplacesTheAppointmentInPlace)
{
    openWith({zw::testing::makeLine({.date = "01.01.2027", .time = "08:00", .message = "a"}),
              zw::testing::makeLine({.date = "02.01.2027", .time = "08:00", .message = "b", .sound = "gong.wav"}),
              zw::testing::makeLine({.date = "03.01.2027", .time = "08:00", .message = "c"})});
    ListPage* page = manager->listPage();
    page->list()->setSelectedRows({2});
    emit page->list()->rowDoubleClicked(2);
    EXPECT_EQ(manager->pages()->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), "gong.wav");
    EXPECT_TRUE(control("Button2")->isEnabled());
    control<QPushButton>("Button2")->click();
    ASSERT_EQ(desktop.count(Kind::PlayWave), 1u);
    EXPECT_EQ(desktop.callsOf(Kind::PlayWave)[0].file, QDir(dir.path()).filePath("gong.wav"));

    typeInto("Edit4", "b neu");
    control<QPushButton>("Button5")->click();
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(list.count(), 3u);
    EXPECT_NE(list.get(1).find("b neu"), std::string::npos);
    // The list page shows it at once.
    EXPECT_TRUE(page->list()->rowText(2).contains("b neu"));
}

TEST_F(EditorPageTest, OverwriteQueryDeclinedKeepsBothAndResetsThePage)
{
    openWith({zw::testing::makeLine({.date = "01.01.2027", .time = "08:00", .message = "a"}),
              zw::testing::makeLine({.date = "02.01.2027", .time = "08:00", .message = "b"})});
    const std::vector<std::string> before = list.lines();
    manager->listPage()->showEntry(0);
    manager->editMarked();
    typeInto("Edit3", "2");
    desktop.queueAnswer(MessageResult::No);
    control<QPushButton>("Button5")->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "Für die anggegebene Uhrzeit gibt es bereits eine Meldung.\n\rSoll diese überschrieben werden?");
    EXPECT_EQ(boxes()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(list.lines(), before);
    EXPECT_EQ(editor().editIndex(), -1);
    EXPECT_EQ(edit("Edit3")->text(), "08");
}

TEST_F(EditorPageTest, AFailedWriteKeepsThePageAndStoringAgainReplaces)
{
    typeInto("Edit4", "erst");
    QDir(dir.path()).removeRecursively();
    desktop.queueAnswer(MessageResult::Ok);
    control<QPushButton>("Button5")->click();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Zeitwache99");
    EXPECT_TRUE(boxes()[0].text.startsWith("Kann Datei "));
    EXPECT_EQ(edit("Edit4")->text(), "erst");
    EXPECT_TRUE(control("Button5")->isEnabled());
    ASSERT_TRUE(QDir().mkpath(dir.path()));
    control<QPushButton>("Button5")->click();
    EXPECT_EQ(list.count(), 1u);
    EXPECT_NE(dataFile().find("erst"), std::string::npos);
}

TEST_F(EditorPageTest, ClosingWithUnsavedChangesAsksOnEveryWayOfClosing)
{
    const auto closeBy = [this](int way) {
        switch (way) {
        case 0:
            control<QPushButton>("Button1")->click();
            break;
        case 1:
            QTest::keyClick(edit("Edit4"), Qt::Key_Escape);
            break;
        case 2:
            QTest::keyClick(edit("Edit4"), Qt::Key_Return);
            break;
        default:
            manager->close();
        }
    };
    for (int way = 0; way < 4; ++way) {
        manager->showManager();
        typeInto("Edit4", "offen");
        desktop.clearCalls();
        desktop.queueAnswer(MessageResult::Cancel);
        closeBy(way);
        ASSERT_EQ(boxes().size(), 1u) << way;
        EXPECT_EQ(boxes()[0].text, "Der zuletzt bearbeitete Termin wurde noch nicht gesichert.\n\r"
                                   "Soll der Termin gespeichert werden?");
        EXPECT_TRUE(manager->isVisible()) << way;
        EXPECT_EQ(edit("Edit4")->text(), "offen");
        desktop.queueAnswer(MessageResult::No);
        closeBy(way);
        EXPECT_FALSE(manager->isVisible()) << way;
    }
    EXPECT_EQ(dataFile(), "");
    manager->showManager();
    EXPECT_TRUE(edit("Edit4")->text().isEmpty());
    // "Ja" and a store that refuses: the dialog stays, with the page as typed.
    typeInto("Edit5", "4");
    typeInto("Edit3", "31");
    typeInto("Edit4", "sichern");
    desktop.queueAnswer(MessageResult::Yes);
    desktop.queueAnswer(MessageResult::Ok);
    control<QPushButton>("Button1")->click();
    EXPECT_TRUE(manager->isVisible());
    EXPECT_EQ(edit("Edit3")->text(), "31");
    typeInto("Edit3", "30");
    desktop.queueAnswer(MessageResult::Yes);
    control<QPushButton>("Button1")->click();
    EXPECT_FALSE(manager->isVisible());
    EXPECT_NE(dataFile().find("sichern"), std::string::npos);
    // Nothing unsaved: no question.
    manager->showManager();
    desktop.clearCalls();
    control<QPushButton>("Button1")->click();
    EXPECT_TRUE(boxes().empty());
}

TEST_F(EditorPageTest, BrowsingPutsTheChosenFileIntoTheApplicationField)
{
    desktop.queueChosenFile(QStringLiteral("/home/user/Meine Briefe/brief.odt"));
    control<QPushButton>("Button4")->click();
    const auto dialogs = desktop.callsOf(Kind::ChooseFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Anwendung oder mit einer Anwendung verknüpfte Datei auswählen");
    EXPECT_EQ(dialogs[0].directory, QDir::homePath());
    // Quoted, so the alarm reads it back as one name.
    EXPECT_EQ(edit("Edit7")->text(), "\"/home/user/Meine Briefe/brief.odt\"");
    EXPECT_TRUE(control("Button5")->isEnabled());
    desktop.queueChosenFile(QString());
    control<QPushButton>("Button4")->click();
    EXPECT_EQ(edit("Edit7")->text(), "\"/home/user/Meine Briefe/brief.odt\"");
}

TEST_F(EditorPageTest, HelpForTheDialogAndForEachControl)
{
    QTest::keyClick(edit("Edit3"), Qt::Key_F1);
    control<QPushButton>("Button8")->click();
    const auto topics = desktop.callsOf(Kind::HelpTopic);
    ASSERT_EQ(topics.size(), 2u);
    EXPECT_EQ(topics[0].text, "TERMINMANAGER");

    // Direct help, also over the sound list while it is off (the panel behind it answers).
    for (const auto& [name, number] : {std::pair{"CheckBox3", 1000}, std::pair{"ComboBox1", 6},
                                       std::pair{"RadioButton2", 4}}) {
        desktop.clearCalls();
        QWidget* target = control(name);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), target->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(target, &event);
        QMenu* menu = manager->contextHelp()->menu();
        ASSERT_TRUE(menu->isVisible()) << name;
        menu->actions().front()->trigger();
        menu->hide();
        const auto popups = desktop.callsOf(Kind::HelpPopup);
        ASSERT_EQ(popups.size(), 1u) << name;
        EXPECT_EQ(popups[0].number, number) << name;
    }
    // What's-this on a text field, which keeps its own edit menu.
    desktop.clearCalls();
    QHelpEvent whatsThis(QEvent::WhatsThis, QPoint(2, 2), edit("Edit7")->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit("Edit7"), &whatsThis);
    ASSERT_EQ(desktop.count(Kind::HelpPopup), 1u);
    EXPECT_EQ(desktop.callsOf(Kind::HelpPopup)[0].number, 7);
}

TEST_F(EditorPageTest, WithoutTimeGreysTheTimeAndRepetitionGuardsDeleteAfterExecution)
{
    control<QCheckBox>("CheckBox1")->click();
    EXPECT_FALSE(edit("Edit1")->isEnabled());
    EXPECT_EQ(edit("Edit1")->text(), "  ");
    control<QCheckBox>("CheckBox4")->click();
    control<QRadioButton>("RadioButton3")->click();
    EXPECT_FALSE(control<QCheckBox>("CheckBox4")->isChecked());
    EXPECT_FALSE(control("CheckBox4")->isEnabled());
    control<QRadioButton>("RadioButton1")->click();
    EXPECT_TRUE(control("CheckBox4")->isEnabled());
    control<QCheckBox>("CheckBox1")->click();
    EXPECT_EQ(edit("Edit1")->text(), "09");
}

} // namespace
