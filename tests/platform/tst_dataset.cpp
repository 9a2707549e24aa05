// The dataset chain against the real server: apply in one transaction,
// updates found by all original values, quoting, filters and sorting.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QTest>

using namespace platform;

class TstDataSet : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Connection> conexion;

    QString general() const { return ServidorPrueba::ruta(ubicacion, "general.fdb"); }

    std::unique_ptr<DataSet> usuarios() {
        auto datos = std::make_unique<DataSet>("CUsuario", conexion.get());
        datos->setSourceName("TUsuario");
        datos->setTableName("USUARIO");
        datos->setFields({{"USUA_COD", FieldKind::String, 12, true},
                          {"USUA_NOMBRE", FieldKind::String, 60},
                          {"USUA_ADMIN", FieldKind::FixedString, 1}});
        datos->open();
        return datos;
    }

    QString leer(const QString& sql) {
        DataSet d("Q", conexion.get());
        d.setCommandText(sql);
        d.open();
        return d.rowCount() ? d.valueAt(0, 0).toString() : QStringLiteral("<none>");
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        conexion = std::make_unique<Connection>("pruebas");
        conexion->setParam("Database", general());
        conexion->setParam("User_Name", "GERENTE");
        conexion->setParam("password", "gerente");
        conexion->connect();
    }

    void cadenasFijasSinBlancos() {
        auto datos = usuarios();
        QVERIFY(datos->locate({"USUA_COD"}, {"GERENTE"}));
        QCOMPARE(datos->text("USUA_ADMIN"), QString("S"));
        QCOMPARE(datos->value("USUA_ADMIN").toString(), QString("S"));
    }

    void aplicarConUnErrorNoCambiaNada() {
        auto datos = usuarios();
        QVERIFY(datos->locate({"USUA_COD"}, {"CAJERO"}));
        datos->edit();
        datos->setValue("USUA_NOMBRE", "Cambiado");
        datos->post();
        datos->append();
        datos->setValue("USUA_COD", "NUEVO1");
        datos->setValue("USUA_ADMIN", "N");
        datos->post();
        datos->append(); // a duplicate key: the server refuses this row
        datos->setValue("USUA_COD", "BODEGA");
        datos->post();
        QString visto;
        datos->onUpdateError = [&](DataSet&, const DbError& e, UpdateResponse&) { visto = e.text(); };
        QCOMPARE(datos->applyUpdates(0), 1);
        QVERIFY(visto.contains("violation of PRIMARY"));
        QCOMPARE(leer("select usua_nombre from usuario where usua_cod = 'CAJERO'"), QString("José Ibáñez"));
        QCOMPARE(leer("select count(*) from usuario where usua_cod = 'NUEVO1'"), QString("0"));
        QCOMPARE(datos->changeCount(), 3); // the log is kept for another try
        datos->cancelUpdates();
        QCOMPARE(datos->changeCount(), 0);
        QVERIFY(datos->locate({"USUA_COD"}, {"CAJERO"}));
        QCOMPARE(datos->text("USUA_NOMBRE"), QString("José Ibáñez"));
    }

    void actualizarBuscaPorTodosLosValoresOriginales() {
        auto datos = usuarios();
        QVERIFY(datos->locate({"USUA_COD"}, {"VENDE01"}));
        // Someone else changes the row after it was read.
        ServidorPrueba::instancia().isql(general(),
                                         "update usuario set usua_admin = 'S' where usua_cod = 'VENDE01'; commit;");
        datos->edit();
        datos->setValue("USUA_NOMBRE", "Otro nombre");
        datos->post();
        QString visto;
        datos->onUpdateError = [&](DataSet&, const DbError& e, UpdateResponse&) { visto = e.text(); };
        QCOMPARE(datos->applyUpdates(0), 1);
        QCOMPARE(visto, QString("Record not found or changed by another user"));
        QCOMPARE(leer("select usua_nombre from usuario where usua_cod = 'VENDE01'"), QString("Lucía Gómez Rincón"));
        // Read again, the same change goes through.
        datos->close();
        datos->open();
        QVERIFY(datos->locate({"USUA_COD"}, {"VENDE01"}));
        datos->edit();
        datos->setValue("USUA_NOMBRE", "Otro nombre");
        QCOMPARE(datos->applyUpdates(0), 0);
        QCOMPARE(leer("select usua_nombre from usuario where usua_cod = 'VENDE01'"), QString("Otro nombre"));
    }

    void comillasYAcentosIdaYVuelta() {
        const QString nombre = "Ñoño O'Brien \"el Güero\" — 25%";
        auto datos = usuarios();
        datos->append();
        datos->setValue("USUA_COD", "O'BRIEN");
        datos->setValue("USUA_NOMBRE", nombre);
        datos->setValue("USUA_ADMIN", "N");
        QCOMPARE(datos->applyUpdates(0), 0);
        QCOMPARE(leer("select usua_nombre from usuario where usua_cod = " + quoted("O'BRIEN")), nombre);
        datos->close();
        datos->setFilter({{"USUA_NOMBRE", nombre}});
        datos->setFiltered(true);
        datos->open();
        QCOMPARE(datos->rowCount(), 1);
        QCOMPARE(datos->text("USUA_COD"), QString("O'BRIEN"));
        datos->setFilter({{"usua_cod", "o'brien"}}, true);
        QCOMPARE(datos->rowCount(), 1);
        datos->remove();
        QCOMPARE(datos->applyUpdates(0), 0);
        QCOMPARE(leer("select count(*) from usuario where usua_cod = " + quoted("O'BRIEN")), QString("0"));
    }

    void camposObligatoriosAlGrabar() {
        auto datos = usuarios();
        datos->append();
        datos->setValue("USUA_NOMBRE", "Sin código");
        try {
            datos->post();
            QFAIL("a row without its required code was posted");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), QString("Field 'USUA_COD' must have a value"));
        }
        DataAction visto = DataAction::Fail;
        datos->onPostError = [&](DataSet&, const DbError&, DataAction& a) {
            a = DataAction::Abort;
            visto = a;
        };
        QVERIFY_THROWS_EXCEPTION(SilentAbort, datos->post());
        QCOMPARE(visto, DataAction::Abort);
        datos->cancel();
        QCOMPARE(datos->changeCount(), 0);
    }

    void numericosExactosYOrden() {
        Connection empresa("empresa");
        empresa.setParam("Database", ServidorPrueba::ruta(ubicacion, "001/contabil.fdb"));
        empresa.setParam("User_Name", "GERENTE");
        empresa.setParam("password", "gerente");
        DataSet datos("CFacturas", &empresa);
        datos.setCommandText("select fact_num, fact_total, fact_fecha from facturas where fact_num <= ?", {30});
        datos.open();
        QCOMPARE(datos.rowCount(), 10);
        const int total = datos.fieldIndex("FACT_TOTAL");
        QCOMPARE(datos.field(total).kind, FieldKind::Numeric);
        QCOMPARE(datos.field(total).scale, 2);
        qint64 suma = 0;
        for (int r = 0; r < datos.rowCount(); ++r)
            suma += datos.scaledAt(r, total);
        QCOMPARE(scaledToText(suma, 2), leer_en(empresa, "select sum(fact_total) from facturas where fact_num <= 30"));
        datos.setSort({{total, true}});
        for (int r = 1; r < datos.rowCount(); ++r)
            QVERIFY(datos.scaledAt(r - 1, total) >= datos.scaledAt(r, total));
        datos.setRowPredicate([&](int stored) { return datos.storedValue(stored, 0).toInt() > 15; });
        QCOMPARE(datos.rowCount(), 5);
    }

private:
    static QString leer_en(Connection& c, const QString& sql) {
        DataSet d("Q", &c);
        d.setCommandText(sql);
        d.open();
        return d.textAt(0, 0);
    }
};

TEST_CLASS(TstDataSet)
#include "tst_dataset.moc"
