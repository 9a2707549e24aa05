#include "access/companias.h"

#include "platform/data/datasetmodel.h"
#include "platform/ui/keypreview.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using platform::FieldKind;

Tfcompanias::Tfcompanias(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fcompanias"));
    setWindowTitle(QStringLiteral("Compañías de trabajo"));
    resize(900, 380);
    Tfprincipal& p = principal();
    const Fuente Qcompanias{QStringLiteral("Qcompanias"), &p.ConGeneral, {}, {}};
    CCompania = p.cliente(
        Qcompanias, QStringLiteral("CCompania"),
        {{QStringLiteral("COMP_COD"), FieldKind::String, 3, true, QStringLiteral("Código")},
         {QStringLiteral("COM_NOMBRE"), FieldKind::String, 80, false, QStringLiteral("Nombre")},
         {QStringLiteral("COMP_NIT"), FieldKind::String, 20, false, QStringLiteral("NIT")},
         {QStringLiteral("COMP_DIR"), FieldKind::String, 140, false, QStringLiteral("Dirección")},
         {QStringLiteral("COMP_TELS"), FieldKind::String, 140, false, QStringLiteral("Teléfonos")},
         {QStringLiteral("COMP_ENCABEZADO"), FieldKind::String, 140, false,
          QStringLiteral("Encabezado")},
         {QStringLiteral("COMP_LOGO"), FieldKind::Blob, 0}},
        this);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(new platform::DataSetModel(CCompania, DBGrid1));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    // The logo is fetched but not shown.
    connect(CCompania, &platform::DataSet::reset, DBGrid1, [this] {
        if (CCompania->isOpen())
            DBGrid1->setColumnHidden(CCompania->fieldIndex(QStringLiteral("COMP_LOGO")), true);
        for (auto [columna, ancho] : {std::pair{0, 60}, {1, 260}, {2, 110}, {3, 200}, {4, 140}})
            DBGrid1->setColumnWidth(columna, ancho);
    });
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);

    auto* salir = new QToolButton(this);
    salir->setObjectName(QStringLiteral("SpeedButton2"));
    salir->setText(QStringLiteral("ESC: &Salir"));
    auto* selecciona = new QToolButton(this);
    selecciona->setObjectName(QStringLiteral("SpeedButton1"));
    selecciona->setText(QStringLiteral("F10:&Selecciona"));
    for (QToolButton* b : {salir, selecciona}) {
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(salir, &QToolButton::clicked, this, &Tfcompanias::SalirClick);
    connect(selecciona, &QToolButton::clicked, this, &Tfcompanias::SeleccionaClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        Aplicacion::protect(this, [&] {
            CCompania->setCurrentRow(index.row());
            SeleccionaClick();
        });
    });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && CCompania->isOpen())
                    CCompania->setCurrentRow(index.row());
            });

    auto* barra = new QHBoxLayout;
    barra->addWidget(salir);
    barra->addStretch(1);
    barra->addWidget(selecciona);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(DBGrid1, 1);
    columna->addLayout(barra);

    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    // A failing query is reported and leaves the list empty.
    Aplicacion::protect(this, [&] {
        CCompania->close();
        CCompania->setCommandText(
            QStringLiteral("select * from compania where comp_cod in (select comp_cod from "
                           "compania_usuario where usua_cod = %1)")
                .arg(platform::quoted(p.usuario_actual)));
        CCompania->open();
    });
    if (CCompania->rowCount() > 0)
        DBGrid1->selectRow(0);
}

bool Tfcompanias::FormKeyDown(QKeyEvent* event) {
    if (!platform::KeyPreview::plain(event))
        return false;
    if (event->key() == Qt::Key_F10) {
        SeleccionaClick();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

void Tfcompanias::SeleccionaClick() {
    Tfprincipal& p = principal();
    p.compania_actual = CCompania->text(QStringLiteral("COMP_COD"));
    p.ECompania->setText(CCompania->text(QStringLiteral("COM_NOMBRE")));
    p.compania_ok = true;
    close();
}

void Tfcompanias::SalirClick() {
    principal().compania_ok = false;
    close();
}

void Tfcompanias::closeEvent(QCloseEvent* event) {
    CCompania->close();
    QDialog::closeEvent(event);
}
