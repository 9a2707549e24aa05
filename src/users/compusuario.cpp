#include "users/compusuario.h"

#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "users/accesousuario.h"
#include "users/controles.h"
#include "users/operaciones.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

using platform::DataSet;
using platform::Dialogs;
using platform::FieldKind;
using platform::GridColumn;

Tfcompusuario::Tfcompusuario(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fcompusuario"));
    setWindowTitle(QStringLiteral("Compañías por usuario"));
    resize(520, 380);
    Tfprincipal& p = principal();
    CCompusuario = p.cliente(p.TCompusuario, QStringLiteral("CCompusuario"),
                             {{QStringLiteral("COMP_COD"), FieldKind::FixedString, 3, true},
                              {QStringLiteral("USUA_COD"), FieldKind::String, 12, true}},
                             this);
    CCompania = p.cliente(p.TCompania, QStringLiteral("CCompania"),
                          {{QStringLiteral("COMP_COD"), FieldKind::FixedString, 3, true},
                           {QStringLiteral("COM_NOMBRE"), FieldKind::String, 80},
                           {QStringLiteral("COMP_NIT"), FieldKind::String, 20},
                           {QStringLiteral("COMP_LOGO"), FieldKind::Blob, 0},
                           {QStringLiteral("COMP_DIR"), FieldKind::String, 140},
                           {QStringLiteral("COMP_TELS"), FieldKind::String, 140},
                           {QStringLiteral("COMP_ENCABEZADO"), FieldKind::String, 140}},
                          this);
    CUser = p.cliente(p.TUser, QStringLiteral("CUser"),
                      {{QStringLiteral("USER_COD"), FieldKind::String, 10, true},
                       {QStringLiteral("USER_ANOCNT"), FieldKind::FixedString, 4},
                       {QStringLiteral("USER_PERCNT"), FieldKind::Integer},
                       {QStringLiteral("SUCU_ID"), FieldKind::Integer}},
                      this);
    Provisional = new DataSet(QStringLiteral("Provisional"), nullptr, this);
    Provisional->setFields(
        {{QStringLiteral("CODCIA"), FieldKind::String, 3, false, QStringLiteral("Código")},
         {QStringLiteral("NOMCIA"), FieldKind::String, 100, false, QStringLiteral("Nombre")},
         {QStringLiteral("ACCESO"), FieldKind::String, 1, false, QStringLiteral("Acceso")}});

    DBGridEh1 = new platform::DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(Provisional);
    GridColumn codigo{QStringLiteral("CODCIA")};
    codigo.minWidth = 40;
    GridColumn nombre{QStringLiteral("NOMCIA")};
    GridColumn acceso{QStringLiteral("ACCESO")};
    acceso.checkedValue = QStringLiteral("S");
    acceso.uncheckedValue = QStringLiteral("N");
    acceso.minWidth = 35;
    acceso.readOnly = false;
    DBGridEh1->setColumns({codigo, nombre, acceso});
    DBGridEh1->setReadOnly(false);
    DBGridEh1->setFitColumnsToWidth(true);

    Panel3 = usuarios::panelEstado(
        this, QStringLiteral("Panel3"),
        QStringLiteral("Actualizando información en las BD de cada compañía..."));
    auto* grabar =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton1"), QStringLiteral("F2: &Grabar"));
    SpeedButton2 =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton2"), QStringLiteral("F8: &Accesos"));
    auto* salir =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton3"), QStringLiteral("ESC: &Salir"));
    connect(grabar, &QToolButton::clicked, this, &Tfcompusuario::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfcompusuario::SpeedButton2Click);
    connect(salir, &QToolButton::clicked, this, &QWidget::close);
    auto* barra = new QHBoxLayout;
    barra->addWidget(grabar);
    barra->addWidget(SpeedButton2);
    barra->addStretch(1);
    barra->addWidget(salir);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Panel3);
    columna->addWidget(DBGridEh1, 1);
    columna->addLayout(barra);
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    p.ConfigurarProviders(this);
    usuario_ = p.usuario_sel;
    p.usuario_sel.clear();
    Provisional->createDataSet();
    CCompusuario->setFilter({{QStringLiteral("USUA_COD"), usuario_}});
    CCompusuario->setFiltered(true);
    CCompusuario->open();
    CCompania->open();
    for (int r = 0; r < CCompania->rowCount(); ++r) {
        const QString cia = CCompania->textAt(r, 0);
        Provisional->append();
        Provisional->setValue(QStringLiteral("CODCIA"), cia);
        Provisional->setValue(QStringLiteral("NOMCIA"), CCompania->textAt(r, 1));
        Provisional->setValue(QStringLiteral("ACCESO"),
                              CCompusuario->locate({QStringLiteral("COMP_COD")}, {cia})
                                  ? QStringLiteral("S")
                                  : QStringLiteral("N"));
        Provisional->post();
    }
    Provisional->first();
    Provisional->afterScroll = [this] { ProvisionalAfterScroll(); };
    Provisional->onFieldChange = [this](DataSet&, int campo) {
        if (campo == Provisional->fieldIndex(QStringLiteral("CODCIA")))
            ProvisionalAfterScroll();
    };
    ProvisionalAfterScroll();
}

// F8 is offered on the companies whose grant is saved.
void Tfcompusuario::ProvisionalAfterScroll() {
    const QString cia = Provisional->text(QStringLiteral("CODCIA"));
    SpeedButton2->setEnabled(!cia.isEmpty() && CCompusuario->isOpen() &&
                             CCompusuario->locate({QStringLiteral("COMP_COD")}, {cia}));
}

bool Tfcompusuario::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    switch (event->key()) {
    case Qt::Key_F2:
        SpeedButton1Click();
        return true;
    case Qt::Key_F8:
        SpeedButton2Click();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

void Tfcompusuario::estado(const QString& texto) {
    if (!texto.isEmpty())
        Panel3->setText(texto);
    usuarios::mostrarPanel(Panel3, !texto.isEmpty());
}

void Tfcompusuario::SpeedButton1Click() {
    if (Provisional->state() != DataSet::State::Browse)
        Provisional->post();
    QList<usuarios::CambioCompania> lista;
    for (int r = 0; r < Provisional->rowCount(); ++r)
        lista.append({Provisional->textAt(r, 0), Provisional->textAt(r, 2) == QLatin1String("S")});
    const QDate hoy = Dialogs::instance().now().date();
    const bool otorgada =
        usuarios::guardarCompanias(principal(), {CCompusuario, CUser}, usuario_, lista, hoy,
                                   [this](const QString& texto) { estado(texto); });
    ProvisionalAfterScroll();
    if (otorgada)
        close();
}

void Tfcompusuario::SpeedButton2Click() {
    Dialogs& dialogos = Dialogs::instance();
    if (Provisional->text(QStringLiteral("ACCESO")) != QLatin1String("S")) {
        dialogos.notice(this, QStringLiteral("Debe dar acceso antes a esta compañía."));
        return;
    }
    Tfprincipal& p = principal();
    if (usuarios::esAdministrador(p.orvilex, usuario_)) {
        dialogos.notice(
            this, QStringLiteral("El usuario administrador tiene acceso a todas las opciones."));
        return;
    }
    const QString cia = Provisional->text(QStringLiteral("CODCIA"));
    estado(QStringLiteral("Conectando a la compañía ") + cia + QStringLiteral("..."));
    auto ocultar = qScopeGuard([this] { estado(QString()); });
    p.usuario_sel = usuario_;
    p.compania_sel = cia;
    auto* editor = new Tfaccesousuario(this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->exec();
}

void Tfcompusuario::closeEvent(QCloseEvent* event) {
    CCompania->close();
    CCompusuario->close();
    QDialog::closeEvent(event);
}
