// Start-up: from the start of the process to the login dialog on screen.
// Each run starts a fresh process (this program with --hijo), which builds
// the console as the real program does and reports when the login dialog
// shows; the time is taken by the parent around the whole process start.
#include "shell/aplicacion.h"
#include "shell/aspecto.h"
#include "shell/principal.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

namespace {
int hijo(int argc, char** argv) {
    Aplicacion app(argc, argv);
    aplicarAspecto(app);
    Tfprincipal principal;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QLatin1String("facceso") && modal->isVisible()) {
            std::puts("mostrado");
            std::fflush(stdout);
            std::_Exit(0);
        }
    });
    vigia.start(1);
    principal.showMaximized();
    return app.exec();
}

std::string programa;

void Arranque(benchmark::State& state) {
    for (auto _ : state) {
        QProcess proceso;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        proceso.setProcessEnvironment(env);
        QElapsedTimer reloj;
        reloj.start();
        proceso.start(QString::fromStdString(programa), {QStringLiteral("--hijo")});
        proceso.waitForReadyRead(30000);
        const double segundos = double(reloj.nsecsElapsed()) / 1e9;
        const bool visto = proceso.readAll().contains("mostrado");
        proceso.waitForFinished(5000);
        if (!visto)
            state.SkipWithError("the login dialog was not shown");
        state.SetIterationTime(segundos);
    }
}
BENCHMARK(Arranque)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--hijo") == 0)
        return hijo(argc, argv);
    programa = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
