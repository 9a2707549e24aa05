#pragma once

#include <QToolBar>
#include <functional>

namespace platform {

class DataSet;

// The navigator bar of a DataSet: first, prior, next, last, insert, delete,
// edit, post, cancel and refresh, each enabled as the dataset allows.
class DataNavigator : public QToolBar {
    Q_OBJECT
public:
    enum Button {
        First = 1 << 0,
        Prior = 1 << 1,
        Next = 1 << 2,
        Last = 1 << 3,
        Insert = 1 << 4,
        Delete = 1 << 5,
        Edit = 1 << 6,
        Post = 1 << 7,
        Cancel = 1 << 8,
        Refresh = 1 << 9,
        All = (1 << 10) - 1,
    };

    explicit DataNavigator(QWidget* parent = nullptr, int buttons = All);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return dataSet_; }
    // The action of a button (objectName "First", "Prior", ...); null when not shown.
    QAction* button(Button which) const;
    // Runs a button as a click would.
    void click(Button which);

    // Replaces what refresh does (a window that shows a waiting panel).
    std::function<void()> onRefresh;

private:
    void updateButtons();
    void run(Button which);

    DataSet* dataSet_ = nullptr;
    QList<QPair<Button, QAction*>> actions_;
};

} // namespace platform
