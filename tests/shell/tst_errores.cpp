// The one error handler: real server errors through its three entry points
// give the Spanish message, the status text and exactly one log line.
#include "platform/ansi.h"
#include "shell/aplicacion.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace platform;

namespace {
QStringList lineasDelRegistro(const QString& carpeta) {
    QFile f(QDir(carpeta).filePath("ERRORES.TXT"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString texto = fromAnsi(f.readAll());
    QStringList lineas = texto.split("\r\n");
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}
} // namespace

class TstErrores : public QObject {
    Q_OBJECT
    QString ubicacion;
    QTemporaryDir carpeta;
    std::unique_ptr<Tfprincipal> principal;

    // Raises a real server error of each kind.
    void provocar(const QString& caso, QObject* ventana) {
        Tfprincipal& p = *principal;
        auto conectar = [&](const QString& base, const QString& clave) {
            Connection c("provocada");
            c.setParam("Database", base);
            c.setParam("User_Name", "GERENTE");
            c.setParam("password", clave);
            c.connect();
        };
        if (caso == "clave") {
            conectar(p.rutaGeneral(), "equivocada");
        } else if (caso == "archivo") {
            conectar(ServidorPrueba::ruta(ubicacion, "999/contabil.fdb"), "gerente");
        } else if (caso == "equipo") {
            conectar("equipo-inexistente.invalid:/datos/general.fdb", "gerente");
        } else if (caso == "otro") {
            throw std::runtime_error("Your user name and password are not defined");
        } else {
            auto* datos = p.cliente(caso == "foranea" ? p.TCompusuario : p.TUsuario,
                                    caso == "foranea" ? "CCompusuario" : "CUsuario",
                                    caso == "foranea"
                                        ? QList<FieldDef>{{"COMP_COD", FieldKind::FixedString, 3, true},
                                                          {"USUA_COD", FieldKind::String, 12, true}}
                                        : QList<FieldDef>{{"USUA_COD", FieldKind::String, 12, true},
                                                          {"USUA_NOMBRE", FieldKind::String, 60, true},
                                                          {"USUA_ADMIN", FieldKind::FixedString, 1}},
                                    ventana);
            p.ConfigurarProviders(ventana);
            datos->open();
            datos->append();
            if (caso == "duplicado") {
                datos->setValue("USUA_COD", "CAJERO");
                datos->setValue("USUA_NOMBRE", "Otro");
            } else if (caso == "foranea") {
                datos->setValue("COMP_COD", "999");
                datos->setValue("USUA_COD", "CAJERO");
            }
            datos->applyUpdates(0); // required fields are checked when the row is posted
        }
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        principal = std::make_unique<Tfprincipal>();
        iniciarSesion(*principal, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
    }

    void tresEntradas_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("estado"); // start of the status bar's text
        QTest::addColumn<int>("pitidos");
        QTest::newRow("clave rechazada") << "clave" << "El nombre de Usuario o la clave son incorrectas."
                                         << "Your user name and password are not defined" << 1;
        QTest::newRow("archivo inexistente")
            << "archivo"
            << "No se encontró el archivo o la ruta " + ServidorPrueba::ruta(ubicacion, "999/contabil.fdb").section(':', 1)
            << "I/O error during \"open\" operation for file" << 1;
        QTest::newRow("equipo desconocido") << "equipo"
                                            << "No se encontró el equipo servidor con nombre equipo-inexistente.invalid"
                                            << "Unable to complete network request to host" << 1;
        QTest::newRow("otro error") << "otro"
                                    << "Se presento el siguiente error: Your user name and password are not defined"
                                    << "Your user name and password are not defined" << 1;
        QTest::newRow("clave duplicada") << "duplicado" << "Ya existe el registro en la tabla Usuario"
                                         << "violation of PRIMARY or UNIQUE KEY" << 1;
        QTest::newRow("clave foranea")
            << "foranea"
            << "Está borrando o insertando un registro en la tabla Compusuario que tiene una relación con otra tabla."
            << "violation of FOREIGN KEY" << 1;
        QTest::newRow("campos obligatorios") << "obligatorio"
                                             << "Los campos USUA_COD, USUA_NOMBRE,  son obligatorios."
                                             << "Advertencia: CUsuario: Field 'USUA_COD' must have a value" << 2;
    }
    void tresEntradas() {
        QFETCH(QString, caso);
        QFETCH(QString, mensaje);
        QFETCH(QString, estado);
        QFETCH(int, pitidos);
        FakeDialogs& dialogos = FakeDialogs::actual();
        dialogos.limpiar();
        const int antes = int(lineasDelRegistro(carpeta.path()).size());
        QObject ventana;
        Aplicacion::protect(nullptr, [&] { provocar(caso, &ventana); });
        QCOMPARE(dialogos.textos().size(), 1);
        QCOMPARE(dialogos.mensajes.last().texto, mensaje);
        QCOMPARE(dialogos.mensajes.last().icono, Dialogs::Icon::Error);
        QVERIFY2(principal->mensajeEstado().startsWith(estado), qPrintable(principal->mensajeEstado()));
        QCOMPARE(dialogos.pitidos, pitidos);
        const QStringList lineas = lineasDelRegistro(carpeta.path());
        QCOMPARE(lineas.size(), antes + 1);
        QVERIFY(lineas.last().startsWith("11/12/2026,10:30:00 AM,GERENTE,"));
    }

    // The raw text goes to the log unchanged, line breaks and commas included.
    void registroConTextoCrudo() {
        QObject ventana;
        Aplicacion::protect(nullptr, [&] { throw std::runtime_error("uno, dos\ntres"); });
        QFile f(QDir(carpeta.path()).filePath("ERRORES.TXT"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().endsWith("11/12/2026,10:30:00 AM,GERENTE,uno, dos\ntres\r\n"));
    }

    void advertenciaDuraLoConfigurado() {
        principal->mostrar_advertencia("prueba");
        QCOMPARE(principal->mensajeEstado(), QString("Advertencia: prueba"));
        QCOMPARE(principal->findChild<QTimer*>("Timer2")->interval(), 3000); // 30 tenths in the demo data
        QVERIFY(principal->advertenciaVisible());
        principal->setMensajeEstado("otro texto");
        QVERIFY(!principal->advertenciaVisible());
    }

    // The duration lookup fails inside the handler: no second error.
    void advertenciaSinConexion() {
        FakeDialogs::actual().limpiar();
        principal->ConMantenim.disconnect();
        principal->ConMantenim.setParam("Database", ServidorPrueba::ruta(ubicacion, "998/contabil.fdb"));
        principal->mostrar_advertencia("sin base");
        QCOMPARE(principal->findChild<QTimer*>("Timer2")->interval(), 2500);
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
        principal->apuntarCompania("001");
    }

    void registroQueNoSePuedeEscribir() {
        QTemporaryDir otra;
        QDir(otra.path()).mkdir("ERRORES.TXT"); // a folder where the log should be
        const QString guardada = principal->dir_aplicacion;
        principal->dir_aplicacion = otra.path();
        FakeDialogs::actual().limpiar();
        Aplicacion::protect(nullptr, [] { throw std::runtime_error("sin registro"); });
        principal->dir_aplicacion = guardada;
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{"Se presento el siguiente error: sin registro"});
        QCOMPARE(principal->mensajeEstado(), QString("sin registro"));
    }
};

TEST_CLASS(TstErrores)
#include "tst_errores.moc"
