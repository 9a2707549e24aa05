#include "users/modusuario.h"

#include "platform/data/dataset.h"
#include "platform/ui/dbcontrols.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "users/controles.h"
#include "users/operaciones.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

using platform::Dialogs;

Tfmodusuario::Tfmodusuario(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fmodusuario"));
    setWindowTitle(QStringLiteral("Consultar usuario"));
    Tfprincipal& p = principal();
    CUsuario = usuarios::usuariosGenerales(this, QStringLiteral("CUsuario"));

    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit2 = new QLineEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBCheckBox1 = new QCheckBox(QStringLiteral("Administrador:"), this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setLayoutDirection(Qt::RightToLeft);
    auto clave = [this](const QString& nombre) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(nombre);
        edit->setMaxLength(8);
        edit->setEchoMode(QLineEdit::Password);
        return edit;
    };
    Clave = clave(QStringLiteral("Clave"));
    Confirma = clave(QStringLiteral("Confirma"));
    Panel3 =
        usuarios::panelEstado(this, QStringLiteral("Panel3"),
                              QStringLiteral("Actualizando información en la BD de seguridad..."));

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Código:"), DBEdit1);
    campos->addRow(QStringLiteral("Nombre:"), DBEdit2);
    campos->addRow(QString(), DBCheckBox1);
    campos->addRow(QStringLiteral("Nueva clave:"), Clave);
    campos->addRow(QStringLiteral("Confirme clave:"), Confirma);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Panel3);
    columna->addLayout(campos);
    columna->addLayout(usuarios::barraGrabarSalir(
        this, QStringLiteral("ESC: &Salir"), [this] { SpeedButton1Click(); },
        [this] { SpeedButton3Click(); }));
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBCheckBox1);
    setTabOrder(DBCheckBox1, Clave);
    setTabOrder(Clave, Confirma);
    platform::enterMovesFocus({DBEdit1, DBEdit2, DBCheckBox1, Confirma});

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    // Errors while writing the row are reported like everywhere else.
    p.ConfigurarProviders(this);
    CUsuario->open();
    const QString codigo = p.usuario_sel;
    if (!CUsuario->locate({QStringLiteral("USUA_COD")}, {codigo})) {
        // Never another user's row: the dialog shows nothing and closes.
        CUsuario->close();
        Dialogs::instance().notice(
            this, QStringLiteral("No se encontró el usuario %1 en la base de datos general.")
                      .arg(codigo));
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    platform::bindEdit(DBEdit1, CUsuario, QStringLiteral("USUA_COD"), 8);
    platform::bindEdit(DBEdit2, CUsuario, QStringLiteral("USUA_NOMBRE"));
    platform::bindCheck(DBCheckBox1, CUsuario, QStringLiteral("USUA_ADMIN"), QStringLiteral("S"),
                        QStringLiteral("N"));
    // The server's administrator always stays an administrator.
    if (usuarios::esAdministradorServidor(CUsuario->text(QStringLiteral("USUA_COD"))))
        DBCheckBox1->setEnabled(false);
    CUsuario->edit();
}

bool Tfmodusuario::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    if (event->key() == Qt::Key_F2) {
        SpeedButton1Click();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        SpeedButton3Click();
        return true;
    }
    return false;
}

void Tfmodusuario::aplicar() {
    CUsuario->post();
    CUsuario->applyUpdates(0);
}

void Tfmodusuario::SpeedButton1Click() {
    if (!CUsuario->isOpen()) {
        close();
        return;
    }
    if (Clave->text().isEmpty() || Confirma->text().isEmpty()) {
        aplicar();
        close();
        return;
    }
    Dialogs& dialogos = Dialogs::instance();
    if (Clave->text() != Confirma->text()) {
        dialogos.notice(this, QStringLiteral("La nueva clave y la confirmación son diferentes. "
                                             "Intente nuevamente."));
        return;
    }
    usuarios::mostrarPanel(Panel3, true);
    const usuarios::RespuestaCuenta cuenta = usuarios::cuentaServidor(
        principal(), usuarios::OperacionCuenta::CambiarClave,
        CUsuario->text(QStringLiteral("USUA_COD")).toUpper(), Clave->text());
    if (cuenta.hecha) {
        aplicar();
    } else {
        // The row is written only together with the new password.
        if (cuenta.sinCliente)
            dialogos.error(this, cuenta.mensaje);
        else
            dialogos.notice(this, cuenta.mensaje);
        CUsuario->cancel();
        CUsuario->cancelUpdates();
    }
    close();
}

void Tfmodusuario::SpeedButton3Click() {
    if (CUsuario->isOpen()) {
        CUsuario->cancel();
        CUsuario->cancelUpdates();
    }
    close();
}

void Tfmodusuario::closeEvent(QCloseEvent* event) {
    CUsuario->close();
    QDialog::closeEvent(event);
}
