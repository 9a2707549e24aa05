#include "users/accesousuario.h"

#include "platform/data/dataset.h"
#include "platform/ui/dbcontrols.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"
#include "users/catalogo.h"
#include "users/controles.h"
#include "users/operaciones.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

using platform::DataSet;
using platform::Dialogs;
using platform::FieldDef;
using platform::FieldKind;

namespace {

// The state images of an option: a red cross (not granted) and a red tick
// (granted).
QIcon dibujarEstado(int estado) {
    QPixmap dibujo(16, 16);
    dibujo.fill(Qt::transparent);
    QPainter pintor(&dibujo);
    pintor.setRenderHint(QPainter::Antialiasing);
    QPen trazo(QColor(0xd0, 0x10, 0x10), 2.4);
    trazo.setCapStyle(Qt::RoundCap);
    trazo.setJoinStyle(Qt::RoundJoin);
    pintor.setPen(trazo);
    if (estado == 1) {
        const QPointF visto[] = {{3, 8.5}, {6.5, 12}, {13, 4}};
        pintor.drawPolyline(visto, 3);
    } else {
        pintor.drawLine(QPointF(4, 4), QPointF(12, 12));
        pintor.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    return QIcon(dibujo);
}

QIcon imagenEstado(int estado) {
    static const QIcon cruz = dibujarEstado(0);
    static const QIcon visto = dibujarEstado(1);
    return estado == 1 ? visto : cruz;
}

QLineEdit* soloLectura(QWidget* dueno, const QString& nombre, int ancho = 0) {
    auto* edit = new QLineEdit(dueno);
    edit->setObjectName(nombre);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    if (ancho > 0)
        edit->setFixedWidth(ancho);
    return edit;
}

// Fields of the company's USUARIO as the editor and its lookups read them.
QList<FieldDef> camposUsuarioCompania(bool editado) {
    QList<FieldDef> campos{
        {QStringLiteral("USER_COD"), FieldKind::String, 10, true},
        {QStringLiteral("USER_ANOCNT"), FieldKind::FixedString, 4},
        {QStringLiteral("USER_PERCNT"), FieldKind::Integer},
        {QStringLiteral("SUCU_ID"), FieldKind::Integer},
        {QStringLiteral("USER_EMAIL"), FieldKind::String, 100},
        {QStringLiteral("USER_MAILSERVER"), FieldKind::String, 100},
        {QStringLiteral("USER_MAILUSER"), FieldKind::String, editado ? 40 : 100},
        {QStringLiteral("USER_MAILPASS"), FieldKind::String, 40},
        {QStringLiteral("VEND_COD"), FieldKind::Integer},
        {QStringLiteral("CAJA_ID"), FieldKind::Integer},
        {QStringLiteral("ENTG_ID"), FieldKind::Integer},
        {QStringLiteral("PTVT_ID"), FieldKind::Integer},
        {QStringLiteral("COCI_ID"), FieldKind::Integer},
        {QStringLiteral("COND_NIT"), FieldKind::String, 20},
    };
    if (editado) {
        campos << FieldDef{QStringLiteral("BODE_COD"), FieldKind::String, 2}
               << FieldDef{QStringLiteral("USER_APELLIDO"), FieldKind::String, 60}
               << FieldDef{QStringLiteral("USER_NOMBRE"), FieldKind::String, 60}
               << FieldDef{QStringLiteral("USER_CARGO"), FieldKind::String, 60}
               << FieldDef{QStringLiteral("USER_DEPARTAMENTO"), FieldKind::String, 60};
    } else {
        FieldDef nombre{QStringLiteral("Nombre"), FieldKind::String, 60};
        nombre.calculated = true;
        FieldDef administra{QStringLiteral("Administra"), FieldKind::String, 1};
        administra.calculated = true;
        campos << nombre << administra;
    }
    return campos;
}

} // namespace

Tfaccesousuario::Tfaccesousuario(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("faccesousuario"));
    setWindowTitle(QStringLiteral("Accesos del usuario"));
    resize(431, 560);
    Tfprincipal& p = principal();
    CCompania = p.cliente(p.TCompania, QStringLiteral("CCompania"),
                          {{QStringLiteral("COMP_COD"), FieldKind::FixedString, 3, true},
                           {QStringLiteral("COM_NOMBRE"), FieldKind::String, 80},
                           {QStringLiteral("COMP_NIT"), FieldKind::String, 20},
                           {QStringLiteral("COMP_LOGO"), FieldKind::Blob, 0},
                           {QStringLiteral("COMP_DIR"), FieldKind::String, 140},
                           {QStringLiteral("COMP_TELS"), FieldKind::String, 140},
                           {QStringLiteral("COMP_ENCABEZADO"), FieldKind::String, 140}},
                          this);
    CUsuario = usuarios::usuariosGenerales(this, QStringLiteral("CUsuario"));
    CAgencias = p.cliente(p.TAgencias, QStringLiteral("CAgencias"),
                          {{QStringLiteral("SUCU_ID"), FieldKind::Integer, 0, true},
                           {QStringLiteral("SUCU_NOMBRE"), FieldKind::String, 60},
                           {QStringLiteral("SUCU_DIRECCION"), FieldKind::String, 60},
                           {QStringLiteral("SUCU_TELEFONOS"), FieldKind::String, 60}},
                          this);
    CUser = p.cliente(p.TUser, QStringLiteral("CUser"), camposUsuarioCompania(true), this);
    CUsua = p.cliente(p.TUser, QStringLiteral("CUsua"), camposUsuarioCompania(false), this);
    CUsua->onCalcFields = [this](DataSet& d) {
        // From the users read at opening: the look-up moves no dataset.
        const auto general = generales_.value(d.text(QStringLiteral("USER_COD")));
        d.setValue(QStringLiteral("Nombre"), general.first);
        d.setValue(QStringLiteral("Administra"), general.second);
    };
    const Fuente QBorrar{QStringLiteral("QBorrar"), &p.ConMantenim, {}, {}};
    CBorrar = p.cliente(QBorrar, QStringLiteral("CBorrar"), {}, this);

    construir();
    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
    try {
        abrir();
    } catch (...) {
        regresarACompania();
        throw;
    }
}

Tfaccesousuario::~Tfaccesousuario() {
    regresarACompania();
}

// ---------------------------------------------------------------- look

void Tfaccesousuario::construir() {
    auto* columna = new QVBoxLayout(this);
    auto* encabezado = new QGridLayout;
    Edit1 = soloLectura(this, QStringLiteral("Edit1"), 50);
    Edit3 = soloLectura(this, QStringLiteral("Edit3"));
    Edit2 = soloLectura(this, QStringLiteral("Edit2"), 90);
    Edit4 = soloLectura(this, QStringLiteral("Edit4"));
    encabezado->addWidget(new QLabel(QStringLiteral("Compañía:"), this), 0, 0);
    encabezado->addWidget(Edit1, 0, 1);
    encabezado->addWidget(Edit3, 0, 2);
    encabezado->addWidget(new QLabel(QStringLiteral("Usuario:"), this), 1, 0);
    encabezado->addWidget(Edit2, 1, 1);
    encabezado->addWidget(Edit4, 1, 2);
    columna->addLayout(encabezado);

    construirPerfil();
    columna->addWidget(Panel4);
    Panel5 = usuarios::panelEstado(this, QStringLiteral("Panel5"),
                                   QStringLiteral("Conectando a la BD de la compañia ..."));
    columna->addWidget(Panel5);
    construirCopia();
    columna->addWidget(Panel6);
    construirPanelReporte();
    columna->addWidget(AdvPanel1);
    construirArbol();
    columna->addWidget(TreeView1, 1);

    auto* Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* botones = new QHBoxLayout(Panel3);
    botones->setContentsMargins(0, 0, 0, 0);
    SpeedButton1 =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton1"), QStringLiteral("F2: &Grabar"));
    SpeedButton5 =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton5"), QStringLiteral("F8: Copiar"));
    SpeedButton6 =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton6"), QStringLiteral("F9: Reporte"));
    SpeedButton3 =
        usuarios::botonAccion(this, QStringLiteral("SpeedButton3"), QStringLiteral("ESC: &Salir"));
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton1Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton6Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &QWidget::close);
    for (QToolButton* b : {SpeedButton1, SpeedButton5, SpeedButton6})
        botones->addWidget(b);
    botones->addStretch(1);
    botones->addWidget(SpeedButton3);
    columna->addWidget(Panel3);
}

void Tfaccesousuario::construirPerfil() {
    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::StyledPanel);
    auto* perfil = new QGridLayout(Panel4);
    perfil->setContentsMargins(6, 4, 6, 4);
    perfil->setVerticalSpacing(2);
    Agencias = new QComboBox(Panel4);
    Agencias->setObjectName(QStringLiteral("Agencias"));
    perfil->addWidget(new QLabel(QStringLiteral("Agencia asignada:"), Panel4), 0, 0);
    perfil->addWidget(Agencias, 0, 1, 1, 3);
    const QPair<const char*, const char*> campos[] = {
        {"Nombre:", "USER_NOMBRE"},
        {"Apellido:", "USER_APELLIDO"},
        {"Cargo:", "USER_CARGO"},
        {"Departamento:", "USER_DEPARTAMENTO"},
        {"Servidor correo SMTP:", "USER_MAILSERVER"},
        {"Usuario correo :", "USER_MAILUSER"},
        {"Contraseña correo :", "USER_MAILPASS"},
        {"Dirección de correo:", "USER_EMAIL"},
        {"Punto de venta:", "PTVT_ID"},
        {"Cocinero:", "COCI_ID"},
        {"Caja:", "CAJA_ID"},
        {"Vendedor:", "VEND_COD"},
        {"Entregador:", "ENTG_ID"},
        {"Conductor:", "COND_NIT"},
    };
    int i = 0;
    for (const auto& [titulo, campo] : campos) {
        auto* edit = new QLineEdit(Panel4);
        edit->setObjectName(QString::fromLatin1(campo));
        const int fila = 1 + i / 2;
        const int col = (i % 2) * 2;
        perfil->addWidget(new QLabel(QString::fromUtf8(titulo), Panel4), fila, col);
        perfil->addWidget(edit, fila, col + 1);
        ++i;
    }
}

void Tfaccesousuario::construirArbol() {
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    // Module captions are the stored module names: nothing is edited here.
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const catalogo::Modulo& m : catalogo::modulos()) {
        auto* modulo = new QTreeWidgetItem(TreeView1, {m.titulo});
        for (qsizetype g = 0; g < m.grupos.size(); ++g) {
            auto* grupo = new QTreeWidgetItem(modulo, {m.grupos[g].titulo});
            for (qsizetype o = 0; o < m.grupos[g].opciones.size(); ++o) {
                auto* opcion = new QTreeWidgetItem(grupo, {m.grupos[g].opciones[o]});
                opcion->setData(0, RolModulo, m.nombre());
                opcion->setData(0, RolNumero, catalogo::numeroOpcion(m.nombre(), int(g), int(o)));
                opcion->setData(0, RolEsOpcion, true);
                ponerEstado(opcion, 0);
            }
        }
    }
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* actual) { TreeView1Change(actual); });
}

void Tfaccesousuario::construirCopia() {
    Panel6 = new QFrame(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFrameShape(QFrame::StyledPanel);
    auto* fila = new QHBoxLayout(Panel6);
    Usua = new QComboBox(Panel6);
    Usua->setObjectName(QStringLiteral("Usua"));
    Usua->setMinimumWidth(160);
    auto* copiar =
        usuarios::botonAccion(Panel6, QStringLiteral("SpeedButton2"), QStringLiteral("F5: Copiar"));
    auto* cancelar = usuarios::botonAccion(Panel6, QStringLiteral("SpeedButton4"),
                                           QStringLiteral("ESC: Cancelar"));
    connect(copiar, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton2Click);
    connect(cancelar, &QToolButton::clicked, this, &Tfaccesousuario::SpeedButton4Click);
    fila->addWidget(new QLabel(QStringLiteral("Usuario destino:"), Panel6));
    fila->addWidget(Usua, 1);
    fila->addWidget(copiar);
    fila->addWidget(cancelar);
    Panel6->hide();
}

// The panel of the access-rights report; its controls are added by the
// report's own code into `panelReporte`.
void Tfaccesousuario::construirPanelReporte() {
    AdvPanel1 = new QFrame(this);
    AdvPanel1->setObjectName(QStringLiteral("AdvPanel1"));
    AdvPanel1->setFrameShape(QFrame::StyledPanel);
    panelReporte = new QVBoxLayout(AdvPanel1);
    auto* titulo = new QLabel(QStringLiteral("Reporte de accesos"), AdvPanel1);
    titulo->setObjectName(QStringLiteral("AdvPanel1Caption"));
    QFont negrita = titulo->font();
    negrita.setBold(true);
    titulo->setFont(negrita);
    panelReporte->addWidget(titulo);
    construirReporte();
    AdvPanel1->hide();
}

void Tfaccesousuario::llenarLookupUsuarios(QComboBox* lookup) const {
    const QPointer<QAbstractItemModel> anterior = lookup->model();
    auto* modelo = new QStandardItemModel(0, 2, lookup);
    if (CUsua->isOpen())
        for (int r = 0; r < CUsua->rowCount(); ++r)
            modelo->appendRow({new QStandardItem(CUsua->textAt(r, CUsua->fieldIndex("USER_COD"))),
                               new QStandardItem(CUsua->textAt(r, CUsua->fieldIndex("Nombre")))});
    auto* vista = new QTableView(lookup);
    vista->horizontalHeader()->hide();
    vista->verticalHeader()->hide();
    vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    vista->setShowGrid(true);
    lookup->setModel(modelo);
    lookup->setView(vista);
    lookup->setModelColumn(0);
    vista->setColumnWidth(0, 80);
    vista->setColumnWidth(1, 160);
    vista->horizontalHeader()->setMinimumSectionSize(65);
    vista->setMinimumWidth(200);
    lookup->setCurrentIndex(-1);
    if (anterior && anterior->parent() == lookup && anterior != modelo)
        anterior->deleteLater();
}

// ---------------------------------------------------------------- opening

void Tfaccesousuario::abrir() {
    Tfprincipal& p = principal();
    compania_ = p.compania_sel;
    p.compania_sel.clear();
    Edit1->setText(compania_);
    CCompania->open();
    if (CCompania->locate({QStringLiteral("COMP_COD")}, {compania_}))
        Edit3->setText(CCompania->text(QStringLiteral("COM_NOMBRE")));

    usuario_ = p.usuario_sel;
    Edit2->setText(usuario_);
    CUsuario->open();
    for (int r = 0; r < CUsuario->rowCount(); ++r)
        generales_.insert(CUsuario->textAt(r, 0), {CUsuario->textAt(r, 1), CUsuario->textAt(r, 2)});
    if (CUsuario->locate({QStringLiteral("USUA_COD")}, {usuario_}))
        Edit4->setText(CUsuario->text(QStringLiteral("USUA_NOMBRE")));
    p.usuario_sel.clear();
    // Both general datasets are read in full; the next reader reconnects.
    p.orvilex.disconnect();

    usuarios::mostrarPanel(Panel5, true);
    p.apuntarCompania(compania_);
    p.ConfigurarProviders(this);
    usuarios::mostrarPanel(Panel5, false);

    abrirPerfil();
    abrirAgencias();
    lea_opciones_user(usuario_);
}

void Tfaccesousuario::abrirPerfil() {
    CUser->open();
    conPerfil_ = CUser->locate({QStringLiteral("USER_COD")}, {usuario_});
    if (!conPerfil_) {
        // No row of this user in the company: nothing to edit, and no other
        // user's row is shown in its place.
        CUser->close();
        for (QLineEdit* edit : Panel4->findChildren<QLineEdit*>())
            edit->setEnabled(false);
        Panel4->setToolTip(QStringLiteral(
            "El usuario no tiene registro en esta compañía: su perfil no se edita."));
        return;
    }
    for (QLineEdit* edit : Panel4->findChildren<QLineEdit*>())
        platform::bindEdit(edit, CUser, edit->objectName());
    CUser->edit();
}

void Tfaccesousuario::abrirAgencias() {
    CAgencias->open();
    CBorrar->close();
    if (CAgencias->isEmpty() || !conPerfil_) {
        CBorrar->setCommandText(QStringLiteral("select sucu_nombre from sucursales s, usuario u "
                                               "where s.sucu_id = u.sucu_id and u.user_cod = ?"),
                                {usuario_});
        CBorrar->open();
        Agencias->addItem(CBorrar->isEmpty() ? QString() : CBorrar->textAt(0, 0));
        CBorrar->close();
        Agencias->setEnabled(false);
        return;
    }
    CBorrar->setCommandText(QStringLiteral("select sucu_id from usuario where user_cod = ?"),
                            {usuario_});
    CBorrar->open();
    const QVariant sucursal = CBorrar->isEmpty() ? QVariant() : CBorrar->valueAt(0, 0);
    CBorrar->close();
    Agencias->addItem(QStringLiteral("Todas"));
    int elegida = -1;
    if (!sucursal.isNull() && sucursal.toInt() == 0)
        elegida = 0;
    const int id = CAgencias->fieldIndex(QStringLiteral("SUCU_ID"));
    const int nombre = CAgencias->fieldIndex(QStringLiteral("SUCU_NOMBRE"));
    for (int r = 0; r < CAgencias->rowCount(); ++r) {
        Agencias->addItem(CAgencias->textAt(r, nombre));
        if (!sucursal.isNull() && CAgencias->valueAt(r, id).toInt() == sucursal.toInt())
            elegida = r + 1;
    }
    Agencias->setCurrentIndex(elegida);
}

// ---------------------------------------------------------------- rights

bool Tfaccesousuario::concedida(const QTreeWidgetItem* item) {
    return item->data(0, RolEstado).toInt() == 1;
}

void Tfaccesousuario::ponerEstado(QTreeWidgetItem* item, int estado) {
    item->setData(0, RolEstado, estado);
    item->setIcon(0, imagenEstado(estado));
}

void Tfaccesousuario::lea_opciones_user(const QString& usuario) {
    QHash<QPair<QString, int>, bool> guardados;
    for (const usuarios::Derecho& d : usuarios::leerDerechos(principal().ConMantenim, usuario))
        guardados.insert({d.modulo, d.opcion}, d.concedido);
    // An option without a stored row keeps the state it shows.
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (!item->data(0, RolEsOpcion).toBool())
            continue;
        const QPair<QString, int> clave{item->data(0, RolModulo).toString(),
                                        item->data(0, RolNumero).toInt()};
        const auto fila = guardados.constFind(clave);
        if (fila != guardados.constEnd())
            ponerEstado(item, *fila ? 1 : 0);
    }
}

void Tfaccesousuario::TreeView1Change(QTreeWidgetItem* actual) {
    if (!actual)
        return;
    actual->setExpanded(true);
    if (actual->data(0, RolEsOpcion).toBool())
        ponerEstado(actual, concedida(actual) ? 0 : 1);
}

void Tfaccesousuario::SpeedButton1Click() {
    // The profile first: its row is found by the values it was read with,
    // which the branch update below would change.
    if (conPerfil_) {
        CUser->post();
        if (CUser->applyUpdates(0) > 0) {
            CUser->edit();
            return;
        }
    }
    std::optional<int> sucursal;
    if (conPerfil_ && CAgencias->isOpen() && !CAgencias->isEmpty()) {
        const int elegida = Agencias->currentIndex();
        sucursal = elegida <= 0
                       ? 0
                       : CAgencias->valueAt(elegida - 1, CAgencias->fieldIndex("SUCU_ID")).toInt();
    }
    QList<usuarios::Derecho> derechos;
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        if ((*it)->data(0, RolEsOpcion).toBool())
            derechos.append({(*it)->data(0, RolModulo).toString(),
                             (*it)->data(0, RolNumero).toInt(), concedida(*it)});
    try {
        usuarios::grabarDerechos(principal().ConMantenim, usuario_, derechos, sucursal);
    } catch (...) {
        // Nothing of the rights was written; the window stays as it was.
        if (conPerfil_)
            CUser->edit();
        throw;
    }
    close();
}

// ---------------------------------------------------------------- copy

void Tfaccesousuario::SpeedButton5Click() {
    CUsua->close();
    CUsua->open();
    llenarLookupUsuarios(Usua);
    Panel6->show();
    Usua->setFocus();
}

void Tfaccesousuario::SpeedButton4Click() {
    Panel6->hide();
    CUsua->close();
}

void Tfaccesousuario::SpeedButton2Click() {
    Panel6->hide();
    const QString destino = Usua->currentText();
    if (destino.isEmpty())
        return;
    Dialogs& dialogos = Dialogs::instance();
    if (CUsua->isOpen() && CUsua->locate({QStringLiteral("USER_COD")}, {destino}) &&
        CUsua->text(QStringLiteral("Administra")) == QLatin1String("S")) {
        dialogos.notice(
            this,
            QStringLiteral("No se pueden modificar los permisos de un usuario administrador"));
        return;
    }
    if (destino == usuario_) {
        // Deleting the destination first would leave nothing to copy.
        dialogos.notice(this,
                        QStringLiteral("El usuario destino es el mismo usuario cuyos permisos se "
                                       "copian. Elija otro usuario."));
        return;
    }
    usuarios::copiarDerechos(principal().ConMantenim, usuario_, destino);
    lea_opciones_user(usuario_);
}

// ---------------------------------------------------------------- report panel

void Tfaccesousuario::SpeedButton6Click() {
    CUsua->close();
    CUsua->open();
    llenarLookupUsuarios(LUserd);
    llenarLookupUsuarios(LUserh);
    AdvPanel1->show();
}

// ---------------------------------------------------------------- keys, closing

bool Tfaccesousuario::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    switch (event->key()) {
    case Qt::Key_F2:
        SpeedButton1Click();
        return true;
    case Qt::Key_F8:
        SpeedButton5Click();
        return true;
    case Qt::Key_F5:
        if (!Panel6->isVisible())
            return false;
        SpeedButton2Click();
        return true;
    case Qt::Key_Escape:
        if (Panel6->isVisible())
            SpeedButton4Click();
        else
            close();
        return true;
    default:
        return false;
    }
}

void Tfaccesousuario::closeEvent(QCloseEvent* event) {
    for (DataSet* d : {CUsuario, CCompania, CUser, CUsua, CAgencias, CBorrar, CReporte})
        d->close();
    regresarACompania();
    QDialog::closeEvent(event);
}

void Tfaccesousuario::regresarACompania() {
    if (regresado_)
        return;
    regresado_ = true;
    Aplicacion::protect(this, [] { principal().volverACompaniaDeTrabajo(); });
}
