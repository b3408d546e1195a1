// Builds the widgets of a loaded form from its design.
#include "runtime/form_window.h"

#include "runtime/find_bar.h"
#include "runtime/form.h"
#include "runtime/grid_accessibility.h"
#include "runtime/look.h"
#include "runtime/menu_bar.h"
#include "runtime/platform.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace dilmora::runtime {

namespace {

QRect pixels(const TwipRect& rect)
{
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

void setColours(QWidget* widget, QPalette::ColorRole backgroundRole, Rgb background,
                QPalette::ColorRole foregroundRole, Rgb foreground)
{
    QPalette palette = widget->palette();
    palette.setColor(backgroundRole, colour(background));
    palette.setColor(foregroundRole, colour(foreground));
    widget->setPalette(palette);
}

/// True for a key that types text to find: printable, not a blank, and
/// not a command (Ctrl or Alt alone; both together are AltGr on Windows).
bool typesText(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty() || text.front().isSpace())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint() && !c.isSurrogate())
            return false;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    return control == alt && !(modifiers & Qt::MetaModifier);
}

} // namespace

// Controls get their text only once they are what they are: setting it
// makes Qt ask for the control's accessibility interface, and keep it.
FormLabel::FormLabel(const LabelDesign& design, QWidget* parent) : QLabel(parent), m_design(design)
{
    setObjectName(toQString(design.name));
    setGeometry(pixels(design.rect));
    setTextFormat(Qt::PlainText);
    setText(toQString(design.caption));
    setAutoFillBackground(true);
    setColours(this, QPalette::Window, design.background, QPalette::WindowText, design.foreground);
    if (design.border == Border::FixedSingle) {
        setFrameShape(QFrame::Box);
        setFrameShadow(QFrame::Plain);
        setLineWidth(1);
    }
    if (design.wrap == Wrap::AtBlanks) {
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (design.font)
        setFont(namedFont(*design.font));
    if (!design.toolTip.empty())
        setToolTip(toQString(design.toolTip));
}

void FormLabel::setClickHandler(std::function<void()> handler)
{
    m_click = std::move(handler);
    // The label's interface so far was a plain label's: the next one is a button.
    if (QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
}

void FormLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = m_click && event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void FormLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        press();
}

void FormLabel::press()
{
    if (m_click)
        m_click();
}

CommandButton::CommandButton(const ButtonDesign& design, QWidget* parent) : QPushButton(parent)
{
    setObjectName(toQString(design.name));
    setText(toQString(design.caption));
    setGeometry(pixels(design.rect));
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    if (!design.description.empty())
        setAccessibleDescription(toQString(design.description));
    setColours(this, QPalette::Button, design.background, QPalette::ButtonText, kDefaultTextColour);
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    // The keypad's Enter comes with the keypad flag; it presses the button too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(event);
}

FormWindow::FormWindow(Form& form, const FormDesign& design)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint),
      m_form(form), m_design(design)
{
    setObjectName(toQString(design.name));
    setWindowTitle(toQString(design.title));
    setFont(dialogFont());
    setAutoFillBackground(true);
    setColours(this, QPalette::Window, design.background, QPalette::WindowText, kDefaultTextColour);

    const QSize client(twipsToPixels(design.clientWidth), twipsToPixels(design.clientHeight));
    int menuHeight = 0;
    if (!design.menu.empty()) {
        m_menuBar = new WrappingMenuBar(client.width(), this);
        for (const MenuItemDesign& item : design.menu)
            m_menuBar->addItem(toQString(item.name), toQString(item.caption));
        menuHeight = m_menuBar->wrappedHeight();
    }
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setGeometry(QRect(QPoint(0, menuHeight), client));
    setFixedSize(client.width(), menuHeight + client.height());
}

void FormWindow::centreOnScreen()
{
    // The frame, title bar included, is centred on the screen's work area.
    // The window is placed by its client area: a window manager that has not
    // framed the window yet takes the position for that of the client.
    winId();
    const QMarginsF frame = platform::frameMargins(*windowHandle());
    // A dialog opens on the screen that shows its owner.
    const QWindow* owner = windowHandle()->transientParent();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSizeF outer = QSizeF(size()).grownBy(frame);
    const QRectF area = screen->availableGeometry();
    const QPointF client(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
                         area.y() + (area.height() - outer.height()) / 2 + frame.top());
    setGeometry(QRect(client.toPoint(), size()));
}

QLabel* FormWindow::gridCell(int row, int column) const
{
    const GridDesign* grid = m_design.grid;
    if (!grid || row < 0 || row >= grid->rows || column < 0 || column >= grid->columns)
        return nullptr;
    const std::string_view name =
        grid->cells[static_cast<std::size_t>(row * grid->columns + column)];
    return m_client->findChild<QLabel*>(toQString(name), Qt::FindDirectChildrenOnly);
}

void FormWindow::setMark(const GridMark& mark)
{
    if (mark == m_mark)
        return;
    const GridMark before = m_mark;
    m_mark = mark;
    // The cells keep their design's colours and take the highlight's roles
    // while they are marked.
    const auto paint = [this](const GridMark& cells, bool marked) {
        for (int c = cells.firstColumn; c < cells.firstColumn + cells.columns; ++c) {
            if (QLabel* cell = gridCell(cells.row, c)) {
                cell->setBackgroundRole(marked ? QPalette::Highlight : QPalette::Window);
                cell->setForegroundRole(marked ? QPalette::HighlightedText : QPalette::WindowText);
            }
        }
    };
    if (before.isSet())
        paint(before, false);
    if (m_mark.isSet())
        paint(m_mark, true);
    gridMarkChanged(m_client, before, m_mark);
}

QStringList FormWindow::markedTexts() const
{
    QStringList texts;
    for (int c = m_mark.firstColumn; m_mark.isSet() && c < m_mark.firstColumn + m_mark.columns;
         ++c) {
        if (const QLabel* cell = gridCell(m_mark.row, c))
            texts << cell->text().trimmed();
    }
    return texts;
}

void FormWindow::copyMarkedRow() const
{
    const QStringList texts = markedTexts();
    if (!texts.isEmpty())
        QGuiApplication::clipboard()->setText(texts.join(QLatin1Char('\t')));
}

void FormWindow::openFindBar(const QString& text)
{
    if (!m_findBar)
        m_findBar = new FindBar(m_form, *m_form.findBinding(), *this);
    m_findBar->open(text);
}

void FormWindow::keyPressEvent(QKeyEvent* event)
{
    if (!m_form.findBinding()) {
        QWidget::keyPressEvent(event);
    } else if (event->matches(QKeySequence::Find)) {
        openFindBar({});
    } else if (event->matches(QKeySequence::Copy) && m_mark.isSet()) {
        copyMarkedRow();
    } else if (typesText(*event)) {
        openFindBar(event->text());
    } else {
        QWidget::keyPressEvent(event);
    }
}

void FormWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The frame offers no minimise or maximise button, but some window
    // managers maximise on request all the same (weston's, for X11 windows).
    // The window keeps its size, and no window is hidden while a modal one
    // waits for the user.
    Qt::WindowStates unwanted = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (QApplication::activeModalWidget())
        unwanted |= Qt::WindowMinimized;
    if (windowState() & unwanted)
        setWindowState(windowState() & ~unwanted);
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // The close box unloads the form exactly as Unload does; the form
    // deletes this widget once control is back in the event loop.
    event->accept();
    m_form.discardWindow();
}

void FormWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}

} // namespace dilmora::runtime
