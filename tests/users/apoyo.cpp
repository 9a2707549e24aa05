#include "apoyo.h"

#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/servidor.h"

#include <QTemporaryDir>
#include <QTest>

namespace apoyo {

std::unique_ptr<Tfprincipal> sesionAdministrador(const QString& ubicacion,
                                                 const QString& compania) {
    static QTemporaryDir carpeta;
    auto p = std::make_unique<Tfprincipal>();
    iniciarSesion(*p, ubicacion, QStringLiteral("SYSDBA"),
                  ServidorPrueba::instancia().claveSysdba(), compania, carpeta.path());
    return p;
}

void sql(const QString& ubicacion, const QString& base, const QString& texto) {
    bool ok = false;
    const QString salida =
        ServidorPrueba::instancia().isql(ServidorPrueba::ruta(ubicacion, base), texto, &ok);
    if (!ok)
        QTest::qFail(qPrintable(QStringLiteral("isql: ") + salida), __FILE__, __LINE__);
}

QStringList valores(const QString& ubicacion, const QString& base, const QString& consulta) {
    platform::Connection c(QStringLiteral("apoyo_consulta"));
    c.setParam(QStringLiteral("Database"), ServidorPrueba::ruta(ubicacion, base));
    c.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    c.setParam(QStringLiteral("password"), ServidorPrueba::instancia().claveSysdba());
    QStringList lista;
    {
        platform::DataSet d(QStringLiteral("C"), &c);
        d.setCommandText(consulta);
        d.open();
        for (int r = 0; r < d.rowCount(); ++r)
            lista << d.textAt(r, 0).trimmed();
    }
    return lista;
}

QString valor(const QString& ubicacion, const QString& base, const QString& consulta) {
    return valores(ubicacion, base, consulta).value(0);
}

int cuenta(const QString& ubicacion, const QString& base, const QString& consulta) {
    return valor(ubicacion, base, consulta).toInt();
}

bool cuentaExiste(const QString& ubicacion, const QString& usuario) {
    return cuenta(ubicacion, QStringLiteral("general.fdb"),
                  QStringLiteral("select count(*) from sec$users where sec$user_name = '%1'")
                      .arg(usuario.toUpper())) == 1;
}

void crearCuenta(const QString& ubicacion, const QString& usuario, const QString& clave) {
    sql(ubicacion, QStringLiteral("general.fdb"),
        QStringLiteral("create or alter user %1 password '%2' using plugin Srp; commit;")
            .arg(usuario, clave));
}

void borrarCuenta(const QString& ubicacion, const QString& usuario) {
    if (cuentaExiste(ubicacion, usuario))
        sql(ubicacion, QStringLiteral("general.fdb"),
            QStringLiteral("drop user %1 using plugin Srp; commit;").arg(usuario));
}

bool entra(const QString& ubicacion, const QString& usuario, const QString& clave) {
    platform::Connection c(QStringLiteral("apoyo_entrada"));
    c.setParam(QStringLiteral("Database"), ServidorPrueba::ruta(ubicacion, "general.fdb"));
    c.setParam(QStringLiteral("User_Name"), usuario);
    c.setParam(QStringLiteral("password"), clave);
    try {
        c.connect();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace apoyo

#include "platform/server/serverusers.h"
#include <QApplication>
#include <QKeyEvent>

namespace apoyo {
void teclear(QWidget* control, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent pulsa(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &pulsa);
        QKeyEvent suelta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &suelta);
    }
}
} // namespace apoyo

void apoyo::sinLibreriaCliente(const std::function<void()>& accion) {
    const QString nombre = platform::ServerUsers::libraryName();
    platform::ServerUsers::setLibraryName(QStringLiteral("no_existe_cliente_fb"));
    accion();
    platform::ServerUsers::setLibraryName(nombre);
}
