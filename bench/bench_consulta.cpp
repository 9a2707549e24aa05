// The SQL console's read of a long result: 200,000 rows × 9 columns of a
// free query into the console's DataSet, read in batches with the window's
// events processed between them as the console does, beside Firebird's
// isql-fb fetching the same rows to /dev/null.
//
// Counters: "x_isql" is the console's time over isql-fb's (run first);
// "MB_pico" the growth of the resident high-water mark during the read,
// "MB_filas" the heap the rows keep once read, "MB_csv" the size of the
// same rows written as CSV, and "x_csv" = MB_pico / MB_csv.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/grid/gridexport.h"
#include "support/servidor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <numeric>

using namespace platform;

namespace {

constexpr int kFilas = 200000;
const char* kConsulta = "select * from movimientos";

QString base;
std::unique_ptr<QTemporaryDir> carpeta;
std::unique_ptr<Connection> conexion;
double segundosIsql = 0;

void preparar() {
    carpeta = std::make_unique<QTemporaryDir>();
    base = ServidorPrueba::ruta(ServidorPrueba::instancia().crearDatos(true),
                                QStringLiteral("001/contabil.fdb"));
    bool ok = false;
    const QString salida = ServidorPrueba::instancia().isql(base, QStringLiteral(R"(
create table movimientos (id integer, codigo char(8), nombre varchar(40), fecha date,
    creado timestamp, cantidad integer, valor numeric(15,2), precio double precision,
    nota varchar(60));
commit;
set term ^;
execute block as
declare i integer = 1;
begin
  while (i <= 200000) do begin
    insert into movimientos values (:i, 'M' || lpad(:i, 7, '0'), 'Movimiento de prueba ' || :i,
      dateadd(mod(:i, 3650) day to date '2020-01-01'),
      dateadd(:i second to timestamp '2026-01-01 08:00:00'), mod(:i * 7, 1000),
      mod(:i * 37, 10000000) / 100.0, :i / 7.0, 'Nota ' || mod(:i, 97) || ', con coma');
    i = i + 1;
  end
end^
set term ;^
commit;
)"),
                                                            &ok);
    if (!ok)
        qFatal("bench_consulta: %s", qPrintable(salida));
    conexion = std::make_unique<Connection>(QStringLiteral("ConMantenim"));
    conexion->setParam(QStringLiteral("Database"), base);
    conexion->setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexion->setParam(QStringLiteral("password"), ServidorPrueba::instancia().claveSysdba());
    conexion->connect();
}

// A field of /proc/self/status in kB (VmHWM: resident high-water mark).
long estado(const char* campo) {
    QFile status(QStringLiteral("/proc/self/status"));
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
double heapMB() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / 1e6;
}

// The console's read: batches, with the events processed every 40 ms.
void leer(DataSet& datos) {
    QElapsedTimer reloj;
    reloj.start();
    datos.fetchBatch = 256;
    datos.onFetchProgress = [&reloj](int) {
        if (reloj.elapsed() >= 40) {
            QCoreApplication::processEvents();
            reloj.restart();
        }
        return true;
    };
    datos.setCommandText(QString::fromLatin1(kConsulta));
    datos.open();
}

void IsqlFb(benchmark::State& state) {
    const QString script = carpeta->filePath(QStringLiteral("consulta.sql"));
    QFile s(script);
    s.open(QIODevice::WriteOnly);
    s.write(QByteArray(kConsulta) + ";\n");
    s.close();
    double total = 0;
    for (auto _ : state) {
        QProcess isql;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ISC_USER"), QStringLiteral("SYSDBA"));
        env.insert(QStringLiteral("ISC_PASSWORD"), ServidorPrueba::instancia().claveSysdba());
        isql.setProcessEnvironment(env);
        isql.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer reloj;
        reloj.start();
        isql.start(QStringLiteral("isql-fb"),
                   {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"),
                    QStringLiteral("-i"), script, base});
        isql.waitForFinished(-1);
        const double segundos = double(reloj.nsecsElapsed()) / 1e9;
        state.SetIterationTime(segundos);
        total += segundos;
        if (isql.exitCode() != 0)
            state.SkipWithError("isql-fb failed");
    }
    segundosIsql = total / double(state.iterations());
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

void Consola(benchmark::State& state) {
    double total = 0;
    double picoMB = 0;
    double filasMB = 0;
    for (auto _ : state) {
        DataSet datos(QStringLiteral("CRepAuditor"), conexion.get());
        malloc_trim(0);
        const double heapAntes = heapMB();
        reiniciarPico();
        const long antes = estado("VmRSS:");
        QElapsedTimer reloj;
        reloj.start();
        leer(datos);
        total += double(reloj.nsecsElapsed()) / 1e9;
        picoMB = std::max(picoMB, double(estado("VmHWM:") - antes) / 1024.0);
        if (filasMB == 0)
            filasMB = heapMB() - heapAntes;
        if (datos.rowCount() != kFilas || datos.fieldCount() != 9)
            state.SkipWithError("wrong result");
    }
    // The same rows as a CSV file, as the grid export writes them.
    DataSet datos(QStringLiteral("CRepAuditor"), conexion.get());
    leer(datos);
    QList<int> filas(datos.rowCount());
    std::iota(filas.begin(), filas.end(), 0);
    QList<QPair<int, QString>> columnas;
    for (int f = 0; f < datos.fieldCount(); ++f)
        columnas.append({f, datos.field(f).name});
    const QString csv = carpeta->filePath(QStringLiteral("movimientos.csv"));
    exportToFile(ExportKind::Csv, DataSetExportSource(datos, filas, columnas), csv);
    const double csvMB = double(QFile(csv).size()) / 1e6;

    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    if (segundosIsql > 0)
        state.counters["x_isql"] = total / double(state.iterations()) / segundosIsql;
    state.counters["MB_pico"] = picoMB;
    state.counters["MB_filas"] = filasMB;
    state.counters["MB_csv"] = csvMB;
    state.counters["x_csv"] = picoMB / csvMB;
}

// The driver alone: every value taken from the query and dropped, the floor
// under any dataset's time.
void SoloDriver(benchmark::State& state) {
    for (auto _ : state) {
        QSqlQuery query(conexion->database());
        query.setForwardOnly(true);
        query.setNumericalPrecisionPolicy(QSql::HighPrecision);
        query.exec(QString::fromLatin1(kConsulta));
        const int columnas = query.record().count();
        qint64 n = 0;
        while (query.next())
            for (int i = 0; i < columnas; ++i)
                n += query.value(i).isValid();
        benchmark::DoNotOptimize(n);
    }
    state.counters["filas/s"] = benchmark::Counter(double(kFilas) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

// isql-fb first: the console's counter compares with its time.
BENCHMARK(IsqlFb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Consola)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SoloDriver)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    settleLocalTimeZone(); // as the program does at start
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    preparar();
    benchmark::RunSpecifiedBenchmarks();
    conexion.reset();
    return 0;
}
