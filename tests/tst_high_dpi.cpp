// Shows that every picture is drawn pixel for pixel from the image for the screen's device
// pixel ratio: its bitmap at ratio 1 and its fine picture, not a blown-up bitmap, at ratio 2.
// CTest runs it at both ratios through QT_SCALE_FACTOR.
#include "about/about_window.h"
#include "app/main_window_design.h"
#include "runtime/application.h"
#include "runtime/form.h"
#include "runtime/look.h"
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
};

QTEST_MAIN(TestHighDpi)
#include "tst_high_dpi.moc"
