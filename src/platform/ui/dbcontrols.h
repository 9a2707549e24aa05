#pragma once

#include <QString>

class QCheckBox;
class QLineEdit;

namespace platform {

class DataSet;

// Data-aware controls: an edit or a check box shows one field of the
// current row of a DataSet and writes what the person types into it
// (putting the DataSet in edit mode when it is browsing). The control
// follows the DataSet while both live.

// A line edit on a field; its length limit is the field's size unless
// `maxLength` is given. Empty text is a null value.
void bindEdit(QLineEdit* edit, DataSet* dataSet, const QString& field, int maxLength = 0);

// A check box storing `checked` or `unchecked` ("S", "N").
void bindCheck(QCheckBox* box, DataSet* dataSet, const QString& field, const QString& checked,
               const QString& unchecked);

} // namespace platform
