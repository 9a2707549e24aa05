#include "platform/data/datasetmodel.h"

#include "platform/data/dataset.h"

namespace platform {

DataSetModel::DataSetModel(DataSet* dataSet, QObject* parent)
    : QAbstractTableModel(parent)
    , dataSet_(dataSet) {
    columns_ = dataSet->isOpen() ? dataSet->fieldCount() : 0;
    connect(dataSet, &DataSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataSet, &DataSet::reset, this, [this] {
        columns_ = dataSet_->isOpen() ? dataSet_->fieldCount() : 0;
        endResetModel();
    });
    connect(dataSet, &DataSet::aboutToInsertRow, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(dataSet, &DataSet::rowInserted, this, [this] { endInsertRows(); });
    connect(dataSet, &DataSet::aboutToRemoveRow, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(dataSet, &DataSet::rowRemoved, this, [this] { endRemoveRows(); });
    connect(dataSet, &DataSet::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, std::max(0, columns_ - 1)));
    });
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !dataSet_ || !dataSet_->isOpen())
        return 0;
    return dataSet_->rowCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !dataSet_ || !dataSet_->isOpen())
        return {};
    const int row = index.row();
    const int col = index.column();
    const bool editingThisRow =
        (dataSet_->state() == DataSet::State::Edit) && row == dataSet_->currentRow();
    switch (role) {
    case Qt::DisplayRole:
        if (editingThisRow)
            return dataSet_->value(col).toString();
        return dataSet_->textAt(row, col);
    case Qt::EditRole:
        return editingThisRow ? dataSet_->value(col) : dataSet_->valueAt(row, col);
    case Qt::TextAlignmentRole:
        return dataSet_->field(col).isNumber() ? int(Qt::AlignRight | Qt::AlignVCenter)
                                               : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (!dataSet_ || section >= dataSet_->fieldCount())
        return {};
    return dataSet_->field(section).displayLabel();
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable_)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || role != Qt::EditRole || !dataSet_)
        return false;
    dataSet_->setCurrentRow(index.row());
    dataSet_->edit();
    dataSet_->setValue(index.column(), value);
    dataSet_->post();
    return true;
}

} // namespace platform
