// The text interface of a form's label: its caption, laid out as the label
// draws it, and the language of each part.
#include "runtime/label_text.h"

#include "runtime/form_window.h"
#include "runtime/look.h"

#include <QLabel>
#include <QTextLayout>

#include <memory>

namespace dilmora::runtime {

namespace {

/// One part of a caption in one language: characters [start, end).
struct LanguageRun {
    int start = 0;
    int end = 0;
    QString language;
};

/// The runs of the label's caption: its design's language, around the
/// Turkish part if the design names one.
std::vector<LanguageRun> languageRuns(const QLabel* label)
{
    const QString text = label->text();
    const int length = static_cast<int>(text.size());
    const auto* formLabel = dynamic_cast<const FormLabel*>(label);
    if (!formLabel)
        return {{0, length, QStringLiteral("en")}};
    const LabelDesign& design = formLabel->design();
    const QString language = toQString(design.language);
    const QString turkish = toQString(design.turkishPart);
    const int at = turkish.isEmpty() ? -1 : static_cast<int>(text.indexOf(turkish));
    if (at < 0)
        return {{0, length, language}};
    const int end = at + static_cast<int>(turkish.size());
    std::vector<LanguageRun> runs;
    if (at > 0)
        runs.push_back({0, at, language});
    runs.push_back({at, end, QStringLiteral("tr")});
    if (end < length)
        runs.push_back({end, length, language});
    return runs;
}

/// The caption laid out in the label's text area as the label draws it: on
/// one line, or broken at blanks when the label wraps.
struct LaidOutText {
    std::unique_ptr<QTextLayout> layout;
    QPoint origin; ///< Of the layout, in the label's coordinates.
};

LaidOutText layOut(const QLabel* label)
{
    const QFontMetrics metrics(label->font());
    QRect area = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                -label->margin());
    // A label with a frame and no indent of its own indents its text by half an "x".
    const int indent = label->indent() >= 0      ? label->indent()
                       : label->frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                                                 : 0;
    area.setLeft(area.left() + indent);

    auto layout = std::make_unique<QTextLayout>(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(label->wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(area.width());
        line.setPosition({0, y});
        y += line.height();
    }
    layout->endLayout();
    QPoint origin = area.topLeft();
    if (label->alignment() & Qt::AlignVCenter)
        origin.ry() += (area.height() - static_cast<int>(y)) / 2;
    return {std::move(layout), origin};
}

} // namespace

QString LabelText::text(int startOffset, int endOffset) const
{
    return m_label->text().mid(startOffset, endOffset - startOffset);
}

int LabelText::characterCount() const
{
    return static_cast<int>(m_label->text().size());
}

QString LabelText::attributes(int offset, int* startOffset, int* endOffset) const
{
    for (const LanguageRun& run : languageRuns(m_label)) {
        if (offset >= run.start && offset < run.end) {
            *startOffset = run.start;
            *endOffset = run.end;
            return QStringLiteral("language:%1;").arg(run.language);
        }
    }
    *startOffset = *endOffset = offset;
    return {};
}

QRect LabelText::characterRect(int offset) const
{
    if (offset < 0 || offset >= characterCount())
        return {};
    const LaidOutText laidOut = layOut(m_label);
    const QTextLine line = laidOut.layout->lineForTextPosition(offset);
    if (!line.isValid())
        return {};
    const int left = static_cast<int>(line.cursorToX(offset));
    const int right = static_cast<int>(line.cursorToX(offset + 1));
    const QRect inLayout(left, static_cast<int>(line.y()), std::max(1, right - left),
                         static_cast<int>(line.height()));
    const QRect inLabel = inLayout.translated(laidOut.origin).intersected(m_label->rect());
    return {m_label->mapToGlobal(inLabel.topLeft()), inLabel.size()};
}

int LabelText::offsetAtPoint(const QPoint& point) const
{
    const LaidOutText laidOut = layOut(m_label);
    const QPoint at = m_label->mapFromGlobal(point) - laidOut.origin;
    for (int i = 0; i < laidOut.layout->lineCount(); ++i) {
        const QTextLine line = laidOut.layout->lineAt(i);
        if (at.y() >= line.y() && at.y() < line.y() + line.height())
            return line.xToCursor(at.x(), QTextLine::CursorOnCharacter);
    }
    return -1;
}

void LabelText::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
}

} // namespace dilmora::runtime
