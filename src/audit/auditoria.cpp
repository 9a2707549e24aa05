#include "audit/auditoria.h"

#include "audit/consultas.h"
#include "audit/salidagrilla.h"
#include "audit/sistemainformes.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/reports/renderers.h"
#include "platform/reports/reportproject.h"
#include "platform/reports/reportsystem.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using platform::DataSet;
using platform::Dialogs;
using platform::FieldDef;
using platform::FieldKind;
using platform::ReportSystem;

namespace {

// The project file as the report designer names it, under "mantenimiento"
// of the application folder.
const QString kProyectoDiseno = QStringLiteral("reportes\\auditoria.rav");

template <typename T> T* control(T* widget, const char* nombre) {
    widget->setObjectName(QLatin1String(nombre));
    return widget;
}

QToolButton* boton(QWidget* padre, const char* nombre, const QString& texto) {
    auto* b = control(new QToolButton(padre), nombre);
    b->setText(texto);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QString rutaProyecto() {
    return platform::ReportProject::projectPath(
        QDir(principal().Diraplicacion()).filePath(QStringLiteral("mantenimiento")),
        kProyectoDiseno);
}

} // namespace

Tfauditoria::Tfauditoria(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fauditoria"));
    setWindowTitle(QStringLiteral("Informes de auditoría"));
    Tfprincipal& p = principal();

    CUsuarios = p.cliente(p.QUsuario, QStringLiteral("CUsuarios"),
                          {{QStringLiteral("USER_COD"), FieldKind::String, 10, true},
                           {QStringLiteral("USER_ANOCNT"), FieldKind::FixedString, 4},
                           {QStringLiteral("USER_PERCNT"), FieldKind::Integer},
                           {QStringLiteral("SUCU_ID"), FieldKind::Integer}},
                          this);
    CTipodoc = p.cliente(p.QTipodoc, QStringLiteral("CTipodoc"),
                         {{QStringLiteral("TIDO_COD"), FieldKind::Integer, 0, true},
                          {QStringLiteral("TIDO_NOMCORTO"), FieldKind::String, 8, true},
                          {QStringLiteral("TIDO_NOMLARGO"), FieldKind::String, 30, true},
                          {QStringLiteral("TIDO_MODULO"), FieldKind::String, 20},
                          {QStringLiteral("TIDO_INVE"), FieldKind::FixedString, 1},
                          {QStringLiteral("TIDO_CART"), FieldKind::FixedString, 1},
                          {QStringLiteral("TIDO_CXP"), FieldKind::FixedString, 1},
                          {QStringLiteral("TIDO_CAJA"), FieldKind::FixedString, 1},
                          {QStringLiteral("TIDO_BCOS"), FieldKind::FixedString, 1}},
                         this);
    CRepauditor = p.cliente(p.QRepauditor, QStringLiteral("CRepauditor"),
                            {{QStringLiteral("USUARIO"), FieldKind::String, 10},
                             {QStringLiteral("FECHA"), FieldKind::Date},
                             {QStringLiteral("HORA"), FieldKind::Time},
                             {QStringLiteral("DOCUMENTO"), FieldKind::String, 60},
                             {QStringLiteral("OPERACION"), FieldKind::String, 30},
                             {QStringLiteral("NUMERODOC"), FieldKind::String, 10},
                             {QStringLiteral("RAZONANULA"), FieldKind::String, 255},
                             {QStringLiteral("EQUIPO"), FieldKind::String, 60}},
                            this);

    // The report engine's parts, as the report designer set them.
    RAuditor = new platform::DataConnection(QStringLiteral("RAuditor"), CRepauditor, this);
    RvSystem1 = sistemaDeInformes(this);
    RvProject1 = new platform::ReportProject(this, QStringLiteral("RvProject1"));
    RvProject1->engine = RvSystem1;
    RvProject1->projectFile = kProyectoDiseno;
    RvRenderPDF1 = new platform::PdfRenderer(this, QStringLiteral("RvRenderPDF1"));
    RvRenderPDF1->embedFonts = false;
    RvRenderPDF1->imageQuality = 90;
    RvRenderPDF1->metafileDpi = 300;
    RvRenderPDF1->fontEncoding = QStringLiteral("WinAnsi");
    RvRenderText1 = new platform::TextRenderer(this, QStringLiteral("RvRenderText1"));
    RvRenderText1->cpi = 10;
    RvRenderText1->lpi = 6;

    RgTipo = control(new QGroupBox(QStringLiteral("Tipo de reporte"), this), "RgTipo");
    opcionesTipo_ = new QButtonGroup(this);
    auto* tipos = new QVBoxLayout(RgTipo);
    tipos->setContentsMargins(6, 2, 6, 2);
    tipos->setSpacing(0);
    const QStringList items{QStringLiteral("Operaciones por &usuario"),
                            QStringLiteral("&Cronológico operaciones"),
                            QStringLiteral("Operaciones por &Tipo")};
    for (int i = 0; i < items.size(); ++i) {
        auto* opcion = new QRadioButton(items[i], RgTipo);
        opcion->setObjectName(QStringLiteral("RgTipo%1").arg(i));
        opcionesTipo_->addButton(opcion, i);
        tipos->addWidget(opcion);
    }

    LUsuario = control(new QComboBox(this), "LUsuario");
    LUsuario->setEditable(true);
    LUsuario->setInsertPolicy(QComboBox::NoInsert);
    Fecini = control(new QDateEdit(this), "Fecini");
    Fecfin = control(new QDateEdit(this), "Fecfin");
    for (QDateEdit* fecha : {Fecini, Fecfin}) {
        fecha->setCalendarPopup(true);
        fecha->setDisplayFormat(Dialogs::instance().shortDateFormat());
    }
    LTipo = control(new QComboBox(this), "LTipo");
    LTipo->setEditable(true);
    LTipo->setInsertPolicy(QComboBox::NoInsert);
    Cod = control(new QLineEdit(this), "Cod");

    auto* filtros = new QGridLayout;
    filtros->setVerticalSpacing(3);
    const auto fila = [filtros](int n, const QString& etiqueta, QWidget* campo) {
        auto* rotulo = new QLabel(etiqueta);
        rotulo->setBuddy(campo);
        filtros->addWidget(rotulo, n, 0);
        filtros->addWidget(campo, n, 1);
    };
    fila(0, QStringLiteral("Usuario:"), LUsuario);
    fila(1, QStringLiteral("Fecha desde:"), Fecini);
    fila(2, QStringLiteral("Fecha hasta:"), Fecfin);
    fila(3, QStringLiteral("Tipo documento:"), LTipo);
    fila(4, QStringLiteral("Código/Número:"), Cod);

    imprimir = boton(this, "imprimir", QStringLiteral("F2: Imprimir"));
    botonExportar = boton(this, "botonExportar", QStringLiteral("F4:Exportar"));
    SpeedButton2 = boton(this, "SpeedButton2", QStringLiteral("Esc:Salir"));
    auto* botones = new QHBoxLayout;
    botones->addWidget(imprimir);
    botones->addWidget(botonExportar);
    botones->addWidget(SpeedButton2);

    Panel5 = control(new QLabel(QStringLiteral("Generando informe. espere un momento..."), this),
                     "Panel5");
    Panel5->setAlignment(Qt::AlignCenter);
    Panel5->setFrameShape(QFrame::Panel);
    Panel5->setAutoFillBackground(true);
    Panel5->hide();

    DBGridEh1 = control(new platform::DataGrid(this), "DBGridEh1");
    DBGridEh1->setDataSet(CRepauditor);
    QList<platform::GridColumn> columnas;
    for (const FieldDef& campo : CRepauditor->fields())
        columnas.append({campo.name, campo.name});
    DBGridEh1->setColumns(columnas);
    DBGridEh1->setAllowedActions(platform::DataGrid::SelectAll);
    DBGridEh1->hide();
    salida_ =
        new SalidaGrilla(this, DBGridEh1, QStringLiteral("Auditoria"), ListaTipos::EspanolCinco);

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(6, 6, 6, 6);
    todo->setSpacing(4);
    todo->addWidget(RgTipo);
    todo->addLayout(filtros);
    todo->addStretch();
    todo->addWidget(Panel5);
    todo->addLayout(botones);

    connect(imprimir, &QToolButton::clicked, this, &Tfauditoria::imprimirClick);
    connect(botonExportar, &QToolButton::clicked, this, &Tfauditoria::botonExportarClick);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfauditoria::SpeedButton2Click);
    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
    FormCreate();
}

void Tfauditoria::FormCreate() {
    exportar_ = false;
    const QDate hoy = Dialogs::instance().now().date();
    const QDate primero(hoy.year(), hoy.month(), 1);
    Fecini->setDate(primero);
    Fecfin->setDate(primero.addMonths(1).addDays(-1));
    CTipodoc->open();
    CUsuarios->open();
    LUsuario->clear();
    LUsuario->addItem(QStringLiteral("Todos"));
    for (int i = 0; i < CUsuarios->rowCount(); ++i)
        LUsuario->addItem(CUsuarios->textAt(i, 0));
    LUsuario->setCurrentIndex(0);
    const int nombre = CTipodoc->fieldIndex(QStringLiteral("TIDO_NOMLARGO"));
    LTipo->clear();
    LTipo->addItem(QStringLiteral("Todos"));
    for (int i = 0; i < CTipodoc->rowCount(); ++i)
        LTipo->addItem(CTipodoc->textAt(i, nombre));
    LTipo->setCurrentIndex(0);
    setTipo(0);
}

int Tfauditoria::tipo() const {
    return opcionesTipo_->checkedId();
}

void Tfauditoria::setTipo(int indice) {
    opcionesTipo_->button(indice)->setChecked(true);
}

bool Tfauditoria::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    switch (event->key()) {
    case Qt::Key_F2:
        imprimirClick();
        return true;
    case Qt::Key_F4:
        botonExportarClick();
        return true;
    case Qt::Key_Escape:
        SpeedButton2Click();
        return true;
    default:
        return false;
    }
}

bool Tfauditoria::tipoDocumento(int& codigo) {
    const QString texto = LTipo->currentText();
    if (LTipo->currentIndex() == 0 && texto == LTipo->itemText(0)) {
        codigo = 0;
        return true;
    }
    if (!CTipodoc->locate({QStringLiteral("TIDO_NOMLARGO")}, {texto}))
        return false;
    codigo = CTipodoc->value(QStringLiteral("TIDO_COD")).toInt();
    return true;
}

void Tfauditoria::imprimirClick() {
    CRepauditor->close();
    auditoria::Filtro filtro;
    filtro.tipo = tipo();
    filtro.usuario = LUsuario->currentText();
    filtro.desde = Fecini->date();
    filtro.hasta = Fecfin->date();
    filtro.codigo = Cod->text();
    // A typed type name that matches no type asks for nothing rather than
    // for the rows of whichever type happened to be current.
    if (!tipoDocumento(filtro.tipoDocumento)) {
        Dialogs::instance().notice(
            this,
            QStringLiteral("No existe el tipo de documento \"%1\".").arg(LTipo->currentText()));
        LTipo->setFocus();
        return;
    }
    const QString formato = Dialogs::instance().shortDateFormat();
    Panel5->show();
    Panel5->repaint();
    CRepauditor->setCommandText(auditoria::sentencia(filtro, formato));
    try {
        CRepauditor->open();
    } catch (...) {
        Panel5->hide();
        throw;
    }
    Panel5->hide();
    if (CRepauditor->isEmpty())
        Dialogs::instance().notice(
            this, QStringLiteral("No hay datos que cumplan con los rangos indicados."));
    else
        generar();
    close();
}

void Tfauditoria::generar() {
    Tfprincipal& p = principal();
    RvProject1->projectFile = rutaProyecto();
    RvProject1->open();
    try {
        RvProject1->setParam(QStringLiteral("Compania"),
                             p.configuracion(QStringLiteral("GENERAL"), QStringLiteral("GENERAL"),
                                             QStringLiteral("NOMBRE COMPANIA")));
        RvProject1->setParam(QStringLiteral("Titulo"),
                             auditoria::titulo(LUsuario->currentText(), Fecini->date(),
                                               Fecfin->date(), LTipo->currentText(),
                                               Dialogs::instance().shortDateFormat()));
        RvProject1->setParam(QStringLiteral("Usuario"), p.usuario_actual);
        RvProject1->selectReport(auditoria::tipoReporte(tipo()).reporte);
        if (exportar_) {
            salida_->seleccionartodo();
            salida_->guardarseleccion();
        } else {
            RvProject1->execute();
        }
    } catch (...) {
        RvProject1->close();
        throw;
    }
    RvProject1->close();
}

void Tfauditoria::botonExportarClick() {
    exportar_ = true;
    imprimirClick();
}

void Tfauditoria::SpeedButton2Click() {
    close();
}

void Tfauditoria::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (dimensionada_)
        return;
    // The window's outer size: its frame's when it is a child of the main window.
    dimensionada_ = true;
    QTimer::singleShot(0, this, [this] {
        if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget()))
            marco->resize(371, 302);
        else
            resize(371, 302);
    });
}

void Tfauditoria::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void Tfauditoria::FormClose() {
    CRepauditor->close();
    CTipodoc->close();
    CUsuarios->close();
}
