// The look every window shares: the style, the dialog font and colours.
#pragma once

#include "runtime/design.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

namespace dilmora::runtime {

/// A design's UTF-8 text as Qt holds it.
inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

/// The font of every control whose design names none: a sans serif of
/// 8 points, narrow enough for the cells and with every Turkish letter.
QFont dialogFont();

/// A font that a design names, found through the font system's usual
/// substitution (Arial is drawn by a metric-compatible face where it is missing).
QFont namedFont(const FontDesign& design);

inline QColor colour(Rgb rgb)
{
    return QColor::fromRgb(static_cast<int>((rgb >> 16) & 0xFF),
                           static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

/// Sets the style and font that every window of the program uses, and what
/// its windows and controls tell assistive technology, design grids as tables.
/// Call once, after the QApplication exists and before any form loads.
void configureApplication();

} // namespace dilmora::runtime
