// The table face of a design's grid, built from Qt's accessibility
// interfaces: the client area holds one table, the table holds the grid's
// header and cell labels, and each label answers as a cell of it.
//
// Every answer is read from the widgets when it is asked for: the texts are
// the labels' own, so a page turn shows at once. Nothing here decides from
// state that a widget gets only after its construction, because Qt may ask
// for an interface, and keep it, while a widget is still being built.
#include "runtime/grid_accessibility.h"

#include "runtime/design.h"
#include "runtime/form_window.h"
#include "runtime/look.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace dilmora::runtime {

namespace {

/// The grid of the window whose client area `widget` is, or null.
const GridDesign* gridOfClient(const QWidget* widget)
{
    const auto* window = widget ? dynamic_cast<const FormWindow*>(widget->parentWidget()) : nullptr;
    if (!window || widget->inherits("QMenuBar"))
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

QLabel* labelNamed(QWidget* client, std::string_view name)
{
    if (!client || name.empty())
        return nullptr;
    return client->findChild<QLabel*>(toQString(name), Qt::FindDirectChildrenOnly);
}

/// The grid as one table. It has no widget of its own: the client area's
/// interface makes it and deletes it.
class GridTable : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    GridTable(QWidget* client, const GridDesign& grid)
        : m_client(client), m_key(client), m_grid(grid)
    {
        made().insert(m_key, this);
    }
    ~GridTable() override { made().remove(m_key); }

    /// The table of a client area, if assistive technology has asked for it.
    static GridTable* of(const QWidget* client) { return made().value(client); }

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

    /// Header labels first, left to right, then the cells row by row.
    int childCount() const override
    {
        return static_cast<int>(headers().size()) + m_grid.rows * m_grid.columns;
    }
    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QLabel*> heads = headers();
        const int headerCount = static_cast<int>(heads.size());
        if (index < 0 || index >= childCount())
            return nullptr;
        if (index < headerCount)
            return QAccessible::queryAccessibleInterface(heads[static_cast<std::size_t>(index)]);
        index -= headerCount;
        return cellAt(index / m_grid.columns, index % m_grid.columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* label = child ? qobject_cast<const QLabel*>(child->object()) : nullptr;
        const std::optional<GridPlace> place = label && label->parentWidget() == m_client
                                                   ? placeOf(m_grid, label->objectName())
                                                   : std::nullopt;
        if (!place)
            return -1;
        const std::vector<QLabel*> heads = headers();
        if (place->row < 0)
            return static_cast<int>(std::ranges::find(heads, label) - heads.begin());
        return static_cast<int>(heads.size()) + place->row * m_grid.columns + place->column;
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
        const auto index = static_cast<std::size_t>(row * m_grid.columns + column);
        return QAccessible::queryAccessibleInterface(labelNamed(m_client, m_grid.cells[index]));
    }
    int columnCount() const override { return m_grid.columns; }
    int rowCount() const override { return m_grid.rows; }
    QString columnDescription(int column) const override
    {
        QLabel* header = headerOver(column);
        return header ? header->text() : QString();
    }
    QString rowDescription(int) const override { return {}; }

    // Nothing in the grid can be selected.
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    /// Tells assistive technology, once, after the handler that changes the
    /// cells has run, that the description may be new (a page turn sets
    /// every cell, and the description is read from all of them).
    void cellsChanged()
    {
        if (m_announcing)
            return;
        m_announcing = true;
        QTimer::singleShot(0, m_client, [this] {
            m_announcing = false;
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        });
    }

    /// The header label over `column`, or null where the column has none.
    QLabel* headerOver(int column) const
    {
        if (column < 0 || column >= static_cast<int>(m_grid.headers.size()))
            return nullptr;
        return labelNamed(m_client, m_grid.headers[static_cast<std::size_t>(column)]);
    }

private:
    std::vector<QLabel*> headers() const
    {
        std::vector<QLabel*> labels;
        for (int c = 0; c < m_grid.columns; ++c) {
            if (QLabel* header = headerOver(c))
                labels.push_back(header);
        }
        return labels;
    }

    std::vector<std::string> cellTexts() const
    {
        std::vector<std::string> texts;
        for (std::string_view name : m_grid.cells) {
            const QLabel* cell = labelNamed(m_client, name);
            texts.push_back(cell ? cell->text().toStdString() : std::string());
        }
        return texts;
    }

    static QHash<const QWidget*, GridTable*>& made()
    {
        static QHash<const QWidget*, GridTable*> tables;
        return tables;
    }

    QPointer<QWidget> m_client;
    const QWidget* m_key; ///< The client area, also while it is being destroyed.
    const GridDesign& m_grid;
    bool m_announcing = false;
};

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
/// row, column and header, a column header, or (outside the grid) plain
/// text. Qt may make this interface before the label has its name, so the
/// label's place is looked up when it is first asked for.
class GridLabel : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    GridLabel(QLabel* label, const GridDesign& grid)
        : QAccessibleWidget(label, QAccessible::StaticText), m_grid(grid)
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
        return QAccessibleWidget::interface_cast(type);
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        GridTable* grid = tableOfClient(widget()->parentWidget());
        QLabel* header = grid ? grid->headerOver(columnIndex()) : nullptr;
        if (!header)
            return {};
        return {QAccessible::queryAccessibleInterface(header)};
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

QAccessibleInterface* gridFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (const GridDesign* grid = gridOfClient(widget))
        return new GridClient(widget, *grid);
    const GridDesign* grid = gridOfClient(widget->parentWidget());
    auto* label = qobject_cast<QLabel*>(widget);
    return grid && label ? new GridLabel(label, *grid) : nullptr;
}

} // namespace

void installGridAccessibility()
{
    QAccessible::installFactory(gridFactory);
}

void gridCaptionChanged(QWidget* label)
{
    if (GridTable* table = label ? GridTable::of(label->parentWidget()) : nullptr)
        table->cellsChanged();
}

} // namespace dilmora::runtime
