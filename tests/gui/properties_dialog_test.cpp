// "Termineigenschaften" as a user meets it: opened on an entry, read, left by Ok or
// Bearbeiten; controls found by name, the desktop scripted.
#include "line_builder.h"
#include "manager/ui/properties_dialog.h"
#include "platform/context_help.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "store/appointment_list.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "widget_access.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zw;
using zw::testing::makeLine;
using Kind = DesktopCall::Kind;

namespace {

const std::string kLongMessage =
    "Geschenke einpacken, Karten schreiben, den Baum holen und die Lichterkette pruefen, bevor die Gaeste kommen";

struct PropertiesDialogTest : ::testing::Test {
    ScriptedDesktop desktop;
    AppointmentList list;
    int edits = 0;
    bool visibleWhileEditing = false;
    QWidget manager;
    std::unique_ptr<PropertiesDialog> dialog;

    void SetUp() override
    {
        list.assign({makeLine({.date = "24.12.2026", .time = "", .message = kLongMessage, .sound = "gong.wav"}),
                     makeLine({.date = "05.01.2027", .time = "07:45", .repeat = line::RepeatKind::Daily,
                               .active = false, .message = "", .application = "C:\\Tools\\backup.bat"})});
        manager.setGeometry(200, 150, 600, 500);
        manager.show();
        auto edit = [this] {
            ++edits;
            visibleWhileEditing = dialog->isVisible();
        };
        dialog = std::make_unique<PropertiesDialog>(desktop, list, edit, &manager);
    }
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return zw::testing::findControl<T>(dialog.get(), name);
    }
    // Opens the dialog on the entry and runs the steps inside it; closes it afterwards if
    // they left it open. Returns what showEntry returned.
    bool openOn(std::size_t entry, const std::function<void()>& steps)
    {
        QTimer::singleShot(0, dialog.get(), [&] {
            QApplication::setActiveWindow(dialog.get());
            steps();
            if (dialog->isVisible())
                dialog->reject();
        });
        return dialog->showEntry(entry);
    }
};

TEST_F(PropertiesDialogTest, EachFieldShowsItsPartOfTheLine)
{
    const std::pair<const char*, const char*> fields[] = {
        {"Edit1", "05.01.2027"}, {"Edit2", "07:45"}, {"Edit3", "Täglich    "}, {"Edit4", "Nein"},
        {"Edit5", "C:\\Tools\\backup.bat"}, {"Edit6", "(Kein)"},
    };
    EXPECT_TRUE(openOn(1, [&] {
        EXPECT_EQ(dialog->windowTitle(), "Termineigenschaften");
        for (const auto& [name, shown] : fields) {
            EXPECT_EQ(control<QLineEdit>(name)->text(), QString::fromUtf8(shown)) << name;
            EXPECT_TRUE(control<QLineEdit>(name)->isReadOnly()) << name;
        }
        EXPECT_EQ(control<QPlainTextEdit>("Memo1")->toPlainText(), "");
        EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->isReadOnly());
    }));
}

TEST_F(PropertiesDialogTest, OneModalPageCentredOnTheScreenWithTheMessageInSeveralLines)
{
    openOn(0, [&] {
        auto* pages = control<QTabWidget>("PageControl1");
        ASSERT_EQ(pages->count(), 1);
        EXPECT_EQ(pages->tabText(0), "Allgemein");
        EXPECT_TRUE(dialog->isModal());
        EXPECT_FALSE(control<QLabel>("Image1")->pixmap().isNull());
        const QPoint offset = dialog->frameGeometry().center() - QRect(QPoint(), desktop.screenSize()).center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ',' << offset.y();
        const QTextBlock block = control<QPlainTextEdit>("Memo1")->document()->firstBlock();
        ASSERT_NE(block.layout(), nullptr);
        EXPECT_GT(block.layout()->lineCount(), 1);
    });
}

TEST_F(PropertiesDialogTest, AccessKeysMoveTheFocusToTheirFieldsSelectingNothing)
{
    const struct {
        const char* label;
        const char* caption;
        Qt::Key key;
        const char* field;
    } keys[] = {
        {"Label1", "D&atum:", Qt::Key_A, "Edit1"},       {"Label2", "Uh&rzeit:", Qt::Key_R, "Edit2"},
        {"Label3", "&Wiederholung:", Qt::Key_W, "Edit3"}, {"Label4", "Aklti&viert:", Qt::Key_V, "Edit4"},
        {"Label5", "Dat&ei:", Qt::Key_E, "Edit5"},        {"Label6", "So&und:", Qt::Key_U, "Edit6"},
        {"Label7", "&Nachricht:", Qt::Key_N, "Memo1"},
    };
    openOn(1, [&] {
        for (const auto& k : keys) {
            EXPECT_EQ(control<QLabel>(k.label)->text(), QString::fromUtf8(k.caption));
            QTest::keyClick(dialog.get(), k.key, Qt::AltModifier);
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << k.caption;
            EXPECT_EQ(focus->objectName(), k.field) << k.caption;
            if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
                EXPECT_FALSE(edit->hasSelectedText()) << k.caption;
            }
        }
    });
}

TEST_F(PropertiesDialogTest, BearbeitenEditsThenCloses)
{
    for (const bool byKey : {false, true}) {
        edits = 0;
        openOn(1, [&] {
            if (byKey) {
                QTest::keyClick(dialog.get(), Qt::Key_B, Qt::AltModifier);
                // An access key clicks the way the mouse does: pressed a moment, then released.
                EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }));
            } else {
                control<QPushButton>("Button1")->click();
                EXPECT_FALSE(dialog->isVisible());
            }
        });
        EXPECT_EQ(edits, 1) << byKey;
        EXPECT_TRUE(visibleWhileEditing) << byKey;
    }
    // The minute's check deletes the shown appointment while the dialog waits.
    openOn(0, [&] {
        list.remove(0);
        EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    });
    openOn(0, [&] { EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled()); });
}

TEST_F(PropertiesDialogTest, OkEnterAndEscCloseWithoutEditing)
{
    const std::function<void()> ways[] = {
        [&] { control<QPushButton>("Button2")->click(); },
        [&] { QTest::keyClick(dialog.get(), Qt::Key_Return); },
        [&] { QTest::keyClick(dialog.get(), Qt::Key_Escape); },
    };
    for (const auto& close : ways) {
        openOn(0, [&] {
            close();
            EXPECT_FALSE(dialog->isVisible());
        });
    }
    EXPECT_EQ(edits, 0);
    EXPECT_TRUE(desktop.calls().empty());
}

TEST_F(PropertiesDialogTest, UnreadableOrMissingEntryIsReportedAndNotShown)
{
    std::string damaged = makeLine({});
    damaged.replace(51, 3, "0x1");
    list.append(damaged);
    const std::pair<std::size_t, const char*> cases[] = {
        {2, "'0x1' ist kein gültiger Integerwert."},
        {3, "Listenindex außerhalb des zulässigen Bereichs."},
    };
    for (const auto& [entry, error] : cases) {
        desktop.clearCalls();
        desktop.queueAnswer(MessageResult::Ok);
        bool opened = false;
        EXPECT_FALSE(openOn(entry, [&] { opened = dialog->isVisible(); }));
        QApplication::processEvents();
        EXPECT_FALSE(opened) << entry;
        const auto boxes = desktop.callsOf(Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u) << entry;
        EXPECT_EQ(boxes[0].text, QString::fromUtf8(error));
    }
}

TEST_F(PropertiesDialogTest, EveryControlCarriesItsHelpNumberAndASpokenName)
{
    const struct {
        const char* name;
        int help;
        const char* spoken; // none for a label
    } controls[] = {
        {"Edit1", 40, "Datum"},       {"Edit4", 40, "Akltiviert"}, {"Edit6", 40, "Sound"},
        {"Memo1", 40, "Nachricht"},   {"Label4", 40, nullptr},     {"Label7", 40, nullptr},
        {"Button1", 47, "Bearbeiten"}, {"Button2", 48, "Ok"},
    };
    openOn(0, [&] {
        for (const auto& c : controls) {
            QWidget* widget = control(c.name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(helpNumber(widget), c.help) << c.name;
            if (c.spoken != nullptr) {
                EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name),
                          QString::fromUtf8(c.spoken))
                    << c.name;
                continue;
            }
            // A right-click on a label offers "Direkt&hilfe" for its number.
            desktop.clearCalls();
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), widget->mapToGlobal(QPoint(3, 3)));
            QApplication::sendEvent(widget, &event);
            auto* menu = dialog->findChild<QMenu*>(QStringLiteral("HelpPopupMenu"));
            ASSERT_TRUE(menu != nullptr && menu->isVisible()) << c.name;
            EXPECT_EQ(menu->actions().front()->text(), "Direkt&hilfe");
            menu->actions().front()->trigger();
            menu->hide();
            const auto popups = desktop.callsOf(Kind::HelpPopup);
            ASSERT_EQ(popups.size(), 1u) << c.name;
            EXPECT_EQ(popups[0].number, c.help) << c.name;
        }
    });
}

} // namespace
