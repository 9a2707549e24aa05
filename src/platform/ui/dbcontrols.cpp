#include "platform/ui/dbcontrols.h"

#include "platform/data/dataset.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace platform {

namespace {

// Calls `show` whenever what the DataSet shows for its current row may
// have changed.
template <typename Control, typename Show>
void follow(Control* control, DataSet* dataSet, Show show) {
    QObject::connect(dataSet, &DataSet::reset, control, show);
    QObject::connect(dataSet, &DataSet::currentChanged, control, show);
    QObject::connect(dataSet, &DataSet::rowChanged, control, show);
    QObject::connect(dataSet, &DataSet::stateChanged, control, show);
    show();
}

void editing(DataSet* dataSet) {
    if (dataSet->state() == DataSet::State::Browse)
        dataSet->edit();
}

} // namespace

static bool isWhole(const FieldDef& def) {
    return def.kind == FieldKind::Integer || def.kind == FieldKind::LargeInt;
}

void bindEdit(QLineEdit* edit, DataSet* dataSet, const QString& field, int maxLength) {
    const FieldDef& def = dataSet->field(dataSet->fieldIndex(field));
    if (def.isText())
        edit->setMaxLength(maxLength > 0 ? maxLength : def.size);
    else if (maxLength > 0)
        edit->setMaxLength(maxLength);
    if (isWhole(def))
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?\\d{0,18}")), edit));
    follow(edit, dataSet, [edit, dataSet, field] {
        const QString text = dataSet->isOpen() ? dataSet->text(field) : QString();
        if (edit->text() != text)
            edit->setText(text);
    });
    QObject::connect(edit, &QLineEdit::textEdited, dataSet, [dataSet, field](const QString& text) {
        if (!dataSet->isOpen())
            return;
        editing(dataSet);
        const FieldDef& def = dataSet->field(dataSet->fieldIndex(field));
        if (text.isEmpty())
            dataSet->setValue(field, QVariant());
        else if (isWhole(def))
            dataSet->setValue(field, text.toLongLong());
        else
            dataSet->setValue(field, text);
    });
}

void bindCheck(QCheckBox* box, DataSet* dataSet, const QString& field, const QString& checked,
               const QString& unchecked) {
    follow(box, dataSet, [box, dataSet, field, checked] {
        const bool on = dataSet->isOpen() && dataSet->text(field) == checked;
        if (box->isChecked() != on)
            box->setChecked(on);
    });
    QObject::connect(box, &QCheckBox::clicked, dataSet,
                     [dataSet, field, checked, unchecked](bool on) {
                         if (!dataSet->isOpen())
                             return;
                         editing(dataSet);
                         dataSet->setValue(field, on ? checked : unchecked);
                     });
}

} // namespace platform
