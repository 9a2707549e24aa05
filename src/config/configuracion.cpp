#include "config/configuracion.h"

#include "config/impresorascfg.h"
#include "config/parametros.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

using platform::DataGrid;
using platform::DataSet;
using platform::FieldDef;
using platform::FieldKind;
using platform::GridColumn;

namespace {
const QString kValor = QStringLiteral("CONF_VALOR");

QToolButton* boton(QWidget* padre, const QString& nombre, const QString& texto) {
    auto* b = new QToolButton(padre);
    b->setObjectName(nombre);
    b->setText(texto);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}
} // namespace

Tfconfiguracion::Tfconfiguracion(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fconfiguracion"));
    setWindowTitle(QStringLiteral("Configuración"));

    Tfprincipal& p = principal();
    // The whole table in the order of IndexModulo (module, category, property).
    const Fuente tabla{QStringLiteral("SQLTable1"),
                       &p.ConMantenim,
                       {},
                       QStringLiteral("select CONF_MODULO, CONF_CATEGORIA, CONF_PROPIEDAD, "
                                      "CONF_VALOR, CONF_POSIBLES, CONF_AYUDA from CONFIGURACION "
                                      "order by CONF_MODULO, CONF_CATEGORIA, CONF_PROPIEDAD")};
    Cconfigura = p.cliente(tabla, QStringLiteral("Cconfigura"),
                           {{"CONF_MODULO", FieldKind::String, 20, true},
                            {"CONF_CATEGORIA", FieldKind::String, 20, true},
                            {"CONF_PROPIEDAD", FieldKind::String, 100, true, "Propiedad"},
                            {"CONF_VALOR", FieldKind::String, 100, false, "Valor"},
                            {"CONF_POSIBLES", FieldKind::String, 250},
                            {"CONF_AYUDA", FieldKind::String, 250}},
                           this);
    Cconfigura->setUpdateTable(QStringLiteral("CONFIGURACION"));
    const Fuente busqueda{QStringLiteral("QBuscar"), &p.ConMantenim, {}, {}};
    CBuscar = p.cliente(busqueda, QStringLiteral("CBuscar"),
                        {{"CONF_MODULO", FieldKind::String, 20, true, "Módulo"},
                         {"CONF_CATEGORIA", FieldKind::String, 20, true, "Categoría"},
                         {"CONF_PROPIEDAD", FieldKind::String, 100, true, "Propiedad"},
                         {"CONF_VALOR", FieldKind::String, 100, false, "Respuesta"}},
                        this);

    construir();

    Cconfigura->afterScroll = [this] { CconfiguraAfterScroll(); };
    Cconfigura->onFieldChange = [this](DataSet& datos, int campo) {
        if (campo == datos.fieldIndex(kValor))
            CconfiguraCONF_VALORChange();
    };
    connect(Cconfigura, &DataSet::currentChanged, this, [this] { mostrarAyuda(); });
    connect(Cconfigura, &DataSet::reset, this, [this] { mostrarAyuda(); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { TreeView1Change(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
    connect(DBGridEh1, &DataGrid::editButtonDown, this,
            [this] { DBGridEh1Columns3EditButtonDown(); });
    connect(DBGridEh1, &DataGrid::editButtonClicked, this,
            [this] { DBGridEh1Columns3EditButtonClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(PngSpeedButton1, &QToolButton::clicked, this, [this] { PngSpeedButton1Click(); });
    connect(PngSpeedButton2, &QToolButton::clicked, this, [this] { PngSpeedButton2Click(); });
    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    // A failed connection or read is reported; the window opens all the same.
    Aplicacion::protect(this, [this] { FormCreate(); });
}

Tfconfiguracion::~Tfconfiguracion() {
    // Also when the window goes without being closed: a new one may open.
    if (Tfprincipal* p = fprincipal())
        p->config_abierta = false;
}

// ---------------------------------------------------------------- look

void Tfconfiguracion::construir() {
    Panel1 = new QLabel(QStringLiteral("Conectando a la BD de la compañia ..."), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->hide();

    TreeView1 = new QTreeWidget;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Panel5 = new QWidget;
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setMinimumWidth(150);
    Panel5->setMaximumWidth(400);
    auto* izquierda = new QVBoxLayout(Panel5);
    izquierda->setContentsMargins(0, 0, 0, 0);
    izquierda->addWidget(TreeView1);

    DBGridEh1 = new DataGrid;
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(Cconfigura);
    GridColumn valor{kValor};
    valor.readOnly = false;
    valor.width = 100;
    valor.minWidth = 70;
    valor.maxWidth = 100;
    valor.fitted = false;
    DBGridEh1->setColumns({{"CONF_MODULO", {}, 0, 0, 0, false},
                           {"CONF_CATEGORIA", {}, 0, 0, 0, false},
                           {"CONF_PROPIEDAD"},
                           valor,
                           {"CONF_POSIBLES"},
                           {"CONF_AYUDA"}});
    DBGridEh1->setFitColumnsToWidth(true);
    DBGridEh1->setEnterMovesLikeTab(true);
    DBGridEh1->setReadOnly(true);
    Panel8 = new QWidget;
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setMinimumHeight(140);
    Panel8->setMaximumHeight(400);
    auto* arriba = new QVBoxLayout(Panel8);
    arriba->setContentsMargins(0, 0, 0, 0);
    arriba->addWidget(DBGridEh1);

    DBMemo1 = new QPlainTextEdit;
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setReadOnly(true);

    Splitter2 = new QSplitter(Qt::Vertical);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(Panel8);
    Splitter2->addWidget(DBMemo1);
    // The panels keep the sizes given at activation; the help text and the
    // grid's side take what the window gains or loses.
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    auto* derecha = new QWidget;
    auto* columna = new QVBoxLayout(derecha);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->addWidget(construirBusqueda());
    columna->addWidget(Splitter2, 1);

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Panel5);
    Splitter1->addWidget(derecha);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(4, 4, 4, 4);
    todo->addWidget(construirBotones());
    todo->addWidget(Panel1);
    todo->addWidget(Splitter1, 1);
}

QWidget* Tfconfiguracion::construirBotones() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel2"));
    auto* fila = new QHBoxLayout(panel);
    fila->setContentsMargins(0, 0, 0, 0);
    SpeedButton3 = boton(panel, QStringLiteral("SpeedButton3"), QStringLiteral("Grabar cambios"));
    SpeedButton1 = boton(panel, QStringLiteral("SpeedButton1"), QStringLiteral("Deshacer cambios"));
    SpeedButton4 = boton(panel, QStringLiteral("SpeedButton4"), QStringLiteral("Buscar"));
    SpeedButton2 =
        boton(panel, QStringLiteral("SpeedButton2"), QStringLiteral("Salir de configuración"));
    SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QToolButton* b : {SpeedButton3, SpeedButton1, SpeedButton4, SpeedButton2}) {
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        fila->addWidget(b);
    }
    fila->addStretch(1);
    SpeedButton3->setEnabled(false);
    SpeedButton1->setEnabled(false);
    return panel;
}

QWidget* Tfconfiguracion::construirBusqueda() {
    GroupBox1 = new QGroupBox(QStringLiteral("Buscar parámetro de configuración"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* etiqueta = new QLabel(QStringLiteral("Propiedad a buscar:"), GroupBox1);
    etiqueta->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(100);
    PngSpeedButton1 =
        boton(GroupBox1, QStringLiteral("PngSpeedButton1"), QStringLiteral(" Buscar"));
    PngSpeedButton2 = boton(GroupBox1, QStringLiteral("PngSpeedButton2"), QStringLiteral(" Salir"));
    DBGridEh2 = new DataGrid(GroupBox1);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    DBGridEh2->setDataSet(CBuscar);
    GridColumn respuesta{QStringLiteral("CONF_VALOR")};
    respuesta.maxWidth = 150;
    DBGridEh2->setColumns({{"CONF_MODULO"}, {"CONF_CATEGORIA"}, {"CONF_PROPIEDAD"}, respuesta});
    DBGridEh2->setReadOnly(true);

    auto* navegador = new QWidget(GroupBox1);
    navegador->setObjectName(QStringLiteral("DBNavigator1"));
    auto* botones = new QHBoxLayout(navegador);
    botones->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* nombre;
        QStyle::StandardPixmap imagen;
        void (DataSet::*mover)();
    } pasos[] = {{"nbFirst", QStyle::SP_MediaSkipBackward, &DataSet::first},
                 {"nbPrior", QStyle::SP_MediaSeekBackward, &DataSet::prior},
                 {"nbNext", QStyle::SP_MediaSeekForward, &DataSet::next},
                 {"nbLast", QStyle::SP_MediaSkipForward, &DataSet::last}};
    for (const auto& paso : pasos) {
        auto* b = new QToolButton(navegador);
        b->setObjectName(QLatin1String(paso.nombre));
        b->setIcon(style()->standardIcon(paso.imagen));
        botones->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, mover = paso.mover] {
            if (CBuscar->isOpen())
                (CBuscar->*mover)();
        });
    }
    botones->addStretch(1);

    auto* fila = new QHBoxLayout;
    fila->addWidget(etiqueta);
    fila->addWidget(Edit1, 1);
    fila->addWidget(PngSpeedButton1);
    fila->addWidget(PngSpeedButton2);
    auto* columna = new QVBoxLayout(GroupBox1);
    columna->addLayout(fila);
    columna->addWidget(DBGridEh2, 1);
    columna->addWidget(navegador);
    GroupBox1->hide();
    return GroupBox1;
}

// ---------------------------------------------------------------- opening

void Tfconfiguracion::FormCreate() {
    Panel1->show();
    repaint();
    Tfprincipal& p = principal();
    p.apuntarCompania(p.compania_actual);
    p.ConfigurarProviders(this);
    Cconfigura->open();
    Panel1->hide();
    repaint();
    construirArbol();
    Cconfigura->close();
}

void Tfconfiguracion::construirArbol() {
    // Building the tree is no choice of a node.
    const QSignalBlocker bloqueo(TreeView1);
    TreeView1->clear();
    for (const config::ModuloConfig& modulo : config::arbolConfiguracion(*Cconfigura)) {
        auto* nodo = new QTreeWidgetItem(TreeView1, {modulo.modulo});
        for (const QString& categoria : modulo.categorias)
            new QTreeWidgetItem(nodo, {categoria});
    }
}

void Tfconfiguracion::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (marco && !activacionConectada_) {
        activacionConectada_ = true;
        // A child inside the frame, without border or caption buttons.
        marco->setWindowFlags(Qt::FramelessWindowHint);
        connect(principal().mdiArea(), &QMdiArea::subWindowActivated, this,
                [this, marco](QMdiSubWindow* activa) {
                    if (activa == marco)
                        FormActivate();
                });
    }
    FormActivate();
}

void Tfconfiguracion::FormActivate() {
    Tfprincipal& p = principal();
    p.config_abierta = true;
    if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget()); marco && !marco->isMaximized())
        marco->showMaximized();
    // The splitters share out their real size, so lay the window out first.
    layout()->activate();
    const int ancho = int(std::ceil((p.width() - 130) / 3.0));
    const int alto = int(std::ceil((p.height() - 120) / 2.0));
    Splitter1->setSizes({ancho, std::max(1, Splitter1->width() - ancho)});
    Splitter2->setSizes({alto, std::max(1, Splitter2->height() - alto)});
}

// ---------------------------------------------------------------- tree and grid

void Tfconfiguracion::TreeView1Change() {
    TreeView1Click();
}

void Tfconfiguracion::TreeView1Click() {
    // Changes not saved go with the rows.
    Cconfigura->close();
    QTreeWidgetItem* nodo = TreeView1->currentItem();
    if (!nodo || nodo->childCount() > 0 || !nodo->parent())
        return;
    Cconfigura->setFilter({{Cconfigura->field(0).name, nodo->parent()->text(0)},
                           {Cconfigura->field(1).name, nodo->text(0)}},
                          true);
    Cconfigura->setFiltered(true);
    Cconfigura->open();
    categoria_abierta = true;
    lista_posibles.clear();
    lista_impresoras.clear();
    Cconfigura->first();
    CconfiguraAfterScroll();
}

void Tfconfiguracion::CconfiguraAfterScroll() {
    if (!categoria_abierta || !Cconfigura->isOpen())
        return;
    GridColumn& columna = DBGridEh1->column(kValor);
    columna.button = GridColumn::Button::None;
    lista_posibles.clear();
    lista_impresoras.clear();
    if (Cconfigura->rowCount() == 0)
        return;
    const QString posibles = Cconfigura->text(QStringLiteral("CONF_POSIBLES"));
    QStringList codigos;
    QByteArray contenido;
    if (posibles == config::marcaImpresora &&
        config::leerArchivo(config::rutaImpresorasCfg(principal().Diraplicacion()), contenido))
        codigos = config::leerCodigos(contenido);
    const config::CeldaValor celda = config::celdaValor(posibles, codigos);
    lista_posibles = celda.posibles;
    if (posibles == config::marcaImpresora)
        lista_impresoras = celda.lista;
    columna.button = celda.boton;
    columna.pickList = celda.lista;
}

void Tfconfiguracion::mostrarAyuda() {
    DBMemo1->setPlainText(Cconfigura->isOpen() ? Cconfigura->text(QStringLiteral("CONF_AYUDA"))
                                               : QString());
}

// ---------------------------------------------------------------- the value cell

void Tfconfiguracion::bloquearValor(bool bloquear) {
    DBGridEh1->setReadOnly(bloquear);
}

void Tfconfiguracion::habilitarCambios(bool habilitar) {
    SpeedButton3->setEnabled(habilitar);
    SpeedButton1->setEnabled(habilitar);
}

void Tfconfiguracion::DBGridEh1Columns3EditButtonDown() {
    bloquearValor(false);
}

void Tfconfiguracion::DBGridEh1Columns3EditButtonClick() {
    Cconfigura->edit();
    const QString valor = Cconfigura->text(kValor);
    if (!config::pareceColor(valor))
        return; // the cell stays open for typing
    const std::optional<quint32> actual = config::valorDeColor(valor);
    if (!actual)
        throw std::runtime_error(
            QStringLiteral("El valor \"%1\" no es un color válido.").arg(valor).toStdString());
    QColor color = config::colorEnPantalla(*actual, palette());
    if (!platform::Dialogs::instance().chooseColor(this, color))
        return;
    Cconfigura->setValue(kValor, config::textoDeColor(config::valorDeRgb(color)));
    Cconfigura->post();
    bloquearValor(true);
}

void Tfconfiguracion::CconfiguraCONF_VALORChange() {
    const QString valor = Cconfigura->text(kValor);
    if (!config::valorPermitido(lista_posibles, valor)) {
        Cconfigura->cancel();
        bloquearValor(true);
        // Shown once the grid's editor is done with the value.
        const QString aviso =
            QStringLiteral("El valor \"%1\" no está entre los valores permitidos: %2.")
                .arg(valor, lista_posibles.join(QStringLiteral(", ")));
        QTimer::singleShot(0, this,
                           [this, aviso] { platform::Dialogs::instance().notice(this, aviso); });
        return;
    }
    bloquearValor(true);
    habilitarCambios(true);
}

// ---------------------------------------------------------------- buttons and keys

void Tfconfiguracion::SpeedButton3Click() {
    // A failed row is reported by the update-error handler; the changes then
    // stay pending, and so do the buttons.
    const int errores = Cconfigura->applyUpdates(0);
    if (errores == 0)
        habilitarCambios(false);
}

void Tfconfiguracion::SpeedButton1Click() {
    if (Cconfigura->isOpen())
        Cconfigura->cancelUpdates();
    habilitarCambios(false);
}

void Tfconfiguracion::SpeedButton2Click() {
    close();
}

void Tfconfiguracion::closeEvent(QCloseEvent* event) {
    Cconfigura->close();
    principal().config_abierta = false;
    event->accept();
}

bool Tfconfiguracion::FormKeyDown(QKeyEvent* event) {
    using platform::KeyPreview;
    if (event->key() == Qt::Key_F2 && KeyPreview::plain(event)) {
        SpeedButton3Click();
        return true;
    }
    if (event->key() == Qt::Key_Escape && KeyPreview::plain(event)) {
        SpeedButton1Click();
        return true;
    }
    if (event->key() == Qt::Key_X && (event->modifiers() & Qt::AltModifier)) {
        SpeedButton2Click();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- search

void Tfconfiguracion::SpeedButton4Click() {
    GroupBox1->show();
    Edit1->setFocus();
}

void Tfconfiguracion::PngSpeedButton1Click() {
    if (Edit1->text().isEmpty())
        return;
    CBuscar->close();
    CBuscar->setCommandText(config::sqlBuscarPropiedad(),
                            config::parametrosBuscarPropiedad(Edit1->text()));
    CBuscar->open();
}

void Tfconfiguracion::PngSpeedButton2Click() {
    GroupBox1->hide();
    Edit1->clear();
    CBuscar->close();
}
