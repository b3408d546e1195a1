// Shows that the About window loads its labels and picture as designed, that every author line
// fits its label, and that only a click on "  Exit" or the title bar's close box closes it.
#include "about/about_window.h"
#include "program_windows.h"

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

const QStringList kLabelNames{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"};

} // namespace

class TestAboutWindow : public WindowTest {
    Q_OBJECT

public:
    TestAboutWindow() : WindowTest(QStringLiteral("Form2"), about::createAboutWindow) {}

private:
    runtime::Form& aboutForm() { return m_main->about().form(); }

private slots:
    void initTestCase() { loadWindow(); }
    void cleanupTestCase() { unloadWindow(); }
    void cleanup() { discardMainWindow(m_main); }

    void windowHasItsLook()
    {
        verifyFixedWindow(window(), QStringLiteral("Form2"), QStringLiteral("About Programmer"),
                          QSize(295, 205));
        if (QTest::currentTestFailed())
            return;
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
        QCOMPARE(line->geometry(), pixelsOf(twips));
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

        const runtime::LabelDesign* design = labelDesign(about::kAboutDesign, name);
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
        reopenWithTheSameTexts(first);
        QCOMPARE(first.value("Label7"), QStringLiteral("  Exit"));
        QCOMPARE(first.size(), 8);
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
        withWindow([&](QWidget* opening) {
            // Had the click closed the window, it would be deleted while events are processed.
            const QPointer<QWidget> modal = opening;
            const QHash<QString, QString> before = allCaptions(modal);
            QWidget* target = modal->findChild<QWidget*>(name);
            QVERIFY(target);
            // The window background: below "Thank you!", left of "  Exit".
            const std::optional<QPoint> at =
                name == "clientArea" ? std::optional<QPoint>(QPoint(200, 198)) : std::nullopt;
            click(target, at);
            QTest::qWait(20);
            stayed = aboutForm().isLoaded() && modal && modal->isVisible()
                     && QApplication::activeModalWidget() == modal;
            QVERIFY(modal);
            QCOMPARE(allCaptions(modal), before);
            click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
        });
        QVERIFY(stayed);
        QVERIFY(!aboutForm().isLoaded());
    }

    void titleBarCloseDoesWhatExitDoes()
    {
        openMainWindow();
        withWindow([&](QWidget* opening) {
            const QPointer<QWidget> modal = opening;
            // The close box reaches the window as a close event from the window system.
            QCloseEvent close;
            QApplication::sendEvent(modal->windowHandle(), &close);
            QVERIFY(!aboutForm().isLoaded());
            QVERIFY(!modal || !modal->isVisible());
        });
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!aboutForm().isLoaded());
        // And the window opens again from its design.
        withWindow(
            [&](QWidget* modal) { click(modal->findChild<QWidget*>(QStringLiteral("Label7"))); });
        QVERIFY(!aboutForm().isLoaded());
    }

    void noControlTakesTheFocus()
    {
        QWidgetList widgets = window()->findChildren<QWidget*>();
        widgets << window();
        for (QWidget* each : widgets)
            QVERIFY2(each->focusPolicy() == Qt::NoFocus, qPrintable(each->objectName()));

        openMainWindow();
        withWindow([&](QWidget* modal) {
            QVERIFY(waitForKeyboardFocus(modal));
            QWidget* focus = QApplication::focusWidget();
            QVERIFY2(!focus || focus == modal, qPrintable(focus ? focus->objectName() : QString()));
            click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
        });
    }

    void keysDoNotClose_data() { addButtonKeyRows(); }

    void keysDoNotClose()
    {
        QFETCH(int, key);
        openMainWindow();
        bool stayed = false;
        withWindow([&](QWidget* opening) {
            const QPointer<QWidget> modal = opening;
            QVERIFY(waitForKeyboardFocus(modal));
            testing::key(modal, Qt::Key(key));
            // Long enough for a button's delayed click, had one been pressed.
            QTest::qWait(200);
            stayed = aboutForm().isLoaded() && modal && modal->isVisible();
            QVERIFY(modal);
            click(modal->findChild<QWidget*>(QStringLiteral("Label7")));
        });
        QVERIFY(stayed);
        QVERIFY(!aboutForm().isLoaded());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
