// The server's user accounts through the client library's calls, on the
// test server.
#include "platform/data/connection.h"
#include "platform/server/serverusers.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QTest>

using platform::ServerUsers;

class TstServerUsers : public QObject {
    Q_OBJECT
    QString ubicacion;
    ServerUsers::Request pedido(const QString& usuario, const QString& clave) const {
        ServerUsers::Request r;
        r.server = platform::serverOfLocation(ubicacion);
        r.userName = usuario;
        r.password = clave;
        r.dbaUserName = QStringLiteral("SYSDBA");
        r.dbaPassword = ServidorPrueba::instancia().claveSysdba();
        return r;
    }
    bool entra(const QString& usuario, const QString& clave) const {
        platform::Connection c(QStringLiteral("prueba_srv"));
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

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos(true);
        QVERIFY(ServerUsers::load());
    }

    void parteServidorDeLaUbicacion_data() {
        QTest::addColumn<QString>("ubicacion");
        QTest::addColumn<QString>("servidor");
        QTest::newRow("host y puerto") << "127.0.0.1/3053:/srv/orvilex"
                                       << "127.0.0.1/3053";
        QTest::newRow("nombre") << "contab:/srv/orvilex"
                                << "contab";
        QTest::newRow("windows") << "servidor/3050:C:\\orvilex"
                                 << "servidor/3050";
        QTest::newRow("local windows") << "C:\\orvilex"
                                       << "";
        QTest::newRow("local") << "/srv/orvilex"
                               << "";
    }
    void parteServidorDeLaUbicacion() {
        QFETCH(QString, ubicacion);
        QFETCH(QString, servidor);
        QCOMPARE(platform::serverOfLocation(ubicacion), servidor);
    }

    // One account through its whole life, each refusal with its code.
    void ciclo() {
        const QString nombre = QStringLiteral("tsrvcic");
        auto r = ServerUsers::call(ServerUsers::Operation::Add, pedido(nombre, "tsrvcic"));
        QVERIFY(!r.failed);
        QVERIFY(entra("TSRVCIC", "tsrvcic"));

        r = ServerUsers::call(ServerUsers::Operation::Add, pedido(nombre, "otra"));
        QVERIFY(r.failed);
        QCOMPARE(r.code, 335544754L); // adding failed ...
        QVERIFY(r.has(335544665L));   // ... on the unique key of the user list

        // Srp takes passwords longer than 8 characters.
        r = ServerUsers::call(ServerUsers::Operation::Modify, pedido("TSRVCIC", "Larga_Clave_12"));
        QVERIFY(!r.failed);
        QVERIFY(entra("TSRVCIC", "Larga_Clave_12"));
        QVERIFY(!entra("TSRVCIC", "tsrvcic"));

        r = ServerUsers::call(ServerUsers::Operation::Delete, pedido("TSRVCIC", {}));
        QVERIFY(!r.failed);
        QVERIFY(!entra("TSRVCIC", "Larga_Clave_12"));

        r = ServerUsers::call(ServerUsers::Operation::Delete, pedido("TSRVCIC", {}));
        QVERIFY(r.failed);
        QCOMPARE(r.code, 335544753L);
        r = ServerUsers::call(ServerUsers::Operation::Modify, pedido("TSRVCIC", "x"));
        QCOMPARE(r.code, 335544753L);
    }

    void administradorRechazado() {
        auto p = pedido("TSRVNO", "x");
        p.dbaPassword = QStringLiteral("equivocada");
        const auto r = ServerUsers::call(ServerUsers::Operation::Add, p);
        QVERIFY(r.failed);
        QCOMPARE(r.code, 335544472L);
    }

    void servidorInexistente() {
        auto p = pedido("TSRVNO", "x");
        p.server = QStringLiteral("127.0.0.1/1");
        const auto r = ServerUsers::call(ServerUsers::Operation::Add, p);
        QVERIFY(r.failed);
        QVERIFY(r.code > 0);
    }

    void sinLibreria() {
        const QString nombre = ServerUsers::libraryName();
        ServerUsers::setLibraryName(QStringLiteral("no_existe_cliente_fb"));
        QVERIFY(!ServerUsers::load());
        QVERIFY(!ServerUsers::loadError().isEmpty());
        QVERIFY(ServerUsers::call(ServerUsers::Operation::Add, pedido("TSRVNO", "x")).failed);
        ServerUsers::setLibraryName(nombre);
        QVERIFY(ServerUsers::load());
    }
};

TEST_CLASS(TstServerUsers)
#include "tst_serverusers.moc"
