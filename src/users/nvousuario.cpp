#include "users/nvousuario.h"

#include "platform/data/dataset.h"
#include "platform/ui/dbcontrols.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "users/controles.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QVBoxLayout>

Tfnvousuario::Tfnvousuario(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fnvousuario"));
    setWindowTitle(QStringLiteral("Nuevo usuario"));
    CUsuario = usuarios::usuariosGenerales(this, QStringLiteral("CUsuario"));
    CUsuario->afterInsert = [this] { CUsuario->setValue(QStringLiteral("USUA_ADMIN"), "N"); };

    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit2 = new QLineEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    // The server account is made from the user list with the code as
    // password; a password typed here would not be used, so none is asked.
    Clave = new QLineEdit(this);
    Clave->setObjectName(QStringLiteral("Clave"));
    Clave->setMaxLength(8);
    Clave->setEchoMode(QLineEdit::Password);
    Clave->setEnabled(false);
    Clave->setToolTip(QStringLiteral("La cuenta del servidor se crea desde la lista de usuarios "
                                     "(Alt+F2) con el código como clave."));
    DBCheckBox1 = new QCheckBox(QStringLiteral("&Administrador:"), this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setLayoutDirection(Qt::RightToLeft);
    Panel3 =
        usuarios::panelEstado(this, QStringLiteral("Panel3"),
                              QStringLiteral("Actualizando información en la BD de seguridad..."));

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Código:"), DBEdit1);
    campos->addRow(QStringLiteral("Nombre:"), DBEdit2);
    campos->addRow(QStringLiteral("Clave:"), Clave);
    campos->addRow(QString(), DBCheckBox1);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Panel3);
    columna->addLayout(campos);
    columna->addLayout(usuarios::barraGrabarSalir(
        this, QStringLiteral("Esc: &Salir"), [this] { SpeedButton1Click(); },
        [this] { SpeedButton3Click(); }));
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, Clave);
    setTabOrder(Clave, DBCheckBox1);

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    principal().ConfigurarProviders(this);
    CUsuario->open();
    CUsuario->append();
    platform::bindEdit(DBEdit1, CUsuario, QStringLiteral("USUA_COD"), 8);
    platform::bindEdit(DBEdit2, CUsuario, QStringLiteral("USUA_NOMBRE"));
    platform::bindCheck(DBCheckBox1, CUsuario, QStringLiteral("USUA_ADMIN"), QStringLiteral("S"),
                        QStringLiteral("N"));
}

bool Tfnvousuario::FormKeyDown(QKeyEvent* event) {
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

void Tfnvousuario::SpeedButton1Click() {
    usuarios::mostrarPanel(Panel3, true);
    auto ocultar = qScopeGuard([this] { usuarios::mostrarPanel(Panel3, false); });
    // Codes are kept in upper case: they are the server login too.
    const QString codigo = CUsuario->text(QStringLiteral("USUA_COD"));
    if (codigo != codigo.toUpper())
        CUsuario->setValue(QStringLiteral("USUA_COD"), codigo.toUpper());
    // A missing code is refused by the post and the dialog stays open; a
    // refused row (an existing code) has been reported when the apply returns.
    CUsuario->post();
    CUsuario->applyUpdates(0);
    close();
}

void Tfnvousuario::SpeedButton3Click() {
    CUsuario->cancel();
    CUsuario->cancelUpdates();
    close();
}

void Tfnvousuario::closeEvent(QCloseEvent* event) {
    CUsuario->close();
    QDialog::closeEvent(event);
}
