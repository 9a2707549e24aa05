// The fixed catalogue of modules, groups and options, and db/opciones.sql
// made from it.
#include "support/testmain.h"
#include "users/catalogo.h"

#include <QFile>
#include <QSet>
#include <QTest>

namespace {
int numero(const QString& modulo, const QString& grupo, const QString& opcion, int desde = 0) {
    const QList<catalogo::Opcion> todas = catalogo::opciones();
    for (qsizetype i = desde; i < todas.size(); ++i)
        if (todas[i].modulo == modulo && todas[i].grupo == grupo && todas[i].titulo == opcion)
            return todas[i].numero;
    return -1;
}
QList<int> numerosDelGrupo(const QString& modulo, int grupo) {
    QList<int> lista;
    for (const catalogo::Opcion& o : catalogo::opciones())
        if (o.modulo == modulo && o.posGrupo == grupo)
            lista << o.numero;
    return lista;
}
} // namespace

class TstCatalogo : public QObject {
    Q_OBJECT
private slots:
    void totales() {
        int grupos = 0;
        for (const catalogo::Modulo& m : catalogo::modulos())
            grupos += int(m.grupos.size());
        QCOMPARE(catalogo::modulos().size(), 14);
        QCOMPARE(grupos, 163);
        QCOMPARE(catalogo::opciones().size(), 727);
    }

    void modulos_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("grupos");
        QTest::addColumn<int>("opciones");
        QTest::addColumn<QString>("primerGrupo");
        QTest::addColumn<QString>("ultimaOpcion");
        const struct {
            const char* nombre;
            int grupos, opciones;
            const char *primero, *ultima;
        } tabla[] = {
            {"INVENTARIO", 17, 94, "Artículos", "Cerrar orden"},
            {"FACTURACION", 16, 104, "Artículos", "Anular"},
            {"CARTERA", 13, 55, "Clientes", "Analisis Cartera"},
            {"COMPRAS", 12, 62, "Artículos", "Análisis compras"},
            {"C. X PAGAR", 13, 50, "Acreedores", "Anular"},
            {"CAJA", 14, 54, "Cajas", "Denominaciones"},
            {"BANCOS", 11, 36, "Cuentas", "Resumen mvto. por cuenta"},
            {"CONTABILIDAD", 19, 67, "Cuentas", "Borrar"},
            {"NOMINA", 10, 62, "Empleados", "Reporte"},
            {"TRANSPORTE", 10, 38, "Asociados", "Documentos"},
            {"CRM", 8, 28, "Prospectos", "Campañas"},
            {"IMPORTACION", 9, 40, "Artículos", "Inf. Documento"},
            {"REPORTES", 4, 8, "Precios", "Exportar"},
            {"PRODUCCION", 7, 29, "Articulos", "Programación"},
        };
        for (const auto& f : tabla)
            QTest::newRow(f.nombre) << QString::fromUtf8(f.nombre) << f.grupos << f.opciones
                                    << QString::fromUtf8(f.primero) << QString::fromUtf8(f.ultima);
    }
    void modulos() {
        QFETCH(QString, nombre);
        QFETCH(int, grupos);
        QFETCH(int, opciones);
        QFETCH(QString, primerGrupo);
        QFETCH(QString, ultimaOpcion);
        const catalogo::Modulo* modulo = nullptr;
        for (const catalogo::Modulo& m : catalogo::modulos())
            if (m.titulo == nombre)
                modulo = &m;
        QVERIFY(modulo);
        // The stored name is the caption itself, points and blanks included.
        QCOMPARE(modulo->nombre(), nombre);
        QCOMPARE(modulo->grupos.size(), grupos);
        int cuenta = 0;
        for (const catalogo::Grupo& g : modulo->grupos)
            cuenta += int(g.opciones.size());
        QCOMPARE(cuenta, opciones);
        QCOMPARE(modulo->grupos.first().titulo, primerGrupo);
        const catalogo::Grupo* ultimo = &modulo->grupos.last();
        QCOMPARE(ultimo->opciones.last(), ultimaOpcion);
        // Every module starts at 0, and its second group at 10.
        QCOMPARE(numerosDelGrupo(nombre, 0).first(), 0);
        QCOMPARE(numerosDelGrupo(nombre, 1).value(0, 10), 10);
    }

    void orden() {
        QStringList nombres;
        for (const catalogo::Modulo& m : catalogo::modulos())
            nombres << m.nombre();
        QCOMPARE(nombres,
                 QStringList({"INVENTARIO", "FACTURACION", "CARTERA", "COMPRAS", "C. X PAGAR",
                              "CAJA", "BANCOS", "CONTABILIDAD", "NOMINA", "TRANSPORTE", "CRM",
                              "IMPORTACION", "REPORTES", "PRODUCCION"}));
    }

    void excepciones() {
        QCOMPARE(numerosDelGrupo("FACTURACION", 12).last(), 129);
        QCOMPARE(numerosDelGrupo("FACTURACION", 13), QList<int>({131, 132, 133, 134}));
        QCOMPARE(numero("FACTURACION", "Informes x Pantalla", "Procesos Usuario"), 134);
        QCOMPARE(numerosDelGrupo("FACTURACION", 14), QList<int>({140, 141, 142}));
        QCOMPARE(numerosDelGrupo("BANCOS", 0), QList<int>({0, 1, 2}));
        QCOMPARE(numerosDelGrupo("BANCOS", 1), QList<int>({10, 11, 12}));
        QCOMPARE(numerosDelGrupo("BANCOS", 2), QList<int>({40, 41, 42}));
        QCOMPARE(numero("BANCOS", "Devolución cheques", "Registrar"), 40);
        QCOMPARE(numerosDelGrupo("BANCOS", 10), QList<int>({120}));
        QCOMPARE(numero("BANCOS", "Informes x Pantalla", "Resumen mvto. por cuenta"), 120);
        QCOMPARE(numero("BANCOS", "Inf. Documentos", "Cronoógico"), 100);
    }

    // Groups with more than ten options share numbers with the next group;
    // both nodes stay in the catalogue with their own captions.
    void numerosCompartidos() {
        QCOMPARE(numerosDelGrupo("NOMINA", 8).mid(10), QList<int>({90, 91, 92, 93, 94}));
        QCOMPARE(numerosDelGrupo("NOMINA", 9), QList<int>({90, 91, 92, 93}));
        QCOMPARE(numero("NOMINA", "Mantenimiento", "Nivel de formación"), 90);
        QCOMPARE(numero("NOMINA", "Dotaciones", "Registrar"), 90);
        QCOMPARE(numerosDelGrupo("TRANSPORTE", 8).mid(10), QList<int>({90, 91, 92}));
        QCOMPARE(numerosDelGrupo("TRANSPORTE", 9), QList<int>({90, 91, 92}));
        QCOMPARE(numerosDelGrupo("IMPORTACION", 7).last(), 80);
        QCOMPARE(numerosDelGrupo("IMPORTACION", 8).first(), 80);
        QCOMPARE(numero("PRODUCCION", "Plan produccion", "bUSCAR"), 21);
        QCOMPARE(numerosDelGrupo("PRODUCCION", 1), QList<int>());
        QCOMPARE(numerosDelGrupo("PRODUCCION", 2).first(), 20);
        // Only those pairs repeat.
        QSet<QPair<QString, int>> vistos;
        int repetidos = 0;
        for (const catalogo::Opcion& o : catalogo::opciones()) {
            if (vistos.contains({o.modulo, o.numero}))
                ++repetidos;
            vistos.insert({o.modulo, o.numero});
        }
        QCOMPARE(repetidos, 4 + 3 + 1);
    }

    void opcionesCaben() {
        for (const catalogo::Opcion& o : catalogo::opciones())
            QVERIFY2(catalogo::descripcion(o).size() <= 60, qPrintable(catalogo::descripcion(o)));
    }

    // db/create loads this file into every company database. Run with
    // ESCRIBIR_OPCIONES=1 to write it again after changing the catalogue.
    void archivoDeOpcionesAlDia() {
        const QString ruta = QStringLiteral(SOURCE_DIR "/db/opciones.sql");
        const QByteArray esperado = catalogo::opcionesSql().toUtf8();
        if (qEnvironmentVariableIntValue("ESCRIBIR_OPCIONES")) {
            QFile salida(ruta);
            QVERIFY(salida.open(QIODevice::WriteOnly));
            salida.write(esperado);
        }
        QFile archivo(ruta);
        QVERIFY2(archivo.open(QIODevice::ReadOnly), "db/opciones.sql is missing");
        const QByteArray leido = archivo.readAll();
        QCOMPARE(leido.count("INSERT INTO OPCION_MODULO"), 727);
        QVERIFY2(leido == esperado, "db/opciones.sql differs from the catalogue");
        QVERIFY(leido.contains("VALUES ('C. X PAGAR', 60, 'Mantenimiento - Grupos');"));
        QVERIFY(leido.contains("VALUES ('FACTURACION', 131, 'Informes x Pantalla - Ventas por "
                               "cliente');"));
    }
};

TEST_CLASS(TstCatalogo)
#include "tst_catalogo.moc"
