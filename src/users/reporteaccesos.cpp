// The report panel of the access-rights editor: the rights of a range of
// users of the edited company, printed through the report engine (with the
// system's print-options dialog) or exported from a hidden grid.
#include "audit/dtformsetup.h"
#include "audit/salidagrilla.h"
#include "audit/sistemainformes.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/reports/renderers.h"
#include "platform/reports/reportproject.h"
#include "platform/ui/dialogs.h"
#include "shell/principal.h"
#include "users/accesousuario.h"
#include "users/controles.h"
#include "users/operaciones.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using platform::DataSet;
using platform::FieldDef;
using platform::FieldKind;
using platform::ReportSystem;

namespace {
// The project file as the report designer names it, under "mantenimiento"
// of the application folder.
const QString kProyectoDiseno = QStringLiteral("reportes\\auditoria.rav");
} // namespace

void Tfaccesousuario::construirReporte() {
    Tfprincipal& p = principal();
    FieldDef nomUser{QStringLiteral("NomUser"), FieldKind::String, 60};
    nomUser.calculated = true;
    FieldDef administra{QStringLiteral("Administra"), FieldKind::String, 2};
    administra.calculated = true;
    CReporte = p.cliente(p.QRepauditor, QStringLiteral("CReporte"),
                         {{QStringLiteral("CODUSER"), FieldKind::String, 10},
                          {QStringLiteral("VEND"), FieldKind::Integer},
                          {QStringLiteral("CAJA"), FieldKind::Integer},
                          {QStringLiteral("PUNTO"), FieldKind::Integer},
                          {QStringLiteral("AGENCIA"), FieldKind::Integer},
                          {QStringLiteral("NOMAGENCIA"), FieldKind::String, 60},
                          {QStringLiteral("EMAIL"), FieldKind::String, 100},
                          {QStringLiteral("MODULO"), FieldKind::String, 20},
                          {QStringLiteral("CODOPC"), FieldKind::Integer},
                          {QStringLiteral("OPCION"), FieldKind::String, 60},
                          {QStringLiteral("SINO"), FieldKind::FixedString, 2},
                          nomUser,
                          administra},
                         this);
    CReporte->setCommandText(QStringLiteral("select * from rep_acceso_usuarios('0','zz')"));
    CReporte->onCalcFields = [this](DataSet& d) { CReporteCalcFields(d); };

    DBGridEh1 = new platform::DataGrid(AdvPanel1);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(CReporte);
    QList<platform::GridColumn> columnas;
    for (const char* campo : {"CODUSER", "VEND", "CAJA", "PUNTO", "AGENCIA", "NOMAGENCIA", "EMAIL",
                              "MODULO", "CODOPC", "OPCION", "SINO"})
        columnas.append({QLatin1String(campo), QLatin1String(campo)});
    DBGridEh1->setColumns(columnas);
    DBGridEh1->setAllowedActions(platform::DataGrid::SelectAll);
    DBGridEh1->hide();
    SaveDialog1 =
        new SalidaGrilla(this, DBGridEh1, QStringLiteral("Accesos"), ListaTipos::EspanolCinco);

    RAccesos = new platform::DataConnection(QStringLiteral("RAccesos"), CReporte, this);
    RvSystem1 = sistemaDeInformes(this);
    RvSystem1->onOverrideSetup = [this](ReportSystem::SetupStep paso, QDialog*& forma) {
        RvSystem1OverrideSetup(paso, forma);
    };
    RvProject1 = new platform::ReportProject(this, QStringLiteral("RvProject1"));
    RvProject1->engine = RvSystem1;
    RvProject1->projectFile = kProyectoDiseno;
    RvRenderText1 = new platform::TextRenderer(this, QStringLiteral("RvRenderText1"));
    RvRenderText1->cpi = 10;
    RvRenderText1->lpi = 6;
    RvRenderPDF1 = new platform::PdfRenderer(this, QStringLiteral("RvRenderPDF1"));
    RvRenderPDF1->embedFonts = false;
    RvRenderPDF1->imageQuality = 90;
    RvRenderPDF1->metafileDpi = 300;
    RvRenderPDF1->fontEncoding = QStringLiteral("WinAnsi");

    LUserd = new QComboBox(AdvPanel1);
    LUserd->setObjectName(QStringLiteral("LUserd"));
    LUserh = new QComboBox(AdvPanel1);
    LUserh->setObjectName(QStringLiteral("LUserh"));
    auto* rango = new QGridLayout;
    rango->addWidget(new QLabel(QStringLiteral("Usuario desde:"), AdvPanel1), 0, 0);
    rango->addWidget(LUserd, 0, 1);
    rango->addWidget(new QLabel(QStringLiteral("Usuario hasta:"), AdvPanel1), 1, 0);
    rango->addWidget(LUserh, 1, 1);
    rango->setColumnStretch(1, 1);
    panelReporte->addLayout(rango);

    // Mouse only: while the panel is shown F2 and Esc keep their meaning
    // in the editor (save, close).
    SpeedButton7 = usuarios::botonAccion(AdvPanel1, QStringLiteral("SpeedButton7"),
                                         QStringLiteral("F2: Imprimir"));
    botonExportar = usuarios::botonAccion(AdvPanel1, QStringLiteral("botonExportar"),
                                          QStringLiteral("F4:Exportar"));
    SpeedButton8 = usuarios::botonAccion(AdvPanel1, QStringLiteral("SpeedButton8"),
                                         QStringLiteral("ESC: Cancelar"));
    for (QToolButton* b : {SpeedButton7, botonExportar, SpeedButton8})
        b->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton7, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton7Click);
    connect(botonExportar, &QToolButton::clicked, this, &Tfaccesousuario::botonExportarClick);
    connect(SpeedButton8, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton8Click);
    auto* botones = new QHBoxLayout;
    botones->addWidget(SpeedButton7);
    botones->addWidget(botonExportar);
    botones->addStretch(1);
    botones->addWidget(SpeedButton8);
    panelReporte->addLayout(botones);

    Panel7 = usuarios::panelEstado(AdvPanel1, QStringLiteral("Panel7"),
                                   QStringLiteral("Generando informe. espere un momento..."));
    panelReporte->addWidget(Panel7);
}

// The user's name and administrator flag in the general database, from the
// users read when the editor opened. An administrator has every option.
void Tfaccesousuario::CReporteCalcFields(DataSet& datos) {
    const auto general = generales_.value(datos.text(QStringLiteral("CODUSER")));
    datos.setValue(QStringLiteral("NomUser"), general.first);
    datos.setValue(QStringLiteral("Administra"), general.second);
    if (general.second == QLatin1String("S"))
        datos.setValue(QStringLiteral("SINO"), QStringLiteral("S"));
}

void Tfaccesousuario::SpeedButton8Click() {
    CUsua->close();
    AdvPanel1->hide();
}

void Tfaccesousuario::botonExportarClick() {
    exportar_ = true;
    SpeedButton7Click();
}

void Tfaccesousuario::SpeedButton7Click() {
    const QString desde = LUserd->currentText();
    const QString hasta = LUserh->currentText();
    // One run exports, the next F2 prints again.
    const bool exportar = exportar_;
    exportar_ = false;
    usuarios::mostrarPanel(Panel7, true);
    CReporte->close();
    CReporte->setCommandText(usuarios::sentenciaReporteAccesos(desde, hasta));
    try {
        CReporte->open();
    } catch (...) {
        usuarios::mostrarPanel(Panel7, false);
        throw;
    }
    usuarios::mostrarPanel(Panel7, false);
    if (CReporte->isEmpty()) {
        platform::Dialogs::instance().notice(
            this, QStringLiteral("No hay datos que cumplan con los rangos indicados."));
    } else {
        generarReporte(desde, hasta, exportar);
    }
    CReporte->close();
    CUsua->close();
    AdvPanel1->hide();
}

void Tfaccesousuario::generarReporte(const QString& desde, const QString& hasta, bool exportar) {
    Tfprincipal& p = principal();
    RvProject1->projectFile = platform::ReportProject::projectPath(
        QDir(p.Diraplicacion()).filePath(QStringLiteral("mantenimiento")), kProyectoDiseno);
    RvProject1->open();
    try {
        RvProject1->setParam(QStringLiteral("Compania"),
                             p.configuracion(QStringLiteral("GENERAL"), QStringLiteral("GENERAL"),
                                             QStringLiteral("NOMBRE COMPANIA")));
        RvProject1->setParam(QStringLiteral("Titulo"),
                             usuarios::tituloReporteAccesos(desde, hasta));
        RvProject1->setParam(QStringLiteral("Usuario"), p.usuario_actual);
        RvProject1->selectReport(QStringLiteral("Accesos"));
        if (exportar) {
            SaveDialog1->seleccionartodo();
            SaveDialog1->guardarseleccion();
        } else {
            RvProject1->execute();
        }
    } catch (...) {
        RvProject1->close();
        throw;
    }
    RvProject1->close();
}

void Tfaccesousuario::RvSystem1OverrideSetup(ReportSystem::SetupStep paso, QDialog*& forma) {
    TdtSetupForm::instalar(RvSystem1, paso, forma);
}
