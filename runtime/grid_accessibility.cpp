// The table face of a design's grid, built from Qt's accessibility
// interfaces: the client area holds one table, the table holds one header
// per column and the grid's cell labels, and each label answers as a cell
// or header of it.
//
// Every text is read from the widgets when it is asked for, so a page turn
// shows at once. The table finds its labels by name once, when it is first
// used after they all exist, and keeps them: Qt may ask for an interface,
// and keep it, while the window is still being built.
#include "runtime/grid_accessibility.h"

#include "runtime/accessible_controls.h"
#include "runtime/design.h"
#include "runtime/form_window.h"
#include "runtime/label_text.h"
#include "runtime/look.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace dilmora::runtime {

namespace {

/// The grid of the window whose client area `widget` is, or null.
const GridDesign* gridOfClient(const QWidget* widget)
{
    const auto* window = widget ? dynamic_cast<const FormWindow*>(widget->parentWidget()) : nullptr;
    if (!window || widget != window->clientArea())
        return nullptr;
    return window->design().grid;
}

/// Where a label stands in a grid: row and column from 0, row -1 for a header.
struct GridPlace {
    int row = -1;
    int column = 0;
};

std::optional<GridPlace> placeOf(const GridDesign& grid, const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view wanted(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (wanted.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        if (grid.cells[i] == wanted) {
            const int index = static_cast<int>(i);
            return GridPlace{index / grid.columns, index % grid.columns};
        }
    }
    for (std::size_t c = 0; c < grid.headers.size(); ++c) {
        if (grid.headers[c] == wanted)
            return GridPlace{-1, static_cast<int>(c)};
    }
    return std::nullopt;
}

/// The mark of the grid whose client area `client` is; none without one.
GridMark markOf(const QWidget* client)
{
    const auto* window = client ? dynamic_cast<const FormWindow*>(client->parentWidget()) : nullptr;
    return window ? window->mark() : GridMark{};
}

class GridTable;

/// The header of a column that has no header label: empty, so that every
/// column has its header at the column's own index.
class EmptyHeader : public QAccessibleInterface {
public:
    EmptyHeader(GridTable* table, int column) : m_table(table), m_column(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text) const override { return {}; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return {}; }

private:
    GridTable* m_table;
    int m_column;
};

/// The grid as one table. It has no widget of its own: the client area's
/// interface makes it and deletes it.
class GridTable : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    GridTable(QWidget* client, const GridDesign& grid) : m_client(client), m_grid(grid)
    {
        for (int c = 0; c < grid.columns; ++c) {
            const bool headed = c < static_cast<int>(grid.headers.size())
                                && !grid.headers[static_cast<std::size_t>(c)].empty();
            m_emptyHeaders.push_back(
                headed ? 0 : QAccessible::registerAccessibleInterface(new EmptyHeader(this, c)));
        }
    }
    ~GridTable() override
    {
        for (QAccessible::Id id : m_emptyHeaders) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

    QWidget* client() const { return m_client; }

    bool isValid() const override { return !m_client.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_client ? m_client->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_client.data());
    }

    /// One header per column, left to right, then the cells row by row.
    int childCount() const override { return m_grid.columns + m_grid.rows * m_grid.columns; }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (index < m_grid.columns)
            return header(index);
        index -= m_grid.columns;
        return cellAt(index / m_grid.columns, index % m_grid.columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int c = 0; c < m_grid.columns; ++c) {
            if (child && child == header(c))
                return c;
        }
        const auto* label = child ? qobject_cast<const QLabel*>(child->object()) : nullptr;
        const std::optional<GridPlace> place = label && label->parentWidget() == m_client
                                                   ? placeOf(m_grid, label->objectName())
                                                   : std::nullopt;
        if (!place || place->row < 0)
            return -1;
        return m_grid.columns + place->row * m_grid.columns + place->column;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* cell = child(i);
            if (cell && cell->rect().contains(x, y))
                return cell;
        }
        return nullptr;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (!m_client)
            return {};
        if (kind == QAccessible::Name)
            return m_client->window()->windowTitle();
        if (kind == QAccessible::Description && m_grid.describe)
            return toQString(m_grid.describe(cellTexts()));
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        QRect united;
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface* cell = child(i))
                united |= cell->rect();
        }
        return united;
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_client || !m_client->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= m_grid.rows || column < 0 || column >= m_grid.columns)
            return nullptr;
        const Labels* all = labels();
        return all ? QAccessible::queryAccessibleInterface(
                   all->cells[static_cast<std::size_t>(row * m_grid.columns + column)])
                   : nullptr;
    }
    int columnCount() const override { return m_grid.columns; }
    int rowCount() const override { return m_grid.rows; }
    QString columnDescription(int column) const override
    {
        QAccessibleInterface* head = header(column);
        return head ? head->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int) const override { return {}; }

    // The row a find marked is the selection; the user cannot select.
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        const GridMark mark = markOf(m_client);
        for (int c = mark.firstColumn; mark.isSet() && c < mark.firstColumn + mark.columns; ++c) {
            if (QAccessibleInterface* cell = cellAt(mark.row, c))
                cells << cell;
        }
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    /// The marked row, when the mark spans it whole.
    QList<int> selectedRows() const override
    {
        const GridMark mark = markOf(m_client);
        return isRowSelected(mark.row) ? QList<int>{mark.row} : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        const GridMark mark = markOf(m_client);
        return mark.isSet() && row == mark.row && mark.firstColumn == 0
               && mark.columns == m_grid.columns;
    }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    /// The header of `column`: its header label, or an empty header.
    QAccessibleInterface* header(int column) const
    {
        if (column < 0 || column >= m_grid.columns)
            return nullptr;
        if (QAccessible::Id id = m_emptyHeaders[static_cast<std::size_t>(column)])
            return QAccessible::accessibleInterface(id);
        const Labels* all = labels();
        return all ? QAccessible::queryAccessibleInterface(
                   all->headers[static_cast<std::size_t>(column)])
                   : nullptr;
    }

    /// The texts of the marked cells, or else of the first row, without
    /// their blanks, joined by commas.
    QString rowShown() const
    {
        GridMark mark = markOf(m_client);
        if (!mark.isSet())
            mark = {0, 0, m_grid.columns};
        QStringList texts;
        for (int c = mark.firstColumn; c < mark.firstColumn + mark.columns; ++c) {
            if (QAccessibleInterface* cell = cellAt(mark.row, c))
                texts << cell->text(QAccessible::Name).trimmed();
        }
        return texts.join(QStringLiteral(", "));
    }

private:
    /// The grid's labels: the header label over each column (null where
    /// none) and the cells row by row.
    struct Labels {
        std::vector<QLabel*> headers;
        std::vector<QLabel*> cells;
    };

    /// The labels, found once every one of them exists; null before.
    const Labels* labels() const
    {
        if (m_labels || !m_client)
            return m_labels ? &*m_labels : nullptr;
        const auto find = [this](std::string_view name) {
            return name.empty()
                       ? nullptr
                       : m_client->findChild<QLabel*>(toQString(name), Qt::FindDirectChildrenOnly);
        };
        Labels found;
        for (int c = 0; c < m_grid.columns; ++c) {
            const bool headed = !m_emptyHeaders[static_cast<std::size_t>(c)];
            found.headers.push_back(headed ? find(m_grid.headers[static_cast<std::size_t>(c)])
                                           : nullptr);
            if (headed && !found.headers.back())
                return nullptr;
        }
        for (std::string_view name : m_grid.cells) {
            found.cells.push_back(find(name));
            if (!found.cells.back())
                return nullptr;
        }
        m_labels = std::move(found);
        return &*m_labels;
    }

    std::vector<std::string> cellTexts() const
    {
        std::vector<std::string> texts;
        if (const Labels* all = labels()) {
            for (const QLabel* cell : all->cells)
                texts.push_back(cell->text().toStdString());
        }
        return texts;
    }

    QPointer<QWidget> m_client;
    const GridDesign& m_grid;
    std::vector<QAccessible::Id> m_emptyHeaders; ///< Per column; 0 where a label heads it.
    mutable std::optional<Labels> m_labels;
};

bool EmptyHeader::isValid() const
{
    return m_table->isValid();
}

QWindow* EmptyHeader::window() const
{
    return m_table->window();
}

QAccessibleInterface* EmptyHeader::parent() const
{
    return m_table;
}

/// Where the header row meets the column: one row above its first cell.
QRect EmptyHeader::rect() const
{
    QAccessibleInterface* first = m_table->cellAt(0, m_column);
    QAccessibleInterface* second = m_table->cellAt(1, m_column);
    if (!first || !second)
        return {};
    return first->rect().translated(0, first->rect().top() - second->rect().top());
}

/// The client area of a window with a grid: its children are the table,
/// then every control that is not part of the grid.
class GridClient : public QAccessibleWidget {
public:
    GridClient(QWidget* client, const GridDesign& grid)
        : QAccessibleWidget(client), m_grid(grid),
          m_table(QAccessible::registerAccessibleInterface(new GridTable(client, grid)))
    {
    }
    ~GridClient() override { QAccessible::deleteAccessibleInterface(m_table); }

    GridTable* table() const
    {
        return static_cast<GridTable*>(QAccessible::accessibleInterface(m_table));
    }

    int childCount() const override { return 1 + static_cast<int>(others().size()); }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return table();
        const QList<QWidget*> rest = others();
        return index > 0 && index <= rest.size()
                   ? QAccessible::queryAccessibleInterface(rest[index - 1])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child == table())
            return 0;
        const qsizetype index = others().indexOf(qobject_cast<QWidget*>(child->object()));
        return index < 0 ? -1 : static_cast<int>(index) + 1;
    }

private:
    /// The controls outside the grid, in the order they were made.
    QList<QWidget*> others() const
    {
        QList<QWidget*> rest;
        for (QObject* object : widget()->children()) {
            auto* control = qobject_cast<QWidget*>(object);
            if (control && !control->isWindow() && !placeOf(m_grid, control->objectName()))
                rest.push_back(control);
        }
        return rest;
    }

    const GridDesign& m_grid;
    QAccessible::Id m_table;
};

GridTable* tableOfClient(QWidget* client)
{
    auto* face = dynamic_cast<GridClient*>(QAccessible::queryAccessibleInterface(client));
    return face ? face->table() : nullptr;
}

/// A label in the client area of a window with a grid: a cell with its
/// row, column and header, or a column header. Its text carries the
/// language of its design. Qt may make this interface before the label has
/// its name, so the label's place is looked up when it is first asked for.
class GridLabel : public QAccessibleWidget, public QAccessibleTableCellInterface, public LabelText {
public:
    GridLabel(QLabel* label, const GridDesign& grid)
        : QAccessibleWidget(label, QAccessible::StaticText), LabelText(label), m_grid(grid)
    {
    }

    QAccessible::Role role() const override
    {
        const std::optional<GridPlace> at = place();
        if (!at)
            return QAccessible::StaticText;
        return at->row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessibleInterface* parent() const override
    {
        return place() ? table() : QAccessibleWidget::parent();
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && place() && place()->row >= 0)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selected = isSelected();
        return state;
    }
    bool isSelected() const override
    {
        const std::optional<GridPlace> at = place();
        return at && markOf(widget()->parentWidget()).contains(at->row, at->column);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        GridTable* grid = tableOfClient(widget()->parentWidget());
        QAccessibleInterface* header = grid ? grid->header(columnIndex()) : nullptr;
        return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return place().value_or(GridPlace{-1, -1}).column; }
    int rowIndex() const override { return place().value_or(GridPlace{-1, -1}).row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return tableOfClient(widget()->parentWidget()); }

private:
    std::optional<GridPlace> place() const
    {
        if (!m_place)
            m_place = placeOf(m_grid, widget()->objectName());
        return m_place;
    }

    const GridDesign& m_grid;
    mutable std::optional<GridPlace> m_place; ///< Found once; a label keeps its name.
};

/// Tells assistive technology what a page turn changed: the window's and the
/// table's description, and, through the control with the focus, the page.
void announcePage(QWidget* client)
{
    GridTable* table = tableOfClient(client);
    if (!table)
        return;
    QAccessibleEvent windowChanged(client->window(), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&windowChanged);
    QAccessibleEvent tableChanged(table, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&tableChanged);
    const QString page = table->text(QAccessible::Description);
    if (!page.isEmpty())
        announce(client->window(), page + QStringLiteral(": ") + table->rowShown());
    else if (markOf(client).isSet())
        announce(client->window(), table->rowShown());
}

constexpr char kAnnouncing[] = "dilmoraAnnouncing";

/// Announces the grid of `client` once its window is the active one, so that
/// the news follows what a screen reader says of a window that just opened;
/// a window that does not become active within a second is announced all the same.
void announceWhenActive(QWidget* client, int triesLeft)
{
    if (!client->window()->isActiveWindow() && triesLeft > 0) {
        QTimer::singleShot(50, client,
                           [client, triesLeft] { announceWhenActive(client, triesLeft - 1); });
        return;
    }
    client->setProperty(kAnnouncing, false);
    announcePage(client);
}

/// Announces the grid of `client` once the running handler has returned,
/// however many of its cells the handler changed.
void announceLater(QWidget* client)
{
    if (!QAccessible::isActive() || !gridOfClient(client) || client->property(kAnnouncing).toBool())
        return;
    client->setProperty(kAnnouncing, true);
    QTimer::singleShot(0, client, [client] { announceWhenActive(client, 20); });
}

} // namespace

QAccessibleInterface* gridInterface(QWidget* widget)
{
    if (const GridDesign* grid = gridOfClient(widget))
        return new GridClient(widget, *grid);
    const GridDesign* grid = gridOfClient(widget->parentWidget());
    auto* label = qobject_cast<QLabel*>(widget);
    if (!grid || !label)
        return nullptr;
    // A label that is not (or not yet) named as part of the grid may still
    // get its name: only a named label outside the grid is left to others.
    if (!label->objectName().isEmpty() && !placeOf(*grid, label->objectName()))
        return nullptr;
    return new GridLabel(label, *grid);
}

QString gridDescription(QWidget* client)
{
    GridTable* table = tableOfClient(client);
    return table ? table->text(QAccessible::Description) : QString();
}

void gridCaptionChanged(QWidget* label)
{
    // A page turn sets every cell: the news waits until the handler has run.
    announceLater(label ? label->parentWidget() : nullptr);
}

void gridMarkShown(QWidget* client)
{
    announceLater(client);
}

void gridMarkChanged(QWidget* client, const GridMark& before, const GridMark& after)
{
    GridTable* table = QAccessible::isActive() ? tableOfClient(client) : nullptr;
    if (!table)
        return;
    // Qt's bridges pass a selection event on as the cell's selected state
    // (AT-SPI) or as an element selected (UI Automation); a state change
    // event would not carry it.
    for (const GridMark& mark : {before, after}) {
        for (int c = mark.firstColumn; mark.isSet() && c < mark.firstColumn + mark.columns; ++c) {
            const bool selected = after.contains(mark.row, c);
            if (before.contains(mark.row, c) == selected)
                continue;
            if (QAccessibleInterface* cell = table->cellAt(mark.row, c)) {
                QAccessibleEvent changed(cell, selected ? QAccessible::SelectionAdd
                                                        : QAccessible::SelectionRemove);
                QAccessible::updateAccessibility(&changed);
            }
        }
    }
}

} // namespace dilmora::runtime
