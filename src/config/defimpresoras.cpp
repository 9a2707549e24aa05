#include "config/defimpresoras.h"

#include "platform/ui/dialogs.h"
#include "shell/principal.h"

#include <QHeaderView>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using config::ImpresoraDefinida;

Tfdefimpresoras::Tfdefimpresoras(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("fdefimpresoras"));
    setWindowTitle(QStringLiteral("Definición de impresoras"));
    resize(420, 300);

    // Save, list the printers, saved.
    ImageList1 = {style()->standardIcon(QStyle::SP_DialogSaveButton),
                  style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                  style()->standardIcon(QStyle::SP_DialogApplyButton)};

    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("ToolBar1"));
    barra->addSeparator();
    ToolButton1 = new QToolButton(barra);
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    ToolButton1->setToolTip(QStringLiteral("Grabar"));
    ponerImagen(ToolButton1, 0);
    barra->addWidget(ToolButton1);
    ToolButton2 = new QToolButton(barra);
    ToolButton2->setObjectName(QStringLiteral("ToolButton2"));
    ToolButton2->setToolTip(QStringLiteral("Impresoras disponibles"));
    ponerImagen(ToolButton2, 1);
    barra->addWidget(ToolButton2);
    barra->addSeparator();

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setHeaderLabels({QStringLiteral("Código"), QStringLiteral("Nombre de impresra")});
    ListView1->header()->setMinimumSectionSize(10);
    ListView1->header()->setStretchLastSection(true);

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->setSpacing(0);
    capas->addWidget(barra);
    capas->addWidget(ListView1);

    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { ToolButton2Click(); });
    FormCreate();
}

void Tfdefimpresoras::ponerImagen(QToolButton* boton, int indice) {
    boton->setIcon(ImageList1.value(indice));
    boton->setProperty("imagen", indice);
}

void Tfdefimpresoras::FormCreate() {
    QByteArray contenido;
    if (!config::leerArchivo(config::rutaImpresorasCfg(principal().Diraplicacion()), contenido))
        return;
    mostrar(config::leerDefiniciones(contenido));
}

void Tfdefimpresoras::mostrar(const QList<ImpresoraDefinida>& filas) {
    ListView1->clear();
    for (const ImpresoraDefinida& fila : filas) {
        auto* item = new QTreeWidgetItem(ListView1, {fila.codigo, fila.nombre});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, fila.marcada ? Qt::Checked : Qt::Unchecked);
    }
}

QList<ImpresoraDefinida> Tfdefimpresoras::filas() const {
    QList<ImpresoraDefinida> lista;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        lista << ImpresoraDefinida{item->text(0), item->text(1),
                                   item->checkState(0) == Qt::Checked};
    }
    return lista;
}

void Tfdefimpresoras::ToolButton2Click() {
    // Every listing numbers the printers again from 1.
    mostrar(config::numerarImpresoras(platform::Dialogs::instance().printers()));
    if (!ToolButton1->isEnabled()) {
        ToolButton1->setEnabled(true);
        ponerImagen(ToolButton1, 0);
    }
}

void Tfdefimpresoras::ToolButton1Click() {
    config::guardarDefiniciones(config::rutaImpresorasCfg(principal().Diraplicacion()), filas());
    ToolButton1->setEnabled(false);
    ponerImagen(ToolButton1, 2);
}
