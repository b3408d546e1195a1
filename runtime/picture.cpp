// Reading pictures from the resources, and drawing the fine one on high-density screens.
#include "runtime/picture.h"

#include "runtime/dib.h"
#include "runtime/look.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>

namespace dilmora::runtime {

namespace {

/// The device pixel ratio that a fine picture is drawn for.
constexpr int kFineScale = 2;

/// A picture file of the resources, read in the format that its file name ends in and
/// then kept in the pixmap cache; null when there is no such file.
QPixmap loadPicture(const QString& path)
{
    // A bitmap is read in place (see dib.h), so that a window shows without Qt's image
    // reader; a fine picture is read only on a screen that draws it. Left to guess the
    // format, Qt would first load every image format plugin installed, and the libraries
    // behind them, to ask each one.
    const QString key = QStringLiteral("dilmora:") + path;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    if (path.endsWith(QLatin1String(".bmp"))) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            picture = QPixmap::fromImage(readBmp(file.readAll()));
    } else {
        QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        picture = QPixmap::fromImage(reader.read());
    }
    if (!picture.isNull())
        QPixmapCache::insert(key, picture);
    return picture;
}

} // namespace

Picture* Picture::create(const ImageDesign& design, QWidget* parent)
{
    const QPixmap bitmap = loadPicture(toQString(design.bitmap));
    if (bitmap.isNull())
        return nullptr;
    auto* picture = new Picture(bitmap, finePicturePath(design.bitmap), parent);
    picture->setObjectName(toQString(design.name));
    picture->setGeometry(twipsToPixels(design.rect.left), twipsToPixels(design.rect.top),
                         bitmap.width(), bitmap.height());
    return picture;
}

QString Picture::finePicturePath(std::string_view bitmap)
{
    const QString path = toQString(bitmap);
    const QFileInfo file(path);
    return path.left(path.size() - file.fileName().size()) + file.completeBaseName()
           + QStringLiteral("@%1x.png").arg(kFineScale);
}

Picture::Picture(const QPixmap& bitmap, QString finePath, QWidget* parent)
    : QLabel(parent), m_finePath(std::move(finePath))
{
    setPixmap(bitmap);
}

const QPixmap& Picture::fine()
{
    if (!m_fineRead) {
        m_fineRead = true;
        m_fine = loadPicture(m_finePath);
    }
    return m_fine;
}

void Picture::paintEvent(QPaintEvent* event)
{
    // At ratio 1 the bitmap shows pixel for pixel, as QLabel draws it.
    if (devicePixelRatioF() <= 1.0 || fine().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // The whole fine picture into the rectangle of the bitmap: pixel for pixel at ratio 2,
    // smoothly scaled at any other ratio.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_fine);
}

} // namespace dilmora::runtime
