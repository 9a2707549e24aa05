#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace platform {

class DataSet;

// Shows a DataSet in a table model without copying its rows: one column
// per field, titled with the field's label.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(DataSet* dataSet, QObject* parent = nullptr);

    DataSet* dataSet() const { return dataSet_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Columns that may be edited through the model (none by default).
    void setEditable(bool editable) { editable_ = editable; }

private:
    QPointer<DataSet> dataSet_;
    bool editable_ = false;
    int columns_ = 0;
};

} // namespace platform
