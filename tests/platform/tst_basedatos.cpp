// The suite's databases as db/create makes them, reached through QIBASE.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using platform::Connection;
using platform::DataSet;
using platform::DbError;

class TstBaseDatos : public QObject {
    Q_OBJECT
    QString ubicacion;

    static QString nombreCompania(Connection& conexion, const QString& sql) {
        DataSet datos(QStringLiteral("C"), &conexion);
        datos.setCommandText(sql);
        datos.open();
        return datos.valueAt(0, 0).toString();
    }

private slots:
    void initTestCase() { ubicacion = ServidorPrueba::instancia().crearDatos(); }

    void cadaBaseDevuelveElNombreAcentuado_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("general") << "general.fdb"
                                 << "select com_nombre from compania where comp_cod = '002'"
                                 << "Distribuciones Ñandú Ltda.";
        const QString config =
            "select conf_valor from configuracion where conf_propiedad = 'NOMBRE COMPANIA'";
        QTest::newRow("001") << "001/contabil.fdb" << config << "Comercializadora Andina S.A.S.";
        QTest::newRow("002") << "002/contabil.fdb" << config << "Distribuciones Ñandú Ltda.";
        QTest::newRow("003") << "003/contabil.fdb" << config << "Servicios Técnicos del Caribe";
        QTest::newRow("principal 001") << "001/orvilex.fdb"
                                       << "select count(*) from parametros"
                                       << "0";
    }
    void cadaBaseDevuelveElNombreAcentuado() {
        QFETCH(QString, base);
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        Connection conexion(QStringLiteral("prueba"));
        conexion.setParam(QStringLiteral("Database"), ServidorPrueba::ruta(ubicacion, base));
        conexion.setParam(QStringLiteral("User_Name"), QStringLiteral("gerente"));
        conexion.setParam(QStringLiteral("password"), QStringLiteral("gerente"));
        conexion.connect();
        QCOMPARE(nombreCompania(conexion, sql), esperado);
    }

    void claveEquivocadaRechazada() {
        Connection conexion(QStringLiteral("prueba"));
        conexion.setParam(QStringLiteral("Database"),
                          ServidorPrueba::ruta(ubicacion, "general.fdb"));
        conexion.setParam(QStringLiteral("User_Name"), QStringLiteral("GERENTE"));
        conexion.setParam(QStringLiteral("password"), QStringLiteral("otra"));
        try {
            conexion.connect();
            QFAIL("the server accepted a wrong password");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains("Your user name and password are not defined"));
            QCOMPARE(e.kind(), DbError::Kind::Connection);
        }
        QVERIFY(!conexion.connected());
    }

    void procedimientosResponden() {
        Connection conexion(QStringLiteral("prueba"));
        conexion.setParam(QStringLiteral("Database"),
                          ServidorPrueba::ruta(ubicacion, "001/contabil.fdb"));
        conexion.setParam(QStringLiteral("User_Name"), QStringLiteral("GERENTE"));
        conexion.setParam(QStringLiteral("password"), QStringLiteral("gerente"));
        DataSet datos(QStringLiteral("C"), &conexion);
        datos.setCommandText("select * from rep_auditoria('','01/01/2026','31/12/2026',0,'')");
        datos.open();
        QVERIFY(datos.rowCount() > 1000);
        QCOMPARE(datos.fieldIndex("RAZONANULA"), 6);
        datos.close();
        datos.setCommandText("select * from rep_acceso_usuarios('0','zz')");
        datos.open();
        QVERIFY(datos.rowCount() > 0);
        QCOMPARE(datos.fieldIndex("SINO"), 10);
    }

    // A second private server beside the test run's own: its own port and
    // SYSDBA password, and it stops cleanly.
    void segundoServidorSinChoque() {
        QTemporaryDir carpeta;
        QCOMPARE(QProcess::execute(FBSERVER_SCRIPT, {"start", carpeta.path()}), 0);
        QFile env(carpeta.path() + "/server.env");
        QVERIFY(env.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(env.readAll());
        const int puerto = texto.section("FB_PORT=", 1).section('\n', 0, 0).toInt();
        const QString clave = texto.section("FB_PASSWORD=", 1).section('\n', 0, 0).trimmed();
        QVERIFY(puerto > 0);
        QVERIFY(puerto != ServidorPrueba::instancia().puerto());
        QVERIFY(clave != ServidorPrueba::instancia().claveSysdba());
        Connection conexion(QStringLiteral("segundo"));
        conexion.setParam("Database", QString("127.0.0.1/%1:employee").arg(puerto));
        conexion.setParam("User_Name", "SYSDBA");
        conexion.setParam("password", clave);
        try {
            conexion.connect();
        } catch (const DbError& e) {
            // No such database there, but the server answered and took the login.
            QVERIFY2(!e.text().contains("user name and password"), qPrintable(e.text()));
        }
        QCOMPARE(QProcess::execute(FBSERVER_SCRIPT, {"stop", carpeta.path()}), 0);
        QVERIFY(!QFile::exists(carpeta.path() + "/server.pid"));
    }
};

TEST_CLASS(TstBaseDatos)
#include "tst_basedatos.moc"
