#include "shell/principal.h"

#include "access/companias.h"
#include "access/ctrlacceso.h"
#include "audit/auditoria.h"
#include "config/configuracion.h"
#include "config/defimpresoras.h"
#include "platform/data/dberror.h"
#include "platform/ui/dialogs.h"
#include "shell/aplicacion.h"
#include "shell/errores.h"
#include "shell/imagenes.h"
#include "tools/conssql.h"
#include "tools/ejecutasql.h"
#include "tools/procesosusr.h"
#include "users/usuarios.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using platform::Connection;
using platform::DataSet;
using platform::Dialogs;
using platform::FieldDef;
using platform::FieldKind;

namespace {
Tfprincipal* g_principal = nullptr;
const QString kSitio = QStringLiteral("https://orvilex.example/");
} // namespace

Tfprincipal& principal() {
    return *g_principal;
}
Tfprincipal* fprincipal() {
    return g_principal;
}

Tfprincipal::Tfprincipal(QWidget* parent)
    : QMainWindow(parent) {
    g_principal = this;
    setObjectName(QStringLiteral("fprincipal"));
    setWindowTitle(QStringLiteral("Mantenimiento - Orvilex"));
    Aplicacion::setHook(
        [this](QObject* sender, const std::exception& e) { ENoManejada(sender, e); });
    pendiente_acceso = true;
    config_abierta = false;
    dir_aplicacion = QDir::toNativeSeparators(QDir::currentPath());

    TUsuario = {QStringLiteral("TUsuario"), &orvilex, QStringLiteral("USUARIO"), {}};
    TCompania = {QStringLiteral("TCompania"), &orvilex, QStringLiteral("COMPANIA"), {}};
    TCompusuario = {
        QStringLiteral("TCompusuario"), &orvilex, QStringLiteral("COMPANIA_USUARIO"), {}};
    QUsuarios = {
        QStringLiteral("QUsuarios"), &orvilex, {}, QStringLiteral("select * from usuario")};
    QBorrar = {QStringLiteral("QBorrar"), &orvilex, {}, {}};
    QUsergen = {QStringLiteral("QUsergen"), &ConGeneral, {}, {}};
    QUsuario = {
        QStringLiteral("QUsuario"), &ConMantenim, {}, QStringLiteral("select * from usuario")};
    QConfiguracion = {QStringLiteral("QConfiguracion"), &ConMantenim, {}, {}};
    Qborrausr = {QStringLiteral("Qborrausr"), &ConMantenim, {}, {}};
    TUser = {QStringLiteral("TUser"), &ConMantenim, QStringLiteral("USUARIO"), {}};
    TAgencias = {QStringLiteral("TAgencias"), &ConMantenim, QStringLiteral("SUCURSALES"), {}};
    QTipodoc = {QStringLiteral("QTipodoc"),
                &ConMantenim,
                {},
                QStringLiteral("SELECT * FROM TIPO_DOCUMENTO")};
    QRepauditor = {QStringLiteral("QRepauditor"), &ConMantenim, {}, {}};
    TProcesos = {QStringLiteral("TProcesos"),
                 &ConMantenim,
                 {},
                 QStringLiteral("SELECT * FROM PROCEDIMIENTOS_USUARIO")};
    QProcusuario = {QStringLiteral("QProcusuario"), &ConMantenim, {}, {}};

    CUser = cliente(TUsuario, QStringLiteral("CUser"),
                    {{QStringLiteral("USUA_COD"), FieldKind::String, 12, true},
                     {QStringLiteral("USUA_NOMBRE"), FieldKind::String, 60},
                     {QStringLiteral("USUA_ADMIN"), FieldKind::FixedString, 1}},
                    this);
    CUsuario = cliente(QUsuario, QStringLiteral("CUsuario"), {}, this);
    CConfiguracion = cliente(QConfiguracion, QStringLiteral("CConfiguracion"), {}, this);
    CBorrausr = cliente(Qborrausr, QStringLiteral("CBorrausr"), {}, this);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* centro = new QWidget(this);
    auto* columnas = new QHBoxLayout;
    columnas->setContentsMargins(0, 0, 0, 0);
    columnas->setSpacing(0);
    auto* vertical = new QVBoxLayout(centro);
    vertical->setContentsMargins(0, 0, 0, 0);
    vertical->setSpacing(0);
    setCentralWidget(centro);
    construirEncabezado();
    vertical->addWidget(findChild<QWidget*>(QStringLiteral("PanelEncabezado")));
    vertical->addLayout(columnas, 1);
    construirPanel();
    columnas->addWidget(findChild<QWidget*>(QStringLiteral("PanelMan")));
    columnas->addWidget(mdi_, 1);
    construirMenus();
    construirEstado();
}

Tfprincipal::~Tfprincipal() {
    Aplicacion::setHook({});
    if (g_principal == this)
        g_principal = nullptr;
}

DataSet* Tfprincipal::cliente(const Fuente& fuente, const QString& nombre,
                              const QList<FieldDef>& campos, QObject* owner) const {
    auto* datos = new DataSet(nombre, fuente.conexion, owner);
    datos->setSourceName(fuente.nombre);
    datos->setFields(campos);
    if (!fuente.tabla.isEmpty())
        datos->setTableName(fuente.tabla);
    else if (!fuente.sql.isEmpty())
        datos->setCommandText(fuente.sql);
    return datos;
}

// ---------------------------------------------------------------- look

void Tfprincipal::construirEncabezado() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelEncabezado"));
    panel->setAutoFillBackground(true);
    QPalette fondo = panel->palette();
    fondo.setColor(QPalette::Window, QColor(0x24, 0x3b, 0x55));
    fondo.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(fondo);
    auto* fila = new QHBoxLayout(panel);
    fila->setContentsMargins(12, 6, 12, 6);

    auto* logo = new QToolButton(panel);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setAutoRaise(true);
    logo->setIcon(imagenes::logo(QSize(160, 48)));
    logo->setIconSize(QSize(160, 48));
    logo->setCursor(Qt::PointingHandCursor);
    connect(logo, &QToolButton::clicked, this, [] { Dialogs::instance().openUrl(QUrl(kSitio)); });
    fila->addWidget(logo);
    fila->addSpacing(24);

    auto campo = [&](const QString& titulo, const QString& nombre, int ancho) {
        auto* columna = new QVBoxLayout;
        columna->setSpacing(2);
        auto* etiqueta = new QLabel(titulo, panel);
        columna->addWidget(etiqueta);
        auto* caja = new QLineEdit(panel);
        caja->setObjectName(nombre);
        caja->setReadOnly(true);
        caja->setFocusPolicy(Qt::NoFocus);
        caja->setMinimumWidth(ancho);
        columna->addWidget(caja);
        fila->addLayout(columna);
        return caja;
    };
    ECompania = campo(QStringLiteral("Compañia:"), QStringLiteral("ECompania"), 320);
    fila->addSpacing(12);
    EUsuario = campo(QStringLiteral("Usuario:"), QStringLiteral("EUsuario"), 200);
    fila->addStretch(1);

    auto* enlace = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#cfe3ff\">%2</a>")
                                  .arg(kSitio, QStringLiteral("orvilex.example")),
                              panel);
    enlace->setObjectName(QStringLiteral("LinkLabel1"));
    enlace->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(enlace, &QLabel::linkActivated, this,
            [](const QString& url) { Dialogs::instance().openUrl(QUrl(url)); });
    fila->addWidget(enlace);
    auto* derecha = new QLabel(panel);
    derecha->setObjectName(QStringLiteral("Image2"));
    derecha->setPixmap(imagenes::sello(QSize(48, 48)));
    fila->addWidget(derecha);
}

void Tfprincipal::construirPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelMan"));
    panel->setFixedWidth(150);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* columna = new QVBoxLayout(panel);
    columna->setContentsMargins(8, 12, 8, 8);
    columna->setSpacing(8);
    struct Boton {
        const char* nombre;
        const char* texto;
        QStyle::StandardPixmap icono;
        void (Tfprincipal::*accion)();
    };
    const Boton botones[] = {
        {"sButton2", "Configurar           impresoras       ", QStyle::SP_DialogSaveButton,
         &Tfprincipal::sButton2Click},
        {"sButton3", "Administrar        usuarios        ", QStyle::SP_DirHomeIcon,
         &Tfprincipal::sButton3Click},
        {"sButton4", " Configuración    ", QStyle::SP_FileDialogDetailedView,
         &Tfprincipal::sButton4Click},
        {"sButton1", " Auditoría            ", QStyle::SP_FileDialogContentsView,
         &Tfprincipal::sButton1Click},
        {"sButton5", " Procedimientos      ", QStyle::SP_MediaPlay, &Tfprincipal::sButton5Click},
        {"AdvGlowButton1", "Consulta SQL     ", QStyle::SP_FileDialogInfoView,
         &Tfprincipal::AdvGlowButton1Click},
        {"AdvGlowButton2", "Script SQL         ", QStyle::SP_CommandLink,
         &Tfprincipal::AdvGlowButton2Click},
    };
    for (const Boton& b : botones) {
        auto* boton = new QToolButton(panel);
        boton->setObjectName(QString::fromLatin1(b.nombre));
        // The captions pad with blanks to wrap on the old buttons; shown here
        // on two lines when they hold two words.
        boton->setText(
            QString::fromUtf8(b.texto).simplified().replace(QLatin1Char(' '), QLatin1Char('\n')));
        boton->setProperty("caption", QString::fromUtf8(b.texto));
        boton->setIcon(style()->standardIcon(b.icono));
        boton->setIconSize(QSize(28, 28));
        boton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        boton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        boton->setMinimumHeight(64);
        connect(boton, &QToolButton::clicked, this, b.accion);
        columna->addWidget(boton);
    }
    columna->addStretch(1);
    auto* pie = new QLabel(panel);
    pie->setObjectName(QStringLiteral("Image3"));
    pie->setPixmap(imagenes::panel(QSize(130, 90)));
    pie->setAlignment(Qt::AlignCenter);
    columna->addWidget(pie);
}

void Tfprincipal::construirMenus() {
    QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    archivo->addAction(QStringLiteral("&Salir"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    QMenu* edicion = menuBar()->addMenu(QStringLiteral("&Edición"));
    edicion->addAction(QStringLiteral("&Copiar"));
    edicion->addAction(QStringLiteral("Cor&tar"));
    edicion->addAction(QStringLiteral("&Pegar"));
    QMenu* opciones = menuBar()->addMenu(QStringLiteral("&Opciones"));
    opciones->addAction(QStringLiteral("Configurar &Impresoras"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    opciones->addAction(QStringLiteral("Administración de &Usuarios"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+U")));
    opciones->addAction(QStringLiteral("&Configuración"));
    opciones->addAction(QStringLiteral("&Mantenimiento avanzado"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    menuVentana_ = menuBar()->addMenu(QStringLiteral("Ventana"));
    menuVentana_->setObjectName(QStringLiteral("Ventana1"));
    connect(menuVentana_, &QMenu::aboutToShow, this, &Tfprincipal::actualizarMenuVentana);
    actualizarMenuVentana();
    QMenu* ayuda = menuBar()->addMenu(QStringLiteral("Ayuda"));
    ayuda->addAction(QStringLiteral("&Contenido"));
    ayuda->addAction(QStringLiteral("&Búsqueda"));
    ayuda->addAction(QStringLiteral("&Acerca de"));
}

// The Window menu is rebuilt each time it is shown: the five commands,
// enabled while child windows exist, then the open child windows.
void Tfprincipal::actualizarMenuVentana() {
    menuVentana_->clear();
    const QList<QMdiSubWindow*> hijas = mdi_->subWindowList();
    const bool hay = !hijas.isEmpty();
    auto comando = [&](const QString& texto, auto accion) {
        QAction* a = menuVentana_->addAction(texto, mdi_, accion);
        a->setEnabled(hay);
    };
    comando(QStringLiteral("&Organizar"), &QMdiArea::tileSubWindows);
    comando(QStringLiteral("&Cascada"), &QMdiArea::cascadeSubWindows);
    QAction* minimizar = menuVentana_->addAction(QStringLiteral("&Minimizar todas"), this, [this] {
        for (QMdiSubWindow* hija : mdi_->subWindowList())
            hija->showMinimized();
    });
    minimizar->setEnabled(hay);
    comando(QStringLiteral("Org. &Horizontalmente"), &QMdiArea::tileSubWindows);
    QAction* vertical =
        menuVentana_->addAction(QStringLiteral("Org. &Verticalmente"), this, [this] {
            // Side by side: each child the full height and an equal share of the width.
            const QList<QMdiSubWindow*> lista = mdi_->subWindowList();
            const int ancho = lista.isEmpty() ? 0 : mdi_->viewport()->width() / int(lista.size());
            int x = 0;
            for (QMdiSubWindow* hija : lista) {
                hija->showNormal();
                hija->setGeometry(x, 0, ancho, mdi_->viewport()->height());
                x += ancho;
            }
        });
    vertical->setEnabled(hay);
    if (hay)
        menuVentana_->addSeparator();
    int numero = 1;
    for (QMdiSubWindow* hija : hijas) {
        QAction* a =
            menuVentana_->addAction(QStringLiteral("&%1 %2").arg(numero++).arg(hija->windowTitle()),
                                    this, [this, hija] { mdi_->setActiveSubWindow(hija); });
        a->setCheckable(true);
        a->setChecked(hija == mdi_->activeSubWindow());
    }
}

void Tfprincipal::construirEstado() {
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAutoFillBackground(true);
    panel0_ = new QLabel(QStringLiteral("Mensaje:"), StatusBar1);
    panel0_->setObjectName(QStringLiteral("Panel0"));
    panel0_->setMinimumWidth(700);
    panel1_ = new QLabel(QStringLiteral("Fecha"), StatusBar1);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setMinimumWidth(50);
    StatusBar1->addWidget(panel0_, 1);
    StatusBar1->addWidget(panel1_);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2500);
    connect(Timer2, &QTimer::timeout, this, &Tfprincipal::limpiarAdvertencia);
}

// ---------------------------------------------------------------- status bar

QString Tfprincipal::mensajeEstado() const {
    return panel0_->text();
}

void Tfprincipal::setMensajeEstado(const QString& texto) {
    // Any new text ends a warning shown before it.
    if (advertencia_)
        limpiarAdvertencia();
    panel0_->setText(texto);
}

void Tfprincipal::mostrar_advertencia(const QString& texto) {
    Dialogs::instance().beep();
    setMensajeEstado(QStringLiteral("Advertencia: ") + texto);
    advertencia_ = true;
    QPalette rojo = StatusBar1->palette();
    rojo.setColor(QPalette::Window, Qt::red);
    StatusBar1->setPalette(rojo);
    // The duration counts tenths of a second. The lookup runs inside the
    // error handler: a failure of its own falls back to the usual duration
    // instead of raising a second error.
    int decimas = 25;
    try {
        bool ok = false;
        const int leido = configuracion(QStringLiteral("GENERAL"), QStringLiteral("GENERAL"),
                                        QStringLiteral("DURACION DE LAS ADVERTENCIAS"))
                              .toInt(&ok);
        if (ok && leido > 0)
            decimas = leido;
    } catch (const std::exception&) {
    }
    Timer2->setInterval(decimas * 100);
    Timer2->start();
}

void Tfprincipal::limpiarAdvertencia() {
    Timer2->stop();
    if (!advertencia_)
        return;
    advertencia_ = false;
    StatusBar1->setPalette(QPalette());
    panel0_->setText(QStringLiteral("Mensaje:"));
}

// ---------------------------------------------------------------- databases

QString Tfprincipal::rutaGeneral() const {
    return servidor + QStringLiteral("/datos/general.fdb");
}

QString Tfprincipal::rutaCompania(const QString& codigo) const {
    return servidor + QStringLiteral("/datos/") + codigo + QStringLiteral("/contabil.fdb");
}

void Tfprincipal::apuntar(Connection& conexion, const QString& database) {
    conexion.disconnect();
    conexion.setParam(QStringLiteral("Database"), database);
    conexion.setParam(QStringLiteral("User_Name"), usuario_actual);
    conexion.setParam(QStringLiteral("password"), clave_actual);
    conexion.connect();
}

void Tfprincipal::apuntarCompania(const QString& codigo) {
    apuntar(ConMantenim, rutaCompania(codigo));
}

void Tfprincipal::volverACompaniaDeTrabajo() {
    if (ConMantenim.connected() &&
        ConMantenim.param(QStringLiteral("Database")) == rutaCompania(compania_actual))
        return;
    apuntarCompania(compania_actual);
}

QString Tfprincipal::configuracion(const QString& modulo, const QString& categoria,
                                   const QString& propiedad) {
    CConfiguracion->close();
    CConfiguracion->setCommandText(
        QStringLiteral("select conf_valor from configuracion where conf_modulo = ? and "
                       "conf_categoria = ? and conf_propiedad = ?"),
        {modulo, categoria, propiedad});
    CConfiguracion->open();
    if (CConfiguracion->rowCount() >= 1)
        return CConfiguracion->valueAt(0, 0).toString();
    Dialogs::instance().error(this, QStringLiteral("No se encontró la configuración ") + propiedad);
    return QString();
}

// ---------------------------------------------------------------- errors

void Tfprincipal::ConfigurarProviders(QObject* form) {
    for (QObject* hijo : form->children()) {
        if (auto* datos = qobject_cast<DataSet*>(hijo)) {
            datos->onUpdateError = [this](DataSet& d, const platform::DbError& e,
                                          platform::UpdateResponse& respuesta) {
                respuesta = platform::UpdateResponse::Abort;
                ManejarError(&d, &d, e.text());
            };
            auto cliente = [this](DataSet& d, const platform::DbError& e, platform::DataAction& a) {
                ManejarClientError(d, e, a);
            };
            datos->onPostError = cliente;
            datos->onEditError = cliente;
            datos->onDeleteError = cliente;
        } else if (!hijo->children().isEmpty()) {
            ConfigurarProviders(hijo);
        }
    }
}

void Tfprincipal::ManejarError(QObject* sender, DataSet* datos, const QString& texto,
                               bool esErrorDeBase) {
    Dialogs& dialogos = Dialogs::instance();
    const QDateTime ahora = dialogos.now();
    errores::anotar(dir_aplicacion,
                    errores::lineaRegistro(ahora.date().toString(dialogos.shortDateFormat()),
                                           ahora.time().toString(dialogos.longTimeFormat()),
                                           usuario_actual, texto));
    setMensajeEstado(texto);
    QString mensaje = texto;
    if (datos && sender) {
        mensaje = errores::mensajeProveedor(texto, datos->sourceName());
    } else if (datos) {
        mostrar_advertencia(datos->name() + QStringLiteral(": ") + texto);
        mensaje = errores::mensajeCliente(texto, *datos);
    } else {
        mensaje = errores::mensajeNoManejado(texto, esErrorDeBase);
    }
    dialogos.beep();
    dialogos.error(QApplication::activeWindow(), mensaje);
}

void Tfprincipal::ManejarClientError(DataSet& datos, const platform::DbError& error,
                                     platform::DataAction& accion) {
    accion = platform::DataAction::Abort;
    ManejarError(nullptr, &datos, error.text());
}

void Tfprincipal::ENoManejada(QObject* sender, const std::exception& error) {
    if (const auto* db = dynamic_cast<const platform::DbError*>(&error))
        ManejarError(sender, nullptr, db->text(), true);
    else
        ManejarError(sender, nullptr, QString::fromUtf8(error.what()), false);
}

// ---------------------------------------------------------------- start-up

void Tfprincipal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activarDespues();
}

// Without a window manager a shown window may never be told it is active:
// the first showing starts the flow too (a flow already running is not
// started twice).
void Tfprincipal::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    activarDespues();
}

void Tfprincipal::activarDespues() {
    QTimer::singleShot(0, this, [this] { Aplicacion::protect(this, [this] { FormActivate(); }); });
}

void Tfprincipal::FormActivate() {
    if (pendiente_acceso && !flujoEnCurso_ && !terminando_) {
        flujoEnCurso_ = true;
        try {
            flujoDeInicio();
        } catch (...) {
            flujoEnCurso_ = false;
            throw;
        }
        flujoEnCurso_ = false;
    }
    // File dialogs of the tool windows move the current folder.
    if (!QDir::setCurrent(dir_aplicacion))
        throw std::runtime_error(
            ("I/O error: cannot change to folder " + dir_aplicacion).toStdString());
}

void Tfprincipal::flujoDeInicio() {
    {
        auto* acceso = new Tfacceso(this);
        acceso->setAttribute(Qt::WA_DeleteOnClose);
        if (acceso->exec() != QDialog::Accepted) {
            terminar();
            return;
        }
    }
    compania_ok = false;
    {
        auto* companias = new Tfcompanias(this);
        companias->setAttribute(Qt::WA_DeleteOnClose);
        companias->exec();
    }
    if (!compania_ok) {
        Dialogs::instance().error(
            this, QStringLiteral("Acceso no permitido. Ingrese al módulo principal o "
                                 "especifique un nombre de usuario válido."));
        terminar();
        return;
    }
    compania_ok = false;
    apuntar(orvilex, rutaGeneral());
    apuntarCompania(compania_actual);
    if (!revisarUsuario())
        return;
    pendiente_acceso = false;
}

// The user must exist in the general database, be an administrator and
// have a row in the working company.
bool Tfprincipal::revisarUsuario() {
    CUser->close();
    CUser->setFilter({{QStringLiteral("USUA_COD"), usuario_actual}});
    CUser->setFiltered(true);
    CUser->open();
    auto rechazar = [this](const QString& mensaje) {
        CUser->close();
        Dialogs::instance().error(this, mensaje);
        terminar();
        return false;
    };
    if (CUser->rowCount() == 0)
        return rechazar(QStringLiteral("Nombre de usuario incorrecto."));
    if (CUser->text(QStringLiteral("USUA_ADMIN")) != QLatin1String("S"))
        return rechazar(QStringLiteral("El usuario debe ser administrador."));
    CUsuario->close();
    CUsuario->setCommandText(QStringLiteral("select * from usuario where user_cod = ?"),
                             {usuario_actual});
    CUsuario->open();
    if (CUsuario->rowCount() < 1) {
        CUsuario->close();
        return rechazar(QStringLiteral("El usuario no tiene acceso a la compañía."));
    }
    EUsuario->setText(CUser->text(QStringLiteral("USUA_COD")));
    ECompania->setText(configuracion(QStringLiteral("GENERAL"), QStringLiteral("GENERAL"),
                                     QStringLiteral("NOMBRE COMPANIA")));
    compania_ok = true;
    CUsuario->close();
    CUser->close();
    return true;
}

void Tfprincipal::terminar() {
    terminando_ = true;
    close();
    QCoreApplication::quit();
}

void Tfprincipal::closeEvent(QCloseEvent* event) {
    mdi_->closeAllSubWindows();
    event->accept();
}

// ---------------------------------------------------------------- tool windows

void Tfprincipal::abrirHija(QWidget* ventana, bool maximizada) {
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* marco = mdi_->addSubWindow(ventana);
    marco->setAttribute(Qt::WA_DeleteOnClose);
    marco->setWindowIcon(windowIcon());
    // The frame goes with the window it holds.
    connect(ventana, &QObject::destroyed, marco, &QMdiSubWindow::close);
    if (maximizada)
        marco->showMaximized();
    else
        marco->show();
}

template <typename Ventana> static void abrirModal(Tfprincipal* dueno) {
    auto* ventana = new Ventana(dueno);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    ventana->exec();
}

void Tfprincipal::sButton2Click() {
    abrirModal<Tfdefimpresoras>(this);
}

void Tfprincipal::sButton3Click() {
    abrirModal<Tfusuarios>(this);
}

void Tfprincipal::sButton4Click() {
    if (config_abierta) {
        for (QMdiSubWindow* hija : mdi_->subWindowList())
            if (hija->widget() && hija->widget()->objectName() == QLatin1String("fconfiguracion")) {
                mdi_->setActiveSubWindow(hija);
                hija->showMaximized();
            }
        return;
    }
    abrirHija(new Tfconfiguracion(this), true);
}

void Tfprincipal::sButton1Click() {
    abrirHija(new Tfauditoria(this));
}

void Tfprincipal::sButton5Click() {
    abrirHija(new Tfprocusr(this));
}

void Tfprincipal::AdvGlowButton1Click() {
    abrirHija(new Tfconssql(this));
}

void Tfprincipal::AdvGlowButton2Click() {
    abrirHija(new Tfejecutasql(this));
}
