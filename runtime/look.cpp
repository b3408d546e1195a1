// The shared look: one style on every platform, so that the buttons show
// their background colour, and one dialog font.
#include "runtime/look.h"

#include <QApplication>
#include <QStyleFactory>

namespace dilmora::runtime {

QFont dialogFont()
{
    QFont font;
    // Liberation Sans shares Arial's metrics; where neither is installed the
    // font system falls back to its sans serif.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont namedFont(const FontDesign& design)
{
    QFont font(toQString(design.family));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(design.pointSizeHundredths / 100.0);
    font.setWeight(static_cast<QFont::Weight>(design.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

void configureApplication()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(dialogFont());
}

} // namespace dilmora::runtime
