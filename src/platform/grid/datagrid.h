#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTableView>

namespace platform {

class DataSet;
class DataSetModel;

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
};

// The data grid of the system's windows, over a DataSet: titles, widths,
// sorting by title clicks (Ctrl+click adds a column), a filter row and a
// footer with sums, check-box columns, incremental search, a find dialog,
// row and focus highlight, multi-row selection and the permitted actions.
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
    // Columns as shown now (after moves), for exports: field index and title.
    QList<QPair<int, QString>> visibleColumns() const;

    void setAllowedActions(int actions) { actions_ = actions; }
    int allowedActions() const { return actions_; }

    void setFilterRowVisible(bool visible);
    bool filterRowVisible() const { return filterRowVisible_; }
    void setFooterVisible(bool visible);
    bool footerVisible() const { return footerVisible_; }
    void recalcFooter();
    // The footer text of a column (its sum in its footer format).
    QString footerText(const QString& field) const;

    void setFitColumnsToWidth(bool fit);
    void setReadOnly(bool readOnly);

    // Selection: the selected rows, or the current row when none is selected.
    QList<int> selectedRowList() const;
    bool canSelectAll() const;
    void selectAllRows();
    void copyToClipboard();

signals:
    void editButtonDown(int column);    // the cell's button was pressed
    void editButtonClicked(int column); // the ellipsis button was clicked

protected:
    DataSet* dataSet_ = nullptr;
    DataSetModel* model_ = nullptr;
    QList<GridColumn> columns_;
    int actions_ = 0;
    bool filterRowVisible_ = false;
    bool footerVisible_ = false;
    bool fitColumns_ = false;
};

} // namespace platform
