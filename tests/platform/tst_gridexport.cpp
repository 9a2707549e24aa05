// Files written by the grid export, read back by real readers: Python's csv
// module and html.parser, unrtf, xlrd.
#include "platform/ansi.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/grid/gridexport.h"
#include "support/datosgrid.h"
#include "support/testmain.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

// The file's sheets as the reader sees them.
QJsonArray leer(const QString& tipo, const QString& archivo) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(SOURCE_DIR "/tests/platform/lectores.py"), tipo, archivo});
    python.waitForFinished(120000);
    const QByteArray salida = python.readAllStandardOutput();
    if (python.exitCode() != 0)
        qWarning().noquote() << python.readAllStandardError();
    return QJsonDocument::fromJson(salida).array();
}

QString unaLinea(QString s) {
    s.replace(QLatin1String("\r\n"), QLatin1String("  "));
    for (QChar& c : s)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return s;
}

} // namespace

class TstGridExport : public QObject {
    Q_OBJECT
    std::unique_ptr<Connection> conexion;
    std::unique_ptr<DataSet> datos;
    QTemporaryDir carpeta;

    // Grid order differs from field order; titles with accents and quotes.
    // unrtf drops an escaped character that opens a table row, so for RTF
    // the row starts with the code.
    QList<QPair<int, QString>> columnas(bool codigoPrimero = false) const {
        auto f = [&](const char* n) { return datos->fieldIndex(n); };
        QList<QPair<int, QString>> lista = {{f("NOMBRE"), "Nombre \"completo\", razón"},
                                            {f("VALOR"), "Valor"},
                                            {f("ID"), "Código"},
                                            {f("FECHA"), "Fecha"},
                                            {f("ACTIVO"), "Activo"},
                                            {f("NOTA"), "Nota"}};
        if (codigoPrimero)
            lista.move(2, 0);
        return lista;
    }
    QList<int> todas() const { return {0, 1, 2, 3, 4}; }

private slots:
    void initTestCase() {
        conexion = datosgrid::conexion();
        datos = std::make_unique<DataSet>(QStringLiteral("CPrueba"), conexion.get());
        datos->setCommandText(QStringLiteral("select * from prueba_grid order by id"));
        datos->open();
        QVERIFY(carpeta.isValid());
    }

    void textosLeidosPorLectoresReales_data() {
        QTest::addColumn<int>("clase");
        QTest::addColumn<QString>("tipo");
        QTest::newRow("texto") << int(ExportKind::Text) << "txt";
        QTest::newRow("csv") << int(ExportKind::Csv) << "csv";
        QTest::newRow("html") << int(ExportKind::Html) << "htm";
        QTest::newRow("rtf") << int(ExportKind::Rtf) << "rtf";
    }
    void textosLeidosPorLectoresReales() {
        QFETCH(int, clase);
        QFETCH(QString, tipo);
        const QString archivo = carpeta.filePath("prueba." + tipo);
        const auto cols = columnas(tipo == "rtf");
        DataSetExportSource fuente(*datos, todas(), cols);
        exportToFile(ExportKind(clase), fuente, archivo);
        const QJsonArray hojas = leer(tipo, archivo);
        QCOMPARE(hojas.size(), 1);
        const QJsonArray filas = hojas.at(0).toArray();
        QCOMPARE(filas.size(), 1 + datos->rowCount());
        // What each format can carry: 8-bit files lose what Windows-1252
        // lacks; plain text keeps one row per line.
        auto esperado = [&](const QString& s) {
            QString e = s;
            if (tipo == "txt" || tipo == "csv")
                e = fromAnsi(toAnsi(e));
            if (tipo == "txt")
                e = unaLinea(e);
            if (tipo == "rtf") // tabs and line breaks come back as blanks
                e = e.replace(QChar(0xA0), ' ').simplified();
            return e;
        };
        for (int c = 0; c < cols.size(); ++c)
            QCOMPARE(filas.at(0).toArray().at(c).toString().trimmed(), esperado(cols[c].second));
        for (int r = 0; r < datos->rowCount(); ++r) {
            const QJsonArray fila = filas.at(r + 1).toArray();
            QCOMPARE(fila.size(), cols.size());
            for (int c = 0; c < cols.size(); ++c) {
                QString leido = fila.at(c).toString();
                if (tipo == "rtf")
                    leido = leido.replace(QChar(0xA0), ' ').simplified();
                QCOMPARE(leido, esperado(datos->textAt(r, cols[c].first)));
            }
        }
    }

    void csvCitaSoloLoNecesario() {
        const QString archivo = carpeta.filePath("citas.csv");
        DataSetExportSource fuente(
            *datos, {0, 1},
            {{datos->fieldIndex("ID"), "ID"}, {datos->fieldIndex("NOMBRE"), "Nombre"}});
        exportToFile(ExportKind::Csv, fuente, archivo);
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), toAnsi("ID,Nombre\r\n1,\"Ñandú \"\"comillas\"\"\"\r\n"
                                     "2,\"O'Brien, Ltda.\"\r\n"));
    }

    void libroExcelConNumerosFechasYTextos() {
        const QString archivo = carpeta.filePath("prueba.xls");
        DataSetExportSource fuente(*datos, todas(), columnas());
        exportToFile(ExportKind::Xls, fuente, archivo);
        const QJsonArray hojas = leer("xls", archivo);
        QCOMPARE(hojas.size(), 1);
        QCOMPARE(hojas.at(0).toObject().value("nombre").toString(), QStringLiteral("Hoja1"));
        const QJsonArray filas = hojas.at(0).toObject().value("filas").toArray();
        QCOMPARE(filas.size(), 6);
        const auto cols = columnas();
        for (int c = 0; c < cols.size(); ++c)
            QCOMPARE(filas.at(0).toArray().at(c).toString(), cols[c].second);
        for (int r = 0; r < datos->rowCount(); ++r) {
            const QJsonArray fila = filas.at(r + 1).toArray();
            for (int c = 0; c < cols.size(); ++c) {
                const int f = cols[c].first;
                const QJsonValue celda = fila.at(c);
                if (datos->isNullAt(r, f)) {
                    QVERIFY2(celda.isNull(), qPrintable(celda.toString()));
                } else if (datos->field(f).isNumber()) {
                    QVERIFY(celda.isDouble()); // a number cell, not text
                    QCOMPARE(celda.toDouble(), datos->valueAt(r, f).toDouble());
                } else if (datos->field(f).kind == FieldKind::Date) {
                    QCOMPARE(celda.toObject().value("fecha").toString(),
                             datos->valueAt(r, f).toDate().toString(Qt::ISODate));
                } else {
                    QCOMPARE(celda.toString(), datos->textAt(r, f)); // Ω and 600 é included
                }
            }
        }
    }

    void libroExcelSigueEnMasHojas() {
        // 70,000 rows of long texts: three sheets' worth of cells in a file
        // whose allocation table needs the header's extension sectors.
        const QString base = datosgrid::baseDeDatos();
        bool ok = false;
        ServidorPrueba::instancia().isql(base, QStringLiteral(R"(
create table muchas (id integer, nombre varchar(100), valor numeric(12,2));
commit;
set term ^;
execute block as
declare i integer = 1;
begin
  while (i <= 70000) do begin
    insert into muchas values (:i, rpad('Fila ' || :i || ' ñ', 100, '.'), :i / 100.0);
    i = i + 1;
  end
end^
set term ;^
commit;
)"),
                                         &ok);
        QVERIFY(ok);
        DataSet muchas(QStringLiteral("CMuchas"), conexion.get());
        muchas.setCommandText(QStringLiteral("select * from muchas order by id"));
        muchas.open();
        QCOMPARE(muchas.rowCount(), 70000);
        QList<int> filas(70000);
        std::iota(filas.begin(), filas.end(), 0);
        DataSetExportSource fuente(muchas, filas, {{0, "ID"}, {1, "Nombre"}, {2, "Valor"}});
        const QString archivo = carpeta.filePath("muchas.xls");
        exportToFile(ExportKind::Xls, fuente, archivo);
        QVERIFY(QFileInfo(archivo).size() > 7500000);
        const QJsonArray hojas = leer("xls", archivo);
        QCOMPARE(hojas.size(), 2);
        const QJsonArray primera = hojas.at(0).toObject().value("filas").toArray();
        const QJsonArray segunda = hojas.at(1).toObject().value("filas").toArray();
        QCOMPARE(hojas.at(1).toObject().value("nombre").toString(), QStringLiteral("Hoja2"));
        QCOMPARE(primera.size(), 65536);
        QCOMPARE(segunda.size(), 1 + 70000 - 65535);
        QCOMPARE(segunda.at(0).toArray().at(1).toString(), QStringLiteral("Nombre"));
        QCOMPARE(primera.at(65535).toArray().at(0).toDouble(), 65535.0);
        QCOMPARE(segunda.at(1).toArray().at(0).toDouble(), 65536.0);
        const QJsonArray ultima = segunda.last().toArray();
        QCOMPARE(ultima.at(0).toDouble(), 70000.0);
        QCOMPARE(ultima.at(1).toString(), muchas.textAt(69999, 1));
        QCOMPARE(ultima.at(2).toDouble(), 700.0);
    }

    void libroVacioSoloTitulos() {
        DataSetExportSource fuente(*datos, {}, columnas());
        const QString archivo = carpeta.filePath("vacio.xls");
        exportToFile(ExportKind::Xls, fuente, archivo);
        const QJsonArray hojas = leer("xls", archivo);
        QCOMPARE(hojas.size(), 1);
        QCOMPARE(hojas.at(0).toObject().value("filas").toArray().size(), 1);
    }

    void modeloCualquieraConCaracteresFueraDelJuego() {
        QStandardItemModel modelo(2, 2);
        modelo.setHorizontalHeaderLabels({"Texto", "Número"});
        modelo.setData(modelo.index(0, 0), QStringLiteral("Ω € \"x\""));
        modelo.setData(modelo.index(0, 1), 12.5);
        modelo.setData(modelo.index(1, 0), QStringLiteral("<&>"));
        modelo.setData(modelo.index(1, 1), -3);
        ModelExportSource fuente(modelo, {0, 1}, {0, 1});
        const QString html = carpeta.filePath("modelo.htm");
        exportToFile(ExportKind::Html, fuente, html);
        const QJsonArray filas = leer("htm", html).at(0).toArray();
        QCOMPARE(filas.at(1).toArray().at(0).toString(), QStringLiteral("Ω € \"x\""));
        QCOMPARE(filas.at(2).toArray().at(0).toString(), QStringLiteral("<&>"));
        const QString xls = carpeta.filePath("modelo.xls");
        exportToFile(ExportKind::Xls, fuente, xls);
        const QJsonArray hoja = leer("xls", xls).at(0).toObject().value("filas").toArray();
        QCOMPARE(hoja.at(0).toArray().at(1).toString(), QStringLiteral("Número"));
        QCOMPARE(hoja.at(1).toArray().at(0).toString(), QStringLiteral("Ω € \"x\""));
        QCOMPARE(hoja.at(1).toArray().at(1).toDouble(), 12.5);
        QCOMPARE(hoja.at(2).toArray().at(1).toDouble(), -3.0);
    }

    void archivoQueNoSePuedeCrear() {
        DataSetExportSource fuente(*datos, todas(), columnas());
        const QString archivo = carpeta.filePath("no/existe/x.csv");
        try {
            exportToFile(ExportKind::Csv, fuente, archivo);
            QFAIL("no error for a file that cannot be created");
        } catch (const FileError& e) {
            QVERIFY(e.text().contains(archivo));
        }
    }

    void archivoExistenteSeReemplaza() {
        const QString archivo = carpeta.filePath("reemplazo.txt");
        QFile viejo(archivo);
        QVERIFY(viejo.open(QIODevice::WriteOnly));
        viejo.write(QByteArray(100000, 'z'));
        viejo.close();
        DataSetExportSource fuente(*datos, {4}, {{0, "ID"}});
        exportToFile(ExportKind::Text, fuente, archivo);
        QFile nuevo(archivo);
        QVERIFY(nuevo.open(QIODevice::ReadOnly));
        QCOMPARE(nuevo.readAll(), QByteArray("ID\r\n5\r\n"));
    }
};

TEST_CLASS(TstGridExport)
#include "tst_gridexport.moc"
