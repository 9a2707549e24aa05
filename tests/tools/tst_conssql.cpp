// SQL console against company 001: statements as typed, long results.
#include "audit/salidagrilla.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "sesion.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "tools/conssql.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TstConsSql : public QObject {
    Q_OBJECT
    Sesion sesion;
    static constexpr int kFilasLargas = 120000;

    Tfconssql* abrir() {
        sesion.principal->AdvGlowButton1Click();
        return sesion.ultima<Tfconssql>();
    }

    static void ejecutar(Tfconssql* v, const QString& sql) {
        v->Memo1->setPlainText(sql);
        pulsar(v->SpeedButton5);
    }

private slots:
    void initTestCase() {
        sesion.iniciar();
        bool ok = false;
        ServidorPrueba::instancia().isql(
            ServidorPrueba::ruta(sesion.ubicacion, "001/contabil.fdb"),
            QString("CREATE TABLE LARGA (ID INTEGER, NOMBRE VARCHAR(40), VALOR NUMERIC(15,2));\n"
                    "COMMIT;\nSET TERM ^;\nEXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN\n"
                    "WHILE (I <= %1) DO BEGIN INSERT INTO LARGA VALUES (:I, 'Fila ' || :I, "
                    ":I * 1.25); I = I + 1; END END^\nSET TERM ;^\nCOMMIT;\n"
                    "GRANT SELECT ON LARGA TO PUBLIC; COMMIT;")
                .arg(kFilasLargas),
            &ok);
        QVERIFY(ok);
    }
    void cleanupTestCase() { sesion.principal.reset(); }
    void init() { FakeDialogs::actual().limpiar(); }

    void variasLineasComoUnaSentencia() {
        Tfconssql* v = abrir();
        QCOMPARE(v->windowTitle(), QString("Consulta SQL"));
        QVERIFY(v->Memo1->toPlainText().isEmpty());
        ejecutar(v, "select user_cod,\n       user_nombre\n  from usuario\n order by user_cod");
        QVERIFY(FakeDialogs::actual().textos().isEmpty());
        QCOMPARE(v->CRepAuditor->commandText(),
                 QString("select user_cod,\r\n       user_nombre\r\n  from usuario\r\n order by "
                         "user_cod\r\n"));
        QCOMPARE(v->CRepAuditor->rowCount(), 5);
        QCOMPARE(v->CRepAuditor->field(0).name, QString("USER_COD"));
        QCOMPARE(v->DBGridEh1->model()->headerData(1, Qt::Horizontal).toString(),
                 QString("USER_NOMBRE"));
        QVERIFY(!v->Panel5->isVisible());
        v->close();
    }

    void sentenciaRechazadaInformada_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("tabla que no existe") << "select * from no_existe";
        QTest::newRow("vacía") << "";
        QTest::newRow("sin filas") << "update usuario set user_email = user_email where 1 = 0";
    }
    void sentenciaRechazadaInformada() {
        QFETCH(QString, sql);
        Tfconssql* v = abrir();
        ejecutar(v, "select * from usuario");
        QVERIFY(v->CRepAuditor->isOpen());
        ejecutar(v, sql);
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(!v->CRepAuditor->isOpen()); // the earlier rows are gone
        QVERIFY(!v->Panel5->isVisible());
        v->close();
    }

    void puntoYComaEnviadoComoSeEscribio() {
        Tfconssql* v = abrir();
        ejecutar(v, "select count(*) from usuario;");
        QCOMPARE(v->CRepAuditor->commandText(), QString("select count(*) from usuario;\r\n"));
        // Whatever the server answers is shown: rows or its error.
        QVERIFY(v->CRepAuditor->isOpen() || FakeDialogs::actual().mensajes.size() == 1);
        v->close();
    }

    void escCierraDesdeLaSentencia() {
        Tfconssql* v = abrir();
        QVERIFY(QTest::qWaitForWindowActive(sesion.principal.get()));
        v->Memo1->setFocus();
        QTest::keyClicks(v->Memo1, "select");
        QTest::keyClick(v->Memo1, Qt::Key_Escape, Qt::ShiftModifier);
        QPointer<Tfconssql> vigilada(v);
        QVERIFY(vigilada && vigilada->isVisible());
        QTest::keyClick(v->Memo1, Qt::Key_Escape);
        QTRY_VERIFY(!vigilada);
    }

    void filtrosAlMarcar() {
        Tfconssql* v = abrir();
        QVERIFY(!v->DBGridEh1->filterRowVisible());
        pulsar(v->ckFiltros);
        QVERIFY(v->DBGridEh1->filterRowVisible());
        pulsar(v->ckFiltros);
        QVERIFY(!v->DBGridEh1->filterRowVisible());
        v->close();
    }

    // The pop-up items act on the focused grid only.
    void menuSobreLaGrillaEnfocada() {
        Tfconssql* v = abrir();
        ejecutar(v, "select user_cod from usuario order by 1");
        QMenu* menu = v->salida->PopupMenu1();
        QStringList textos;
        for (QAction* a : menu->actions())
            textos << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(textos, (QStringList{"&Copiar", "Se&lecccionar todo", "-", "&Imprimir",
                                      "&Guardar selección"}));
        QTemporaryDir dir;
        FakeDialogs& d = FakeDialogs::actual();
        d.guardar.enqueue({dir.filePath("consulta"), 1});
        v->Memo1->setFocus();
        menu->findChild<QAction*>("ppmSaveSelection")->trigger();
        QVERIFY(d.pedidosGuardar.isEmpty()); // the focus is in the statement box

        v->DBGridEh1->setFocus();
        menu->findChild<QAction*>("ppmSelectAll")->trigger();
        QCOMPARE(v->DBGridEh1->selectedRowList().size(), 5);
        menu->findChild<QAction*>("ppmSaveSelection")->trigger();
        QCOMPARE(d.pedidosGuardar.size(), 1);
        QCOMPARE(d.pedidosGuardar[0].fileName, QString("Consulta"));
        QCOMPARE(d.pedidosGuardar[0].filter, filtroDe(ListaTipos::InglesCinco));
        QFile f(dir.filePath("consulta.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray texto = f.readAll();
        QVERIFY(texto.contains("USER_COD") && texto.contains("VENDE01"));
        v->close();
    }

    // While a long result arrives the window keeps painting and answering,
    // the waiting panel is up, and a second F2 does not start another run.
    void resultadoLargoSinCongelar() {
        Tfconssql* v = abrir();
        int vueltas = 0;
        int conPanel = 0;
        QTimer reloj;
        reloj.setInterval(5);
        connect(&reloj, &QTimer::timeout, [&] {
            ++vueltas;
            if (v->Panel5->isVisible())
                ++conPanel;
            if (vueltas == 2)
                pulsar(v->SpeedButton5);
        });
        reloj.start();
        ejecutar(v, "select * from larga");
        reloj.stop();
        QCOMPARE(v->CRepAuditor->rowCount(), kFilasLargas);
        QVERIFY2(conPanel >= 2, qPrintable(QString::number(conPanel)));
        QVERIFY(!v->Panel5->isVisible());
        QVERIFY(FakeDialogs::actual().textos().isEmpty());
        QCOMPARE(v->CRepAuditor->textAt(kFilasLargas - 1, 2), QString("150000.00"));
        v->close();
    }

    void cerrarMientrasLleganLasFilas() {
        Tfconssql* v = abrir();
        QPointer<Tfconssql> vigilada(v);
        int filasAlCerrar = -1;
        QTimer::singleShot(20, v, [&] {
            filasAlCerrar = 0;
            QTest::keyClick(v->Memo1, Qt::Key_Escape);
        });
        QElapsedTimer tiempo;
        tiempo.start();
        ejecutar(v, "select * from larga a cross join larga b");
        QVERIFY(filasAlCerrar == 0);
        QTRY_VERIFY(!vigilada);
        QVERIFY(tiempo.elapsed() < 60000);
        QVERIFY(FakeDialogs::actual().textos().isEmpty());
    }
};

TEST_CLASS(TstConsSql)
#include "tst_conssql.moc"
