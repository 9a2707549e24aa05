#pragma once

#include "platform/grid/datagrid.h"

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class DataSet;
}

// Rules of the configuration parameters (table CONFIGURACION of the company
// database): their allowed values, the colour notation of colour values,
// the module/category tree and the property search.
namespace config {

// CONF_POSIBLES of a printer parameter: its values are "Predeterminada" and
// the codes of impresoras.cfg.
inline const QString marcaImpresora = QStringLiteral("(PREDETERMINADA)...");
inline const QString impresoraPredeterminada = QStringLiteral("Predeterminada");

// The allowed values of CONF_POSIBLES, split at every comma; empty pieces are
// kept and nothing is trimmed. Empty for an empty text.
QStringList separarPosibles(const QString& posibles);

// How the value cell of a row is edited.
struct CeldaValor {
    platform::GridColumn::Button boton = platform::GridColumn::Button::None;
    QStringList lista;    // the drop-down's entries
    QStringList posibles; // the allowed values (more than one: others are refused)
};
// A list with a comma gets a drop-down of its values; one value or none an
// ellipsis (colour dialog or typing) with any value allowed; a printer
// parameter a drop-down of "Predeterminada" and `codigosImpresoras`.
CeldaValor celdaValor(const QString& posibles, const QStringList& codigosImpresoras);
// Whether a value may be stored: with more than one allowed value it must be
// one of them, compared without regard to case.
bool valorPermitido(const QStringList& posibles, const QString& valor);

// Colour notation. A colour is held as a name beginning with "cl" (matched
// without regard to case) or as "$" and a hexadecimal 32-bit value whose
// bytes are, high to low, 00, blue, green, red; system colours are FF000000
// plus the system colour index.
struct NombreColor {
    const char* nombre;
    quint32 valor;
};
const QList<NombreColor>& nombresColor();
// The value a text names; nothing when it names no colour.
std::optional<quint32> valorDeColor(const QString& texto);
// The text of a value: its name when it has one, else "$" and eight digits.
QString textoDeColor(quint32 valor);
// A value as the screen shows it; system colours from the palette.
QColor colorEnPantalla(quint32 valor, const QPalette& paleta);
// The value of a colour chosen in the colour dialog.
quint32 valorDeRgb(const QColor& color);
// Whether the ellipsis of a value opens the colour dialog ("$" or "cl",
// case counts).
bool pareceColor(const QString& valor);

// The modules in order with the categories of each, as the rows (kept in
// module, category, property order) show them; names compare exactly.
struct ModuloConfig {
    QString modulo;
    QStringList categorias;
};
QList<ModuloConfig> arbolConfiguracion(platform::DataSet& filas);

// The property search: every module's properties whose name holds the text,
// without regard to case. The text is bound, never pasted into the SQL.
QString sqlBuscarPropiedad();
QVariantList parametrosBuscarPropiedad(const QString& texto);

} // namespace config
