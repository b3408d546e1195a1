// The find field of a window: type, and the window goes to the row found.
//
// A window whose form has a FindBinding builds its find bar the first time
// a user types into it; until then the window is exactly as designed. The
// bar overlays the bottom edge of the client area and holds the field and a
// line that says how many rows matched. In a window with a grid each key
// shows the first row found, marked; in a window that lists the finds of
// others (the main window) a list of them opens under the field instead.
//
// Keys in the field: Down or F3 next, Up or Shift+F3 previous (wrapping
// round), Return closes the field and keeps the mark, Escape closes it and
// removes the mark, Ctrl+C with nothing selected copies the marked row. The
// field also closes by itself after a few seconds without a key.
#pragma once

#include "runtime/finding.h"

#include <QFrame>
#include <QPointer>
#include <QTimer>

#include <vector>

class QCompleter;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QStringListModel;

namespace dilmora::runtime {

class Form;
class FormWindow;

class FindBar : public QFrame {
    Q_OBJECT

public:
    /// The longest text the field takes; what is pasted beyond it is left out.
    static constexpr int kMaxLength = 100;

    FindBar(Form& form, const FindBinding& binding, FormWindow& window);

    /// Opens the field with `text` in it, remembering where the focus was.
    void open(const QString& text);

    /// The field, for tests and for assistive technology.
    QLineEdit* field() const { return m_field; }

    /// What the bar says of the last find: "2 of 5", "No match" or nothing.
    QString status() const;

private:
    enum class Closing { KeepMark, RemoveMark };

    /// Handles a key of the field; false leaves it to the field.
    bool key(const QKeyEvent& event);
    void find();
    void step(int by);
    void showFound(std::size_t index);
    /// Opens row `row` of the list (-1: none chosen) in its window.
    void choose(int row);
    void close(Closing closing);
    void place();
    void setStatus(const QString& text);

    Form& m_form;
    const FindBinding& m_binding;
    FormWindow& m_window;
    QLineEdit* m_field;
    QLabel* m_status;
    QCompleter* m_list = nullptr; ///< Only where finds are listed.
    QStringListModel* m_names = nullptr;
    QTimer m_idle;
    std::vector<FindTarget> m_found;
    std::size_t m_current = 0;
    QPointer<QWidget> m_returnFocus;
    bool m_closing = false;
};

} // namespace dilmora::runtime
