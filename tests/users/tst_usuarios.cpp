// The user list: deletion on the server and in the databases, and the
// server accounts of all listed users (Alt+F2), against the test server.
#include "apoyo.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"
#include "users/usuarios.h"

#include <QLabel>
#include <QTest>

namespace {
const QString kYaExiste = QStringLiteral("El usuario que se intenta añadir ya existe en Interbase");

bool seleccionar(Tfusuarios& lista, const QString& codigo) {
    return lista.CUsuarios->locate({QStringLiteral("USUA_COD")}, {codigo});
}

QStringList codigos(Tfusuarios& lista) {
    QStringList c;
    for (int r = 0; r < lista.CUsuarios->rowCount(); ++r)
        c << lista.CUsuarios->textAt(r, 0);
    return c;
}

} // namespace

// Alt+F2 on a list of users that have no server account.
class TstCuentasServidor : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;
    const QStringList nuevos{QStringLiteral("TALTA"), QStringLiteral("talt2")};

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos(true);
        p = apoyo::sesionAdministrador(ubicacion);
        for (const QString& u : nuevos)
            apoyo::sql(
                ubicacion, "general.fdb",
                QStringLiteral("insert into usuario values ('%1', 'Prueba %1', 'N'); commit;")
                    .arg(u));
    }
    void cleanupTestCase() {
        for (const QString& u : nuevos)
            apoyo::borrarCuenta(ubicacion, u);
    }
    void init() { FakeDialogs::actual().limpiar(); }

    void sinLibreriaLoDice() {
        Tfusuarios lista(p.get());
        apoyo::sinLibreriaCliente([&] { QTest::keyClick(&lista, Qt::Key_F2, Qt::AltModifier); });
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(FakeDialogs::actual().mensajes[0].texto.contains("No se pudo cargar"));
        QVERIFY(!apoyo::cuentaExiste(ubicacion, "TALTA"));
    }

    void f2SinAltNoHaceNada() {
        Tfusuarios lista(p.get());
        QTest::keyClick(&lista, Qt::Key_F2);
        QTest::keyClick(&lista, Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(!apoyo::cuentaExiste(ubicacion, "TALTA"));
    }

    // Each account gets its code, as stored, as password; a second pass
    // is refused once per user.
    void creaCuentasYDespuesDiceQueExisten() {
        Tfusuarios lista(p.get());
        QTest::keyClick(&lista, Qt::Key_F2, Qt::AltModifier);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QVERIFY(apoyo::entra(ubicacion, "TALTA", "TALTA"));
        QVERIFY(apoyo::entra(ubicacion, "talt2", "talt2"));
        QVERIFY(!apoyo::entra(ubicacion, "talt2", "TALT2"));
        QVERIFY(lista.CUsuarios->eof());

        QTest::keyClick(&lista, Qt::Key_F2, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList({kYaExiste, kYaExiste}));
    }
};

// F3: the server account first, then the four rows.
class TstBorrarUsuario : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;

    void crearFilas(const QString& codigo) {
        apoyo::sql(ubicacion, "general.fdb",
                   QStringLiteral("insert into usuario values ('%1', 'Nombre %1', 'N');"
                                  "insert into compania_usuario values ('001', '%1');"
                                  "insert into compania_usuario values ('002', '%1'); commit;")
                       .arg(codigo));
        for (const char* cia : {"001/contabil.fdb", "002/contabil.fdb"})
            apoyo::sql(ubicacion, cia,
                       QStringLiteral("insert into usuario (user_cod) values ('%1');"
                                      "insert into acceso_usuario values ('%1', 'CAJA', 0, 'S');"
                                      "insert into acceso_usuario values ('%1', 'CAJA', 1, 'N');"
                                      "commit;")
                           .arg(codigo));
    }
    int filasGenerales(const QString& codigo) {
        return apoyo::cuenta(
            ubicacion, "general.fdb",
            QStringLiteral("select (select count(*) from usuario where usua_cod = '%1') + "
                           "(select count(*) from compania_usuario where usua_cod = '%1') "
                           "from rdb$database")
                .arg(codigo));
    }
    int filasCompania(const QString& cia, const QString& codigo) {
        return apoyo::cuenta(
            ubicacion, cia + "/contabil.fdb",
            QStringLiteral("select (select count(*) from usuario where user_cod = '%1') + "
                           "(select count(*) from acceso_usuario where user_cod = '%1') "
                           "from rdb$database")
                .arg(codigo));
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        p = apoyo::sesionAdministrador(ubicacion);
        apoyo::sql(ubicacion, "general.fdb",
                   "insert into usuario values ('SysDba', 'Otro administrador', 'S'); commit;");
    }
    void cleanupTestCase() { apoyo::borrarCuenta(ubicacion, "TBORRA"); }
    void init() {
        FakeDialogs::actual().limpiar();
        FakeDialogs::actual().respuestas.clear();
    }

    void administradorDelServidorNoSeBorra_data() {
        QTest::addColumn<QString>("codigo");
        QTest::newRow("mayusculas") << "SYSDBA";
        QTest::newRow("mezcla") << "SysDba";
    }
    void administradorDelServidorNoSeBorra() {
        QFETCH(QString, codigo);
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, codigo));
        FakeDialogs::actual().respuestas.enqueue(true);
        QTest::keyClick(&lista, Qt::Key_F3);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("No se puede eliminar el usuario administrador de la base de datos."));
        QVERIFY(codigos(lista).contains(codigo));
    }

    void respuestaNoNoCambiaNada() {
        crearFilas("TNO");
        apoyo::crearCuenta(ubicacion, "TNO", "tno");
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, "TNO"));
        FakeDialogs::actual().respuestas.enqueue(false);
        QTest::keyClick(&lista, Qt::Key_F3);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("Esta seguro de borrar el usuario Nombre TNO?."));
        QVERIFY(apoyo::cuentaExiste(ubicacion, "TNO"));
        QCOMPARE(filasGenerales("TNO"), 3);
        QVERIFY(lista.Panel3->isHidden());
        apoyo::borrarCuenta(ubicacion, "TNO");
    }

    // Grants go in every company; the company rows only in the working one;
    // rows kept under a lower-case code are not matched.
    void borraCuentaYFilas() {
        crearFilas("TBORRA");
        crearFilas("tborra");
        apoyo::crearCuenta(ubicacion, "TBORRA", "tborra");
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, "TBORRA"));
        FakeDialogs::actual().respuestas.enqueue(true);
        QTest::keyClick(&lista, Qt::Key_F3);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("Esta seguro de borrar el usuario Nombre TBORRA?."));
        QVERIFY(!apoyo::cuentaExiste(ubicacion, "TBORRA"));
        QCOMPARE(filasGenerales("TBORRA"), 0);
        QCOMPARE(filasCompania("001", "TBORRA"), 0);
        QCOMPARE(filasCompania("002", "TBORRA"), 3);
        QCOMPARE(filasGenerales("tborra"), 3);
        QCOMPARE(filasCompania("001", "tborra"), 3);
        QVERIFY(!codigos(lista).contains("TBORRA"));
        QVERIFY(lista.Panel3->isHidden());
    }

    void cuentaInexistenteNoBorraNada() {
        crearFilas("TNOCTA");
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, "TNOCTA"));
        FakeDialogs::actual().respuestas.enqueue(true);
        QTest::keyClick(&lista, Qt::Key_F3);
        QCOMPARE(FakeDialogs::actual().textos().last(),
                 "El usuario que se intenta borrar no existe en la base de datos de seguridad");
        QCOMPARE(filasGenerales("TNOCTA"), 3);
        QCOMPARE(filasCompania("001", "TNOCTA"), 3);
        QVERIFY(codigos(lista).contains("TNOCTA"));
    }

    void sinLibreriaNoBorraNadaYLoDice() {
        crearFilas("TSINLIB");
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, "TSINLIB"));
        FakeDialogs::actual().respuestas.enqueue(true);
        apoyo::sinLibreriaCliente([&] { QTest::keyClick(&lista, Qt::Key_F3); });
        QCOMPARE(FakeDialogs::actual().mensajes.last().icono, platform::Dialogs::Icon::Error);
        QVERIFY(FakeDialogs::actual().textos().last().contains("No se pudo cargar"));
        QCOMPARE(filasGenerales("TSINLIB"), 3);
    }

    void teclasConModificadorNoHacenNada() {
        Tfusuarios lista(p.get());
        QVERIFY(seleccionar(lista, "GERENTE"));
        for (auto mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            QTest::keyClick(&lista, Qt::Key_F3, mod);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
    }
};

TEST_CLASS(TstCuentasServidor)
TEST_CLASS(TstBorrarUsuario)
#include "tst_usuarios.moc"
