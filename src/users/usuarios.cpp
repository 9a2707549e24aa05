#include "users/usuarios.h"

#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"
#include "users/compusuario.h"
#include "users/controles.h"
#include "users/modusuario.h"
#include "users/nvousuario.h"
#include "users/operaciones.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

using platform::Dialogs;
using platform::FieldKind;
using platform::GridColumn;

namespace {
template <typename Ventana> void abrirModal(QWidget* dueno) {
    auto* ventana = new Ventana(dueno);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    ventana->exec();
}
} // namespace

Tfusuarios::Tfusuarios(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fusuarios"));
    setWindowTitle(QStringLiteral("Mantenimiento de usuarios"));
    resize(560, 420);
    Tfprincipal& p = principal();
    CUsuarios = p.cliente(
        p.QUsuarios, QStringLiteral("CUsuarios"),
        {{QStringLiteral("USUA_COD"), FieldKind::String, 12, true, QStringLiteral("Código")},
         {QStringLiteral("USUA_NOMBRE"), FieldKind::String, 60, false, QStringLiteral("Nombre")},
         {QStringLiteral("USUA_ADMIN"), FieldKind::FixedString, 1, false, QStringLiteral("Adm.")}},
        this);

    DBGridEh1 = new platform::DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(CUsuarios);
    GridColumn codigo{QStringLiteral("USUA_COD")};
    codigo.minWidth = 80;
    GridColumn nombre{QStringLiteral("USUA_NOMBRE")};
    GridColumn admin{QStringLiteral("USUA_ADMIN")};
    admin.checkedValue = QStringLiteral("S");
    admin.uncheckedValue = QStringLiteral("N");
    admin.minWidth = 35;
    DBGridEh1->setColumns({codigo, nombre, admin});
    DBGridEh1->setReadOnly(true);
    DBGridEh1->setFitColumnsToWidth(true);
    DBGridEh1->setAllowedActions(platform::DataGrid::Copy | platform::DataGrid::SelectAll);

    Panel3 =
        usuarios::panelEstado(this, QStringLiteral("Panel3"),
                              QStringLiteral("Actualizando información en la BD de seguridad..."));

    auto* barra = new QHBoxLayout;
    barra->addWidget(boton(QStringLiteral("SpeedButton1"), QStringLiteral("F5: &Nuevo"),
                           &Tfusuarios::SpeedButton1Click));
    barra->addWidget(boton(QStringLiteral("SpeedButton2"), QStringLiteral("F4:Consultar"),
                           &Tfusuarios::SpeedButton2Click));
    barra->addWidget(boton(QStringLiteral("SpeedButton5"), QStringLiteral("F3: &Borrar"),
                           &Tfusuarios::SpeedButton5Click));
    barra->addWidget(boton(QStringLiteral("SpeedButton4"), QStringLiteral("F8: C&ompañía"),
                           &Tfusuarios::SpeedButton4Click));
    barra->addStretch(1);
    QToolButton* salir =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton3"), QStringLiteral("ESC: &Salir"));
    connect(salir, &QToolButton::clicked, this, &QWidget::close);
    barra->addWidget(salir);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Panel3);
    columna->addWidget(DBGridEh1, 1);
    columna->addLayout(barra);

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    p.ConfigurarProviders(this);
    CUsuarios->open();
}

QToolButton* Tfusuarios::boton(const QString& nombre, const QString& texto,
                               void (Tfusuarios::*accion)()) {
    QToolButton* b = usuarios::botonAccion(this, nombre, texto);
    connect(b, &QToolButton::clicked, this, accion);
    return b;
}

bool Tfusuarios::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && (event->modifiers() & Qt::AltModifier)) {
        crearCuentasServidor();
        return true;
    }
    if (!platform::KeyPreview::plain(event))
        return false;
    switch (event->key()) {
    case Qt::Key_F5:
        SpeedButton1Click();
        return true;
    case Qt::Key_F4:
        SpeedButton2Click();
        return true;
    case Qt::Key_F3:
        SpeedButton5Click();
        return true;
    case Qt::Key_F8:
        SpeedButton4Click();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

// Back from a dialog opened here: the list is read again.
void Tfusuarios::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && CUsuarios->isOpen())
        Aplicacion::protect(this, [this] { CUsuarios->refresh(); });
}

void Tfusuarios::closeEvent(QCloseEvent* event) {
    CUsuarios->close();
    QDialog::closeEvent(event);
}

QString Tfusuarios::codigoActual() const {
    return CUsuarios->text(QStringLiteral("USUA_COD")).toUpper();
}

void Tfusuarios::mostrarEstado(bool visible) {
    usuarios::mostrarPanel(Panel3, visible);
}

void Tfusuarios::SpeedButton1Click() {
    abrirModal<Tfnvousuario>(this);
    CUsuarios->refresh();
}

void Tfusuarios::SpeedButton2Click() {
    if (CUsuarios->isEmpty())
        return;
    principal().usuario_sel = codigoActual();
    abrirModal<Tfmodusuario>(this);
}

void Tfusuarios::SpeedButton4Click() {
    if (CUsuarios->isEmpty())
        return;
    principal().usuario_sel = codigoActual();
    abrirModal<Tfcompusuario>(this);
}

void Tfusuarios::SpeedButton5Click() {
    if (CUsuarios->isEmpty())
        return;
    const QString codigo = codigoActual();
    Dialogs& dialogos = Dialogs::instance();
    if (usuarios::esAdministradorServidor(codigo)) {
        dialogos.notice(
            this,
            QStringLiteral("No se puede eliminar el usuario administrador de la base de datos."));
        return;
    }
    if (!dialogos.confirm(this, QStringLiteral("Esta seguro de borrar el usuario ") +
                                    CUsuarios->text(QStringLiteral("USUA_NOMBRE")) +
                                    QStringLiteral("?.")))
        return;
    mostrarEstado(true);
    // The list is read again and the panel hidden however the deletion ends.
    auto alFinal = qScopeGuard([this] {
        Aplicacion::protect(this, [this] { CUsuarios->refresh(); });
        mostrarEstado(false);
    });
    Tfprincipal& p = principal();
    const usuarios::RespuestaCuenta cuenta =
        usuarios::cuentaServidor(p, usuarios::OperacionCuenta::Borrar, codigo);
    if (!cuenta.hecha) {
        // Only a user gone from the server loses its rows.
        if (cuenta.sinCliente)
            dialogos.error(this, cuenta.mensaje);
        else
            dialogos.notice(this, cuenta.mensaje);
        return;
    }
    usuarios::borrarFilasUsuario(p.orvilex, p.ConMantenim, codigo);
}

void Tfusuarios::crearCuentasServidor() {
    Dialogs& dialogos = Dialogs::instance();
    Tfprincipal& p = principal();
    for (CUsuarios->first(); !CUsuarios->eof(); CUsuarios->next()) {
        const QString codigo = CUsuarios->text(QStringLiteral("USUA_COD"));
        const usuarios::RespuestaCuenta cuenta =
            usuarios::cuentaServidor(p, usuarios::OperacionCuenta::Crear, codigo, codigo);
        if (cuenta.sinCliente) {
            // Without the client library no account can be made: said once.
            dialogos.error(this, cuenta.mensaje);
            return;
        }
        if (!cuenta.hecha)
            dialogos.notice(this, cuenta.mensaje);
    }
}
