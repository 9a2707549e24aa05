// SQL script runner with the real isql-fb on the company main database.
#include "platform/ansi.h"
#include "sesion.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "tools/ejecutasql.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {
// About three seconds of server work.
const char* kScriptLento = "select count(*) from rdb$relation_fields a, rdb$relation_fields b,\n"
                           "  (select first 60 1 as x from rdb$relation_fields) c;";

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TstEjecutaSql : public QObject {
    Q_OBJECT
    Sesion sesion;
    QTemporaryDir temporal;
    QString programa; // the program's folder of the windows under test

    Tfejecutasql* abrir() {
        sesion.principal->AdvGlowButton2Click();
        Tfejecutasql* v = sesion.ultima<Tfejecutasql>();
        v->carpeta_programa = programa;
        return v;
    }

    // Runs the script box and waits for the tool to end.
    static bool ejecutar(Tfejecutasql* v, const QString& script) {
        v->Memo1->setPlainText(script);
        pulsar(v->SpeedButton5);
        return QTest::qWaitFor([v] { return !v->ejecutando(); }, 60000) && !v->Panel4->isVisible();
    }

    QString principalDe(const QString& ubicacion) {
        return ServidorPrueba::ruta(ubicacion, "001/orvilex.fdb");
    }

private slots:
    void initTestCase() {
        sesion.iniciar("SYSDBA", ServidorPrueba::instancia().claveSysdba());
        programa = temporal.filePath("programa");
        QVERIFY(QDir().mkpath(programa));
    }
    void cleanupTestCase() { sesion.principal.reset(); }
    void init() { FakeDialogs::actual().limpiar(); }

    void valoresIniciales() {
        Tfejecutasql* v = abrir();
        QCOMPARE(v->windowTitle(), QString("Ejecutar script SQL"));
        QCOMPARE(v->Memo1->toPlainText(), QString("Memo1"));
        QCOMPARE(v->Rutaisql->text(), QString("/usr/bin"));
        QVERIFY(!v->AdvPanel1->isVisible());
        pulsar(v->SpeedButton2);
        QVERIFY(v->AdvPanel1->isVisible());
        pulsar(v->AdvPanel1->findChild<QToolButton*>("CerrarPanel"));
        QVERIFY(!v->AdvPanel1->isVisible());
        QVERIFY(!v->Panel4->isVisible());
        QCOMPARE(QCoreApplication::applicationDirPath(), Tfejecutasql(nullptr).carpeta_programa);
        v->close();
    }

    void explorarYAbrirArchivo() {
        Tfejecutasql* v = abrir();
        FakeDialogs::actual().carpetas.enqueue("/opt/firebird");
        pulsar(v->SpeedButton4);
        QCOMPARE(v->Rutaisql->text(), QString("/opt/firebird"));
        pulsar(v->SpeedButton4); // cancelled: unchanged
        QCOMPARE(v->Rutaisql->text(), QString("/opt/firebird"));

        const QString archivo = temporal.filePath("cargar.sql");
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("select 'Ca\xF1o' from rdb$database;\r\ncommit;\r\n");
        f.close();
        FakeDialogs::actual().abrir.enqueue(archivo);
        pulsar(v->SpeedButton1);
        QCOMPARE(v->Ubicacion->text(), archivo);
        QCOMPARE(v->Memo1->toPlainText(), QString("select 'Caño' from rdb$database;\ncommit;"));
        FakeDialogs::actual().abrir.enqueue(temporal.filePath("no-existe.sql"));
        pulsar(v->SpeedButton1);
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        v->close();
    }

    void creaUnaTablaYMuestraLaSalida() {
        Tfejecutasql* v = abrir();
        QVERIFY(ejecutar(v, "create table prueba_script (id integer, nombre varchar(20));\n"
                            "commit;\n"
                            "insert into prueba_script values (1, 'Ñandú');\n"
                            "commit;\n"
                            "select * from prueba_script;"));
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{"Script ejecutado"});
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::None);
        const QString salida = v->Memo1->toPlainText();
        QVERIFY2(salida.contains("NOMBRE") && salida.contains("Ñandú"), qPrintable(salida));
        QVERIFY(!salida.contains("Memo1"));
        QVERIFY(leer(programa + "/script.sql")
                    .startsWith("create table prueba_script (id integer, nombre varchar(20));\r\n"
                                "commit;\r\n"));
        QVERIFY(leer(programa + "/script.sql")
                    .contains("'\xD1"
                              "and\xFA"
                              "'"));
        // The table is there, in the company main database.
        const QString comprobado = ServidorPrueba::instancia().isql(
            principalDe(sesion.ubicacion), "select nombre from prueba_script;");
        QVERIFY2(comprobado.contains("Ñandú"), qPrintable(comprobado));

        // A second run shows its own output only.
        QVERIFY(ejecutar(v, "select 'segunda' from rdb$database;"));
        QVERIFY(v->Memo1->toPlainText().contains("segunda"));
        QVERIFY(!v->Memo1->toPlainText().contains("Ñandú"));
        v->close();
    }

    void errorDelScriptConElTextoDeLaHerramienta() {
        Tfejecutasql* v = abrir();
        QVERIFY(ejecutar(v, "select * from tabla_que_no_existe;"));
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{"Script ejecutado"});
        const QString salida = v->Memo1->toPlainText();
        QVERIFY2(salida.contains("Table unknown") && salida.contains("TABLA_QUE_NO_EXISTE"),
                 qPrintable(salida));
        v->close();
    }

    void sinLaHerramientaNoArranca() {
        Tfejecutasql* v = abrir();
        v->Rutaisql->setText(temporal.path());
        QVERIFY(ejecutar(v, "select 1 from rdb$database;"));
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{"Error ejecutado script"});
        QCOMPARE(v->Memo1->toPlainText(), QString());
        v->close();
    }

    void scriptQueNoSePuedeGrabar() {
        Tfejecutasql* v = abrir();
        v->carpeta_programa = temporal.filePath("no/existe");
        QVERIFY(ejecutar(v, "select 1 from rdb$database;"));
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(FakeDialogs::actual().textos()[0].contains("script.sql"));
        QVERIFY(!v->proceso());
        v->close();
    }

    // Program folder, tool folder and server location all with blanks.
    void carpetasConBlancos() {
        const QString base = temporal.filePath("datos con blanco");
        const QString herramienta = temporal.filePath("herramienta firebird");
        const QString programaBlanco = temporal.filePath("mi programa");
        QVERIFY(QDir().mkpath(base + "/datos/001"));
        QVERIFY(QDir().mkpath(herramienta));
        QVERIFY(QDir().mkpath(programaBlanco));
        QVERIFY(QFile::link("/usr/bin/isql-fb", herramienta + "/isql-fb"));
        Tfprincipal& p = *sesion.principal;
        const QString ubicacion =
            QString("127.0.0.1/%1:%2").arg(ServidorPrueba::instancia().puerto()).arg(base);
        QProcess crear;
        crear.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ISC_USER", "SYSDBA");
        env.insert("ISC_PASSWORD", ServidorPrueba::instancia().claveSysdba());
        crear.setProcessEnvironment(env);
        crear.start("isql-fb", {"-q"});
        crear.write(("CREATE DATABASE '" + principalDe(ubicacion) + "';\n").toUtf8());
        crear.closeWriteChannel();
        QVERIFY(crear.waitForFinished(30000));
        QVERIFY(QFile::exists(base + "/datos/001/orvilex.fdb"));

        const QString servidor = p.servidor;
        p.servidor = ubicacion;
        Tfejecutasql* v = abrir();
        v->carpeta_programa = programaBlanco;
        v->Rutaisql->setText(herramienta);
        const bool termino = ejecutar(v, "create table en_blanco (id integer);\ncommit;\n"
                                         "select mon$database_name from mon$database;");
        p.servidor = servidor;
        QVERIFY(termino);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{"Script ejecutado"});
        QVERIFY2(v->Memo1->toPlainText().contains("datos con blanco/datos/001/orvilex.fdb"),
                 qPrintable(v->Memo1->toPlainText()));
        QVERIFY(QFile::exists(programaBlanco + "/script.sql"));
        QVERIFY(QFile::exists(programaBlanco + "/resultado.txt"));
        v->close();
    }

    // The password travels in the environment: the command line, which any
    // user of the machine can read, does not carry it.
    void claveFueraDeLaLineaDeOrdenes() {
        Tfejecutasql* v = abrir();
        v->Memo1->setPlainText(kScriptLento);
        pulsar(v->SpeedButton5);
        QVERIFY(v->ejecutando());
        QVERIFY(v->Panel4->isVisible());
        const qint64 pid = v->proceso()->processId();
        const QByteArray linea = leer(QString("/proc/%1/cmdline").arg(pid));
        const QByteArray entorno = leer(QString("/proc/%1/environ").arg(pid));
        const QByteArray clave = ServidorPrueba::instancia().claveSysdba().toUtf8();
        QVERIFY(linea.contains("orvilex.fdb"));
        QVERIFY(!linea.contains(clave));
        QVERIFY(!v->proceso()->arguments().contains("-p"));
        QVERIFY(!v->proceso()->arguments().join(' ').contains(clave));
        QVERIFY(entorno.contains("ISC_PASSWORD=" + clave));
        QVERIFY(entorno.contains("ISC_USER=SYSDBA"));

        // Still responsive: a second F2 starts nothing.
        pulsar(v->SpeedButton5);
        QCOMPARE(v->proceso()->processId(), pid);
        QTRY_VERIFY_WITH_TIMEOUT(!v->ejecutando(), 60000);
        QTRY_VERIFY(!v->Panel4->isVisible());
        QVERIFY2(v->Memo1->toPlainText().contains("COUNT"), qPrintable(v->Memo1->toPlainText()));
        v->close();
    }

    void cerrarDuranteLaEjecucion() {
        Tfejecutasql* v = abrir();
        QPointer<Tfejecutasql> vigilada(v);
        v->Memo1->setPlainText(kScriptLento);
        pulsar(v->SpeedButton5);
        QVERIFY(v->ejecutando());
        const qint64 pid = v->proceso()->processId();

        FakeDialogs::actual().respuestas.enqueue(false);
        QTest::keyClick(v->Memo1, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(vigilada);
        QVERIFY(v->ejecutando());

        FakeDialogs::actual().respuestas.enqueue(true);
        pulsar(v->SpeedButton3);
        QTRY_VERIFY(!vigilada);
        QVERIFY(!QFile::exists(QString("/proc/%1/cmdline").arg(pid)) ||
                leer(QString("/proc/%1/cmdline").arg(pid)).isEmpty());
        QCOMPARE(FakeDialogs::actual().textos().size(), 2); // the two questions, no result box
    }
};

TEST_CLASS(TstEjecutaSql)
#include "tst_ejecutasql.moc"
