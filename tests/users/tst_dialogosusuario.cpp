// The new-user and change dialogs, against the test server.
#include "apoyo.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"
#include "users/modusuario.h"
#include "users/nvousuario.h"
#include "users/usuarios.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace {
QString fila(const QString& ubicacion, const QString& codigo) {
    return apoyo::valores(ubicacion, "general.fdb",
                          QStringLiteral("select usua_nombre || '|' || coalesce(usua_admin, '') "
                                         "from usuario where usua_cod = '%1'")
                              .arg(codigo))
        .value(0);
}
} // namespace

class TstNuevoUsuario : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        p = apoyo::sesionAdministrador(ubicacion);
    }
    void init() { FakeDialogs::actual().limpiar(); }

    void guardaLaFila_data() {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<bool>("administrador");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("normal") << "TNUEVO1" << false << "TNUEVO1"
                                << "Ana Pérez|N";
        QTest::newRow("administrador") << "TNUEVO2" << true << "TNUEVO2"
                                       << "Ana Pérez|S";
        QTest::newRow("minusculas") << "tnuevo3" << false << "TNUEVO3"
                                    << "Ana Pérez|N";
        QTest::newRow("ocho caracteres") << "TNUEVO4XYZ" << false << "TNUEVO4X"
                                         << "Ana Pérez|N";
    }
    void guardaLaFila() {
        QFETCH(QString, tecleado);
        QFETCH(bool, administrador);
        QFETCH(QString, codigo);
        QFETCH(QString, esperado);
        Tfnvousuario d(p.get());
        d.show();
        apoyo::teclear(d.DBEdit1, tecleado);
        apoyo::teclear(d.DBEdit2, "Ana Pérez");
        if (administrador)
            QTest::mouseClick(d.DBCheckBox1, Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QVERIFY(!d.isVisible());
        QCOMPARE(fila(ubicacion, codigo), esperado);
    }

    void sinCodigoPideElCampo() {
        Tfnvousuario d(p.get());
        d.show();
        apoyo::teclear(d.DBEdit2, "Sin código");
        QTest::keyClick(&d, Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("Los campos USUA_COD,  son obligatorios."));
        QVERIFY(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(apoyo::cuenta(ubicacion, "general.fdb",
                               "select count(*) from usuario where usua_nombre = 'Sin código'"),
                 0);
    }

    void codigoRepetidoDiceQueExiste() {
        Tfnvousuario d(p.get());
        d.show();
        apoyo::teclear(d.DBEdit1, "GERENTE");
        apoyo::teclear(d.DBEdit2, "Otro");
        QTest::keyClick(&d, Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("Ya existe el registro en la tabla Usuario"));
        QCOMPARE(fila(ubicacion, "GERENTE"), "Álvaro Peña Quiñónez|S");
    }

    // F5 in the list opens the dialog; the list shows the new user after it.
    void desdeLaLista() {
        Tfusuarios lista(p.get());
        lista.show();
        alAbrirModal("fnvousuario", [](QWidget* w) {
            auto* d = static_cast<Tfnvousuario*>(w);
            apoyo::teclear(d->DBEdit1, "TLISTA");
            QTest::keyClick(d, Qt::Key_F2);
        });
        QTest::keyClick(&lista, Qt::Key_F5);
        QVERIFY(lista.CUsuarios->locate({"USUA_COD"}, {"TLISTA"}));
    }
};

class TstCambiarUsuario : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;

    std::unique_ptr<Tfmodusuario> abrir(const QString& codigo) {
        p->usuario_sel = codigo;
        auto d = std::make_unique<Tfmodusuario>(p.get());
        d->show();
        return d;
    }
    void nuevo(const QString& codigo, const QString& clave = {}) {
        apoyo::sql(
            ubicacion, "general.fdb",
            QStringLiteral("insert into usuario values ('%1', 'Antes', 'N'); commit;").arg(codigo));
        if (!clave.isEmpty())
            apoyo::crearCuenta(ubicacion, codigo, clave);
    }
    void cambiarNombreYBandera(Tfmodusuario& d) {
        d.DBEdit2->selectAll();
        apoyo::teclear(d.DBEdit2, "Después");
        QTest::mouseClick(d.DBCheckBox1, Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        p = apoyo::sesionAdministrador(ubicacion);
    }
    void cleanupTestCase() {
        for (const char* u : {"TCLAVE", "TDIF", "TMEDIA", "TSINLIB"})
            apoyo::borrarCuenta(ubicacion, u);
    }
    void init() { FakeDialogs::actual().limpiar(); }

    void clavesIgualesCambianClaveYFila() {
        nuevo("TCLAVE", "vieja");
        auto d = abrir("TCLAVE");
        cambiarNombreYBandera(*d);
        apoyo::teclear(d->Clave, "Nueva1");
        apoyo::teclear(d->Confirma, "Nueva1");
        QTest::keyClick(d.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QVERIFY(!d->isVisible());
        QVERIFY(apoyo::entra(ubicacion, "TCLAVE", "Nueva1"));
        QVERIFY(!apoyo::entra(ubicacion, "TCLAVE", "vieja"));
        QCOMPARE(fila(ubicacion, "TCLAVE"), "Después|S");
    }

    void clavesDistintasNoCambianNada() {
        nuevo("TDIF", "vieja");
        auto d = abrir("TDIF");
        cambiarNombreYBandera(*d);
        apoyo::teclear(d->Clave, "Nueva1");
        apoyo::teclear(d->Confirma, "Nueva2");
        QTest::keyClick(d.get(), Qt::Key_F2);
        QCOMPARE(
            FakeDialogs::actual().textos(),
            QStringList("La nueva clave y la confirmación son diferentes. Intente nuevamente."));
        QVERIFY(d->isVisible());
        QTest::keyClick(d.get(), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QVERIFY(apoyo::entra(ubicacion, "TDIF", "vieja"));
        QCOMPARE(fila(ubicacion, "TDIF"), "Antes|N");
    }

    void sinConfirmacionSoloGuardaLaFila() {
        nuevo("TMEDIA", "vieja");
        auto d = abrir("TMEDIA");
        cambiarNombreYBandera(*d);
        apoyo::teclear(d->Clave, "Nueva1");
        QTest::keyClick(d.get(), Qt::Key_F2);
        QVERIFY(!d->isVisible());
        QVERIFY(apoyo::entra(ubicacion, "TMEDIA", "vieja"));
        QCOMPARE(fila(ubicacion, "TMEDIA"), "Después|S");
    }

    void sinCuentaDescartaLosCambios() {
        nuevo("TSINCTA");
        auto d = abrir("TSINCTA");
        cambiarNombreYBandera(*d);
        apoyo::teclear(d->Clave, "Nueva1");
        apoyo::teclear(d->Confirma, "Nueva1");
        QTest::keyClick(d.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("El usuario no existe en la base de datos de seguridad"));
        QVERIFY(!d->isVisible());
        QCOMPARE(fila(ubicacion, "TSINCTA"), "Antes|N");
    }

    void sinLibreriaNoGuardaYLoDice() {
        nuevo("TSINLIB", "vieja");
        auto d = abrir("TSINLIB");
        cambiarNombreYBandera(*d);
        apoyo::teclear(d->Clave, "Nueva1");
        apoyo::teclear(d->Confirma, "Nueva1");
        apoyo::sinLibreriaCliente([&] { QTest::keyClick(d.get(), Qt::Key_F2); });
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(!d->isVisible());
        QCOMPARE(fila(ubicacion, "TSINLIB"), "Antes|N");
        QVERIFY(apoyo::entra(ubicacion, "TSINLIB", "vieja"));
    }

    void administradorDelServidorConservaLaBandera() {
        auto d = abrir("SYSDBA");
        QVERIFY(!d->DBCheckBox1->isEnabled());
        QVERIFY(d->DBCheckBox1->isChecked());
        QVERIFY(d->DBEdit2->isEnabled());
    }

    // No row for the code: nothing is shown or changed, the dialog says so
    // and closes.
    void sinFilaNoTocaOtroUsuario() {
        const QString antes = fila(ubicacion, "CAJERO");
        auto d = abrir("NOEXISTE");
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList("No se encontró el usuario NOEXISTE en la base de datos general."));
        QVERIFY(d->DBEdit2->text().isEmpty());
        QTRY_VERIFY(!d->isVisible());
        QCOMPARE(fila(ubicacion, "CAJERO"), antes);
    }

    // F4 in the list hands the code over in upper case.
    void desdeLaLista() {
        Tfusuarios lista(p.get());
        lista.show();
        QVERIFY(lista.CUsuarios->locate({"USUA_COD"}, {"VENDE01"}));
        QString mostrado;
        alAbrirModal("fmodusuario", [&](QWidget* w) {
            auto* d = static_cast<Tfmodusuario*>(w);
            mostrado = d->DBEdit1->text();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QTest::keyClick(&lista, Qt::Key_F4);
        QCOMPARE(mostrado, "VENDE01");
        QCOMPARE(p->usuario_sel, "VENDE01");
    }
};

TEST_CLASS(TstNuevoUsuario)
TEST_CLASS(TstCambiarUsuario)
#include "tst_dialogosusuario.moc"
