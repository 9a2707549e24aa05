// impresoras.cfg as both readers take it, and the printer definitions
// dialog against the test run's own CUPS scheduler.
#include "config/defimpresoras.h"
#include "config/impresorascfg.h"
#include "config/parametros.h"
#include "shell/principal.h"
#include "support/cups.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using config::ImpresoraDefinida;
using Filas = QList<ImpresoraDefinida>;
Q_DECLARE_METATYPE(Filas)

namespace QTest {
template <> char* toString(const ImpresoraDefinida& f) {
    return qstrdup(QStringLiteral("(%1|%2|%3)")
                       .arg(f.codigo, f.nombre, f.marcada ? "x" : " ")
                       .toUtf8()
                       .constData());
}
} // namespace QTest

class TstDefImpresoras : public QObject {
    Q_OBJECT
    std::unique_ptr<Tfprincipal> ventana;
    std::unique_ptr<QTemporaryDir> carpeta;

    QString archivo() const { return config::rutaImpresorasCfg(carpeta->path()); }
    void escribir(const QByteArray& contenido) {
        QFile f(archivo());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
    QByteArray leido() const {
        QFile f(archivo());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
    }

private slots:
    void initTestCase() {
        ServidorCups::instancia();
        ventana = std::make_unique<Tfprincipal>();
    }
    void init() {
        carpeta = std::make_unique<QTemporaryDir>();
        ventana->dir_aplicacion = carpeta->path();
        FakeDialogs::actual().limpiar();
    }
    void cleanupTestCase() { ventana.reset(); }

    void lectura_data() {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<Filas>("filas");
        const QString largo(300, QLatin1Char('L'));
        QTest::newRow("written by the dialog")
            << QByteArray("1,Contabilidad\r\n3,Recepcion\r\n")
            << Filas{{"1", "Contabilidad", true}, {"3", "Recepcion", true}};
        QTest::newRow("empty file") << QByteArray() << Filas{};
        QTest::newRow("bare LF comes back unticked")
            << QByteArray("1,A\n3,B\r\n") << Filas{{"1", "A", false}, {"3", "B", true}};
        QTest::newRow("bare CR keeps the next line whole")
            << QByteArray("1,A\r2,B\r\n") << Filas{{"1", "A", true}, {"2", "B", true}};
        QTest::newRow("line without a comma between two")
            << QByteArray("1,A\r\nsuelta\r\n3,B\r\n") << Filas{{"1", "A", true}, {"3", "B", true}};
        QTest::newRow("line without a comma first")
            << QByteArray("suelta\r\n1,A\r\n") << Filas{{"1", "A", true}};
        QTest::newRow("empty lines") << QByteArray("\r\n1,A\r\n\n\r\n") << Filas{{"1", "A", true}};
        QTest::newRow("name over 255 characters") << ("1," + largo.toLatin1() + "\r\n2,B\r\n")
                                                  << Filas{{"1", largo, true}, {"2", "B", true}};
        QTest::newRow("code over 255 characters")
            << (largo.toLatin1() + ",A\r\n2,B\r\n") << Filas{{largo, "A", true}, {"2", "B", true}};
        QTest::newRow("last line without its end")
            << QByteArray("1,A\r\n2,B") << Filas{{"1", "A", true}, {"2", "B", false}};
        QTest::newRow("name with a comma")
            << QByteArray("1,Piso 2, oficina\r\n") << Filas{{"1", "Piso 2, oficina", true}};
        QTest::newRow("Windows-1252 name") << QByteArray("1,Impresora \xd1"
                                                         "and\xfa\r\n")
                                           << Filas{{"1", QStringLiteral("Impresora Ñandú"), true}};
    }
    void lectura() {
        QFETCH(QByteArray, contenido);
        QFETCH(Filas, filas);
        QCOMPARE(config::leerDefiniciones(contenido), filas);
        QStringList codigos;
        for (const ImpresoraDefinida& f : filas)
            codigos << f.codigo;
        QCOMPARE(config::leerCodigos(contenido), codigos);
    }

    void escrituraDeLasFilasMarcadas() {
        const Filas filas{{"1", QStringLiteral("Contabilidad Ñ"), true},
                          {"2", "PDF", false},
                          {"3", "Recepcion", true}};
        const QByteArray esperado("1,Contabilidad \xd1\r\n3,Recepcion\r\n");
        QCOMPARE(config::escribirDefiniciones(filas), esperado);
        QCOMPARE(config::leerDefiniciones(esperado), Filas({filas[0], filas[2]}));
        QCOMPARE(config::escribirDefiniciones({{"1", "A", false}}), QByteArray());
    }

    // Three printers of the scheduler, first and third ticked: the file
    // holds codes 1 and 3 with their names, and the dialog shows them again.
    void listarMarcarYGrabar() {
        const QStringList colas = ServidorCups::instancia().colas();
        QCOMPARE(colas.size(), 3);
        {
            Tfdefimpresoras dialogo(ventana.get());
            QCOMPARE(dialogo.ListView1->topLevelItemCount(), 0);
            dialogo.ToolButton2Click();
            QCOMPARE(dialogo.filas(), config::numerarImpresoras(colas));
            QCOMPARE(dialogo.filas()[2], ImpresoraDefinida({"3", colas[2], false}));
            dialogo.ListView1->topLevelItem(0)->setCheckState(0, Qt::Checked);
            dialogo.ListView1->topLevelItem(2)->setCheckState(0, Qt::Checked);
            dialogo.ToolButton1Click();
            QVERIFY(!dialogo.ToolButton1->isEnabled());
            QCOMPARE(dialogo.ToolButton1->property("imagen").toInt(), 2);
        }
        const QByteArray esperado = ("1," + colas[0] + "\r\n3," + colas[2] + "\r\n").toLatin1();
        QCOMPARE(leido(), esperado);

        Tfdefimpresoras otra(ventana.get());
        QCOMPARE(otra.filas(), Filas({{"1", colas[0], true}, {"3", colas[2], true}}));
        QVERIFY(otra.ToolButton1->isEnabled());
        // The editor offers the codes of the file.
        QCOMPARE(config::celdaValor(config::marcaImpresora, config::leerCodigos(esperado)).lista,
                 QStringList({"Predeterminada", "1", "3"}));

        // A new listing numbers again and gives "Grabar" back.
        otra.ToolButton1Click();
        otra.ToolButton2Click();
        QVERIFY(otra.ToolButton1->isEnabled());
        QCOMPARE(otra.ToolButton1->property("imagen").toInt(), 0);
        QCOMPARE(otra.filas(), config::numerarImpresoras(colas));
    }

    void sinArchivoLaListaQuedaVacia() {
        Tfdefimpresoras dialogo(ventana.get());
        QCOMPARE(dialogo.ListView1->topLevelItemCount(), 0);
        QCOMPARE(config::celdaValor(config::marcaImpresora, {}).lista,
                 QStringList{"Predeterminada"});
    }

    void grabarSinMarcarDejaElArchivoVacio() {
        escribir("1,A\r\n");
        Tfdefimpresoras dialogo(ventana.get());
        dialogo.ListView1->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        dialogo.ToolButton1Click();
        QCOMPARE(leido(), QByteArray());
    }

    void cerrarSinGrabarNoTocaElArchivo() {
        escribir("1,A\n2,B\r\n");
        {
            Tfdefimpresoras dialogo(ventana.get());
            dialogo.ToolButton2Click();
            dialogo.close();
        }
        QCOMPARE(leido(), QByteArray("1,A\n2,B\r\n"));
    }

    void archivoQueNoSePuedeEscribir() {
        escribir("1,A\r\n");
        Tfdefimpresoras dialogo(ventana.get());
        // A folder takes the file's place: it cannot be replaced.
        QVERIFY(QFile::remove(archivo()));
        QVERIFY(QDir().mkdir(archivo()));
        dialogo.show();
        QTest::mouseClick(dialogo.ToolButton1, Qt::LeftButton);
        QVERIFY(dialogo.ToolButton1->isEnabled());
        QCOMPARE(dialogo.ToolButton1->property("imagen").toInt(), 0);
        const QStringList textos = FakeDialogs::actual().textos();
        QCOMPARE(textos.size(), 1);
        QVERIFY2(textos[0].startsWith("Se presento el siguiente error: No se pudo grabar el "
                                      "archivo"),
                 qPrintable(textos[0]));
        QVERIFY(QFile::exists(QDir(carpeta->path()).filePath("ERRORES.TXT")));
    }
};

TEST_CLASS(TstDefImpresoras)
#include "tst_defimpresoras.moc"
