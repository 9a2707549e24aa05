// The rules of configuration values without a window: allowed values and
// the colour notation.
#include "config/parametros.h"
#include "support/testmain.h"

#include <QPalette>
#include <QTest>

using Button = platform::GridColumn::Button;
Q_DECLARE_METATYPE(Button)

class TstParametros : public QObject {
    Q_OBJECT

private slots:
    void celdaDeValor_data() {
        QTest::addColumn<QString>("posibles");
        QTest::addColumn<Button>("boton");
        QTest::addColumn<QStringList>("lista");
        QTest::addColumn<QStringList>("aceptados");
        QTest::addColumn<QStringList>("rechazados");
        QTest::newRow("S,N") << "S,N" << Button::Auto << QStringList{"S", "N"}
                             << QStringList{"S", "n", "N"} << QStringList{"X", "SN", ""};
        QTest::newRow("A,,B") << "A,,B" << Button::Auto << QStringList{"A", "", "B"}
                              << QStringList{"", "a", "B"} << QStringList{"C"};
        QTest::newRow("blanks kept") << " S , N" << Button::Auto << QStringList{" S ", " N"}
                                     << QStringList{" s "} << QStringList{"S"};
        QTest::newRow("empty") << "" << Button::Ellipsis << QStringList{}
                               << QStringList{"cualquiera", ""} << QStringList{};
        QTest::newRow("one value") << "Gracias por su compra" << Button::Ellipsis << QStringList{}
                                   << QStringList{"otro texto"} << QStringList{};
        QTest::newRow("printer") << "(PREDETERMINADA)..." << Button::Auto
                                 << QStringList{"Predeterminada", "1", "3"}
                                 << QStringList{"7", "Predeterminada", "x"} << QStringList{};
    }
    void celdaDeValor() {
        QFETCH(QString, posibles);
        QFETCH(Button, boton);
        QFETCH(QStringList, lista);
        QFETCH(QStringList, aceptados);
        QFETCH(QStringList, rechazados);
        const config::CeldaValor celda = config::celdaValor(posibles, {"1", "3"});
        QCOMPARE(celda.boton, boton);
        QCOMPARE(celda.lista, lista);
        for (const QString& v : aceptados)
            QVERIFY2(config::valorPermitido(celda.posibles, v), qPrintable(v));
        for (const QString& v : rechazados)
            QVERIFY2(!config::valorPermitido(celda.posibles, v), qPrintable(v));
    }

    // Text -> value -> text. An invalid text has no value.
    void notacionDeColores_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("valido");
        QTest::addColumn<quint32>("valor");
        QTest::addColumn<QString>("devuelto");
        for (const config::NombreColor& n : config::nombresColor())
            QTest::newRow(n.nombre) << QString(n.nombre) << true << n.valor << QString(n.nombre);
        QTest::newRow("clRed value") << "clRed" << true << 0x000000FFu << "clRed";
        QTest::newRow("clSkyBlue value") << "clSkyBlue" << true << 0x00F0CAA6u << "clSkyBlue";
        QTest::newRow("clBtnFace value") << "clBtnFace" << true << 0xFF00000Fu << "clBtnFace";
        QTest::newRow("clNone value") << "clNone" << true << 0x1FFFFFFFu << "clNone";
        QTest::newRow("name in capitals") << "CLRED" << true << 0x000000FFu << "clRed";
        QTest::newRow("name in lower case")
            << "clwindowtext" << true << 0xFF000008u << "clWindowText";
        QTest::newRow("blue as $") << "$00FF0000" << true << 0x00FF0000u << "clBlue";
        QTest::newRow("no name") << "$001E140A" << true << 0x001E140Au << "$001E140A";
        QTest::newRow("short $") << "$FF" << true << 0x000000FFu << "clRed";
        QTest::newRow("six digits") << "$1E140A" << true << 0x001E140Au << "$001E140A";
        QTest::newRow("lower-case digits") << "$00abcdef" << true << 0x00ABCDEFu << "$00ABCDEF";
        QTest::newRow("long with zeros") << "$000000000000FF00" << true << 0x0000FF00u << "clLime";
        QTest::newRow("system value as $") << "$FF00000D" << true << 0xFF00000Du << "clHighlight";
        QTest::newRow("over 32 bits") << "$123456789" << false << 0u << "";
        QTest::newRow("$ alone") << "$" << false << 0u << "";
        QTest::newRow("not hexadecimal") << "$12G4" << false << 0u << "";
        QTest::newRow("unknown name") << "clRojo" << false << 0u << "";
        QTest::newRow("empty") << "" << false << 0u << "";
    }
    void notacionDeColores() {
        QFETCH(QString, texto);
        QFETCH(bool, valido);
        QFETCH(quint32, valor);
        QFETCH(QString, devuelto);
        const std::optional<quint32> leido = config::valorDeColor(texto);
        QCOMPARE(leido.has_value(), valido);
        if (valido) {
            QCOMPARE(*leido, valor);
            QCOMPARE(config::textoDeColor(*leido), devuelto);
        }
    }

    void coloresDelDialogo_data() {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("texto");
        QTest::newRow("pure red") << QColor(255, 0, 0) << "clRed";
        QTest::newRow("10 20 30") << QColor(10, 20, 30) << "$001E140A";
        QTest::newRow("sky blue") << QColor(0xA6, 0xCA, 0xF0) << "clSkyBlue";
        QTest::newRow("black") << QColor(0, 0, 0) << "clBlack";
    }
    void coloresDelDialogo() {
        QFETCH(QColor, color);
        QFETCH(QString, texto);
        const quint32 valor = config::valorDeRgb(color);
        QCOMPARE(config::textoDeColor(valor), texto);
        QCOMPARE(config::colorEnPantalla(valor, QPalette()), color);
    }

    void coloresDelSistemaSeMuestranConLaPaleta() {
        QPalette paleta;
        paleta.setColor(QPalette::Base, QColor(1, 2, 3));
        paleta.setColor(QPalette::Button, QColor(4, 5, 6));
        paleta.setColor(QPalette::Active, QPalette::Highlight, QColor(7, 8, 9));
        QCOMPARE(config::colorEnPantalla(*config::valorDeColor("clWindow"), paleta),
                 QColor(1, 2, 3));
        QCOMPARE(config::colorEnPantalla(*config::valorDeColor("clBtnFace"), paleta),
                 QColor(4, 5, 6));
        QCOMPARE(config::colorEnPantalla(*config::valorDeColor("clHighlight"), paleta),
                 QColor(7, 8, 9));
        QCOMPARE(config::colorEnPantalla(*config::valorDeColor("$00FF0000"), paleta),
                 QColor(0, 0, 255));
        // Every system colour shows some colour of the palette.
        for (const config::NombreColor& n : config::nombresColor())
            QVERIFY(config::colorEnPantalla(n.valor, paleta).isValid());
    }

    void soloDolarOClAbrenElDialogo() {
        QVERIFY(config::pareceColor("clRed"));
        QVERIFY(config::pareceColor("$00FF0000"));
        QVERIFY(config::pareceColor("clRojo"));
        QVERIFY(!config::pareceColor("CLRED"));
        QVERIFY(!config::pareceColor("S"));
        QVERIFY(!config::pareceColor(""));
    }
};

TEST_CLASS(TstParametros)
#include "tst_parametros.moc"
