// Reading pictures from the resources, and drawing the fine one on high-density screens.
#include "runtime/picture.h"

#include "runtime/dib.h"
#include "runtime/look.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmapCache>

namespace dilmora::runtime {

namespace {

/// The device pixel ratio that a fine picture is drawn for.
constexpr int kFineScale = 2;

/// A bitmap file of the resources, read and then kept in the pixmap cache; null when
/// there is no such file.
QPixmap loadPicture(const QString& path)
{
    // Read in place (see dib.h), so that a window shows without Qt's image reader, which
    // opens every image format plugin installed to ask each one, even for a format that
    // Qt reads by itself.
    const QString key = QStringLiteral("dilmora:") + path;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        picture = QPixmap::fromImage(readBmp(file.readAll()));
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
           + QStringLiteral("@%1x.bmp").arg(kFineScale);
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
