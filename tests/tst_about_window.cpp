// Shows that the About window loads its labels and picture as designed, that every author line
// fits its label, and that only a click on "  Exit" or the title bar's close box closes it.
#include "about/about_window.h"
#include "app/main_window.h"
#include "form_testing.h"
#include "runtime/menu_bar.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <memory>

using namespace dilmora;
using namespace testing;

namespace {

QRect pixelsOf(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

const runtime::LabelDesign* designOf(const QString& name)
{
    for (const runtime::LabelDesign& label : about::kAboutDesign.labels) {
        if (fromView(label.name) == name)
            return &label;
    }
    return nullptr;
}

QHash<QString, QString> captions(QWidget* window)
{
    QHash<QString, QString> texts;
    for (QLabel* label : window->findChildren<QLabel*>())
        texts.insert(label->objectName(), label->text());
    return texts;
}

const QStringList kLabelNames{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"};

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<runtime::Form> m_form; // loaded, never shown
    std::unique_ptr<app::MainWindow> m_main;

    QWidget* window() const { return m_form->window(); }
    QLabel* label(const QString& name) const { return window()->findChild<QLabel*>(name); }

    runtime::Form& aboutForm() { return m_main->about().form(); }

    /// Chooses "About Programmer" in the main window's menu bar, as a user clicks it.
    void clickAboutCommand()
    {
        auto* bar = m_main->form().window()->findChild<runtime::WrappingMenuBar*>();
        const QRect item = bar->itemRect(bar->item(QStringLiteral("aboutprogrammer")));
        QTest::mouseClick(windowOf(bar), Qt::LeftButton, {},
                          bar->mapTo(bar->window(), item.center()));
    }

    void openMainWindow()
    {
        m_main = std::make_unique<app::MainWindow>();
        QVERIFY(m_main->form().show(runtime::Modality::Modeless) == runtime::Status::Ok);
        QVERIFY(QTest::qWaitForWindowExposed(m_main->form().window()));
    }

    /// The About window that the menu command opened, after checking that it is the one.
    static QWidget* aboutWindow()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QStringLiteral("Form2"))
            return nullptr;
        return modal;
    }

private slots:
    void initTestCase()
    {
        runtime::configureApplication();
        m_form = about::createAboutWindow();
        QVERIFY(m_form->load() == runtime::Status::Ok);
        QVERIFY(window());
    }

    void cleanupTestCase()
    {
        m_form.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void cleanup()
    {
        m_main.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void windowHasItsLook()
    {
        QCOMPARE(window()->objectName(), QStringLiteral("Form2"));
        QCOMPARE(window()->windowTitle(), QStringLiteral("About Programmer"));
        auto* client = window()->findChild<QWidget*>(QStringLiteral("clientArea"));
        QVERIFY(client);
        QCOMPARE(client->geometry(), QRect(0, 0, 295, 205));
        QCOMPARE(window()->minimumSize(), QSize(295, 205));
        QCOMPARE(window()->maximumSize(), QSize(295, 205));
        QVERIFY(!(window()->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window()->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window()->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window()->palette().color(QPalette::Window), QColor(0xFF, 0xE0, 0xC0));
        QVERIFY(!window()->windowIcon().isNull());
        QVERIFY(!window()->findChild<QMenuBar*>());
        QVERIFY(window()->findChildren<QAbstractButton*>().isEmpty());

        QStringList controls;
        for (QLabel* each : window()->findChildren<QLabel*>())
            controls << each->objectName();
        controls.sort();
        QCOMPARE(controls, QStringList{"Image1"} + kLabelNames);
    }

    void labelsHaveTheirDesign_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("tabIndex");
        const QColor light(0xFF, 0xE0, 0xC0);
        const QColor dark(0xC0, 0x40, 0x00);
        QTest::newRow("name") << "Label1" << QRect(1440, 360, 2535, 255) << light << dark << 9.0
                              << 0;
        QTest::newRow("home town")
            << "Label2" << QRect(1440, 600, 2775, 255) << light << dark << 9.0 << 1;
        QTest::newRow("note") << "Label3" << QRect(1440, 960, 2775, 855) << light << dark << 9.0
                              << 2;
        QTest::newRow("e-mail") << "Label4" << QRect(1440, 1800, 2775, 255) << light << dark << 9.0
                                << 3;
        QTest::newRow("web page") << "Label5" << QRect(1440, 2160, 2655, 255) << light << dark
                                  << 9.0 << 4;
        QTest::newRow("thanks") << "Label6" << QRect(1560, 2520, 975, 255) << light << dark << 9.0
                                << 5;
        QTest::newRow("exit, reversed")
            << "Label7" << QRect(3600, 2640, 615, 255) << dark << light << 9.75 << 6;
    }

    void labelsHaveTheirDesign()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        QFETCH(double, points);
        QFETCH(int, tabIndex);
        QLabel* line = label(name);
        QVERIFY(line);
        QCOMPARE(line->geometry(), pixelsOf(twips.x(), twips.y(), twips.width(), twips.height()));
        QVERIFY(line->autoFillBackground());
        QCOMPARE(line->palette().color(QPalette::Window), background);
        QCOMPARE(line->palette().color(QPalette::WindowText), text);
        QCOMPARE(line->frameShape(), QFrame::NoFrame);
        QCOMPARE(line->frameWidth(), 0);
        QVERIFY(line->alignment() & Qt::AlignLeft);
        QVERIFY(line->wordWrap());
        QVERIFY(line->toolTip().isEmpty());
        QCOMPARE(line->focusPolicy(), Qt::NoFocus);

        const QFont font = line->font();
        QCOMPARE(font.families().value(0, font.family()), QStringLiteral("Arial"));
        QCOMPARE(font.weight(), QFont::Bold);
        QCOMPARE(font.pointSizeF(), points);
        QVERIFY(!font.italic());
        QVERIFY(!font.underline());
        QVERIFY(!font.strikeOut());

        const runtime::LabelDesign* design = designOf(name);
        QVERIFY(design);
        QCOMPARE(design->tabIndex, tabIndex);
        QVERIFY(design->font);
        QCOMPARE(design->font->charset, 162);
        QCOMPARE(design->font->weight, 700);
        QCOMPARE(design->font->pointSizeHundredths, qRound(points * 100));
    }

    void textsKeepTheirBlanks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("name after the greeting") << "Label1"
                                                 << "^Hello! My name's \\S.*\\S$";
        QTest::newRow("town slash country") << "Label2"
                                            << "^I'm from \\S[^/]*\\S/\\S.*\\S$";
        QTest::newRow("note") << "Label3"
                              << "^\\S.*\\S$";
        QTest::newRow("e-mail address")
            << "Label4"
            << "^E-mail: [A-Za-z0-9._-]+@([a-z0-9-]+\\.)*example\\.(org|com)$";
        QTest::newRow("web page, one leading blank") << "Label5"
                                                     << "^ Web page: \\S+$";
        QTest::newRow("thanks") << "Label6"
                                << "^Thank you!$";
        QTest::newRow("exit, two leading blanks") << "Label7"
                                                  << "^  Exit$";
    }

    void textsKeepTheirBlanks()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        const QRegularExpression expected(pattern);
        QVERIFY(expected.isValid());
        const QString text = label(name)->text();
        QVERIFY2(expected.match(text).hasMatch(), qPrintable(text));
    }

    void webPageIsAnExampleAddress()
    {
        const QString text = label(QStringLiteral("Label5"))->text();
        const QUrl address = QUrl::fromUserInput(text.section(QStringLiteral(" Web page: "), 1));
        QVERIFY2(address.isValid(), qPrintable(text));
        const QString host = address.host();
        QVERIFY2(host == "example.org" || host == "example.com" || host.endsWith(".example.org")
                     || host.endsWith(".example.com"),
                 qPrintable(host));
    }

    void leadingBlanksAreDrawn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("blanks");
        QTest::newRow("no blank before Hello") << "Label1"
                                               << "";
        QTest::newRow("one blank before Web page") << "Label5"
                                                   << " ";
        QTest::newRow("two blanks before Exit") << "Label7"
                                                << "  ";
    }

    void leadingBlanksAreDrawn()
    {
        QFETCH(QString, name);
        QFETCH(QString, blanks);
        QLabel* line = label(name);
        QVERIFY(line);
        QVERIFY(line->text().startsWith(blanks + line->text().trimmed().left(1)));
        // The first ink stands where the first letter follows the blanks.
        const QImage image = line->grab().toImage();
        const QRgb background = line->palette().color(QPalette::Window).rgb();
        int firstInk = -1;
        for (int x = 0; x < image.width() && firstInk < 0; ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixel(x, y) != background) {
                    firstInk = x;
                    break;
                }
            }
        }
        const QFontMetrics metrics(line->font());
        const int expected = metrics.horizontalAdvance(blanks)
                             + std::max(0, metrics.leftBearing(line->text().trimmed().at(0)));
        QVERIFY2(qAbs(firstInk - expected) <= 1,
                 qPrintable(QString("first ink at %1, expected %2").arg(firstInk).arg(expected)));
    }

    void pictureAtItsNaturalSize()
    {
        QLabel* picture = label(QStringLiteral("Image1"));
        QVERIFY(picture);
        QCOMPARE(picture->geometry(), QRect(8, 32, 82, 78));
        QCOMPARE(picture->geometry(), pixelsOf(120, 480, 1230, 1170));
        QCOMPARE(picture->pixmap().size(), QSize(82, 78));
        QVERIFY(!picture->hasScaledContents());
        QCOMPARE(picture->frameShape(), QFrame::NoFrame);
        QCOMPARE(picture->focusPolicy(), Qt::NoFocus);
        QVERIFY(picture->toolTip().isEmpty());
    }

    void authorLinesFitTheirLabels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLines");
        QTest::newRow("name") << "Label1" << 1;
        QTest::newRow("home town") << "Label2" << 1;
        QTest::newRow("note") << "Label3" << 3;
        QTest::newRow("e-mail") << "Label4" << 1;
        QTest::newRow("web page") << "Label5" << 1;
        QTest::newRow("thanks") << "Label6" << 1;
        QTest::newRow("exit") << "Label7" << 1;
    }

    void authorLinesFitTheirLabels()
    {
        QFETCH(QString, name);
        QFETCH(int, maxLines);
        QLabel* line = label(name);
        QVERIFY(line);
        const QFontMetrics metrics(line->font());
        const QRect inside = line->contentsRect();
        const QRect drawn = metrics.boundingRect(
            inside, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, line->text());
        const QString measured = QString("%1: %2 x %3 drawn in %4 x %5, line spacing %6")
                                     .arg(line->text())
                                     .arg(drawn.width())
                                     .arg(drawn.height())
                                     .arg(inside.width())
                                     .arg(inside.height())
                                     .arg(metrics.lineSpacing());
        QVERIFY2(drawn.width() <= inside.width(), qPrintable(measured));
        QVERIFY2(drawn.height() <= inside.height(), qPrintable(measured));
        QVERIFY2(drawn.height() <= maxLines * metrics.lineSpacing(), qPrintable(measured));
        // Blanks wrapped away at a line break would hide the word after it.
        QVERIFY2(metrics.horizontalAdvance(line->text()) <= inside.width() || maxLines > 1,
                 qPrintable(measured));
    }

    void fontResolvesToArialOrItsMetricTwin_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : kLabelNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void fontResolvesToArialOrItsMetricTwin()
    {
        QFETCH(QString, name);
        const QFontInfo resolved(label(name)->font());
        QVERIFY2(resolved.family() == "Arial" || resolved.family() == "Liberation Sans",
                 qPrintable(resolved.family()));
        QCOMPARE(resolved.weight(), int(QFont::Bold));
        QVERIFY(!resolved.italic());
        QCOMPARE(resolved.pointSizeF(), label(name)->font().pointSizeF());
    }

    void exitClosesAndReopeningShowsTheSameTexts()
    {
        openMainWindow();
        QHash<QString, QString> first;
        QHash<QString, QString> second;
        auto closeWithExit = [this](QHash<QString, QString>& texts) {
            // The window is deleted while the click's events are processed.
            const QPointer<QWidget> modal = aboutWindow();
            QVERIFY(modal);
            texts = captions(modal);
            click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
            QVERIFY(!aboutForm().isLoaded());
            QVERIFY(!modal || !modal->isVisible());
        };
        whileModal([&] { closeWithExit(first); }, [&] { clickAboutCommand(); });
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!aboutForm().isLoaded());
        QCOMPARE(first.value("Label7"), QStringLiteral("  Exit"));
        QCOMPARE(first.size(), 8);

        // The main window takes input again: its menu opens the window once more.
        whileModal([&] { closeWithExit(second); }, [&] { clickAboutCommand(); });
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(second, first);
    }

    void clicksElsewhereDoNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("name") << "Label1";
        QTest::newRow("home town") << "Label2";
        QTest::newRow("note") << "Label3";
        QTest::newRow("e-mail") << "Label4";
        QTest::newRow("web page") << "Label5";
        QTest::newRow("thanks") << "Label6";
        QTest::newRow("picture") << "Image1";
        QTest::newRow("window background") << "clientArea";
    }

    void clicksElsewhereDoNothing()
    {
        QFETCH(QString, name);
        openMainWindow();
        bool stayed = false;
        whileModal(
            [&] {
                QWidget* modal = aboutWindow();
                QVERIFY(modal);
                const QHash<QString, QString> before = captions(modal);
                QWidget* target = modal->findChild<QWidget*>(name);
                QVERIFY(target);
                // The window background: below "Thank you!", left of "  Exit".
                const std::optional<QPoint> at =
                    name == "clientArea" ? std::optional<QPoint>(QPoint(200, 198)) : std::nullopt;
                click(target, at);
                QTest::qWait(20);
                stayed = aboutForm().isLoaded() && modal->isVisible()
                         && QApplication::activeModalWidget() == modal;
                QCOMPARE(captions(modal), before);
                click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
            },
            [&] { clickAboutCommand(); });
        QVERIFY(stayed);
        QVERIFY(!aboutForm().isLoaded());
    }

    void titleBarCloseDoesWhatExitDoes()
    {
        openMainWindow();
        whileModal(
            [&] {
                QWidget* modal = aboutWindow();
                QVERIFY(modal);
                // The close box reaches the window as a close event from the window system.
                QCloseEvent close;
                QApplication::sendEvent(modal->windowHandle(), &close);
                QVERIFY(!aboutForm().isLoaded());
                QVERIFY(!modal->isVisible());
            },
            [&] { clickAboutCommand(); });
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!aboutForm().isLoaded());
        // And the window opens again from its design.
        whileModal(
            [&] {
                QVERIFY(aboutWindow());
                click(aboutWindow()->findChild<QWidget*>(QStringLiteral("Label7")));
            },
            [&] { clickAboutCommand(); });
        QVERIFY(!aboutForm().isLoaded());
    }

    void noControlTakesTheFocus()
    {
        QWidgetList widgets = window()->findChildren<QWidget*>();
        widgets << window();
        for (QWidget* each : widgets)
            QVERIFY2(each->focusPolicy() == Qt::NoFocus, qPrintable(each->objectName()));

        openMainWindow();
        whileModal(
            [&] {
                QWidget* modal = aboutWindow();
                QVERIFY(modal);
                QVERIFY(QTest::qWaitForWindowActive(modal));
                QWidget* focus = QApplication::focusWidget();
                QVERIFY2(!focus || focus == modal,
                         qPrintable(focus ? focus->objectName() : QString()));
                click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
            },
            [&] { clickAboutCommand(); });
    }

    void keysDoNotClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Tab") << int(Qt::Key_Tab);
    }

    void keysDoNotClose()
    {
        QFETCH(int, key);
        openMainWindow();
        bool stayed = false;
        whileModal(
            [&] {
                QWidget* modal = aboutWindow();
                QVERIFY(modal);
                QVERIFY(QTest::qWaitForWindowActive(modal));
                testing::key(modal, Qt::Key(key));
                // Long enough for a button's delayed click, had one been pressed.
                QTest::qWait(200);
                stayed = aboutForm().isLoaded() && modal->isVisible();
                click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
            },
            [&] { clickAboutCommand(); });
        QVERIFY(stayed);
        QVERIFY(!aboutForm().isLoaded());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
