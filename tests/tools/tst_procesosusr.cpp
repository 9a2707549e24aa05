// User procedures against the demo procedures of company 001.
#include "audit/salidagrilla.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/grid/datanavigator.h"
#include "sesion.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "tools/procesosusr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

using platform::DataSet;

class TstProcesosUsr : public QObject {
    Q_OBJECT
    Sesion sesion;

    Tfprocusr* abrir() {
        sesion.principal->sButton5Click();
        return sesion.ultima<Tfprocusr>();
    }

    // A range that holds every demo row (they lie in the last 240 days).
    static void rangoCompleto(Tfprocusr* v) {
        v->EFecIni->setDate(QDate::currentDate().addDays(-300));
        v->EFecFin->setDate(QDate::currentDate());
    }

    QString exacto(const QString& sql, const QVariantList& params = {}) {
        DataSet datos("X", &sesion.principal->ConMantenim);
        datos.setCommandText(sql, params);
        datos.open();
        return platform::scaledToText(datos.scaledAt(0, 0), datos.field(0).scale);
    }

    // Data rows of a CSV file, read by Python's csv module.
    static int filasCsv(const QString& archivo) {
        QProcess python;
        python.start("python3", {"-c",
                                 "import csv,sys; print(len(list(csv.reader(open(sys.argv[1], "
                                 "encoding='cp1252')))) - 1)",
                                 archivo});
        python.waitForFinished();
        return python.readAllStandardOutput().trimmed().toInt();
    }

    static QString columnaTexto(DataSet* d, const QString& campo) {
        QStringList textos;
        for (int r = 0; r < d->rowCount(); ++r)
            textos << d->textAt(r, d->fieldIndex(campo));
        return textos.join('|');
    }

private slots:
    void initTestCase() { sesion.iniciar(); }
    void cleanupTestCase() { sesion.principal.reset(); }
    void init() { FakeDialogs::actual().limpiar(); }

    void abreConElPrimeroYElMesEnCurso() {
        Tfprocusr* v = abrir();
        QVERIFY(v);
        QCOMPARE(v->windowTitle(), QString("Procedimientos de usuario"));
        QCOMPARE(v->LProceso->count(), 3);
        QCOMPARE(v->LProceso->currentText(), QString("Ventas por vendedor"));
        QCOMPARE(v->LProceso->currentData().toString(), QString("VENTAS_VENDEDOR"));
        QCOMPARE(v->Labpar[0]->text(), QString("Vendedor (* = todos):"));
        QCOMPARE(v->Labpar[1]->text(), QString());
        // The fake clock says 11/12/2026.
        QCOMPARE(v->EFecIni->date(), QDate(2026, 12, 1));
        QCOMPARE(v->EFecFin->date(), QDate(2026, 12, 31));
        QCOMPARE(v->EFecIni->text(), QString("01/12/2026"));
        QVERIFY(!v->Panel3->isVisible());
        QVERIFY(!v->DBGridEh1->filterRowVisible());

        v->Edit1->setText("guardado");
        v->LProceso->setCurrentIndex(2);
        QCOMPARE(v->Labpar[0]->text(), QString());
        QCOMPARE(v->Labpar[1]->text(), QString("Tipo (nombre corto):"));
        QCOMPARE(v->CProcesos->text("PRUS_SP"), QString("DOCUMENTOS_TIPO"));
        QCOMPARE(v->Edit1->text(), QString("guardado"));
        v->close();
    }

    void ejecutaConSusParametros_data() {
        QTest::addColumn<int>("proceso");
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("p2");
        QTest::addColumn<QString>("argumentos");
        QTest::addColumn<QString>("sumadas");
        QTest::addColumn<QString>("sinSuma");
        QTest::newRow("ventas, un parámetro") << 0 << "*"
                                              << ""
                                              << ",'*')"
                                              << "FACTURAS,TOTAL"
                                              << "VENDEDOR_NOMBRE,ULTIMA";
        QTest::newRow("operaciones, ninguno") << 1 << "x"
                                              << ""
                                              << ")"
                                              << "OPERACIONES,ANULACIONES"
                                              << "USUARIO";
        QTest::newRow("documentos, solo el segundo") << 2 << "x"
                                                     << "FV"
                                                     << ",'FV')"
                                                     << "CANTIDAD"
                                                     << "DOCUMENTO";
    }
    void ejecutaConSusParametros() {
        QFETCH(int, proceso);
        QFETCH(QString, p1);
        QFETCH(QString, p2);
        QFETCH(QString, argumentos);
        QFETCH(QString, sumadas);
        QFETCH(QString, sinSuma);
        Tfprocusr* v = abrir();
        v->LProceso->setCurrentIndex(proceso);
        v->EFecIni->setDate(QDate(2026, 2, 1));
        v->EFecFin->setDate(QDate(2026, 2, 28));
        v->Edit1->setText(p1);
        v->Edit2->setText(p2);
        pulsar(v->SpeedButton5);
        QVERIFY(FakeDialogs::actual().textos().isEmpty());
        QCOMPARE(v->CProcusr->commandText(), "select * from " +
                                                 v->LProceso->currentData().toString() +
                                                 "('01/02/2026','28/02/2026'" + argumentos);
        QVERIFY(v->CProcusr->isOpen());
        QVERIFY(!v->Panel3->isVisible());

        rangoCompleto(v);
        pulsar(v->SpeedButton5);
        QVERIFY(v->CProcusr->rowCount() > 0);
        for (const QString& campo : sumadas.split(',')) {
            const platform::GridColumn& c = v->DBGridEh1->column(campo);
            QCOMPARE(c.displayFormat, QString("#,###.00"));
            QVERIFY(c.footerSum);
            QCOMPARE(c.footerFormat, QString("#,###.00"));
            QCOMPARE(c.footerColor, QColor(0xC0, 0xDC, 0xC0));
        }
        for (const QString& campo : sinSuma.split(',')) {
            const platform::GridColumn& c = v->DBGridEh1->column(campo);
            QVERIFY(c.displayFormat.isEmpty());
            QVERIFY(!c.footerSum);
        }
        QCOMPARE(v->DBGridEh1->columns().size(), v->CProcusr->fieldCount());
        if (proceso == 2)
            QCOMPARE(columnaTexto(v->CProcusr, "DOCUMENTO"), QString("Factura de venta"));
        v->close();
    }

    void comillaDelParametroDoblada() {
        Tfprocusr* v = abrir();
        rangoCompleto(v);
        v->Edit1->setText("o'neill");
        pulsar(v->SpeedButton5);
        QVERIFY(v->CProcusr->commandText().endsWith(",'o''neill')"));
        QCOMPARE(columnaTexto(v->CProcusr, "VENDEDOR_NOMBRE"), QString("Camila O'Neill"));
        // A quote cannot end the text and add SQL of its own.
        v->Edit1->setText("x' or '1'='1");
        pulsar(v->SpeedButton5);
        QCOMPARE(v->CProcusr->rowCount(), 0);
        v->close();
    }

    void sumaExactaDeLosImportes() {
        Tfprocusr* v = abrir();
        rangoCompleto(v);
        v->Edit1->setText("*");
        pulsar(v->SpeedButton5);
        qint64 suma = 0;
        const int total = v->CProcusr->fieldIndex("TOTAL");
        for (int r = 0; r < v->CProcusr->rowCount(); ++r)
            suma += v->CProcusr->scaledAt(r, total);
        const QString esperado =
            exacto("select sum(fact_total) from facturas where fact_fecha between ? and ?",
                   {v->EFecIni->date(), v->EFecFin->date()});
        QCOMPARE(platform::scaledToText(suma, 2), esperado);
        // The footer shows that sum to the cent, in the column's format.
        const QString pie = v->DBGridEh1->footerText("TOTAL");
        QVERIFY2(QRegularExpression("^\\d{1,3}(,\\d{3})*\\.\\d\\d$").match(pie).hasMatch(),
                 qPrintable(pie));
        QCOMPARE(QString(pie).remove(','), esperado);
        QCOMPARE(v->DBGridEh1->footerText("VENDEDOR_NOMBRE"), QString());
        QVERIFY(!v->DBGridEh1->footerText("FACTURAS").isEmpty());
        v->close();
    }

    void parametroUnoObligatorio() {
        Tfprocusr* v = abrir();
        v->LProceso->setCurrentIndex(1); // without extra parameters, still asked for
        pulsar(v->SpeedButton5);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"Debe indicar un parámetro al procedimiento."});
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::None);
        QVERIFY(!v->CProcusr->isOpen());
        v->close();
    }

    void dosVentanasIndependientes() {
        Tfprocusr* a = abrir();
        Tfprocusr* b = abrir();
        QVERIFY(a != b);
        rangoCompleto(a);
        rangoCompleto(b);
        a->Edit1->setText("*");
        b->LProceso->setCurrentIndex(1);
        b->Edit1->setText("x");
        pulsar(a->SpeedButton5);
        pulsar(b->SpeedButton5);
        QCOMPARE(a->LProceso->currentIndex(), 0);
        QVERIFY(a->CProcusr->fieldIndex("TOTAL") >= 0);
        QVERIFY(b->CProcusr->fieldIndex("OPERACIONES") >= 0);
        QCOMPARE(a->CProcesos->text("PRUS_SP"), QString("VENTAS_VENDEDOR"));
        QCOMPARE(b->CProcesos->text("PRUS_SP"), QString("OPERACIONES_USUARIO"));
        a->close();
        b->close();
    }

    void errorDelServidorInformadoYPanelOculto() {
        ServidorPrueba::instancia().isql(
            ServidorPrueba::ruta(sesion.ubicacion, "001/contabil.fdb"),
            "INSERT INTO PROCEDIMIENTOS_USUARIO VALUES (9, 'No existe', 'NO_EXISTE', 'P:', '', "
            "'', '', ''); COMMIT;");
        Tfprocusr* v = abrir();
        v->LProceso->setCurrentIndex(3);
        v->Edit1->setText("x");
        pulsar(v->SpeedButton5);
        ServidorPrueba::instancia().isql(
            ServidorPrueba::ruta(sesion.ubicacion, "001/contabil.fdb"),
            "DELETE FROM PROCEDIMIENTOS_USUARIO WHERE PRUS_COD = 9; COMMIT;");
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(FakeDialogs::actual().textos()[0].contains("NO_EXISTE"));
        QVERIFY(!v->Panel3->isVisible());
        QVERIFY(!v->CProcusr->isOpen());
        v->close();
    }

    void navegadorYFiltro() {
        Tfprocusr* v = abrir();
        rangoCompleto(v);
        v->Edit1->setText("*");
        pulsar(v->SpeedButton5);
        const int filas = v->CProcusr->rowCount();
        QCOMPARE(filas, 3);
        platform::DataNavigator* nav = v->DBNavigator1;
        QVERIFY(nav->button(platform::DataNavigator::Refresh));
        QVERIFY(!nav->button(platform::DataNavigator::Post));
        nav->click(platform::DataNavigator::Last);
        QCOMPARE(v->CProcusr->currentRow(), filas - 1);
        nav->click(platform::DataNavigator::First);
        QCOMPARE(v->CProcusr->currentRow(), 0);
        // Delete acts on the rows in memory only; refresh reads them again.
        FakeDialogs::actual().respuestas.enqueue(true);
        nav->click(platform::DataNavigator::Delete);
        QCOMPARE(v->CProcusr->rowCount(), filas - 1);
        nav->click(platform::DataNavigator::Refresh);
        QCOMPARE(v->CProcusr->rowCount(), filas);
        QCOMPARE(v->DBGridEh1->column("TOTAL").displayFormat, QString("#,###.00"));

        pulsar(v->ckfiltro);
        QVERIFY(v->DBGridEh1->filterRowVisible());
        pulsar(v->ckfiltro);
        QVERIFY(!v->DBGridEh1->filterRowVisible());
        v->close();
    }

    // "F2:Grabar" writes every row; the pop-up item only the selected ones.
    void grabarTodoYGuardarSeleccion() {
        Tfprocusr* v = abrir();
        rangoCompleto(v);
        v->Edit1->setText("*");
        pulsar(v->SpeedButton5);
        QCOMPARE(v->CProcusr->rowCount(), 3);
        QTemporaryDir dir;
        FakeDialogs& d = FakeDialogs::actual();
        d.guardar.enqueue({dir.filePath("todas"), 2});
        pulsar(v->SBGrabar);
        QCOMPARE(d.pedidosGuardar.size(), 1);
        QCOMPARE(d.pedidosGuardar[0].fileName, QString("Ventas por vendedor"));
        QCOMPARE(d.pedidosGuardar[0].filter, filtroDe(ListaTipos::EspanolTres));
        QCOMPARE(filasCsv(dir.filePath("todas.csv")), 3);

        v->DBGridEh1->clearSelection();
        v->DBGridEh1->selectionModel()->select(v->DBGridEh1->model()->index(1, 0),
                                               QItemSelectionModel::Select |
                                                   QItemSelectionModel::Rows);
        d.guardar.enqueue({dir.filePath("una"), 2});
        v->DBGridEh1->setFocus();
        v->salida->PopupMenu1()->findChild<QAction*>("ppmSaveSelection")->trigger();
        QCOMPARE(d.pedidosGuardar.size(), 2);
        QCOMPARE(d.pedidosGuardar[1].filterIndex, 2); // the type chosen last
        QCOMPARE(filasCsv(dir.filePath("una.csv")), 1);

        // Another procedure, another default name.
        v->LProceso->setCurrentIndex(1);
        v->Edit1->setText("x");
        pulsar(v->SpeedButton5);
        pulsar(v->SBGrabar); // cancelled
        QCOMPARE(d.pedidosGuardar.last().fileName, QString("Operaciones por usuario"));
        QCOMPARE(v->DBGridEh1->contextMenuPolicy(), Qt::CustomContextMenu);
        v->close();
    }

    void enterPasaAlSiguienteYSalir() {
        Tfprocusr* v = abrir();
        QVERIFY(QTest::qWaitForWindowActive(sesion.principal.get()));
        v->LProceso->setFocus();
        QCOMPARE(QApplication::focusWidget(), v->LProceso);
        auto enter = [](QWidget* esperado) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (QApplication::focusWidget() != esperado)
                qWarning() << "focus on" << QApplication::focusWidget() << "not" << esperado;
            return QApplication::focusWidget() == esperado;
        };
        for (QWidget* w : {(QWidget*)v->EFecIni, (QWidget*)v->EFecFin, (QWidget*)v->Edit1,
                           (QWidget*)v->Edit2, (QWidget*)v->Edit3, (QWidget*)v->ckfiltro})
            QVERIFY(enter(w));
        v->Edit5->setFocus();
        QVERIFY(enter(v->Edit6));
        QVERIFY(enter(v->SpeedButton5));
        QVERIFY(FakeDialogs::actual().textos().isEmpty()); // Enter never runs anything
        QPointer<Tfprocusr> vigilada(v);
        pulsar(v->SBCancelar);
        QTRY_VERIFY(!vigilada);
    }
};

TEST_CLASS(TstProcesosUsr)
#include "tst_procesosusr.moc"
