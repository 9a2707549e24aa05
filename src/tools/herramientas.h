#pragma once

// The operations of the procedures and SQL tools, apart from their windows.

#include "platform/grid/datagrid.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform {
class DataSet;
struct FieldDef;
} // namespace platform

namespace herramientas {

// A control named as the windows' code and tests know it.
template <typename W> W* nombrado(W* control, const char* nombre) {
    control->setObjectName(QString::fromLatin1(nombre));
    return control;
}

// ---- user procedures

// "select * from SP('desde','hasta','p1',...)": the dates as given, then the
// value of every parameter that has a caption, in order; each value quoted
// with inner quotes doubled.
QString sentenciaProcedimiento(const QString& procedimiento, const QString& desde,
                               const QString& hasta, const QStringList& titulos,
                               const QStringList& valores);

// Integer, numeric, decimal and floating columns: the ones that are summed.
bool esNumerica(const platform::FieldDef& campo);

// One grid column per field of a result; numeric ones with "#,###.00" and
// a sum in the footer.
QList<platform::GridColumn> columnasConSumas(const platform::DataSet& datos);

// ---- SQL console

// The statement as typed: every line followed by CR LF, the last one too.
QString sentenciaConsola(const QString& texto);

// ---- opening with a waiting panel

// Shows `panel`, paints it, and opens `datos`, letting the window repaint
// while the rows arrive. The panel is hidden again also when the open fails.
// Returns false when the fetch was abandoned (datos.close() during it).
bool abrirConEspera(platform::DataSet& datos, QWidget* panel);

// ---- SQL script runner

// Where the server's command-line tool usually lives on this platform.
QString carpetaIsqlPredeterminada();
// The tool in `carpeta`: isql-fb before isql (the latter may be another
// program of the same name), isql.exe on Windows. Empty when missing.
QString programaIsql(const QString& carpeta);
// The company main database: server location + "/datos/<code>/orvilex.fdb".
QString rutaBasePrincipal(const QString& servidor, const QString& compania);
// The tool's arguments, one per entry: quiet, errors into the output file,
// the script's code page, input, output and database. No credentials.
QStringList argumentosIsql(const QString& script, const QString& resultado, const QString& base);
// The credentials travel in the environment, never on the command line.
QProcessEnvironment entornoIsql(const QString& usuario, const QString& clave);

// Writes the script: every line followed by CR LF, Windows-1252. Throws
// std::runtime_error when the file cannot be written.
void guardarScript(const QString& ruta, const QString& texto);
// A text file of the system read as Windows-1252, line ends as in a text
// box. Throws std::runtime_error when it cannot be read.
QString leerArchivoTexto(const QString& ruta);

} // namespace herramientas
