// The find field: its keys, each key's find, the list of finds, closing.
#include "runtime/find_bar.h"

#include "runtime/accessible_controls.h"
#include "runtime/form.h"
#include "runtime/form_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringListModel>

#include <functional>

namespace dilmora::runtime {

namespace {

/// Type-ahead closes after this long without a key.
constexpr int kIdleMilliseconds = 5000;
/// Room between the bar and the client area's right edge, in pixels.
constexpr int kMargin = 4;

/// A line edit that offers its keys to the bar first, and tells it when the
/// focus leaves for somewhere the user chose.
class FindField : public QLineEdit {
public:
    FindField(std::function<bool(const QKeyEvent&)> keys, std::function<void()> left,
              QWidget* parent)
        : QLineEdit(parent), m_keys(std::move(keys)), m_left(std::move(left))
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (m_keys(*event))
            event->accept();
        else
            QLineEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        // A list opening under the field, or another program's window, takes
        // the focus for a while only.
        if (event->reason() != Qt::PopupFocusReason
            && event->reason() != Qt::ActiveWindowFocusReason)
            m_left();
    }

private:
    std::function<bool(const QKeyEvent&)> m_keys;
    std::function<void()> m_left;
};

bool isPlain(const QKeyEvent& event)
{
    return (event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == Qt::NoModifier;
}

} // namespace

FindBar::FindBar(Form& form, const FindBinding& binding, FormWindow& window)
    : QFrame(window.clientArea()), m_form(form), m_binding(binding), m_window(window),
      m_field(new FindField([this](const QKeyEvent& event) { return key(event); },
                            [this] { close(Closing::KeepMark); }, this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    // The bar is the platform's, not the design's: its own colours and
    // frame. Every role is set, or the window's colours would show through.
    QPalette platform = QApplication::palette();
    platform.setResolveMask(~QPalette::ResolveMask(0));
    setPalette(platform);
    setAutoFillBackground(true);
    // One line of text high, so that it fits under the main window's
    // lettering and under the paged windows' grid.
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);

    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setAccessibleName(QStringLiteral("Find"));
    m_field->setPlaceholderText(QStringLiteral("Find"));
    m_field->setMaxLength(kMaxLength);
    m_field->setFrame(false);
    m_status->setObjectName(QStringLiteral("findStatus"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 0, 3, 0);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_status);
    connect(m_field, &QLineEdit::textEdited, this, &FindBar::find);

    if (m_binding.open) {
        m_names = new QStringListModel(this);
        m_list = new QCompleter(m_names, this);
        m_list->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        m_list->setWrapAround(false);
        m_list->setMaxVisibleItems(8);
        m_list->setWidget(m_field);
        m_list->popup()->setAccessibleName(QStringLiteral("Found"));
        connect(m_list, qOverload<const QModelIndex&>(&QCompleter::activated), this,
                [this](const QModelIndex& index) { choose(index.row()); });
    } else {
        m_idle.setSingleShot(true);
        m_idle.setInterval(kIdleMilliseconds);
        connect(&m_idle, &QTimer::timeout, this, [this] { close(Closing::KeepMark); });
    }
    hide();
}

void FindBar::open(const QString& text)
{
    if (isHidden()) {
        QWidget* focus = QApplication::focusWidget();
        m_returnFocus = focus && focus->window() == &m_window ? focus : nullptr;
        place();
        show();
        raise();
        m_field->setFocus(Qt::OtherFocusReason);
    }
    m_field->setText(text);
    find();
}

void FindBar::place()
{
    // Along the bottom edge, where the paged windows keep their buttons and
    // no grid row stands; the main window's field spans it, under its pictures.
    const QWidget* client = parentWidget();
    const int height = sizeHint().height();
    const int width = m_list ? client->width() : std::max(sizeHint().width(), client->width() / 2);
    const int left = m_list ? 0 : client->width() - width - kMargin;
    setGeometry(left, client->height() - height, width, height);
}

bool FindBar::key(const QKeyEvent& event)
{
    if (!m_list)
        m_idle.start();
    switch (event.key()) {
    case Qt::Key_Escape: close(Closing::RemoveMark); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_list)
            choose(m_list->popup()->currentIndex().row());
        else
            close(Closing::KeepMark);
        return true;
    case Qt::Key_Down: step(1); return true;
    case Qt::Key_Up: step(-1); return true;
    case Qt::Key_F3: step(event.modifiers() & Qt::ShiftModifier ? -1 : 1); return isPlain(event);
    default: break;
    }
    if (event.matches(QKeySequence::Copy) && !m_field->hasSelectedText()) {
        m_window.copyMarkedRow();
        return true;
    }
    return false;
}

void FindBar::find()
{
    const bool wasNoMatch = status() == QLatin1String("No match");
    m_found = m_binding.search(m_field->text());
    if (m_list) {
        QStringList names;
        for (const FindTarget& target : m_found)
            names << target.name;
        m_names->setStringList(names);
        if (names.isEmpty()) {
            m_list->popup()->hide();
        } else {
            // As wide as its longest name, which may be wider than the window.
            const QFontMetrics metrics(m_list->popup()->font());
            int widest = 0;
            for (const QString& name : names)
                widest = std::max(widest, metrics.horizontalAdvance(name));
            // The list hangs under the bar; the completer reads the
            // rectangle in the field's coordinates.
            QRect under(m_field->mapFromParent(QPoint(0, 0)), size());
            under.setWidth(
                std::max(width(), widest + 3 * metrics.averageCharWidth()
                                      + m_list->popup()->verticalScrollBar()->sizeHint().width()));
            m_list->complete(under);
            m_list->popup()->setCurrentIndex(m_names->index(0));
        }
    }
    if (m_found.empty()) {
        if (!m_list)
            m_window.setMark({});
        const bool typed = !m_field->text().trimmed().isEmpty();
        setStatus(typed ? QStringLiteral("No match") : QString());
        if (typed && !wasNoMatch)
            announce(&m_window, status());
        return;
    }
    if (m_list)
        setStatus(QStringLiteral("%1 found").arg(m_found.size()));
    else
        showFound(0);
}

void FindBar::step(int by)
{
    if (m_found.empty() || m_list)
        return;
    const auto count = static_cast<long>(m_found.size());
    showFound(
        static_cast<std::size_t>(((static_cast<long>(m_current) + by) % count + count) % count));
}

void FindBar::showFound(std::size_t index)
{
    m_current = index;
    setStatus(QStringLiteral("%1 of %2").arg(index + 1).arg(m_found.size()));
    const FindTarget target = m_found[index];
    m_form.runAsHandler([this, target] { m_form.reveal(target); });
}

void FindBar::choose(int row)
{
    // Return with no row chosen takes the first.
    const std::size_t index = row < 0 ? 0 : static_cast<std::size_t>(row);
    if (index >= m_found.size())
        return;
    const FindTarget target = m_found[index];
    close(Closing::KeepMark);
    // The window opens modally once the list has gone and its key or click
    // has been handled.
    QTimer::singleShot(0, this, [this, target] {
        m_form.runAsHandler([this, target] { m_binding.open(target); });
    });
}

void FindBar::close(Closing closing)
{
    // Handing the focus back makes the field lose it, which closes the bar
    // too: that second close does nothing.
    if (isHidden() || m_closing)
        return;
    m_closing = true;
    m_idle.stop();
    if (m_list)
        m_list->popup()->hide();
    // The focus goes straight back to where it was, before the field hides
    // and Qt would pass it to the next control on the way.
    if (m_field->hasFocus() && m_returnFocus)
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    hide();
    if (closing == Closing::RemoveMark)
        m_window.setMark({});
    m_field->clear();
    setStatus({});
    m_closing = false;
}

QString FindBar::status() const
{
    return m_status->text();
}

void FindBar::setStatus(const QString& text)
{
    m_status->setText(text);
}

} // namespace dilmora::runtime
