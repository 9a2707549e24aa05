// The operations of the procedures and SQL tools, without their windows.
#include "platform/ansi.h"
#include "support/testmain.h"
#include "tools/herramientas.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstHerramientas : public QObject {
    Q_OBJECT

private slots:
    void sentenciaDelProcedimiento_data() {
        QTest::addColumn<QStringList>("titulos");
        QTest::addColumn<QStringList>("valores");
        QTest::addColumn<QString>("esperada");
        const QString inicio = "select * from SP('01/02/2026','28/02/2026'";
        QTest::newRow("un parámetro") << QStringList{"Vendedor:", "", "", "", ""}
                                      << QStringList{"*", "b", "c", "d", "e"} << inicio + ",'*')";
        QTest::newRow("sin parámetros")
            << QStringList{"", "", "", "", ""} << QStringList{"x", "", "", "", ""} << inicio + ")";
        QTest::newRow("solo el segundo") << QStringList{"", "Tipo:", "", "", ""}
                                         << QStringList{"x", "FV", "", "", ""} << inicio + ",'FV')";
        QTest::newRow("cinco") << QStringList{"a", "b", "c", "d", "e"}
                               << QStringList{"1", "2", "3", "4", "5"}
                               << inicio + ",'1','2','3','4','5')";
        QTest::newRow("comilla doblada") << QStringList{"Vendedor:", "", "", "", ""}
                                         << QStringList{"O'Neill' or '1'='1", "", "", "", ""}
                                         << inicio + ",'O''Neill'' or ''1''=''1')";
        QTest::newRow("caja vacía con título")
            << QStringList{"a", "b", "", "", ""} << QStringList{"1", "", "", "", ""}
            << inicio + ",'1','')";
    }
    void sentenciaDelProcedimiento() {
        QFETCH(QStringList, titulos);
        QFETCH(QStringList, valores);
        QFETCH(QString, esperada);
        QCOMPARE(herramientas::sentenciaProcedimiento("SP", "01/02/2026", "28/02/2026", titulos,
                                                      valores),
                 esperada);
    }

    void sentenciaDeLaConsolaComoSeEscribio() {
        QCOMPARE(herramientas::sentenciaConsola("select *\nfrom usuario;"),
                 QString("select *\r\nfrom usuario;\r\n"));
        QCOMPARE(herramientas::sentenciaConsola(""), QString("\r\n"));
    }

    void argumentosSinCredenciales() {
        const QString base =
            herramientas::rutaBasePrincipal("127.0.0.1/3050:/srv/con blanco", "001");
        QCOMPARE(base, QString("127.0.0.1/3050:/srv/con blanco/datos/001/orvilex.fdb"));
        const QStringList args =
            herramientas::argumentosIsql("/a b/script.sql", "/a b/resultado.txt", base);
        QCOMPARE(args.last(), base);
        QVERIFY(args.contains("/a b/script.sql"));
        QVERIFY(args.contains("/a b/resultado.txt"));
        QVERIFY(!args.contains("-u"));
        QVERIFY(!args.contains("-p"));
        const QProcessEnvironment env = herramientas::entornoIsql("GERENTE", "se'creta");
        QCOMPARE(env.value("ISC_USER"), QString("GERENTE"));
        QCOMPARE(env.value("ISC_PASSWORD"), QString("se'creta"));
    }

    void herramientaPreferidaDeLaCarpeta() {
        QTemporaryDir dir;
        auto crear = [&](const QString& nombre) {
            QFile f(dir.filePath(nombre));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.setPermissions(f.permissions() | QFile::ExeOwner);
        };
        QCOMPARE(herramientas::programaIsql(dir.path()), QString());
        crear("isql");
        QCOMPARE(herramientas::programaIsql(dir.path()), dir.filePath("isql"));
        crear("isql-fb");
        QCOMPARE(herramientas::programaIsql(dir.path()), dir.filePath("isql-fb"));
        QCOMPARE(herramientas::programaIsql(dir.path() + "/"), dir.filePath("isql-fb"));
        QCOMPARE(herramientas::programaIsql(herramientas::carpetaIsqlPredeterminada()),
                 QString("/usr/bin/isql-fb"));
    }

    void scriptEnAnsiConCrLf() {
        QTemporaryDir dir;
        const QString ruta = dir.filePath("script.sql");
        herramientas::guardarScript(ruta, "insert into t values ('Ñandú');\nselect 1;");
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("insert into t values ('\xD1"
                                         "and\xFA"
                                         "');\r\nselect 1;\r\n"));
        f.close();
        QCOMPARE(herramientas::leerArchivoTexto(ruta),
                 QString("insert into t values ('Ñandú');\nselect 1;"));
    }

    void archivoQueNoSePuedeEscribirOLeer() {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, herramientas::guardarScript(
                                                         dir.filePath("no/hay/script.sql"), "x"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 herramientas::leerArchivoTexto(dir.filePath("nada.sql")));
    }
};

TEST_CLASS(TstHerramientas)
#include "tst_herramientas.moc"
