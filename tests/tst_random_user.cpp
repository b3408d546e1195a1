// A long random user: thousands of clicks and keys, chosen by a seeded
// generator, on whatever window is open, each followed by a check of what
// must always hold. Set DILMORA_SEED to replay or vary a run; every failure
// message names the seed and the actions that led to it.
//
// A menu command does not return while its window is open: it runs a nested
// event loop. The user is therefore a state machine stepped by a timer, which
// keeps stepping inside that loop; a step only ever sends one action and
// checks the state the previous one left. Nothing waits on the clock except
// the press of Enter, which Qt delays by a short animation.
#include "app/program.h"
#include "program_windows.h"

#include <QElapsedTimer>

#include <cstdint>
#include <deque>
#include <random>

using namespace dilmora;
using namespace testing;

namespace {

constexpr std::uint32_t kDefaultSeed = 20261208;

constexpr int kActions = 10000;

/// A step that makes no progress for this long means the user is stuck.
constexpr qint64 kStallMs = 20000;

/// What the user expects to see after the actions so far.
struct Expected {
    const WindowInfo* open = nullptr; ///< The window besides the main window, if any.
    int page = 1;                     ///< The page its grid shows.
    bool designState = true;          ///< No page button pressed since it opened.
    QString focus;                    ///< The button that has its focus; empty for none.
};

/// The widgets of the open window that the user clicks and the checks read,
/// found once per opening.
struct OpenWindow {
    QPointer<QWidget> window;
    std::vector<QLabel*> grid;                         ///< Paged windows: label-number order.
    QStringList designGrid;                            ///< The grid's captions when it opens.
    std::vector<std::pair<QLabel*, QString>> fixed;    ///< Labels that keep their caption.
    std::vector<std::pair<QLabel*, QString>> toolTips; ///< Header tooltips.
    std::vector<QLabel*> cells;                        ///< Clickable labels without a handler.
    std::vector<QLabel*> headers;
    std::vector<QLabel*> pictures;
    std::vector<QPushButton*> tabOrder; ///< Buttons by tab index.
    std::vector<std::pair<QPushButton*, QString>> buttonCaptions;
    QWidget* closer = nullptr;
    QString title;
};

class RandomUser : public QObject {
public:
    RandomUser(app::MainWindow& main, const ErrorRecorder& recorder, std::uint32_t seed,
               int actions)
        : m_main(main), m_recorder(recorder), m_seed(seed), m_target(actions), m_rng(seed)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
        m_watchdog.setInterval(1000);
        connect(&m_watchdog, &QTimer::timeout, this, [this] { watch(); });
    }

    std::function<void()> onDone;

    void start()
    {
        m_sinceProgress.start();
        m_watchdog.start();
        m_timer.start(0);
    }

    const QString& failure() const { return m_failure; }
    int performed() const { return m_performed; }
    int opened() const { return m_opened; }
    int pageTurns() const { return m_pageTurns; }
    int ignored() const { return m_ignored; }

private:
    struct Action {
        QString what;
        std::function<void()> run;
        std::function<void()> expect;  ///< Updates m_expected to the outcome.
        bool opensWindow = false;      ///< Runs a nested event loop until the window closes.
        QPointer<QPushButton> delayed; ///< Enter: the button clicks after an animation.
    };

    app::MainWindow& m_main;
    const ErrorRecorder& m_recorder;
    const std::uint32_t m_seed;
    const int m_target;
    std::mt19937 m_rng;
    QTimer m_timer;
    QTimer m_watchdog;
    QElapsedTimer m_sinceProgress;

    Expected m_expected;
    OpenWindow m_window;
    int m_performed = 0;
    int m_opened = 0;
    int m_pageTurns = 0;
    int m_ignored = 0;
    bool m_acting = false;  ///< An action is being sent; its own event processing may step us.
    bool m_opening = false; ///< A menu command is on the stack below the current loop.
    bool m_finishing = false;
    bool m_done = false;
    QPointer<QPushButton> m_delayed;
    QElapsedTimer m_delayedSince;
    std::deque<QString> m_recent; ///< The last actions, for failure messages.
    QString m_failure;

    int random(int bound) { return int(m_rng() % std::uint32_t(bound)); }

    template <typename T> const T& pick(const std::vector<T>& from)
    {
        return from.at(std::size_t(random(int(from.size()))));
    }

    QWidget* mainWindow() const { return m_main.form().window(); }
    runtime::Form& formOf(const WindowInfo& info) const { return testing::formOf(m_main, info); }

    void fail(const QString& what)
    {
        if (!m_failure.isEmpty())
            return;
        QStringList recent(m_recent.begin(), m_recent.end());
        m_failure = QStringLiteral("seed %1 (set DILMORA_SEED to replay), after action %2: %3\n"
                                   "last actions:\n  %4")
                        .arg(m_seed)
                        .arg(m_performed)
                        .arg(what, recent.join(QStringLiteral("\n  ")));
    }

    void watch()
    {
        if (m_done || m_sinceProgress.elapsed() < kStallMs)
            return;
        fail(QStringLiteral("no progress for %1 s").arg(kStallMs / 1000));
        m_acting = false;
        m_delayed.clear();
        closeEveryOtherWindow();
        m_timer.start(0);
    }

    void closeEveryOtherWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget != mainWindow() && widget->isVisible())
                widget->close();
        }
    }

    void step()
    {
        if (m_done)
            return;
        m_sinceProgress.restart();
        if (m_acting) {
            // Stepped from the event processing of an action: only look for
            // a window that the action must not have opened.
            if (m_expected.open && QApplication::activeModalWidget()
                && QApplication::activeModalWidget() != m_window.window) {
                fail(QStringLiteral("a second window opened: %1")
                         .arg(QApplication::activeModalWidget()->objectName()));
                closeEveryOtherWindow();
            }
            return; // the action starts the timer again when it is done
        }
        if (m_opening && !QApplication::activeModalWidget())
            return; // the menu command that opened the closed window is still returning
        if (m_delayed && m_delayed->isDown()) {
            if (m_delayedSince.elapsed() < 2000) {
                m_timer.start(10);
                return;
            }
            fail(QStringLiteral("Enter did not click %1").arg(m_delayed->objectName()));
        }
        m_delayed.clear();

        if (!m_finishing && m_performed > 0)
            verify();
        if (!m_failure.isEmpty() || m_performed >= m_target) {
            m_finishing = true;
            if (QApplication::activeModalWidget() || m_opening) {
                closeEveryOtherWindow();
                m_timer.start(0);
                return;
            }
            m_done = true;
            m_watchdog.stop();
            if (onDone)
                onDone();
            return;
        }
        perform(choose());
    }

    void perform(const Action& action)
    {
        ++m_performed;
        m_recent.push_back(action.what);
        if (m_recent.size() > 12)
            m_recent.pop_front();
        action.expect();
        if (action.opensWindow) {
            m_opening = true;
            m_timer.start(0); // steps on inside the window's modal loop
            action.run();
            m_opening = false;
            m_timer.start(0);
            return;
        }
        m_acting = true;
        action.run();
        m_acting = false;
        if (action.delayed) {
            m_delayed = action.delayed;
            m_delayedSince.start();
        }
        m_timer.start(0);
    }

    // ---- choosing an action --------------------------------------------

    static QString keyName(Qt::Key key)
    {
        switch (key) {
        case Qt::Key_Tab: return QStringLiteral("Tab");
        case Qt::Key_Space: return QStringLiteral("Space");
        case Qt::Key_Return: return QStringLiteral("Return");
        case Qt::Key_Enter: return QStringLiteral("Enter");
        case Qt::Key_Escape: return QStringLiteral("Escape");
        case Qt::Key_F10: return QStringLiteral("F10");
        default: return QStringLiteral("key %1").arg(int(key));
        }
    }

    /// A point well inside `widget`, off the lines it may share with a neighbour.
    QPoint somewhereIn(QWidget* widget)
    {
        const QRect inside = widget->rect().adjusted(2, 2, -2, -2);
        return {inside.left() + random(std::max(1, inside.width())),
                inside.top() + random(std::max(1, inside.height()))};
    }

    Action clickOn(QWidget* widget, const QString& what, std::function<void()> expect)
    {
        const QPoint at = somewhereIn(widget);
        return {QStringLiteral("click %1 at %2,%3").arg(what).arg(at.x()).arg(at.y()),
                [widget, at] { clickAt(widget, at); }, std::move(expect)};
    }

    Action menuCommand()
    {
        const WindowInfo& info = pick(programWindows());
        Action action{"menu " + info.item,
                      [this, item = info.item] { clickMenuItem(m_main, item); }, [] {}};
        if (m_expected.open) {
            action.expect = [this] { ++m_ignored; };
        } else {
            action.opensWindow = true;
            // A window opens on page 1 with the focus on "Main Page", the
            // first button in its tab order; the About window has no button.
            action.expect = [this, &info] {
                m_expected = {&info, 1, true,
                              info.closer.startsWith("Command") ? info.closer : QString()};
                ++m_opened;
            };
        }
        return action;
    }

    Action mainWindowPicture()
    {
        static const std::vector<QString> names{"Image1", "Image2", "Image3"};
        const QString name = pick(names);
        QWidget* picture = mainWindow()->findChild<QLabel*>(name);
        return clickOn(picture, "main window " + name, [this] { ++m_ignored; });
    }

    Action keyInto(QWidget* window, Qt::Key key, const QString& where)
    {
        return {keyName(key) + " into " + where,
                [window, key] { QTest::keyClick(window->windowHandle(), key); },
                [this] { ++m_ignored; }};
    }

    Action mainWindowKey()
    {
        static const std::vector<Qt::Key> keys{Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return,
                                               Qt::Key_Enter, Qt::Key_Escape};
        static const std::vector<Qt::Key> blockedKeys{Qt::Key_Tab,   Qt::Key_Space,  Qt::Key_Return,
                                                      Qt::Key_Enter, Qt::Key_Escape, Qt::Key_F10};
        // While a window is open even F10, which would reach the menu, must do nothing.
        return keyInto(mainWindow(), pick(m_expected.open ? blockedKeys : keys),
                       QStringLiteral("the main window"));
    }

    Action close()
    {
        return {"title bar close of " + m_expected.open->form,
                [window = m_window.window] { window->close(); }, [this] { m_expected = {}; }};
    }

    /// The effect of pressing `button` of the open window.
    std::function<void()> pressEffect(QPushButton* button)
    {
        if (button == m_window.closer)
            return [this] { m_expected = {}; };
        for (const PageButtonInfo& page : m_expected.open->pageButtons) {
            if (page.name == button->objectName())
                return [this, page = page.page] {
                    m_expected.page = page;
                    m_expected.designState = false;
                    ++m_pageTurns;
                };
        }
        return [this] { fail(QStringLiteral("a button of unknown purpose")); };
    }

    Action clickButton()
    {
        QPushButton* button = pick(m_window.tabOrder);
        Action action = clickOn(button, "button " + button->text(), pressEffect(button));
        action.expect = [this, effect = action.expect, name = button->objectName()] {
            m_expected.focus = name; // a click gives a button the focus
            effect();
        };
        return action;
    }

    Action windowKey(Qt::Key key)
    {
        QWidget* window = m_window.window;
        Action action = keyInto(window, key, m_expected.open->form);
        auto* focus = qobject_cast<QPushButton*>(window->focusWidget());
        if (key == Qt::Key_Tab) {
            action.expect = [this] {
                const auto& order = m_window.tabOrder;
                if (order.empty())
                    return;
                const auto at = std::ranges::find_if(
                    order, [this](QPushButton* b) { return b->objectName() == m_expected.focus; });
                const std::size_t next =
                    at == order.end() ? 0 : std::size_t(at - order.begin() + 1);
                m_expected.focus = order.at(next % order.size())->objectName();
            };
        } else if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
                   && focus) {
            // Only the button that has the focus is pressed; there is no default button.
            action.expect = pressEffect(focus);
            if (key != Qt::Key_Space)
                action.delayed = focus;
        }
        return action;
    }

    Action choose()
    {
        std::vector<std::pair<int, std::function<Action()>>> choices;
        auto add = [&](int weight, std::function<Action()> make) {
            choices.emplace_back(weight, std::move(make));
        };
        static const std::vector<Qt::Key> returnKeys{Qt::Key_Return, Qt::Key_Enter};
        if (!m_expected.open) {
            add(20, [this] { return menuCommand(); });
            add(3, [this] { return mainWindowPicture(); });
            add(4, [this] { return mainWindowKey(); });
        } else {
            const bool paged = m_expected.open->paged();
            const bool about = m_expected.open->form == "Form2";
            add(4, [this] { return menuCommand(); });
            add(2, [this] { return mainWindowPicture(); });
            add(2, [this] { return mainWindowKey(); });
            add(4, [this] { return close(); });
            if (!m_window.tabOrder.empty())
                add(paged ? 44 : 4, [this] { return clickButton(); });
            if (!m_window.cells.empty())
                add(12, [this] {
                    QLabel* label = pick(m_window.cells);
                    return clickOn(label, label->objectName(), [this] { ++m_ignored; });
                });
            if (!m_window.headers.empty())
                add(4, [this] {
                    return clickOn(pick(m_window.headers), "header", [this] { ++m_ignored; });
                });
            if (!m_window.pictures.empty())
                add(4, [this] {
                    return clickOn(pick(m_window.pictures), "picture", [this] { ++m_ignored; });
                });
            if (about)
                add(2, [this] {
                    return clickOn(m_window.closer, "  Exit", [this] { m_expected = {}; });
                });
            add(8, [this] { return windowKey(Qt::Key_Tab); });
            add(4, [this] { return windowKey(Qt::Key_Space); });
            add(1, [this] { return windowKey(pick(returnKeys)); });
            add(4, [this] { return windowKey(Qt::Key_Escape); });
        }
        int total = 0;
        for (const auto& choice : choices)
            total += choice.first;
        int at = random(total);
        for (const auto& [weight, make] : choices) {
            if (at < weight)
                return make();
            at -= weight;
        }
        return choices.back().second();
    }

    // ---- checking ------------------------------------------------------

    void indexOpenWindow(const WindowInfo& info)
    {
        runtime::Form& form = formOf(info);
        m_window = {};
        m_window.window = form.window();
        m_window.title = fromView(form.design().title);
        QHash<QString, QLabel*> labels;
        for (QLabel* label : form.window()->findChildren<QLabel*>())
            labels.insert(label->objectName(), label);
        for (const runtime::LabelDesign& design : form.design().labels) {
            const QString name = fromView(design.name);
            QLabel* label = labels.value(name);
            const int number = name.mid(5).toInt();
            const bool header = info.paged() ? number <= info.columns : !design.toolTip.empty();
            if (!info.paged() || header)
                m_window.fixed.emplace_back(label, fromView(design.caption));
            if (header) {
                m_window.headers.push_back(label);
                m_window.toolTips.emplace_back(label, fromView(design.toolTip));
            } else if (name == info.closer) {
                m_window.closer = label;
            } else {
                m_window.cells.push_back(label);
            }
        }
        if (info.paged()) {
            for (int k = 0; k < info.gridCells(); ++k) {
                QLabel* cell = labels.value(labelName(info.firstCell() + k));
                m_window.grid.push_back(cell);
                m_window.designGrid << cell->text();
            }
        }
        for (const runtime::ImageDesign& image : form.design().images)
            m_window.pictures.push_back(labels.value(fromView(image.name)));
        std::vector<const runtime::ButtonDesign*> buttons;
        for (const runtime::ButtonDesign& design : form.design().buttons)
            buttons.push_back(&design);
        std::ranges::sort(buttons, {}, &runtime::ButtonDesign::tabIndex);
        for (const runtime::ButtonDesign* design : buttons) {
            auto* button = form.window()->findChild<QPushButton*>(fromView(design->name));
            m_window.tabOrder.push_back(button);
            m_window.buttonCaptions.emplace_back(button, fromView(design->caption));
            if (button->objectName() == info.closer)
                m_window.closer = button;
        }
    }

    void verify()
    {
        if (!m_recorder.errors.empty())
            return fail(QStringLiteral("a run-time error: %1")
                            .arg(QString::fromStdString(m_recorder.errors.front().object)));
        if (!m_main.form().isLoaded() || !mainWindow()->isVisible())
            return fail(QStringLiteral("the main window is gone"));

        QStringList others;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget != mainWindow() && widget->isVisible())
                others << widget->objectName();
        }
        if (others.size() > 1)
            return fail("more than one window besides the main window: " + others.join(' '));
        const QString expectedForm = m_expected.open ? m_expected.open->form : QString();
        if (others.value(0) != expectedForm)
            return fail(QStringLiteral("expected \"%1\" open, found \"%2\"")
                            .arg(expectedForm, others.value(0)));
        for (const WindowInfo& info : programWindows()) {
            const bool loaded = !slotOf(m_main, info).isEmpty() && formOf(info).isLoaded();
            if (loaded != (&info == m_expected.open))
                return fail(info.form + (loaded ? " is loaded" : " is not loaded"));
        }
        if (!m_expected.open) {
            if (QApplication::activeModalWidget())
                return fail(QStringLiteral("a modal window without an open form"));
            return;
        }

        const WindowInfo& info = *m_expected.open;
        QWidget* window = formOf(info).window();
        if (window != m_window.window)
            indexOpenWindow(info);
        if (QApplication::activeModalWidget() != window)
            return fail(info.form + " is not the modal window");
        if (window->windowTitle() != m_window.title)
            return fail("the window caption changed to " + window->windowTitle());
        for (const auto& [label, caption] : m_window.fixed) {
            if (label->text() != caption)
                return fail(label->objectName() + " changed to \"" + label->text() + '"');
        }
        for (const auto& [label, toolTip] : m_window.toolTips) {
            if (label->toolTip() != toolTip)
                return fail(label->objectName() + "'s tooltip changed");
        }
        for (const auto& [button, caption] : m_window.buttonCaptions) {
            if (button->text() != caption || !button->isEnabled() || !button->isVisible())
                return fail(button->objectName() + " changed");
        }
        if (info.paged()) {
            const QStringList& expected = m_expected.designState
                                              ? m_window.designGrid
                                              : info.pages.at(std::size_t(m_expected.page - 1));
            QStringList shown;
            for (QLabel* cell : m_window.grid)
                shown << cell->text();
            if (shown != expected) {
                int page = 0;
                for (std::size_t p = 0; p < info.pages.size() && !page; ++p)
                    page = info.pages[p] == shown ? int(p) + 1 : 0;
                return fail(QStringLiteral("the grid shows %1 instead of page %2")
                                .arg(page ? QStringLiteral("page %1").arg(page)
                                          : QStringLiteral("no page of the table"))
                                .arg(m_expected.page));
            }
        }
        QWidget* focus = window->focusWidget();
        const QString focusName = focus ? focus->objectName() : QString();
        if (focusName != m_expected.focus)
            return fail(QStringLiteral("the focus is on \"%1\", not on \"%2\"")
                            .arg(focusName, m_expected.focus));
    }
};

std::uint32_t seed(bool* ok)
{
    const QByteArray text = qgetenv("DILMORA_SEED");
    *ok = true;
    return text.isEmpty() ? kDefaultSeed : text.toUInt(ok, 0);
}

} // namespace

class TestRandomUser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { app::configureProgram(); }

    void thousandsOfRandomActions()
    {
        bool valid = false;
        const std::uint32_t userSeed = seed(&valid);
        QVERIFY2(valid, "DILMORA_SEED is not a number");

        app::MainWindow main;
        QVERIFY(showMainWindow(main));
        ErrorRecorder recorder;
        RandomUser user(main, recorder, userSeed, kActions);
        QEventLoop loop;
        user.onDone = [&loop] { loop.quit(); };
        QElapsedTimer clock;
        clock.start();
        user.start();
        loop.exec();

        QVERIFY2(user.failure().isEmpty(), qPrintable(user.failure()));
        QCOMPARE(user.performed(), kActions);
        QVERIFY(!QApplication::activeModalWidget());
        qInfo("seed %u: %d actions in %lld ms; %d windows opened, %d page turns, %d actions with "
              "no effect",
              userSeed, user.performed(), clock.elapsed(), user.opened(), user.pageTurns(),
              user.ignored());
    }
};

QTEST_MAIN(TestRandomUser)
#include "tst_random_user.moc"
