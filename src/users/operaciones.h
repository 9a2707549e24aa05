#pragma once

#include "platform/server/serverusers.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace platform {
class Connection;
class DataSet;
} // namespace platform
class Tfprincipal;

// The operations of user administration, apart from the windows that
// start them: the server accounts, the deletion of a user, the access
// rights and the company grants.
namespace usuarios {

// ---------------------------------------------------------------- server accounts

enum class OperacionCuenta { Crear, Borrar, CambiarClave };

// What the administrator is told when the server refuses an operation on
// an account: each operation has its own wording for the server's codes.
QString mensajeCuenta(OperacionCuenta operacion, const platform::ServerUsers::Result& resultado);

// What the administrator is told when the server's client library is missing.
QString mensajeSinCliente();

struct RespuestaCuenta {
    bool hecha = false;      // the server did it
    bool sinCliente = false; // the client library could not be loaded
    QString mensaje;         // the refusal to show; empty when done
};

// Creates, deletes or changes the password of the server account
// `usuario` on the server of the login, as the logged-in administrator.
// `clave` is the account's password (not used for a deletion).
RespuestaCuenta cuentaServidor(const Tfprincipal& principal, OperacionCuenta operacion,
                               const QString& usuario, const QString& clave = {});

// Whether a code names the server's administrator, however it is written.
bool esAdministradorServidor(const QString& codigo);

// ---------------------------------------------------------------- deletion

// Deletes the rows of a user whose server account is gone: its grants and
// its row in the general database, then its rights and its row in the
// company database, each statement committed at once. A failing statement
// raises and the later ones do not run.
void borrarFilasUsuario(platform::Connection& general, platform::Connection& compania,
                        const QString& codigo);

// ---------------------------------------------------------------- access rights

struct Derecho {
    QString modulo;
    int opcion = 0;
    bool concedido = false;
};

// The stored rights of a user in the company database: for each module
// and option number, the first stored row's grant.
QList<Derecho> leerDerechos(platform::Connection& compania, const QString& usuario);

// Rewrites the user's rights (one row per entry) and, when given, its
// branch, in ONE transaction: on failure nothing changes and the error
// raised says that the stored rights were kept.
void grabarDerechos(platform::Connection& compania, const QString& usuario,
                    const QList<Derecho>& derechos, std::optional<int> sucursal = std::nullopt);

// Replaces the destination's rights with the stored rights of `origen`, in
// ONE transaction.
void copiarDerechos(platform::Connection& compania, const QString& origen, const QString& destino);

// ---------------------------------------------------------------- companies

// Whether the general database holds the user as an administrator: its
// flag is anything but "N" (also no row or no flag).
bool esAdministrador(platform::Connection& general, const QString& usuario);

// The datasets the grants work on: the user's grants in the general
// database (COMPANIA_USUARIO, filtered to the user), and the company users
// (USUARIO of the database the company connection points at).
struct Concesiones {
    platform::DataSet* concesiones = nullptr;
    platform::DataSet* usuariosCompania = nullptr;
};

// Grants (`acceso`) or withdraws access to each company of `lista`, in list
// order (pairs of company code and access): a new grant writes the grant
// and creates the user's row in the company's database (year and period
// from `hoy`); a withdrawn one deletes both. The company connection is on
// the working company's database when it returns, also after an error.
// `estado` tells each step. True when at least one company was granted.
struct CambioCompania {
    QString compania;
    bool acceso = false;
};
bool guardarCompanias(Tfprincipal& principal, const Concesiones& datos, const QString& usuario,
                      const QList<CambioCompania>& lista, const QDate& hoy,
                      const std::function<void(const QString&)>& estado);

// ---------------------------------------------------------------- access report

// "select * from rep_acceso_usuarios('from','to')": the two user codes
// quoted with their inner quotes doubled.
QString sentenciaReporteAccesos(const QString& desde, const QString& hasta);

// The "Titulo" parameter of the access report: "Usuarios:from - to".
QString tituloReporteAccesos(const QString& desde, const QString& hasta);

} // namespace usuarios
