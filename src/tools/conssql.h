#pragma once

#include <QWidget>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class SalidaGrilla;

namespace platform {
class DataGrid;
class DataNavigator;
class DataSet;
} // namespace platform

// SQL query console: runs the statement typed by the administrator on the
// company connection and shows the rows it returns.
class Tfconssql : public QWidget {
    Q_OBJECT
public:
    explicit Tfconssql(QWidget* owner);

    void SpeedButton5Click();
    void ckFiltrosClick();
    void SpeedButton3Click();
    bool FormKeyDown(QKeyEvent* event);

    platform::DataSet* CRepAuditor = nullptr;

    QPlainTextEdit* Memo1 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QCheckBox* ckFiltros = nullptr;
    platform::DataGrid* DBGridEh1 = nullptr;
    platform::DataNavigator* DBNavigator1 = nullptr;
    QLabel* Panel5 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    // Save, select-all, copy and preview of the focused grid, with the pop-up menu.
    SalidaGrilla* salida = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ejecutar();

    bool cerrarAlTerminar_ = false;
};
