// The shared look: one style on every platform, so that the buttons show
// their background colour, and one dialog font.
#include "runtime/look.h"

#include "runtime/accessibility.h"
#include "runtime/platform.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>

namespace dilmora::runtime {

namespace {

/// One line of `topLeft` along the top and left sides of `rect` and one of
/// `bottomRight` along the other two. Filled rectangles, not pen strokes,
/// so that a line is one pixel wide at any scale.
void drawShades(QPainter* painter, const QRect& rect, const QColor& topLeft,
                const QColor& bottomRight)
{
    painter->fillRect(rect.left(), rect.top(), rect.width() - 1, 1, topLeft);
    painter->fillRect(rect.left(), rect.top() + 1, 1, rect.height() - 2, topLeft);
    painter->fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    painter->fillRect(rect.right(), rect.top(), 1, rect.height() - 1, bottomRight);
}

/// The dotted rectangle that marks the focused button, in its text colour.
void drawFocusDots(QPainter* painter, const QRect& rect, const QColor& colour)
{
    const QBrush dots(colour, Qt::Dense4Pattern);
    painter->save();
    painter->setBrushOrigin(rect.topLeft());
    painter->fillRect(rect.left(), rect.top(), rect.width(), 1, dots);
    painter->fillRect(rect.left(), rect.bottom(), rect.width(), 1, dots);
    painter->fillRect(rect.left(), rect.top() + 1, 1, rect.height() - 2, dots);
    painter->fillRect(rect.right(), rect.top() + 1, 1, rect.height() - 2, dots);
    painter->restore();
}

/// The face of a push button filled flat with its Button colour, in a raised
/// two-pixel edge, or a sunken one while the button is pressed; a default
/// button gets a dark frame around it, the focused button a dotted rectangle
/// inside it. (Fusion would mark the focus only once a key has moved it.)
void drawPushButtonFace(QPainter* painter, const QStyleOptionButton& button)
{
    const QPalette& colours = button.palette;
    QRect rect = button.rect;
    if (button.features & QStyleOptionButton::DefaultButton) {
        drawShades(painter, rect, colours.shadow().color(), colours.shadow().color());
        rect.adjust(1, 1, -1, -1);
    }
    painter->fillRect(rect, colours.button());
    if (button.state & (QStyle::State_Sunken | QStyle::State_On)) {
        drawShades(painter, rect, colours.shadow().color(), colours.light().color());
        drawShades(painter, rect.adjusted(1, 1, -1, -1), colours.dark().color(),
                   colours.button().color());
    } else {
        drawShades(painter, rect, colours.light().color(), colours.shadow().color());
        drawShades(painter, rect.adjusted(1, 1, -1, -1), colours.midlight().color(),
                   colours.dark().color());
    }
    if (button.state & QStyle::State_HasFocus)
        drawFocusDots(painter, rect.adjusted(4, 4, -4, -4), colours.buttonText().color());
}

/// Fusion with push buttons whose faces show their Button colour flat, as
/// the designs' graphical buttons do, instead of Fusion's gradient.
///
/// It also lacks the icon of the menu bar's extension button. Every
/// QMenuBar makes that button and asks the style for its icon, though the
/// program's bars never show it (they make room for every item). Reading
/// that icon from Qt's resources loads every image format plugin installed,
/// and the libraries behind them, into the process: time and memory for a
/// picture nobody sees.
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element == CE_PushButtonBevel && button
            && !(button->features & (QStyleOptionButton::Flat | QStyleOptionButton::HasMenu))) {
            drawPushButtonFace(painter, *button);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

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
    // Where Arial is missing (Wine; Linux without fontconfig's aliases), its
    // metric twin draws what a design names in Arial.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QApplication::setFont(dialogFont());
    installAccessibility();
}

} // namespace dilmora::runtime
