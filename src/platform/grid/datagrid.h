#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <vector>

class QTimer;

namespace platform {

class DataSet;
class DataSetModel;
class FindDialog;
class GridFilterBar;
class GridFooter;
class GridHeader;

// One column of a DataGrid, bound to a field of its DataSet.
struct GridColumn {
    enum class Button { None, Ellipsis, Auto }; // the edit button of the cell
    QString field;
    QString title; // empty: the field's label
    int width = 0; // 0: from the field's size
    int minWidth = 0;
    int maxWidth = 0; // 0: no limit
    bool visible = true;
    bool readOnly = true;
    // Check-box column: the values stored for checked and unchecked ("S", "N").
    QString checkedValue;
    QString uncheckedValue;
    QString displayFormat; // "#,###.00" for numbers
    bool footerSum = false;
    QString footerFormat;
    QColor footerColor;
    QStringList pickList; // drop-down values of the cell editor
    Button button = Button::None;
    // With fitting to the width on, whether this column takes part in it
    // (false keeps its own width).
    bool fitted = true;

    bool isCheckBox() const { return !checkedValue.isEmpty() || !uncheckedValue.isEmpty(); }
};

// What an export or a copy takes from the grid: the selected rows under the
// visible columns in grid order; with no row selected, the focused cell.
struct GridSelection {
    QList<int> rows;                    // visible rows of the DataSet, ascending
    QList<QPair<int, QString>> columns; // field index and title, in grid order
};

// The data grid of the system's windows, over a DataSet: titles, widths,
// sorting by title clicks (Ctrl+click adds a column), a filter row and a
// footer with sums, check-box columns, incremental search, a find dialog,
// row and focus highlight, multi-row selection and the permitted actions.
//
// Selection works as in the old grids: a plain click or arrow key moves the
// current row without selecting it; Ctrl+click toggles a row, Shift extends;
// select-all (when permitted) selects every row.
//
// Columns: setColumns() fixes them (fields not listed are hidden); without
// it, every result gets one column per field. After changing columns through
// column(), call applyColumns() for widths and visibility (formats, pick
// lists and buttons are read when painting and editing).
//
// Editing: a cell is edited when the grid is not read-only and its column is
// not read-only. setReadOnly(true) locks every cell; a column's edit button
// stays pressable while locked, so a handler of editButtonDown may unlock
// the grid and the cell then opens for typing or picking.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    enum Action { Copy = 1, SelectAll = 2 };

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return dataSet_; }
    DataSetModel* dataModel() const { return model_; }

    // Columns in grid order; with none set, one per field of each result.
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return columns_; }
    GridColumn& column(const QString& field);
    // Applies titles, widths, visibility and order of columns() to the view.
    void applyColumns();
    // Columns as shown now (after moves), for exports: field index and title.
    QList<QPair<int, QString>> visibleColumns() const;
    // The title of a field's column.
    QString columnTitle(int field) const;

    void setAllowedActions(int actions) { actions_ = actions; }
    int allowedActions() const { return actions_; }

    void setFilterRowVisible(bool visible);
    bool filterRowVisible() const { return filterRowVisible_; }
    // The filter row's text of a field; setting it filters at once. A text
    // keeps the rows whose cell contains it (ignoring case); "=", "<>", "<",
    // "<=", ">" and ">=" in front compare instead (numbers and dates by value).
    void setFilterText(const QString& field, const QString& text);
    QString filterText(const QString& field) const;
    void clearFilters();

    void setFooterVisible(bool visible);
    bool footerVisible() const { return footerVisible_; }
    void recalcFooter();
    // The footer text of a column (its sum in its footer format).
    QString footerText(const QString& field) const;

    void setFitColumnsToWidth(bool fit);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    // Enter moves to the next cell (and the next row after the last column).
    void setEnterMovesLikeTab(bool on) { enterAsTab_ = on; }
    bool cellEditable(const QModelIndex& index) const;
    bool isEditing() const { return state() == EditingState; } // a cell editor is open

    // Sorting as by title clicks: the field joins the sort keys (add) or
    // replaces them; a field already sorted alone turns its direction.
    void sortByField(int field, bool add);

    // Selection: the selected rows, or the current row when none is selected.
    QList<int> selectedRowList() const;
    // What an export or a copy takes (see GridSelection).
    GridSelection currentSelection() const;
    bool canSelectAll() const;
    void selectAllRows();
    void selectAll() override; // honours the permitted actions
    void copyToClipboard();

    // Incremental search: the text typed so far, matched against the start
    // of the current column's cells.
    QString searchText() const { return search_; }
    // The find dialog's search: from the row after (or before) the current
    // one; field -1 looks in every visible column. True when found.
    bool findNext(const QString& text, int field, bool matchCase, bool wholeField,
                  bool forward = true);
    void showFindDialog();

    // Text a cell shows (display format, check box as its value).
    QString displayText(int row, int field) const;
    // A cell's edit button area (valid only on the current cell of a column
    // with a button).
    QRect editButtonRect(const QModelIndex& index) const;
    // Presses the current cell's edit button (mouse, Alt+Down or Ctrl+Enter).
    void pressEditButton();
    int columnIndexOfField(int field) const;           // index in columns(); -1 if none
    const GridColumn* columnForField(int field) const; // nullptr if none

signals:
    void editButtonDown(int column);    // the cell's button was pressed
    void editButtonClicked(int column); // the ellipsis button was clicked

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

    DataSet* dataSet_ = nullptr;
    DataSetModel* model_ = nullptr;
    QList<GridColumn> columns_;
    int actions_ = 0;
    bool filterRowVisible_ = false;
    bool footerVisible_ = false;
    bool fitColumns_ = false;

private:
    friend class GridModel;
    friend class GridDelegate;
    friend class GridFooter;
    friend class GridFilterBar;

    void modelWasReset();
    void followCurrentRow();
    void rebuildFieldMap();
    void autoColumnsFromFields();
    int defaultWidth(int field) const;
    void fitToWidth();
    void sectionResizedByUser(int logical, int oldSize, int newSize);
    void sectionMovedByUser(int logical, int oldVisual, int newVisual);
    void applyFilters();
    void invalidateFooter();
    bool incrementalSearch(const QString& typed);
    void layoutBars();

    bool autoColumns_ = true;
    bool predicateSet_ = false;
    QStringList lastFieldNames_;
    bool readOnly_ = true;
    bool enterAsTab_ = false;
    bool applying_ = false;
    bool inGeometry_ = false;
    std::vector<int> fieldColumn_;    // field index -> index in columns_
    QHash<QString, QString> filters_; // upper-case field name -> filter text
    mutable bool footerDirty_ = true;
    mutable QHash<int, QString> footerCache_;
    QString search_;
    qint64 lastSearchKey_ = 0;
    GridHeader* header_ = nullptr;
    GridFilterBar* filterBar_ = nullptr;
    GridFooter* footer_ = nullptr;
    FindDialog* findDialog_ = nullptr;
    QTimer* filterTimer_ = nullptr;
};

// Number in a display format of the old kind: "#,###.00", "#,##0.00",
// "0.000", "#,###". The value is a plain decimal text ("-1234.5").
QString formatDecimal(const QString& format, const QString& decimalText);

} // namespace platform
