// Saving the 727 access rights of a user (the access-rights editor's F2) on
// the loopback test server: delete and inserts in one transaction. Target:
// under 50 ms median.
#include "platform/data/connection.h"
#include "support/servidor.h"
#include "users/catalogo.h"
#include "users/operaciones.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {

void GrabarDerechos(benchmark::State& state) {
    ServidorPrueba& servidor = ServidorPrueba::instancia();
    platform::Connection conexion(QStringLiteral("ConMantenim"));
    conexion.setParam(QStringLiteral("Database"),
                      ServidorPrueba::ruta(servidor.crearDatos(), "001/contabil.fdb"));
    conexion.setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    conexion.setParam(QStringLiteral("password"), servidor.claveSysdba());
    conexion.connect();

    QList<usuarios::Derecho> derechos;
    int n = 0;
    for (const catalogo::Opcion& o : catalogo::opciones())
        derechos.append({o.modulo, o.numero, ++n % 3 == 0});
    // Each save replaces the rows of the one before.
    usuarios::grabarDerechos(conexion, QStringLiteral("CAJERO"), derechos);
    for (auto _ : state) {
        QElapsedTimer reloj;
        reloj.start();
        usuarios::grabarDerechos(conexion, QStringLiteral("CAJERO"), derechos, 1);
        state.SetIterationTime(double(reloj.nsecsElapsed()) / 1e9);
    }
    state.counters["filas"] = double(derechos.size());
}
BENCHMARK(GrabarDerechos)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
