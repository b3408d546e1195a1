// A label's text as assistive technology reads it: characters, where each is
// drawn, and the language of each part, so that a screen reader can speak
// Turkish with a Turkish voice.
#pragma once

#include <QAccessibleTextInterface>

class QLabel;

namespace dilmora::runtime {

/// The read-only text interface of a form's label. A label's caption is in
/// its design's language, except for its Turkish part, if the design names
/// one; the `language` attribute of each run says which ("en", "tr").
class LabelText : public QAccessibleTextInterface {
public:
    explicit LabelText(const QLabel* label) : m_label(label) {}

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;

    // Nothing in a label can be selected, and it has no caret.
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}

private:
    const QLabel* m_label;
};

} // namespace dilmora::runtime
