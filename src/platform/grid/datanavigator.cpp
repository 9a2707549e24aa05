#include "platform/grid/datanavigator.h"

#include "platform/data/dataset.h"
#include "platform/ui/dialogs.h"

#include <QAction>
#include <QStyle>

namespace platform {

namespace {
struct ButtonInfo {
    DataNavigator::Button button;
    const char* name;
    const char* hint;
    QStyle::StandardPixmap icon;
};
const ButtonInfo kButtons[] = {
    {DataNavigator::First, "First", "Primero", QStyle::SP_MediaSkipBackward},
    {DataNavigator::Prior, "Prior", "Anterior", QStyle::SP_MediaSeekBackward},
    {DataNavigator::Next, "Next", "Siguiente", QStyle::SP_MediaSeekForward},
    {DataNavigator::Last, "Last", "Último", QStyle::SP_MediaSkipForward},
    {DataNavigator::Insert, "Insert", "Insertar", QStyle::SP_FileDialogNewFolder},
    {DataNavigator::Delete, "Delete", "Borrar", QStyle::SP_TrashIcon},
    {DataNavigator::Edit, "Edit", "Modificar", QStyle::SP_FileDialogDetailedView},
    {DataNavigator::Post, "Post", "Grabar", QStyle::SP_DialogApplyButton},
    {DataNavigator::Cancel, "Cancel", "Cancelar", QStyle::SP_DialogCancelButton},
    {DataNavigator::Refresh, "Refresh", "Refrescar", QStyle::SP_BrowserReload},
};
} // namespace

DataNavigator::DataNavigator(QWidget* parent, int buttons)
    : QToolBar(parent) {
    setIconSize(QSize(16, 16));
    for (const ButtonInfo& info : kButtons) {
        if (!(buttons & info.button))
            continue;
        QAction* action = addAction(style()->standardIcon(info.icon), QString::fromUtf8(info.hint));
        action->setObjectName(QString::fromLatin1(info.name));
        const Button which = info.button;
        connect(action, &QAction::triggered, this, [this, which] { run(which); });
        actions_.append({which, action});
    }
    updateButtons();
}

void DataNavigator::setDataSet(DataSet* dataSet) {
    if (dataSet_)
        disconnect(dataSet_, nullptr, this, nullptr);
    dataSet_ = dataSet;
    if (dataSet_) {
        connect(dataSet_, &DataSet::reset, this, &DataNavigator::updateButtons);
        connect(dataSet_, &DataSet::stateChanged, this, &DataNavigator::updateButtons);
        connect(dataSet_, &DataSet::currentChanged, this, &DataNavigator::updateButtons);
        connect(dataSet_, &DataSet::rowInserted, this, &DataNavigator::updateButtons);
        connect(dataSet_, &DataSet::rowRemoved, this, &DataNavigator::updateButtons);
        connect(dataSet_, &QObject::destroyed, this, [this] {
            dataSet_ = nullptr;
            updateButtons();
        });
    }
    updateButtons();
}

QAction* DataNavigator::button(Button which) const {
    for (const auto& [b, action] : actions_)
        if (b == which)
            return action;
    return nullptr;
}

void DataNavigator::click(Button which) {
    if (QAction* action = button(which); action && action->isEnabled())
        action->trigger();
}

void DataNavigator::updateButtons() {
    const bool open = dataSet_ && dataSet_->isOpen();
    const bool editing = open && (dataSet_->state() == DataSet::State::Edit ||
                                  dataSet_->state() == DataSet::State::Insert);
    const int row = open ? dataSet_->currentRow() : -1;
    const int count = open ? dataSet_->rowCount() : 0;
    for (const auto& [which, action] : actions_) {
        bool on = open;
        switch (which) {
        case First:
        case Prior:
            on = open && row > 0;
            break;
        case Next:
        case Last:
            on = open && row >= 0 && row < count - 1;
            break;
        case Delete:
            on = open && count > 0;
            break;
        case Edit:
            on = open && !editing && count > 0;
            break;
        case Post:
        case Cancel:
            on = editing;
            break;
        default:
            break;
        }
        action->setEnabled(on);
    }
}

void DataNavigator::run(Button which) {
    if (!dataSet_ || !dataSet_->isOpen())
        return;
    switch (which) {
    case First:
        dataSet_->first();
        break;
    case Prior:
        dataSet_->prior();
        break;
    case Next:
        dataSet_->next();
        break;
    case Last:
        dataSet_->last();
        break;
    case Insert:
        dataSet_->insert();
        break;
    case Delete:
        if (Dialogs::instance().confirm(window(), QStringLiteral("¿Borrar el registro?")))
            dataSet_->remove();
        break;
    case Edit:
        dataSet_->edit();
        break;
    case Post:
        dataSet_->post();
        break;
    case Cancel:
        dataSet_->cancel();
        break;
    case Refresh:
        if (onRefresh)
            onRefresh();
        else
            dataSet_->refresh();
        break;
    default:
        break;
    }
    updateButtons();
}

} // namespace platform
