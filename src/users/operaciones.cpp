#include "users/operaciones.h"

#include "access/cifrado.h"
#include "platform/ansi.h"
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"

#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

using platform::Connection;
using platform::DataSet;
using platform::DbError;
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

// ---------------------------------------------------------------- access rights

namespace {

QString textoError(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
}

void correr(QSqlQuery& consulta, const QString& sql, const QVariantList& valores) {
    bool ok = consulta.prepare(sql);
    for (int i = 0; ok && i < valores.size(); ++i)
        consulta.bindValue(i, valores[i]);
    if (!ok || !consulta.exec())
        throw DbError(DbError::Kind::Statement, textoError(consulta.lastError()));
}

// All the rights go in one statement: the rows travel packed in one bound
// parameter, 24 bytes each (module name padded to 20, option number in 3
// digits, S or N), and the block inserts them one by one on the server.
// One prepare and one round trip, whatever the size of the tree.
constexpr int kAnchoModulo = 20;
constexpr int kAnchoOpcion = 3;

QByteArray empaquetar(const QList<Derecho>& derechos) {
    QByteArray datos;
    datos.reserve(derechos.size() * (kAnchoModulo + kAnchoOpcion + 1));
    for (const Derecho& d : derechos) {
        const QByteArray modulo = platform::toAnsi(d.modulo);
        if (modulo.size() > kAnchoModulo || d.opcion < 0 || d.opcion > 999)
            throw DbError(
                DbError::Kind::Client,
                QStringLiteral("Opción fuera del catálogo: %1 %2").arg(d.modulo).arg(d.opcion));
        datos += modulo.leftJustified(kAnchoModulo, ' ') +
                 QByteArray::number(d.opcion).rightJustified(kAnchoOpcion, '0') +
                 (d.concedido ? 'S' : 'N');
    }
    return datos;
}

void insertarDerechos(QSqlDatabase& db, const QString& usuario, const QList<Derecho>& derechos) {
    QSqlQuery consulta(db);
    static const QString sql = QStringLiteral(
        "EXECUTE BLOCK (U VARCHAR(8) = ?, D VARCHAR(32000) CHARACTER SET OCTETS = ?) AS\n"
        "DECLARE I INTEGER = 1;\n"
        "DECLARE N INTEGER;\n"
        "BEGIN\n"
        "  N = OCTET_LENGTH(D);\n"
        "  WHILE (I < N) DO BEGIN\n"
        "    INSERT INTO ACCESO_USUARIO (USER_COD, ACUS_MODULO, ACUS_OPCION, ACUS_SI) VALUES (:U, "
        "TRIM(CAST(SUBSTRING(:D FROM :I FOR 20) AS VARCHAR(20) CHARACTER SET WIN1252)), "
        "CAST(CAST(SUBSTRING(:D FROM :I + 20 FOR 3) AS VARCHAR(3)) AS INTEGER), "
        "CAST(SUBSTRING(:D FROM :I + 23 FOR 1) AS CHAR(1) CHARACTER SET WIN1252));\n"
        "    I = I + 24;\n"
        "  END\n"
        "END");
    if (!consulta.prepare(sql))
        throw DbError(DbError::Kind::Statement, textoError(consulta.lastError()));
    consulta.bindValue(0, usuario);
    consulta.bindValue(1, empaquetar(derechos));
    if (!consulta.exec())
        throw DbError(DbError::Kind::Statement, textoError(consulta.lastError()));
}

// Runs `pasos` in one transaction of the connection: all of it is kept, or
// nothing (the error raised then starts with `siFalla`).
template <typename Pasos>
void enUnaTransaccion(Connection& conexion, const QString& siFalla, Pasos pasos) {
    conexion.ensureConnected();
    QSqlDatabase db = conexion.database();
    if (!db.transaction())
        throw DbError(DbError::Kind::Statement, siFalla + textoError(db.lastError()));
    try {
        pasos(db);
        if (!db.commit())
            throw DbError(DbError::Kind::Statement, textoError(db.lastError()));
    } catch (const DbError& error) {
        db.rollback();
        throw DbError(DbError::Kind::Statement, siFalla + error.text());
    }
}

} // namespace

QList<Derecho> leerDerechos(Connection& compania, const QString& usuario) {
    DataSet acceso(QStringLiteral("CAcceso"), &compania);
    acceso.setCommandText(QStringLiteral("select acus_modulo, acus_opcion, acus_si from "
                                         "acceso_usuario where user_cod = ?"),
                          {usuario});
    acceso.open();
    // The first row of a module and number decides, as a look-up would find it.
    QList<Derecho> lista;
    QHash<QPair<QString, int>, bool> vistos;
    for (int r = 0; r < acceso.rowCount(); ++r) {
        const QPair<QString, int> clave{acceso.textAt(r, 0), acceso.valueAt(r, 1).toInt()};
        if (vistos.contains(clave))
            continue;
        vistos.insert(clave, true);
        lista.append({clave.first, clave.second, acceso.textAt(r, 2) == QLatin1String("S")});
    }
    return lista;
}

void grabarDerechos(Connection& compania, const QString& usuario, const QList<Derecho>& derechos,
                    std::optional<int> sucursal) {
    const QString siFalla =
        QStringLiteral("No se grabaron los accesos del usuario %1; se conservan los que tenía "
                       "guardados. ")
            .arg(usuario);
    enUnaTransaccion(compania, siFalla, [&](QSqlDatabase& db) {
        QSqlQuery consulta(db);
        if (sucursal)
            correr(consulta, QStringLiteral("update usuario set sucu_id = ? where user_cod = ?"),
                   {*sucursal, usuario});
        correr(consulta, QStringLiteral("delete from acceso_usuario where user_cod = ?"),
               {usuario});
        insertarDerechos(db, usuario, derechos);
    });
}

void copiarDerechos(Connection& compania, const QString& origen, const QString& destino) {
    const QString siFalla =
        QStringLiteral("No se copiaron los accesos a %1; se conservan los que tenía guardados. ")
            .arg(destino);
    enUnaTransaccion(compania, siFalla, [&](QSqlDatabase& db) {
        QSqlQuery consulta(db);
        correr(consulta, QStringLiteral("DELETE FROM ACCESO_USUARIO WHERE USER_COD = ?"),
               {destino});
        correr(consulta,
               QStringLiteral("INSERT INTO ACCESO_USUARIO (USER_COD, ACUS_MODULO, ACUS_OPCION, "
                              "ACUS_SI) SELECT CAST(? AS VARCHAR(8)), ACUS_MODULO, ACUS_OPCION, "
                              "ACUS_SI FROM ACCESO_USUARIO WHERE USER_COD = ?"),
               {destino, origen});
    });
}

// ---------------------------------------------------------------- companies

bool esAdministrador(Connection& general, const QString& usuario) {
    DataSet consulta(QStringLiteral("CBorrar"), &general);
    consulta.setCommandText(QStringLiteral("select USUA_ADMIN from usuario where usua_cod = ?"),
                            {usuario});
    consulta.open();
    const QString bandera = consulta.isEmpty() ? QString() : consulta.textAt(0, 0);
    return bandera != QLatin1String("N");
}

namespace {

// The user's row in the company the connection now points at: created
// when missing, an existing one left as it is.
void crearUsuarioCompania(DataSet& usuarios, const QString& usuario, const QDate& hoy) {
    usuarios.close();
    usuarios.open();
    if (!usuarios.locate({QStringLiteral("USER_COD")}, {usuario})) {
        usuarios.append();
        usuarios.setValue(QStringLiteral("USER_COD"), usuario);
        usuarios.setValue(QStringLiteral("USER_ANOCNT"), QString::number(hoy.year()));
        usuarios.setValue(QStringLiteral("USER_PERCNT"), hoy.month() - 1);
        usuarios.setValue(QStringLiteral("SUCU_ID"), 0);
        usuarios.post();
        usuarios.applyUpdates(0);
    }
    usuarios.close();
}

void borrarUsuarioCompania(DataSet& usuarios, const QString& usuario) {
    usuarios.close();
    usuarios.open();
    if (usuarios.locate({QStringLiteral("USER_COD")}, {usuario})) {
        usuarios.remove();
        usuarios.applyUpdates(0);
    }
    usuarios.close();
}

// Writes the pending grant change; a refused one (already reported by the
// list's error handling) is dropped, so the list keeps telling what is stored.
bool aplicarConcesion(DataSet& concesiones) {
    if (concesiones.applyUpdates(0) == 0)
        return true;
    concesiones.cancelUpdates();
    return false;
}

} // namespace

bool guardarCompanias(Tfprincipal& p, const Concesiones& datos, const QString& usuario,
                      const QList<CambioCompania>& lista, const QDate& hoy,
                      const std::function<void(const QString&)>& estado) {
    DataSet& concesiones = *datos.concesiones;
    DataSet& usuarios = *datos.usuariosCompania;
    bool otorgada = false;
    try {
        for (const CambioCompania& cambio : lista) {
            const QString& cia = cambio.compania;
            const bool tiene = concesiones.locate({QStringLiteral("COMP_COD")}, {cia});
            if (cambio.acceso && !tiene) {
                estado(QStringLiteral("Creando usuario en la BD general ..."));
                concesiones.append();
                concesiones.setValue(QStringLiteral("COMP_COD"), cia);
                concesiones.setValue(QStringLiteral("USUA_COD"), usuario);
                concesiones.post();
                if (!aplicarConcesion(concesiones))
                    continue;
                p.orvilex.disconnect();
                estado(QStringLiteral("Creando usuario en la compañía ") + cia +
                       QStringLiteral("..."));
                p.apuntarCompania(cia);
                crearUsuarioCompania(usuarios, usuario, hoy);
                otorgada = true;
            } else if (!cambio.acceso && tiene) {
                estado(QStringLiteral("Borrando usuario en la compañía ") + cia +
                       QStringLiteral("..."));
                concesiones.remove();
                if (!aplicarConcesion(concesiones))
                    continue;
                p.orvilex.disconnect();
                p.apuntarCompania(cia);
                borrarUsuarioCompania(usuarios, usuario);
            }
            estado(QString());
        }
    } catch (...) {
        // The other windows work on the working company, whatever failed here.
        Aplicacion::protect(nullptr, [&p] { p.volverACompaniaDeTrabajo(); });
        throw;
    }
    estado(QString());
    p.volverACompaniaDeTrabajo();
    return otorgada;
}

// ---------------------------------------------------------------- access report

QString sentenciaReporteAccesos(const QString& desde, const QString& hasta) {
    return QStringLiteral("select * from rep_acceso_usuarios(") + platform::quoted(desde) +
           QLatin1Char(',') + platform::quoted(hasta) + QLatin1Char(')');
}

QString tituloReporteAccesos(const QString& desde, const QString& hasta) {
    return QStringLiteral("Usuarios:") + desde + QStringLiteral(" - ") + hasta;
}

} // namespace usuarios
