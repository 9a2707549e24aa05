#pragma once

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;
class SalidaGrilla;

namespace platform {
class DataConnection;
class DataGrid;
class DataSet;
class PdfRenderer;
class ReportProject;
class ReportSystem;
class TextRenderer;
} // namespace platform

// Audit reports: the audit trail of the working company by user, by date or
// by document type, printed through the report engine or exported from a
// hidden grid. One run per window: the window closes after it.
class Tfauditoria : public QWidget {
    Q_OBJECT
public:
    explicit Tfauditoria(QWidget* owner);

    QGroupBox* RgTipo;
    QComboBox* LUsuario;
    QDateEdit* Fecini;
    QDateEdit* Fecfin;
    QComboBox* LTipo;
    QLineEdit* Cod;
    QToolButton* imprimir;
    QToolButton* botonExportar;
    QToolButton* SpeedButton2;
    QLabel* Panel5;
    platform::DataGrid* DBGridEh1;

    platform::DataSet* CUsuarios;
    platform::DataSet* CTipodoc;
    platform::DataSet* CRepauditor;
    platform::DataConnection* RAuditor;
    platform::ReportSystem* RvSystem1;
    platform::ReportProject* RvProject1;
    platform::PdfRenderer* RvRenderPDF1;
    platform::TextRenderer* RvRenderText1;

    // The chosen kind of report (the radio group's item index).
    int tipo() const;
    void setTipo(int indice);

    void imprimirClick();
    void botonExportarClick();
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    bool FormKeyDown(QKeyEvent* event);
    void FormClose();
    // The code of the chosen document type; false when the typed name is none.
    bool tipoDocumento(int& codigo);
    void generar();

    QButtonGroup* opcionesTipo_;
    SalidaGrilla* salida_;
    bool exportar_ = false;
    bool dimensionada_ = false;
};
