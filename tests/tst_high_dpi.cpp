// Shows that every picture is drawn pixel for pixel from the image for the screen's device
// pixel ratio: its bitmap at ratio 1 and its fine picture, not a blown-up bitmap, at ratio 2;
// and that the rule under the menu bar is one line at every ratio. CTest runs it at both
// ratios through QT_SCALE_FACTOR, and the rule also at 1.5.
#include "about/about_window.h"
#include "app/main_window_design.h"
#include "runtime/application.h"
#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/menu_bar.h"
#include "runtime/picture.h"

#include <QLabel>
#include <QtTest>

using namespace dilmora;

namespace {

const runtime::FormDesign* const kDesigns[] = {&app::kMainWindowDesign, &about::kAboutDesign};

QImage opaque(QImage image)
{
    image.setDevicePixelRatio(1);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { runtime::configureApplication(); }

    void picturesMatchTheScreen_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("image");
        for (int form = 0; form < int(std::size(kDesigns)); ++form) {
            for (int image = 0; image < int(kDesigns[form]->images.size()); ++image)
                QTest::addRow("%s %s", kDesigns[form]->name.data(),
                              kDesigns[form]->images[image].name.data())
                    << form << image;
        }
    }

    void picturesMatchTheScreen()
    {
        QFETCH(int, form);
        QFETCH(int, image);
        const runtime::ImageDesign& design = kDesigns[form]->images[image];
        runtime::Form window(*kDesigns[form]);
        QVERIFY(window.load() == runtime::Status::Ok);
        auto* picture = window.window()->findChild<QLabel*>(runtime::toQString(design.name));
        QVERIFY(picture);

        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        QCOMPARE(picture->devicePixelRatioF(), ratio);
        const QImage shown = opaque(picture->grab().toImage());
        const QImage bitmap = opaque(QImage(runtime::toQString(design.bitmap)));
        QCOMPARE(shown.size(), bitmap.size() * ratio);
        if (ratio == 1) {
            QCOMPARE(shown, bitmap);
            return;
        }
        QVERIFY(shown != bitmap.scaled(shown.size()));
        QCOMPARE(shown, opaque(QImage(runtime::Picture::finePicturePath(design.bitmap))));
    }

    void menuBarRuleIsUnbroken()
    {
        runtime::Form main(app::kMainWindowDesign);
        QVERIFY(main.load() == runtime::Status::Ok);
        auto* bar = main.window()->findChild<runtime::WrappingMenuBar*>();
        QVERIFY(bar);
        const QImage image = opaque(bar->grab().toImage());
        const qreal ratio = bar->devicePixelRatioF();
        const int width = qFloor(main.window()->width() * ratio);
        // The device pixel rows of the bar's last two pixels: each is one colour
        // from the window's left edge to its right, and one of them is the rule.
        const QRgb background = image.pixel(0, 0);
        bool rule = false;
        for (int y = qFloor((bar->height() - 2) * ratio); y < image.height(); ++y) {
            for (int x = 1; x < width; ++x)
                QVERIFY2(image.pixel(x, y) == image.pixel(0, y),
                         qPrintable(QStringLiteral("row %1 breaks at x = %2").arg(y).arg(x)));
            rule = rule || image.pixel(0, y) != background;
        }
        QVERIFY(rule);
    }
};

QTEST_MAIN(TestHighDpi)
#include "tst_high_dpi.moc"
