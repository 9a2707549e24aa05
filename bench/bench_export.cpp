// Grid export speed: 200,000 rows × 8 columns written as CSV and as an
// Excel workbook, beside Firebird's isql-fb writing the same rows to a file.
//
// The rows are made on the private test server with an EXECUTE BLOCK and
// read once into a DataSet; the CSV and XLS runs time the writers alone,
// "CsvConLectura" times reading the rows from the server and writing them,
// which is what isql-fb does. The grid runs sort and filter the same rows.
// Counters: rows per second and the peak memory
// (resident set high-water mark) during the run, in MB.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/grid/gridexport.h"
#include "support/servidor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>

using namespace platform;

namespace {

constexpr int kFilas = 200000;

QString base;
std::unique_ptr<QTemporaryDir> carpeta;
std::unique_ptr<Connection> conexion;
std::unique_ptr<DataSet> datos;

const char* kConsulta = "select id, codigo, nombre, fecha, cantidad, valor, descripcion, estado "
                        "from articulos order by id";

void preparar() {
    carpeta = std::make_unique<QTemporaryDir>();
    base = ServidorPrueba::ruta(ServidorPrueba::instancia().crearDatos(true),
                                QStringLiteral("001/contabil.fdb"));
    bool ok = false;
    const QString salida = ServidorPrueba::instancia().isql(base, QStringLiteral(R"(
create table articulos (id integer, codigo varchar(10), nombre varchar(40), fecha date,
    cantidad integer, valor numeric(15,2), descripcion varchar(60), estado char(1));
commit;
set term ^;
execute block as
declare i integer = 1;
begin
  while (i <= 200000) do begin
    insert into articulos values (:i, 'A' || lpad(:i, 8, '0'), 'Artículo de prueba ' || :i,
      dateadd(mod(:i, 3650) day to date '2020-01-01'), mod(:i * 7, 1000),
      mod(:i * 37, 100000) / 100.0, 'Descripción "larga", con comas ' || mod(:i, 97),
      iif(mod(:i, 2) = 0, 'S', 'N'));
    i = i + 1;
  end
end^
set term ;^
commit;
)"),
                                                            &ok);
    if (!ok)
        qFatal("bench_export: %s", qPrintable(salida));
    conexion = std::make_unique<Connection>(QStringLiteral("bench"));
    conexion->setParam(QStringLiteral("Database"), base);
    conexion->setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexion->setParam(QStringLiteral("password"), ServidorPrueba::instancia().claveSysdba());
    conexion->connect();
    datos = std::make_unique<DataSet>(QStringLiteral("CArticulos"), conexion.get());
    datos->setCommandText(QString::fromLatin1(kConsulta));
    datos->open();
    if (datos->rowCount() != kFilas)
        qFatal("bench_export: %d rows", datos->rowCount());
}

// A field of a process's status in kB: VmHWM (resident high-water mark)
// or VmRSS. The mark of this process is reset before each run.
long pico(const char* campo, const QString& proceso = QStringLiteral("self")) {
    QFile status(QStringLiteral("/proc/%1/status").arg(proceso));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : status.readAll().split('\n'))
        if (linea.startsWith(campo))
            return linea.mid(int(strlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}
void reiniciarPico() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

DataSetExportSource fuente(const DataSet& d) {
    QList<int> filas(d.rowCount());
    std::iota(filas.begin(), filas.end(), 0);
    QList<QPair<int, QString>> columnas;
    for (int f = 0; f < d.fieldCount(); ++f)
        columnas.append({f, d.field(f).displayLabel()});
    return DataSetExportSource(d, filas, columnas);
}

void exportar(benchmark::State& state, ExportKind clase, const char* nombre) {
    const DataSetExportSource f = fuente(*datos);
    const QString archivo = carpeta->filePath(QString::fromLatin1(nombre));
    qint64 tamano = 0;
    reiniciarPico();
    const long antes = pico("VmRSS:");
    for (auto _ : state) {
        exportToFile(clase, f, archivo);
        tamano = QFile(archivo).size();
    }
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    state.counters["MB_archivo"] = double(tamano) / 1e6;
    state.counters["MB_pico"] = double(pico("VmHWM:")) / 1024.0;
    state.counters["MB_extra"] = double(pico("VmHWM:") - antes) / 1024.0; // over the rows held
}

void Csv(benchmark::State& state) {
    exportar(state, ExportKind::Csv, "articulos.csv");
}
void Xls(benchmark::State& state) {
    exportar(state, ExportKind::Xls, "articulos.xls");
}

// Reading the rows from the server and writing the CSV, as isql-fb does.
void CsvConLectura(benchmark::State& state) {
    const QString archivo = carpeta->filePath(QStringLiteral("lectura.csv"));
    reiniciarPico();
    for (auto _ : state) {
        DataSet d(QStringLiteral("CLectura"), conexion.get());
        d.setCommandText(QString::fromLatin1(kConsulta));
        d.open();
        exportToFile(ExportKind::Csv, fuente(d), archivo);
    }
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    state.counters["MB_pico"] = double(pico("VmHWM:")) / 1024.0;
}

// isql-fb writing the same rows to a file (its own table layout).
void IsqlFb(benchmark::State& state) {
    const QString script = carpeta->filePath(QStringLiteral("consulta.sql"));
    const QString salida = carpeta->filePath(QStringLiteral("isql.txt"));
    QFile s(script);
    s.open(QIODevice::WriteOnly);
    s.write(QByteArray("set list off;\n") + kConsulta + ";\n");
    s.close();
    long maximo = 0;
    for (auto _ : state) {
        QFile::remove(salida);
        QProcess isql;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ISC_USER"), QStringLiteral("SYSDBA"));
        env.insert(QStringLiteral("ISC_PASSWORD"), ServidorPrueba::instancia().claveSysdba());
        isql.setProcessEnvironment(env);
        QElapsedTimer reloj;
        reloj.start();
        isql.start(QStringLiteral("isql-fb"),
                   {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"),
                    QStringLiteral("-i"), script, QStringLiteral("-o"), salida, base});
        // Its peak memory, read while it runs (the mark only grows).
        while (!isql.waitForFinished(5)) {
            const long kb = pico("VmHWM:", QString::number(isql.processId()));
            maximo = std::max(maximo, kb);
        }
        state.SetIterationTime(double(reloj.nsecsElapsed()) / 1e9);
        if (isql.exitCode() != 0)
            state.SkipWithError("isql-fb failed");
    }
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    state.counters["MB_archivo"] = double(QFile(salida).size()) / 1e6;
    state.counters["MB_pico"] = double(maximo) / 1024.0;
}

// The grid over the 200,000 rows: a title click sorting by a text column,
// and a filter-row text, each until the grid has its rows again.
void GrillaOrdenar(benchmark::State& state) {
    DataGrid grilla;
    grilla.setDataSet(datos.get());
    grilla.resize(800, 600);
    grilla.show();
    for (auto _ : state) {
        grilla.sortByField(2, false); // nombre: ascending, then descending
        QCoreApplication::processEvents();
    }
    datos->setSort({});
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

void GrillaFiltrar(benchmark::State& state) {
    DataGrid grilla;
    grilla.setDataSet(datos.get());
    grilla.resize(800, 600);
    grilla.show();
    grilla.setFilterRowVisible(true);
    int quedan = 0;
    for (auto _ : state) {
        grilla.setFilterText(QStringLiteral("NOMBRE"), QStringLiteral("99"));
        quedan = datos->rowCount();
        grilla.setFilterText(QStringLiteral("NOMBRE"), QString());
        QCoreApplication::processEvents();
    }
    state.counters["filas/s"] =
        benchmark::Counter(2.0 * kFilas * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["quedan"] = quedan;
}

// Wall time throughout: isql-fb's work is done in other processes.
BENCHMARK(Csv)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Xls)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CsvConLectura)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(GrillaOrdenar)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(GrillaFiltrar)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(IsqlFb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    preparar();
    benchmark::RunSpecifiedBenchmarks();
    datos.reset();
    conexion.reset();
    return 0;
}
