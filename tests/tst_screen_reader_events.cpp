// What a screen reader is told while Dilmora runs, as it reaches the AT-SPI
// bus through Qt's own AT-SPI bridge: the page a page turn shows (said once),
// the focus after a window closes, the About window's text and its close
// label, a header for every numbers column, the language of the texts, and
// a find: the row found said once and selected, "No match" said once.
// The test listens on the accessibility bus as a screen reader does: it
// registers its events with the AT-SPI registry, so that Qt's bridge sends
// them, and asks each event's object for its role, name and parent over the
// bus. (On Windows, tests/system/windows/uia observes what UI Automation gets.)
#include "about/about_window.h"
#include "program_windows.h"
#include "reference/numbers_window.h"
#include "runtime/form_window.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>
#include <memory>

using namespace dilmora;
using namespace testing;

namespace {

// AT-SPI's roles, as Orca gets them (atspi-constants.h).
constexpr uint kRoleFrame = 23;
constexpr uint kRoleNotification = 101;
constexpr char kRoot[] = "/org/a11y/atspi/accessible/root";

/// One event that reached the bus, and what its object told when asked.
struct Heard {
    QString event;   ///< such as "object:state-changed:showing"
    int detail1 = 0; ///< 1 for a state set, 0 for one cleared
    QString path;
    uint role = 0;
    QString name;
    QString parent; ///< the object path of the object's parent
    int answers = 0;
    bool answered() const { return answers == 3; }
};

/// A listener on the AT-SPI bus: registers for object and focus events with
/// the registry, as a screen reader does, and records every state change
/// that reaches the bus, asking its object for its role, name and parent.
class AtspiListener : public QObject {
    Q_OBJECT

public:
    std::vector<std::shared_ptr<Heard>> heard;

    ~AtspiListener() override
    {
        if (m_bus)
            QDBusConnection::disconnectFromBus(m_bus->name());
    }

    /// Connects to the accessibility bus of the session and registers; empty
    /// on success, else what failed.
    QString start()
    {
        const QDBusMessage address =
            QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
                "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (address.type() != QDBusMessage::ReplyMessage)
            return "no accessibility bus: " + address.errorMessage();
        m_bus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address.arguments().value(0).toString(), "listener"));
        if (!m_bus->isConnected())
            return "cannot connect to the accessibility bus";
        for (const char* event : {"object:", "focus:"}) {
            const QDBusMessage reply =
                m_bus->call(QDBusMessage::createMethodCall(
                                "org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                "org.a11y.atspi.Registry", "RegisterEvent")
                            << QString::fromLatin1(event));
            if (reply.type() != QDBusMessage::ReplyMessage)
                return "the registry refused " + QString::fromLatin1(event) + ": "
                       + reply.errorMessage();
        }
        if (!m_bus->connect({}, {}, "org.a11y.atspi.Event.Object", "StateChanged", this,
                            SLOT(stateChanged(QDBusMessage))))
            return "cannot listen for StateChanged";
        return {};
    }

    /// The events of `event` with `detail1` whose object has answered.
    std::vector<const Heard*> find(const QString& event, int detail1) const
    {
        std::vector<const Heard*> found;
        for (const auto& one : heard) {
            if (one->event == event && one->detail1 == detail1 && one->answered())
                found.push_back(one.get());
        }
        return found;
    }

    bool allAnswered() const
    {
        return std::ranges::all_of(heard, [](const auto& one) { return one->answered(); });
    }

private slots:
    void stateChanged(const QDBusMessage& message)
    {
        auto one = std::make_shared<Heard>();
        one->event = "object:state-changed:" + message.arguments().value(0).toString();
        one->detail1 = message.arguments().value(1).toInt();
        one->path = message.path();
        heard.push_back(one);
        const auto ask = [&](const QString& interface, const QString& method,
                             const QVariantList& arguments, auto take) {
            QDBusMessage call = QDBusMessage::createMethodCall(message.service(), message.path(),
                                                               interface, method);
            call.setArguments(arguments);
            auto* watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call), this);
            connect(watcher, &QDBusPendingCallWatcher::finished, this, [one, watcher, take] {
                if (!watcher->isError())
                    take(*one, watcher->reply().arguments().value(0));
                ++one->answers;
                watcher->deleteLater();
            });
        };
        ask("org.a11y.atspi.Accessible", "GetRole", {},
            [](Heard& heard, const QVariant& role) { heard.role = role.toUInt(); });
        const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
        ask(properties, "Get", {"org.a11y.atspi.Accessible", "Name"},
            [](Heard& heard, const QVariant& name) {
                heard.name = name.value<QDBusVariant>().variant().toString();
            });
        ask(properties, "Get", {"org.a11y.atspi.Accessible", "Parent"},
            [](Heard& heard, const QVariant& parent) {
                // A reference (bus name, object path).
                const auto reference =
                    parent.value<QDBusVariant>().variant().value<QDBusArgument>();
                QString service;
                QDBusObjectPath path;
                reference.beginStructure();
                reference >> service >> path;
                reference.endStructure();
                heard.parent = path.path();
            });
    }

private:
    std::unique_ptr<QDBusConnection> m_bus;
};

AtspiListener* g_listener = nullptr;

/// The notifications that showed with `news`, once every object has answered.
std::vector<const Heard*> notificationsOf(const QString& news)
{
    std::vector<const Heard*> found;
    for (const Heard* heard : g_listener->find("object:state-changed:showing", 1)) {
        if (heard->role == kRoleNotification && heard->name == news)
            found.push_back(heard);
    }
    return found;
}

QAccessibleInterface* accessibleOf(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

/// The text of a label's interface from `offset` on that is in one language, and that language.
std::pair<QString, QString> languageAt(QLabel* label, int offset)
{
    QAccessibleTextInterface* text = accessibleOf(label)->textInterface();
    if (!text)
        return {QStringLiteral("<no text>"), {}};
    int start = 0;
    int end = 0;
    const QString attributes = text->attributes(offset, &start, &end);
    return {text->text(start, end), attributes};
}

} // namespace

class TestScreenReaderEvents : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<app::MainWindow> m_main;

private slots:
    void initTestCase()
    {
        // CTest runs this test in a private D-Bus session on Xvfb, with its
        // accessibility bus (with_accessibility_bus.sh); Qt's AT-SPI bridge
        // turns accessibility on once it has found that bus.
        app::configureProgram();
        g_listener = new AtspiListener;
        const QString failed = g_listener->start();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "accessibility is off", 10000);
        // The bridge sends events once it has read the registered ones, when
        // the registry tells it: the focus goes to and fro between two
        // buttons until the bus has carried a change of focus.
        QWidget probe;
        auto* layout = new QHBoxLayout(&probe);
        QPushButton* buttons[] = {new QPushButton("A"), new QPushButton("B")};
        for (QPushButton* button : buttons)
            layout->addWidget(button);
        probe.show();
        probe.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&probe));
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                buttons[buttons[0]->hasFocus() ? 1 : 0]->setFocus();
                return !g_listener->find("object:state-changed:focused", 1).empty();
            }(),
            10000);
    }
    void cleanupTestCase()
    {
        delete g_listener;
        g_listener = nullptr;
    }
    void init()
    {
        QVERIFY(openMainWindow(m_main));
        QTRY_VERIFY(g_listener->allAnswered());
        g_listener->heard.clear();
    }
    void cleanup() { discardMainWindow(m_main); }

    void pageTurnIsAnnounced_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("byAction"); // the screen reader's press action, or Space
        QTest::newRow("irregular verbs, Space on Page 2") << "Form3" << 2 << false;
        QTest::newRow("phrasal verbs, LP pressed by the screen reader") << "Form6" << 10 << true;
        QTest::newRow("particles, Space on the button of the page shown") << "Form4" << 1 << false;
    }
    void pageTurnIsAnnounced()
    {
        QFETCH(QString, form);
        QFETCH(int, page);
        QFETCH(bool, byAction);
        const WindowInfo& info = windowInfo(form);
        const QString shown = QStringLiteral("Page %1 of %2").arg(page).arg(info.pages.size());
        QStringList firstRow = info.pages.at(std::size_t(page - 1)).mid(0, info.columns);
        for (QString& text : firstRow)
            text = text.trimmed();
        const QString news = shown + ": " + firstRow.join(", ");
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            // Opening tells the page shown with the window.
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description),
                     "Page 1 of " + QString::number(info.pages.size()));
            auto* button = modal->findChild<QPushButton*>(info.pageButtons.at(page - 1).name);
            button->setFocus();
            QTRY_VERIFY(g_listener->allAnswered());
            g_listener->heard.clear();
            if (byAction)
                accessibleOf(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            else
                QTest::keyClick(button, Qt::Key_Space);
            // A notification shows on the bus with the news, once. It belongs
            // to the application, not to the window, so that Orca does not
            // say the dialog's name and description (the page) before it.
            QTRY_COMPARE(notificationsOf(news).size(), 1u);
            QTest::qWait(300);
            QTRY_VERIFY(g_listener->allAnswered());
            QCOMPARE(notificationsOf(news).size(), 1u);
            QCOMPARE(notificationsOf(news).front()->parent, QString::fromLatin1(kRoot));
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description), shown);
        }));
        if (form == QLatin1String("Form3"))
            QCOMPARE(news, "Page 2 of 4: drink, içmek, drank, drunk");
    }

    void findIsAnnouncedOnceAndSelected()
    {
        const auto type = [](QWidget* window, const QString& text) {
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, window->windowHandle(),
                                    Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        };
        const auto settled = [] {
            QTest::qWait(300);
            QTRY_VERIFY(g_listener->allAnswered());
        };
        QVERIFY(whileOpenFromMenu(*m_main, windowInfo("Form3"), [&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            type(modal, "icme");
            settled();
            g_listener->heard.clear();
            // The last key's find: said once, its cells selected, in the field named "Find".
            type(modal, "k");
            const QString news = "Page 2 of 4: drink, içmek, drank, drunk";
            QTRY_COMPARE(notificationsOf(news).size(), 1u);
            settled();
            QCOMPARE(notificationsOf(news).size(), 1u);
            QStringList selected;
            for (const Heard* heard : g_listener->find("object:state-changed:selected", 1))
                selected << heard->name;
            QCOMPARE(selected.join('|'), QString(" drink| içmek| drank| drunk"));
            QAccessibleInterface* field = accessibleOf(QApplication::focusWidget());
            QCOMPARE(field->role(), QAccessible::EditableText);
            QCOMPARE(field->text(QAccessible::Name), QString("Find"));
            // No match, however many keys fail to match, is said once.
            g_listener->heard.clear();
            type(modal, "zzz");
            QTRY_COMPARE(notificationsOf("No match").size(), 1u);
            settled();
            QCOMPARE(notificationsOf("No match").size(), 1u);
        }));
    }

    void mainWindowHasTheFocusAfterAWindowCloses_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("byCloseBox"); // or by the window's own control
        QTest::newRow("irregular verbs, Main Page") << "Form3" << false;
        QTest::newRow("numbers, close box") << "Form5" << true;
        QTest::newRow("about, close box") << "Form2" << true;
    }
    void mainWindowHasTheFocusAfterAWindowCloses()
    {
        QFETCH(QString, form);
        QFETCH(bool, byCloseBox);
        const WindowInfo& info = windowInfo(form);
        QWidget* main = m_main->form().window();
        runtime::WrappingMenuBar* bar = menuBarOf(*m_main);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));

        // Chosen with the keyboard: F10, Right to the item, Return. Qt's
        // AT-SPI bridge first offers each key to the registry (a screen
        // reader may take it) and delivers it once the registry has answered.
        QTest::keyClick(main, Qt::Key_F10);
        QTRY_VERIFY(bar->hasFocus() && bar->activeAction());
        for (int i = 0; i < 5 && bar->activeAction()->objectName() != info.item; ++i) {
            const QAction* before = bar->activeAction();
            QTest::keyClick(bar, Qt::Key_Right);
            QTRY_VERIFY(bar->activeAction() != before);
        }
        QCOMPARE(bar->activeAction()->objectName(), info.item);
        QTimer closer;
        bool closed = false;
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (closed || !modal || modal->objectName() != info.form)
                return;
            closed = true;
            if (byCloseBox)
                modal->close();
            else
                modal->findChild<QPushButton*>(info.closer)->click();
        });
        closer.start(10);
        QTest::keyClick(bar, Qt::Key_Return);
        QTRY_VERIFY(closed && !formOf(*m_main, info).isLoaded());

        // The main window itself has the focus, not a bar that looks inactive.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QCOMPARE(QApplication::focusWidget(), main);
        QVERIFY(!bar->activeAction());
        // The last object that the bus heard take the focus is the main window.
        // A control of the closed window whose focus event reached the bus
        // late is gone by the time it is asked, and answers no role.
        QTRY_VERIFY(g_listener->allAnswered());
        std::vector<const Heard*> focused = g_listener->find("object:state-changed:focused", 1);
        std::erase_if(focused, [](const Heard* heard) { return heard->role == 0; });
        QVERIFY(!focused.empty());
        QCOMPARE(focused.back()->role, kRoleFrame);
        QCOMPARE(focused.back()->name, productName());
        // F10 opens the bar on its first item.
        QTest::keyClick(main, Qt::Key_F10);
        QTRY_VERIFY(bar->hasFocus());
        QTRY_COMPARE(bar->activeAction(), bar->actions().constFirst());
    }

    void aboutWindowIsReadWhole()
    {
        const WindowInfo& info = windowInfo(QStringLiteral("Form2"));
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            QStringList texts;
            for (const runtime::LabelDesign& label : about::kAboutDesign.labels) {
                if (label.name != "Label7")
                    texts << fromView(label.caption);
            }
            QCOMPARE(accessibleOf(modal)->text(QAccessible::Description), texts.join('\n'));
            for (const QString& part : {"E-mail: ", " Web page: ", "Thank you!"})
                QVERIFY(texts.join('\n').contains(part));

            // The texts are no labels of their own that a screen reader would read instead.
            auto* hello = modal->findChild<QLabel*>(QStringLiteral("Label1"));
            QCOMPARE(accessibleOf(hello)->role(), QAccessible::Paragraph);

            // "  Exit" is a push button named by its caption that the keyboard cannot reach;
            // its press unloads the window once the request has been answered.
            auto* exitLabel = modal->findChild<QLabel*>(QStringLiteral("Label7"));
            QAccessibleInterface* exit = accessibleOf(exitLabel);
            QCOMPARE(exit->role(), QAccessible::Button);
            QCOMPARE(exit->text(QAccessible::Name), QStringLiteral("  Exit"));
            QVERIFY(!exit->state().focusable);
            exit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(formOf(*m_main, info).isLoaded());
            QTRY_VERIFY(!formOf(*m_main, info).isLoaded());
        }));
    }

    void everyNumbersColumnHasItsHeader()
    {
        const std::unique_ptr<runtime::Form> numbers = reference::createNumbersWindow();
        QVERIFY(numbers->load() == runtime::Status::Ok);
        QAccessibleInterface* client =
            accessibleOf(static_cast<runtime::FormWindow*>(numbers->window())->clientArea());
        QAccessibleInterface* table = client->child(0);
        QVERIFY(table && table->tableInterface());
        const int columns = table->tableInterface()->columnCount();
        QCOMPARE(columns, 4);
        const QStringList headers{" Normal Numbers", "", " Numbers (st,nd,th)", ""};
        for (int column = 0; column < columns; ++column) {
            // The header child at a column's index is that column's header, as
            // AT-SPI maps it, and every cell of the column names it.
            QAccessibleInterface* header = table->child(column);
            QCOMPARE(header->role(), QAccessible::ColumnHeader);
            QCOMPARE(header->text(QAccessible::Name), headers.at(column));
            QCOMPARE(table->indexOfChild(header), column);
            QAccessibleInterface* cell = table->tableInterface()->cellAt(5, column);
            QCOMPARE(cell->tableCellInterface()->columnHeaderCells(),
                     QList<QAccessibleInterface*>{header});
        }
        QCOMPARE(table->child(1)->rect().left(),
                 table->tableInterface()->cellAt(0, 1)->rect().left());
        QVERIFY(table->child(1)->rect().bottom()
                <= table->tableInterface()->cellAt(0, 1)->rect().top());
    }

    void textsSayTheirLanguage_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text"); // the run of one language at the offset
        QTest::addColumn<QString>("language");
        QTest::newRow("a Turkish meaning") << "Form3"
                                           << "Label6" << 3 << " ikâmet etmek"
                                           << "tr";
        QTest::newRow("an English verb") << "Form3"
                                         << "Label5" << 0 << " abide"
                                         << "en";
        QTest::newRow("an English header") << "Form3"
                                           << "Label2" << 1 << " Turkish"
                                           << "en";
        QTest::newRow("a phrasal verb's meaning") << "Form6"
                                                  << "Label4" << 0 << ""
                                                  << "tr";
        QTest::newRow("a number") << "Form5"
                                  << "Label5" << 0 << " 0 zero"
                                  << "en";
        QTest::newRow("about: the English of a line") << "Form2"
                                                      << "Label2" << 0 << "I'm from "
                                                      << "en";
        QTest::newRow("about: a Turkish place") << "Form2"
                                                << "Label2" << 10 << "İzmir/Türkiye"
                                                << "tr";
        QTest::newRow("about: a Turkish name") << "Form2"
                                               << "Label1" << 20 << "Ece Kaya"
                                               << "tr";
    }
    void textsSayTheirLanguage()
    {
        QFETCH(QString, form);
        QFETCH(QString, label);
        QFETCH(int, offset);
        QFETCH(QString, text);
        QFETCH(QString, language);
        const WindowInfo& info = windowInfo(form);
        QVERIFY(whileOpenFromMenu(*m_main, info, [&](QWidget* modal) {
            auto* widget = modal->findChild<QLabel*>(label);
            QVERIFY(widget);
            const auto [run, attributes] = languageAt(widget, offset);
            if (!text.isEmpty())
                QCOMPARE(run, text);
            else
                QCOMPARE(run, widget->text());
            QCOMPARE(attributes, "language:" + language + ";");
            // Every character of a label is drawn inside it.
            QAccessibleTextInterface* chars = accessibleOf(widget)->textInterface();
            const QRect inside(widget->mapToGlobal(QPoint()), widget->size());
            const QRect character = chars->characterRect(offset);
            QVERIFY(inside.contains(character));
            QCOMPARE(chars->offsetAtPoint(character.center()), offset);
        }));
    }
};

QTEST_MAIN(TestScreenReaderEvents)
#include "tst_screen_reader_events.moc"
