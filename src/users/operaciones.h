#pragma once

#include "platform/server/serverusers.h"

#include <QString>

namespace platform {
class Connection;
}
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

} // namespace usuarios
