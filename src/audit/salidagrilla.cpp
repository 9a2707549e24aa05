#include "audit/salidagrilla.h"

#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QMenu>

using platform::DataGrid;
using platform::Dialogs;
using platform::ExportKind;

namespace {

struct Tipo {
    ExportKind clase;
    const char* extension;
};

QList<Tipo> tiposDe(ListaTipos lista) {
    if (lista == ListaTipos::EspanolTres)
        return {{ExportKind::Text, "txt"}, {ExportKind::Csv, "csv"}, {ExportKind::Xls, "xls"}};
    return {{ExportKind::Text, "txt"},
            {ExportKind::Csv, "csv"},
            {ExportKind::Html, "htm"},
            {ExportKind::Rtf, "rtf"},
            {ExportKind::Xls, "xls"}};
}

// Keeps the wait cursor while a file is written.
struct CursorEspera {
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};

} // namespace

QString filtroDe(ListaTipos lista) {
    switch (lista) {
    case ListaTipos::EspanolCinco:
        return QStringLiteral(
            "Archivo texto (*.txt)|*.TXT|Valores separados por comas (*.csv)|*.CSV|"
            "Archivo HTML (*.htm)|*.HTM|Texto con formato (*.rtf)|*.RTF|"
            "Libro de Microsoft Excel (*.xls)|*.XLS");
    case ListaTipos::InglesCinco:
        return QStringLiteral("Text files (*.txt)|*.TXT|Comma separated values (*.csv)|*.CSV|"
                              "HTML file (*.htm)|*.HTM|Rich Text Format (*.rtf)|*.RTF|"
                              "Microsoft Excel Workbook (*.xls)|*.XLS");
    case ListaTipos::EspanolTres:
        return QStringLiteral(
            "Archivo texto (*.txt)|*.TXT|Valores separados por comas (*.csv)|*.CSV|"
            "Libro de Microsoft Excel (*.xls)|*.XLS");
    }
    return {};
}

bool claseDeEntrada(ListaTipos lista, int entrada, ExportKind* clase, QString* extension) {
    const QList<Tipo> tipos = tiposDe(lista);
    if (entrada < 1 || entrada > tipos.size())
        return false;
    *clase = tipos[entrada - 1].clase;
    *extension = QString::fromLatin1(tipos[entrada - 1].extension);
    return true;
}

QString conExtension(const QString& nombre, const QString& extension) {
    if (nombre.right(3).compare(extension, Qt::CaseInsensitive) == 0)
        return nombre;
    return nombre + QLatin1Char('.') + extension;
}

SalidaGrilla::SalidaGrilla(QWidget* ventana, DataGrid* grilla, const QString& nombrePorDefecto,
                           ListaTipos tipos, const QString& encabezado, Guardar guardar)
    : QObject(ventana)
    , ventana_(ventana)
    , grilla_(grilla)
    , nombre_(nombrePorDefecto)
    , tipos_(tipos)
    , encabezado_(encabezado)
    , guardarDe_(guardar) {
    PrintDBGridEh1.setGrid(grilla);
    PrintDBGridEh1.setFont(QFont(QStringLiteral("Arial"), 9));
    PrintDBGridEh1.setPageHeader(QStringLiteral("Page. &[Page]"));
    PrintDBGridEh1.setTitleLines({QStringLiteral("Title")});
    QFont titulo(QStringLiteral("Arial"), 14);
    titulo.setBold(true);
    PrintDBGridEh1.setBeforeGrid({{{{encabezado_, titulo}}, Qt::AlignHCenter}, {}});
    QFont impreso(QStringLiteral("Arial"), 10);
    impreso.setBold(true);
    QFont fecha(QStringLiteral("Arial"), 8);
    fecha.setBold(true);
    PrintDBGridEh1.setAfterGrid(
        {{{{QStringLiteral("Impreso: "), impreso}, {QStringLiteral("%[Today]"), fecha}}}});
}

QMenu* SalidaGrilla::PopupMenu1() {
    if (menu_)
        return menu_;
    menu_ = new QMenu(ventana_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const QString& texto, const char* nombre, void (SalidaGrilla::*accion)()) {
        QAction* a = menu_->addAction(texto);
        a->setObjectName(QString::fromLatin1(nombre));
        connect(a, &QAction::triggered, this, accion);
    };
    item(QStringLiteral("&Copiar"), "ppmCopy", &SalidaGrilla::ppmCopyClick);
    item(QStringLiteral("Se&lecccionar todo"), "ppmSelectAll", &SalidaGrilla::ppmSelectAllClick);
    menu_->addSeparator();
    item(QStringLiteral("&Imprimir"), "ppmPreview", &SalidaGrilla::ppmPreviewClick);
    item(QStringLiteral("&Guardar selección"), "ppmSaveSelection",
         &SalidaGrilla::ppmSaveSelectionClick);
    return menu_;
}

void SalidaGrilla::usarMenuEn(DataGrid* grilla) {
    QMenu* menu = PopupMenu1();
    grilla->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grilla, &QWidget::customContextMenuRequested, menu,
            [menu, grilla](const QPoint& p) { menu->popup(grilla->viewport()->mapToGlobal(p)); });
}

DataGrid* SalidaGrilla::grillaEnFoco() const {
    // The focus may be in a part of the grid (its filter row or an editor).
    for (QWidget* w = ventana_->focusWidget(); w && w != ventana_; w = w->parentWidget())
        if (auto* grilla = qobject_cast<DataGrid*>(w))
            return grilla;
    return nullptr;
}

void SalidaGrilla::seleccionartodo() {
    if (grilla_)
        grilla_->selectAllRows();
}

void SalidaGrilla::guardarseleccion() {
    guardar(grilla_);
}

void SalidaGrilla::ppmSaveSelectionClick() {
    guardar(guardarDe_ == Guardar::Foco ? grillaEnFoco() : grilla_.data());
}

void SalidaGrilla::ppmSelectAllClick() {
    if (DataGrid* grilla = grillaEnFoco())
        grilla->selectAllRows();
}

void SalidaGrilla::ppmCopyClick() {
    if (DataGrid* grilla = grillaEnFoco())
        grilla->copyToClipboard();
}

void SalidaGrilla::ppmPreviewClick() {
    DataGrid* grilla = grillaEnFoco();
    if (!grilla)
        return;
    Dialogs& dialogos = Dialogs::instance();
    PrintDBGridEh1.setGrid(grilla);
    PrintDBGridEh1.setSubstitution(QStringLiteral("%[Today]"),
                                   dialogos.shortDate(dialogos.now().date()));
    PrintDBGridEh1.preview(ventana_);
}

void SalidaGrilla::guardar(DataGrid* grilla) {
    if (!grilla)
        return;
    Dialogs::SaveRequest pedido;
    pedido.title = QStringLiteral("Guardar como");
    pedido.fileName = nombre_; // the default name every time
    pedido.filter = filtroDe(tipos_);
    pedido.filterIndex = entrada_;
    pedido.defaultSuffix.clear();
    pedido.overwritePrompt = false;
    if (!Dialogs::instance().saveFile(ventana_, pedido))
        return;
    entrada_ = pedido.filterIndex;
    ExportKind clase;
    QString extension;
    if (!claseDeEntrada(tipos_, pedido.filterIndex, &clase, &extension))
        return;
    const QString archivo = conExtension(pedido.fileName, extension);
    if (!grilla->dataSet() || !grilla->dataSet()->isOpen())
        return; // nothing to write from
    CursorEspera espera;
    const platform::GridExportSource fuente(grilla, grilla->currentSelection());
    platform::exportToFile(clase, fuente, archivo);
}
