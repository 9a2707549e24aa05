#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Tfprincipal;

// What the tests of user administration share: a main window logged in as
// the server's administrator and looks at the server and the databases.
namespace apoyo {

// A main window logged in as SYSDBA on `compania` of `ubicacion`, with a
// temporary application folder.
std::unique_ptr<Tfprincipal> sesionAdministrador(const QString& ubicacion,
                                                 const QString& compania = QStringLiteral("001"));

// Runs SQL as SYSDBA on a database of a location ("general.fdb",
// "001/contabil.fdb"); fails the test when isql reports an error.
void sql(const QString& ubicacion, const QString& base, const QString& texto);

// The values of the rows of a query (first column), trimmed.
QStringList valores(const QString& ubicacion, const QString& base, const QString& consulta);
QString valor(const QString& ubicacion, const QString& base, const QString& consulta);
int cuenta(const QString& ubicacion, const QString& base, const QString& consulta);

// Server accounts (the security database is shared by the whole test run:
// only accounts of the test's own are made and removed).
bool cuentaExiste(const QString& ubicacion, const QString& usuario);
void crearCuenta(const QString& ubicacion, const QString& usuario, const QString& clave);
void borrarCuenta(const QString& ubicacion, const QString& usuario);
// Whether the server admits a login with that user and password.
bool entra(const QString& ubicacion, const QString& usuario, const QString& clave);

} // namespace apoyo

class QWidget;
namespace apoyo {
// Types a text into a control key by key, accents included.
void teclear(QWidget* control, const QString& texto);
// Runs an action while the server's client library cannot be loaded.
void sinLibreriaCliente(const std::function<void()>& accion);
} // namespace apoyo
