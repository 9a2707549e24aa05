// SERVIDORES.cfg as the login dialog reads it.
#include "access/servidores.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

class TstServidores : public QObject {
    Q_OBJECT
private slots:
    void lineas_data() {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QStringList>("esperado");
        const QStringList dos{"equipo/3050:c:\\orvilex", "127.0.0.1:/srv/orvilex"};
        QTest::newRow("CR LF") << QByteArray(
                                      "equipo/3050:c:\\orvilex\r\n127.0.0.1:/srv/orvilex\r\n")
                               << dos;
        QTest::newRow("LF") << QByteArray("equipo/3050:c:\\orvilex\n127.0.0.1:/srv/orvilex\n")
                            << dos;
        QTest::newRow("linea vacia")
            << QByteArray("a:/x\r\n\r\nb:/y\r\n") << QStringList{"a:/x", "", "b:/y"};
        QTest::newRow("ultima sin fin") << QByteArray("a:/x\r\nb:/y") << QStringList{"a:/x"};
        QTest::newRow("vacio") << QByteArray() << QStringList{};
        QTest::newRow("blancos sin recortar") << QByteArray(" a:/x \n") << QStringList{" a:/x "};
        QTest::newRow("CR solo se lleva el byte siguiente")
            << QByteArray("a:/x\rzb:/y\n") << QStringList{"a:/x", "b:/y"};
        QTest::newRow("acentos ansi") << QByteArray("servidor:/compa\xf1"
                                                    "\xed"
                                                    "a\r\n")
                                      << QStringList{"servidor:/compañía"};
        const QByteArray larga(300, 'x');
        QTest::newRow("mas de 255 caracteres entera") << larga + "\r\nb:/y\r\n"
                                                      << QStringList{QString(300, 'x'), "b:/y"};
    }
    void lineas() {
        QFETCH(QByteArray, contenido);
        QFETCH(QStringList, esperado);
        QCOMPARE(leerServidores(contenido), esperado);
    }

    void archivoAusente() {
        QTemporaryDir carpeta;
        QCOMPARE(leerArchivoServidores(carpeta.path()), QStringList{});
    }
};

TEST_CLASS(TstServidores)
#include "tst_servidores.moc"
