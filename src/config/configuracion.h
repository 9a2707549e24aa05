#pragma once

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class DataGrid;
class DataSet;
} // namespace platform

// "Configuración": the configuration parameters of the working company by
// module and category. The value cell opens only through its button: a
// drop-down of the allowed values or of the printer codes, the colour
// dialog, or typing. Changes stay in memory until "Grabar cambios".
class Tfconfiguracion : public QWidget {
    Q_OBJECT
public:
    explicit Tfconfiguracion(QWidget* owner);
    ~Tfconfiguracion() override;

    void FormCreate();
    void FormActivate();
    bool FormKeyDown(QKeyEvent* event);
    void TreeView1Click();
    void TreeView1Change();
    void CconfiguraAfterScroll();
    void DBGridEh1Columns3EditButtonDown();
    void DBGridEh1Columns3EditButtonClick();
    void CconfiguraCONF_VALORChange();
    void SpeedButton1Click();    // "Deshacer cambios"
    void SpeedButton2Click();    // "Salir de configuración"
    void SpeedButton3Click();    // "Grabar cambios"
    void SpeedButton4Click();    // "Buscar"
    void PngSpeedButton1Click(); // " Buscar"
    void PngSpeedButton2Click(); // " Salir"

    // Working state.
    bool categoria_abierta = false;
    QStringList lista_posibles;
    QStringList lista_impresoras;

    platform::DataSet* Cconfigura = nullptr;
    platform::DataSet* CBuscar = nullptr;

    QLabel* Panel1 = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* Panel8 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    platform::DataGrid* DBGridEh1 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* PngSpeedButton1 = nullptr;
    QToolButton* PngSpeedButton2 = nullptr;
    platform::DataGrid* DBGridEh2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void construir();
    QWidget* construirBotones();
    QWidget* construirBusqueda();
    void construirArbol();
    void mostrarAyuda();
    void habilitarCambios(bool habilitar);
    void bloquearValor(bool bloquear);

    bool activacionConectada_ = false;
};
