// Scrambling of the password held in memory.
#include "access/cifrado.h"
#include "support/testmain.h"

#include <QRandomGenerator>
#include <QTest>

class TstCifrado : public QObject {
    Q_OBJECT
private slots:
    void idaYVuelta_data() {
        QTest::addColumn<QByteArray>("texto");
        QTest::newRow("vacio") << QByteArray();
        QTest::newRow("una letra") << QByteArray("a");
        QTest::newRow("clave comun") << QByteArray("Clave.2026");
        QTest::newRow("acentos ansi") << QByteArray("contrase\xf1"
                                                    "a\xe1\xe9");
        QTest::newRow("byte cero dentro") << QByteArray("ab\0cd", 5);
        QTest::newRow("bytes altos que dan la vuelta") << QByteArray("\xff\xfe\xfd\xfc\xf0", 5);
        QByteArray todos;
        for (int c = 0; c < 256; ++c)
            todos.append(char(c));
        QTest::newRow("los 256 codigos") << todos;
    }
    void idaYVuelta() {
        QFETCH(QByteArray, texto);
        const QByteArray cifrado = encripta(texto);
        QCOMPARE(cifrado.size(), texto.size());
        QCOMPARE(desencripta(cifrado), texto);
        if (texto.size() > 3)
            QVERIFY(cifrado != texto);
    }

    void textosAlAzar() {
        QRandomGenerator azar(2026);
        for (int i = 0; i < 500; ++i) {
            QByteArray texto(int(azar.bounded(40)), '\0');
            for (char& c : texto)
                c = char(azar.bounded(256));
            QCOMPARE(desencripta(encripta(texto)), texto);
        }
    }

    // A character of code 0 in the scrambled form stays part of the text.
    void ceroEnElCifrado() {
        // n = 1, position 1, key tabla_clave[1]: the code that lands on 0.
        const int c = (256 - (1 + 1 + tabla_clave[1]) % 256) % 256;
        const QByteArray texto(1, char(c));
        const QByteArray cifrado = encripta(texto);
        QCOMPARE(cifrado, QByteArray(1, '\0'));
        QCOMPARE(desencripta(cifrado), texto);
    }

    void posicionesYLongitud() {
        // Equal characters three positions apart use the same key entry.
        const QByteArray cifrado = encripta("aaaaaaa");
        QCOMPARE(quint8(cifrado[3] - cifrado[0]), quint8(3));
        QCOMPARE(quint8(cifrado[6] - cifrado[3]), quint8(3));
        // One more character shifts every position by one.
        const QByteArray largo = encripta("aaaaaaaa");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(quint8(largo[i] - cifrado[i]), quint8(1));
        QCOMPARE(clave_por_posicion(1, tabla_clave, 3), tabla_clave[1]);
        QCOMPARE(clave_por_posicion(3, tabla_clave, 3), tabla_clave[3]);
        QCOMPARE(clave_por_posicion(4, tabla_clave, 3), tabla_clave[1]);
    }
};

TEST_CLASS(TstCifrado)
#include "tst_cifrado.moc"
