#include "platform/grid/datagrid.h"

#include "platform/data/dataset.h"
#include "platform/data/datasetmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>

namespace platform {

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(22);
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSet(DataSet* dataSet) {
    dataSet_ = dataSet;
    model_ = new DataSetModel(dataSet, this);
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && dataSet_->isOpen() && dataSet_->currentRow() != index.row())
                    dataSet_->setCurrentRow(index.row());
            });
    connect(dataSet, &DataSet::currentChanged, this, [this](int row) {
        if (row >= 0 && currentIndex().row() != row)
            setCurrentIndex(model_->index(row, std::max(0, currentIndex().column())));
    });
}

void DataGrid::setColumns(const QList<GridColumn>& columns) { columns_ = columns; }

GridColumn& DataGrid::column(const QString& field) {
    for (GridColumn& c : columns_)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    columns_.append(GridColumn{field});
    return columns_.last();
}

QList<QPair<int, QString>> DataGrid::visibleColumns() const {
    QList<QPair<int, QString>> list;
    if (!dataSet_)
        return list;
    for (int f = 0; f < dataSet_->fieldCount(); ++f)
        if (!isColumnHidden(f))
            list.append({f, dataSet_->field(f).displayLabel()});
    return list;
}

void DataGrid::setFilterRowVisible(bool visible) { filterRowVisible_ = visible; }

void DataGrid::setFooterVisible(bool visible) { footerVisible_ = visible; }

void DataGrid::recalcFooter() {}

QString DataGrid::footerText(const QString&) const { return {}; }

void DataGrid::setFitColumnsToWidth(bool fit) {
    fitColumns_ = fit;
    horizontalHeader()->setStretchLastSection(fit);
}

void DataGrid::setReadOnly(bool readOnly) {
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
}

QList<int> DataGrid::selectedRowList() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && currentIndex().isValid())
        rows << currentIndex().row();
    return rows;
}

bool DataGrid::canSelectAll() const {
    return (actions_ & SelectAll) && dataSet_ && dataSet_->isOpen() && !dataSet_->isEmpty();
}

void DataGrid::selectAllRows() {
    if (canSelectAll())
        QTableView::selectAll();
}

void DataGrid::copyToClipboard() {}

} // namespace platform
