#pragma once

#include "platform/reports/reportsystem.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class SalidaGrilla;
namespace platform {
class DataConnection;
class DataGrid;
class DataSet;
class PdfRenderer;
class ReportProject;
class TextRenderer;
} // namespace platform

// Edits what one user may do in one company: the option tree of every
// module, the user's branch and profile in the company, and a copy of the
// user's stored rights onto another user. While it is open the company
// connection points at that company; it is back on the working company
// when the window closes, whatever happened.
class Tfaccesousuario : public QDialog {
    Q_OBJECT
public:
    explicit Tfaccesousuario(QWidget* owner);
    ~Tfaccesousuario() override;

    // Node data of the option tree.
    enum Rol { RolModulo = Qt::UserRole, RolNumero, RolEstado, RolEsOpcion };

    void lea_opciones_user(const QString& usuario);
    void SpeedButton1Click(); // F2: save
    void SpeedButton5Click(); // F8: copy panel
    void SpeedButton4Click(); // Esc on the copy panel: close it
    void SpeedButton2Click(); // F5: copy the rights
    void SpeedButton6Click(); // "F9: Reporte": report panel

    // Fills a user lookup (the copy panel's, the report panel's) with the
    // company's users of CUsua: code, then name.
    void llenarLookupUsuarios(QComboBox* lookup) const;

    // Whether an option node is granted (its state image 1).
    static bool concedida(const QTreeWidgetItem* item);

    QString compania() const { return compania_; }
    QString usuario() const { return usuario_; }

    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
    QFrame* Panel4 = nullptr; // profile
    QComboBox* Agencias = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QFrame* Panel6 = nullptr; // copy panel
    QComboBox* Usua = nullptr;
    QFrame* AdvPanel1 = nullptr; // report panel, filled by the access report
    QVBoxLayout* panelReporte = nullptr;
    QLabel* Panel5 = nullptr; // connecting
    QToolButton *SpeedButton1 = nullptr, *SpeedButton5 = nullptr, *SpeedButton6 = nullptr,
                *SpeedButton3 = nullptr;

    platform::DataSet* CCompania = nullptr;
    platform::DataSet* CUsuario = nullptr;
    platform::DataSet* CAgencias = nullptr;
    platform::DataSet* CUser = nullptr;
    platform::DataSet* CUsua = nullptr;
    platform::DataSet* CBorrar = nullptr;

    // The access report (panel AdvPanel1): a user range printed through
    // the report engine or exported from the hidden grid.
    QComboBox* LUserd = nullptr;
    QComboBox* LUserh = nullptr;
    QToolButton *SpeedButton7 = nullptr, *botonExportar = nullptr, *SpeedButton8 = nullptr;
    QLabel* Panel7 = nullptr; // generating
    platform::DataGrid* DBGridEh1 = nullptr;
    platform::DataSet* CReporte = nullptr;
    platform::DataConnection* RAccesos = nullptr;
    platform::ReportSystem* RvSystem1 = nullptr;
    platform::ReportProject* RvProject1 = nullptr;
    platform::PdfRenderer* RvRenderPDF1 = nullptr;
    platform::TextRenderer* RvRenderText1 = nullptr;
    void SpeedButton7Click();  // "F2: Imprimir"
    void botonExportarClick(); // "F4:Exportar"
    void SpeedButton8Click();  // "ESC: Cancelar"
    void RvSystem1OverrideSetup(platform::ReportSystem::SetupStep paso, QDialog*& forma);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void construir();
    void construirPerfil();
    void construirArbol();
    void construirCopia();
    void construirPanelReporte();
    void construirReporte();
    void CReporteCalcFields(platform::DataSet& datos);
    void generarReporte(const QString& desde, const QString& hasta, bool exportar);
    void abrir();
    void abrirPerfil();
    void abrirAgencias();
    void TreeView1Change(QTreeWidgetItem* actual);
    bool FormKeyDown(QKeyEvent* event);
    static void ponerEstado(QTreeWidgetItem* item, int estado);
    void regresarACompania();

    QString compania_;
    QString usuario_;
    bool conPerfil_ = false;
    bool regresado_ = false;
    // Name and administrator flag of each user of the general database.
    QHash<QString, QPair<QString, QString>> generales_;
    SalidaGrilla* SaveDialog1 = nullptr;
    bool exportar_ = false; // the report run exports instead of printing
};
