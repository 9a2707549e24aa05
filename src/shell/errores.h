#pragma once

#include <QByteArray>
#include <QString>

namespace platform {
class DataSet;
}

// The rules that turn the texts of the server and the data layer into the
// Spanish messages people see, and the line the error log gets.
namespace errores {

// An exception nothing caught. Database errors are recognised by the
// server's phrases; anything else is shown with the generic prefix.
QString mensajeNoManejado(const QString& texto, bool esErrorDeBase);

// A change the provider could not write; `fuente` is the name of the
// provider's source dataset ("QUsuarios"), whose label is all but its first letter.
QString mensajeProveedor(const QString& texto, const QString& fuente);

// An error of a client dataset while posting, editing or deleting.
QString mensajeCliente(const QString& texto, const platform::DataSet& datos);

// One entry of ERRORES.TXT: date, time, user and raw text, ended by CR LF.
QByteArray lineaRegistro(const QString& fecha, const QString& hora, const QString& usuario,
                         const QString& texto);

// Appends an entry to the log; a log that cannot be written is skipped silently.
void anotar(const QString& carpeta, const QByteArray& linea);

// The text between the first two double quotes after `desde` (or the start).
QString entreComillas(const QString& texto, const QString& desde = {});

} // namespace errores
