#include "access/ctrlacceso.h"

#include "access/cifrado.h"
#include "access/servidores.h"
#include "platform/ansi.h"
#include "platform/ui/keypreview.h"
#include "shell/imagenes.h"
#include "shell/principal.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using platform::FieldDef;
using platform::FieldKind;

Tfacceso::Tfacceso(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("facceso"));
    setWindowTitle(QStringLiteral("Control de acceso"));
    Tfprincipal& p = principal();
    Cusuario = p.cliente(p.QUsergen, QStringLiteral("Cusuario"),
                         {{QStringLiteral("USUA_NOMBRE"), FieldKind::String, 60}}, this);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setPixmap(imagenes::logo(QSize(200, 56)));
    logo->setAutoFillBackground(true);
    QPalette fondo = logo->palette();
    fondo.setColor(QPalette::Window, QColor(0x24, 0x3b, 0x55));
    logo->setPalette(fondo);
    logo->setAlignment(Qt::AlignCenter);
    logo->setMinimumHeight(72);

    Servidor = new QComboBox(this);
    Servidor->setObjectName(QStringLiteral("Servidor"));
    Servidor->setEditable(true);
    Servidor->setMinimumWidth(320);
    Servidor->setInsertPolicy(QComboBox::NoInsert);
    Tusua = new QLineEdit(this);
    Tusua->setObjectName(QStringLiteral("Tusua"));
    TClave = new QLineEdit(this);
    TClave->setObjectName(QStringLiteral("TClave"));
    TClave->setEchoMode(QLineEdit::Password);

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Servidor : "), Servidor);
    campos->addRow(QStringLiteral("Usuario : "), Tusua);
    campos->addRow(QStringLiteral("Clave : "), TClave);
    setTabOrder(Tusua, TClave);
    setTabOrder(TClave, Servidor);
    setTabOrder(Servidor, Tusua);

    auto* entrar = new QToolButton(this);
    entrar->setObjectName(QStringLiteral("SpeedButton1"));
    entrar->setText(QStringLiteral("F2: &Entrar"));
    entrar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    entrar->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    auto* salir = new QToolButton(this);
    salir->setObjectName(QStringLiteral("SpeedButton2"));
    salir->setText(QStringLiteral("ESC: &Salir"));
    salir->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    salir->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QToolButton* b : {entrar, salir})
        b->setFocusPolicy(Qt::NoFocus);
    connect(entrar, &QToolButton::clicked, this, &Tfacceso::EntrarClick);
    connect(salir, &QToolButton::clicked, this, &Tfacceso::SalirClick);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(entrar);
    botones->addWidget(salir);

    Panel1 = new QLabel(QStringLiteral("Conectando con el servidor..."), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->hide();

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(logo);
    columna->addLayout(campos);
    columna->addLayout(botones);
    columna->addWidget(Panel1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tfacceso::Timer1Timer);

    lista_servidores = leerArchivoServidores(p.Diraplicacion());
    Servidor->addItems(lista_servidores);
    if (!lista_servidores.isEmpty())
        Servidor->setCurrentIndex(0);

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
    platform::enterMovesFocus({Tusua, TClave, Servidor});
}

void Tfacceso::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Tusua->setFocus();
}

bool Tfacceso::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    if (event->key() == Qt::Key_F2) {
        EntrarClick();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        SalirClick();
        return true;
    }
    return false;
}

void Tfacceso::EntrarClick() {
    Panel1->show();
    repaint();
    Timer1->start();

    Tfprincipal& p = principal();
    platform::Connection& general = p.ConGeneral;
    general.disconnect();
    general.setParam(QStringLiteral("Database"),
                     Servidor->currentText() + QStringLiteral("/datos/general.fdb"));
    general.setParam(QStringLiteral("User_Name"), Tusua->text());
    general.setParam(QStringLiteral("password"), TClave->text());
    general.connect();

    Panel1->hide();
    repaint();
    const QString usuario = Tusua->text().toUpper();
    p.usuario_actual = usuario;
    p.clave_actual = TClave->text();
    p.clave_cifrada = encripta(platform::toAnsi(TClave->text()));
    p.servidor = Servidor->currentText();

    Cusuario->close();
    Cusuario->setCommandText(QStringLiteral("select usua_nombre from usuario where usua_cod = ?"),
                             {usuario});
    Cusuario->open();
    p.EUsuario->setText(Cusuario->text(QStringLiteral("USUA_NOMBRE")));
    Cusuario->close();
    accept();
}

void Tfacceso::SalirClick() {
    reject();
}

void Tfacceso::Timer1Timer() {
    Panel1->hide();
    repaint();
}

void Tfacceso::closeEvent(QCloseEvent* event) {
    Cusuario->close();
    QDialog::closeEvent(event);
}
