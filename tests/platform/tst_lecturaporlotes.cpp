// A DataSet reading a long result in batches, with the window free to
// repaint between them.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/data/datasetmodel.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QTest>

using platform::Connection;
using platform::DataSet;

class TstLecturaPorLotes : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Connection> conexion;
    // 3000 audit rows in the demo data.
    const QString sql = QStringLiteral("select * from auditoria order by audi_id");

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        conexion = std::make_unique<Connection>(QStringLiteral("lotes"));
        conexion->setParam("Database", ServidorPrueba::ruta(ubicacion, "001/contabil.fdb"));
        conexion->setParam("User_Name", "GERENTE");
        conexion->setParam("password", "gerente");
    }
    void cleanupTestCase() { conexion.reset(); }

    void avisaCadaLoteYMuestraAlFinal() {
        DataSet datos("C", conexion.get());
        platform::DataSetModel modelo(&datos);
        datos.setCommandText(sql);
        datos.fetchBatch = 500;
        QList<int> avisos;
        int filasVistas = -1;
        bool abiertoAntes = false;
        datos.onFetchProgress = [&](int filas) -> bool {
            avisos << filas;
            // Views see the dataset closed until the whole result is in.
            filasVistas = std::max(filasVistas, modelo.rowCount());
            abiertoAntes = abiertoAntes || datos.isOpen() || !datos.fetching();
            return true;
        };
        datos.open();
        QCOMPARE(avisos, (QList<int>{500, 1000, 1500, 2000, 2500, 3000}));
        QCOMPARE(filasVistas, 0);
        QVERIFY(!abiertoAntes);
        QVERIFY(!datos.fetching());
        QCOMPARE(datos.rowCount(), 3000);
        QCOMPARE(modelo.rowCount(), 3000);
        QCOMPARE(datos.valueAt(2999, 0).toInt(), 3000);
    }

    void detenerDejaCerrado_data() {
        QTest::addColumn<bool>("conCerrar");
        QTest::newRow("devuelve false") << false;
        QTest::newRow("close() en el aviso") << true;
    }
    void detenerDejaCerrado() {
        QFETCH(bool, conCerrar);
        DataSet datos("C", conexion.get());
        datos.setCommandText(sql);
        datos.fetchBatch = 100;
        int avisos = 0;
        datos.onFetchProgress = [&](int) {
            ++avisos;
            if (avisos < 3)
                return true;
            if (conCerrar) {
                datos.close();
                return true;
            }
            return false;
        };
        datos.open();
        QCOMPARE(avisos, 3);
        QVERIFY(!datos.isOpen());
        QVERIFY(!datos.fetching());
        // The next open reads the whole result again.
        datos.onFetchProgress = nullptr;
        datos.open();
        QCOMPARE(datos.rowCount(), 3000);
    }

    // The fast paths of the read keep every value exact.
    void valoresLeidosExactos() {
        DataSet datos("C", conexion.get());
        datos.setCommandText(
            "select cast(-1234.56 as numeric(15,2)) a, cast(-0.05 as numeric(15,2)) b, "
            "cast(123456789012.34 as numeric(18,2)) c, cast(7 as numeric(9,3)) d, "
            "cast('2026-03-01 13:45:30.123' as timestamp) e, cast('ab' as char(5)) f, "
            "cast('Ñandú ñ €' as varchar(20)) g, cast(null as numeric(15,2)) h, "
            "cast('1899-12-30 00:00:00' as timestamp) i from rdb$database");
        datos.open();
        QCOMPARE(datos.scaledAt(0, 0), Q_INT64_C(-123456));
        QCOMPARE(datos.textAt(0, 0), QString("-1234.56"));
        QCOMPARE(datos.scaledAt(0, 1), Q_INT64_C(-5));
        QCOMPARE(datos.textAt(0, 2), QString("123456789012.34"));
        QCOMPARE(datos.textAt(0, 3), QString("7.000"));
        QCOMPARE(datos.valueAt(0, 4).toDateTime(),
                 QDateTime(QDate(2026, 3, 1), QTime(13, 45, 30, 123)));
        QCOMPARE(datos.textAt(0, 5), QString("ab"));
        QCOMPARE(datos.textAt(0, 6), QString("Ñandú ñ €"));
        QVERIFY(datos.isNullAt(0, 7));
        QCOMPARE(datos.valueAt(0, 8).toDateTime(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    }

    void abrirDuranteLaLecturaSeRechaza() {
        DataSet datos("C", conexion.get());
        datos.setCommandText(sql);
        datos.fetchBatch = 1000;
        bool rechazado = false;
        datos.onFetchProgress = [&](int) {
            try {
                datos.open();
            } catch (const platform::DbError&) {
                rechazado = true;
            }
            return true;
        };
        datos.open();
        QVERIFY(rechazado);
        QCOMPARE(datos.rowCount(), 3000);
    }
};

TEST_CLASS(TstLecturaPorLotes)
#include "tst_lecturaporlotes.moc"
