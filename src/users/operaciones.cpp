#include "users/operaciones.h"

#include "access/cifrado.h"
#include "platform/ansi.h"
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"

#include <QMap>

using platform::Connection;
using platform::DataSet;
using platform::ServerUsers;

namespace usuarios {

namespace {

// Runs one statement with bound values, committed at once.
void ejecutar(Connection& conexion, const QString& sql, const QVariantList& valores) {
    DataSet sentencia(QStringLiteral("CBorrar"), &conexion);
    sentencia.setCommandText(sql, valores);
    sentencia.execute();
}

// The server's codes for the user-management calls.
constexpr long kLoginRechazado = 335544472;
constexpr long kNombreLargo = 335544747;
constexpr long kClaveLarga = 335544748;
constexpr long kSinNombre = 335544749;
constexpr long kSinClave = 335544750;
constexpr long kProtocolo = 335544751;
constexpr long kYaExiste = 335544752;
constexpr long kNoExiste = 335544753;
constexpr long kErrorAlAgregar = 335544754;
constexpr long kErrorAlModificar = 335544755;
constexpr long kErrorAlBorrar = 335544756;
constexpr long kErrorSeguridad = 335544757;
constexpr long kLlaveUnica = 335544665;

struct Mensajes {
    const char* crear;
    const char* borrar;
    const char* cambiar;
};

const QMap<long, Mensajes>& tabla() {
    static const QMap<long, Mensajes> t{
        {kLoginRechazado,
         {"El Nombre de usuario o password con el que entró al módulo no es un usuario "
          "registrado del servidor Interbase.",
          "El Nombre de usuario o password con el que entró al módulo no es un usuario "
          "registrado del servidor Interbase.",
          "El Nombre de usuario o password con el que entró al módulo no es un usuario "
          "registrado del servidor Interbase."}},
        {kNombreLargo,
         {"La base de datos de seguridad no acepta nombres tan largos",
          "La base de datos de seguridad no acepta nombres tan largos",
          "La base de datos de seguridad no acepta nombres tan largos"}},
        {kClaveLarga,
         {"El password es más grande que 8 bytes", "El password es más grande que 8 bytes",
          "El password es más grande que 8 bytes"}},
        {kSinNombre,
         {"No se ha pasado el nombre del nuevo usuario",
          "No se ha pasado el nombre del nuevo usuario",
          "No se ha pasado el nombre del nuevo usuario"}},
        {kSinClave,
         {"No se ha pasado el password", "No se ha pasado el password",
          "No se ha pasado el password"}},
        {kProtocolo,
         {"El protocolo especificado no es válido", "El protocolo especificado no es válido",
          "El protocolo especificado no es válido"}},
        {kYaExiste,
         {"El usuario que se intenta añadir ya existe en Interbase",
          "El usuario que se intenta añadir ya existe",
          "El usuario que se intenta añadir ya existe"}},
        {kNoExiste,
         {nullptr, "El usuario que se intenta borrar no existe en la base de datos de seguridad",
          "El usuario no existe en la base de datos de seguridad"}},
        {kErrorAlAgregar,
         {"El usuario actual no puede crear nuevos usuarios de Interbase",
          "El usuario actual no puede crear nuevos usuarios",
          "El usuario actual no puede crear nuevos usuarios"}},
        {kErrorAlModificar, {nullptr, nullptr, "Error al intentar modificar un usuario"}},
        {kErrorAlBorrar, {nullptr, "Error al intentar borrar un usuario", nullptr}},
        {kErrorSeguridad,
         {"Error al modificar la base de datos de seguridad de Interbase",
          "Error al modificar la base de datos de seguridad",
          "Error al modificar la base de datos de seguridad"}},
    };
    return t;
}

} // namespace

QString mensajeCuenta(OperacionCuenta operacion, const ServerUsers::Result& resultado) {
    if (!resultado.failed)
        return QString();
    long codigo = resultado.code;
    // Firebird 3 tells a duplicate account as a failed addition caused by
    // a unique-key violation of its user list.
    if (codigo == kErrorAlAgregar && resultado.has(kLlaveUnica))
        codigo = kYaExiste;
    const auto fila = tabla().constFind(codigo);
    const char* texto = nullptr;
    if (fila != tabla().constEnd())
        texto = operacion == OperacionCuenta::Crear    ? fila->crear
                : operacion == OperacionCuenta::Borrar ? fila->borrar
                                                       : fila->cambiar;
    if (texto)
        return QString::fromUtf8(texto);
    // A refusal without its own wording is still told, with the server's code.
    return QStringLiteral("El servidor no realizó la operación sobre el usuario (error %1).")
        .arg(resultado.code);
}

QString mensajeSinCliente() {
    return QStringLiteral("No se pudo cargar la librería cliente del servidor (%1). No se hizo "
                          "ningún cambio en los usuarios del servidor.")
        .arg(ServerUsers::libraryName());
}

bool esAdministradorServidor(const QString& codigo) {
    return codigo.compare(QLatin1String("SYSDBA"), Qt::CaseInsensitive) == 0;
}

RespuestaCuenta cuentaServidor(const Tfprincipal& p, OperacionCuenta operacion,
                               const QString& usuario, const QString& clave) {
    RespuestaCuenta respuesta;
    if (!ServerUsers::load()) {
        respuesta.sinCliente = true;
        respuesta.mensaje = mensajeSinCliente();
        return respuesta;
    }
    ServerUsers::Request pedido;
    pedido.server = platform::serverOfLocation(p.servidor);
    pedido.userName = usuario;
    pedido.password = clave;
    pedido.dbaUserName = p.usuario_actual;
    pedido.dbaPassword = platform::fromAnsi(desencripta(p.clave_cifrada));
    const auto llamada = operacion == OperacionCuenta::Crear    ? ServerUsers::Operation::Add
                         : operacion == OperacionCuenta::Borrar ? ServerUsers::Operation::Delete
                                                                : ServerUsers::Operation::Modify;
    const ServerUsers::Result resultado = ServerUsers::call(llamada, pedido);
    respuesta.hecha = !resultado.failed;
    respuesta.mensaje = mensajeCuenta(operacion, resultado);
    return respuesta;
}

void borrarFilasUsuario(Connection& general, Connection& compania, const QString& codigo) {
    ejecutar(general, QStringLiteral("delete from compania_usuario where usua_cod = ?"), {codigo});
    ejecutar(general, QStringLiteral("delete from usuario where usua_cod = ?"), {codigo});
    ejecutar(compania, QStringLiteral("delete from acceso_usuario where user_cod = ?"), {codigo});
    ejecutar(compania, QStringLiteral("delete from usuario where user_cod = ?"), {codigo});
}

} // namespace usuarios
