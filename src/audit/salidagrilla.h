#pragma once

#include "platform/grid/datagrid.h"
#include "platform/grid/gridexport.h"
#include "platform/grid/gridprinter.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QWidget;

// Saving, copying, selecting and previewing a window's data grid, the same
// way in every window that has it.
//
// A window makes one SalidaGrilla with its grid, the default file name, the
// type list of its save dialog and the heading of its print preview, and
// calls the handlers from its buttons and keys:
//
//     // Tfconssql: the pop-up menu, saving what the focused grid selects.
//     salida = new SalidaGrilla(this, DBGridEh1, QStringLiteral("Consulta"),
//                               ListaTipos::InglesCinco,
//                               QStringLiteral("Comprobante contable"),
//                               SalidaGrilla::Guardar::Foco);
//     salida->usarMenuEn(DBGridEh1);
//
//     // Tfauditoria: a hidden grid, select all and save.
//     salida = new SalidaGrilla(this, DBGridEh1, QStringLiteral("Auditoria"),
//                               ListaTipos::EspanolCinco);
//     salida->seleccionartodo();
//     salida->guardarseleccion();
//
// The pop-up items act on the window's focused control when it is a grid
// and do nothing otherwise. The save dialog has no default extension and no
// overwrite prompt; it preselects the first type the first time and then the
// type last chosen in this window, and always proposes the default name.
// A file that cannot be created throws platform::FileError, which reaches
// the application's error handling.
enum class ListaTipos { EspanolCinco, InglesCinco, EspanolTres };

// The save dialog's filter of a type list.
QString filtroDe(ListaTipos lista);
// Export kind and extension of an entry (numbered from 1) of a type list;
// false for an entry the list does not have.
bool claseDeEntrada(ListaTipos lista, int entrada, platform::ExportKind* clase, QString* extension);
// The name the file is written to: when the last three characters of the
// name (all of it when shorter) differ from the extension, ignoring case,
// a "." and the extension are appended.
QString conExtension(const QString& nombre, const QString& extension);

class SalidaGrilla : public QObject {
    Q_OBJECT
public:
    // Where the pop-up's save item takes its grid from: always the
    // window's grid, or the focused control when it is a grid.
    enum class Guardar { Grilla, Foco };

    SalidaGrilla(QWidget* ventana, platform::DataGrid* grilla, const QString& nombrePorDefecto,
                 ListaTipos tipos, const QString& encabezado = {},
                 Guardar guardar = Guardar::Grilla);

    void setNombrePorDefecto(const QString& nombre) { nombre_ = nombre; }
    QString nombrePorDefecto() const { return nombre_; }
    ListaTipos tipos() const { return tipos_; }

    // The pop-up menu: "&Copiar", "Se&lecccionar todo", a separator,
    // "&Imprimir", "&Guardar selección".
    QMenu* PopupMenu1();
    void usarMenuEn(platform::DataGrid* grilla);

    // On the window's grid.
    void seleccionartodo();
    void guardarseleccion();
    // The pop-up items.
    void ppmSaveSelectionClick();
    void ppmSelectAllClick();
    void ppmCopyClick();
    void ppmPreviewClick();

    // The grid printer, set up as the preview shows it.
    platform::GridPrinter PrintDBGridEh1;

private:
    platform::DataGrid* grillaEnFoco() const;
    void guardar(platform::DataGrid* grilla);

    QWidget* ventana_;
    QPointer<platform::DataGrid> grilla_;
    QString nombre_;
    ListaTipos tipos_;
    QString encabezado_;
    Guardar guardarDe_;
    int entrada_ = 1; // the type chosen last in this window
    QMenu* menu_ = nullptr;
};
