#pragma once

#include <QDialog>

class QKeyEvent;
class QTableView;
namespace platform {
class DataSet;
}

// Chooser of the working company among those assigned to the logged-in user.
class Tfcompanias : public QDialog {
    Q_OBJECT
public:
    explicit Tfcompanias(QWidget* owner);

    void SeleccionaClick();
    void SalirClick();

    QTableView* DBGrid1 = nullptr;
    platform::DataSet* CCompania = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
};
