// The picture control: a design's bitmap at its natural size, sharp at every device pixel ratio.
#pragma once

#include "runtime/design.h"

#include <QLabel>
#include <QPixmap>
#include <QString>

#include <string_view>

namespace dilmora::runtime {

/// A picture as the designs know it: the bitmap at its natural size, without a border,
/// reacting to nothing. Its pixmap() is always the design's bitmap. On a screen whose
/// device pixel ratio is above 1 it draws, in the same rectangle, the bitmap's fine
/// companion (see finePicturePath()) where the resources hold one, so that the lettering
/// stays sharp at 150 % and 200 %. The choice is made at every paint, so the picture
/// follows its window from one screen to another.
class Picture : public QLabel {
public:
    /// The picture of a design, a child of `parent`; null when its bitmap cannot be read.
    static Picture* create(const ImageDesign& design, QWidget* parent);

    /// The resource path of a bitmap's companion drawn twice as fine, for device pixel
    /// ratio 2: ":/app/assets/welcome.bmp" has ":/app/assets/welcome@2x.bmp".
    static QString finePicturePath(std::string_view bitmap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Picture(const QPixmap& bitmap, QString finePath, QWidget* parent);

    /// The fine companion, read at the first paint that needs it; null if there is none.
    const QPixmap& fine();

    QString m_finePath;
    QPixmap m_fine;
    bool m_fineRead = false;
};

} // namespace dilmora::runtime
