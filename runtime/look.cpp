// The shared look: one style on every platform, so that the buttons show
// their background colour, and one dialog font.
#include "runtime/look.h"

#include "runtime/grid_accessibility.h"
#include "runtime/platform.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

namespace dilmora::runtime {

namespace {

/// Fusion without the icon of the menu bar's extension button. Every
/// QMenuBar makes that button and asks the style for its icon, though the
/// program's bars never show it (they make room for every item). Reading
/// that icon from Qt's resources loads every image format plugin installed,
/// and the libraries behind them, into the process: time and memory for a
/// picture nobody sees.
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton
            || icon == SP_ToolBarVerticalExtensionButton)
            return {};
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

QFont dialogFont()
{
    QFont font;
    font.setFamilies(platform::dialogFontFamilies());
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
    QApplication::setStyle(new ProgramStyle);
    QApplication::setFont(dialogFont());
    installGridAccessibility();
}

} // namespace dilmora::runtime
