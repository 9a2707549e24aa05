#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class SalidaGrilla;

namespace platform {
class DataGrid;
class DataNavigator;
class DataSet;
} // namespace platform

// User procedures: runs a registered stored procedure with a date range and
// its extra parameters and shows the rows with sums of the numeric columns.
class Tfprocusr : public QWidget {
    Q_OBJECT
public:
    explicit Tfprocusr(QWidget* owner);

    void LProcesoChange();
    void SpeedButton5Click();
    void ckfiltroClick();
    void SBGrabarClick();
    void SBCancelarClick();

    platform::DataSet* CProcesos = nullptr;
    platform::DataSet* CProcusr = nullptr;

    QComboBox* LProceso = nullptr;
    QDateEdit* EFecIni = nullptr;
    QDateEdit* EFecFin = nullptr;
    QLabel* Labpar[5] = {};
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* ckfiltro = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    platform::DataGrid* DBGridEh1 = nullptr;
    platform::DataNavigator* DBNavigator1 = nullptr;
    QLabel* Panel3 = nullptr;
    QToolButton* SBGrabar = nullptr;
    QToolButton* SBCancelar = nullptr;
    // Save, select-all, copy and preview of the grid, with its pop-up menu.
    SalidaGrilla* salida = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void construir();
    void ejecutar();
    QList<QLineEdit*> parametros() const { return {Edit1, Edit2, Edit3, Edit5, Edit6}; }

    bool cerrarAlTerminar_ = false;
};
