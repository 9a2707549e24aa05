// 10,000 audit rows of the demo company through "PorUsuario" to a PDF file:
// the pages laid out, then drawn by the PDF renderer. Target: under 5 s.
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/reports/renderers.h"
#include "platform/reports/reportproject.h"
#include "support/servidor.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

using namespace platform;

namespace {

struct Datos {
    QTemporaryDir carpeta;
    std::unique_ptr<Connection> conexion;
    QWidget ventana;
    DataSet* auditoria = nullptr;
    ReportProject* proyecto = nullptr;
    PdfRenderer* pdf = nullptr;

    Datos() {
        ServidorPrueba& servidor = ServidorPrueba::instancia();
        const QString base = ServidorPrueba::ruta(servidor.crearDatos(), "001/contabil.fdb");
        // The demo has 3,000 rows; 7,000 more spread over the same users and days.
        servidor.isql(
            base, QStringLiteral("SET TERM ^ ;\n"
                                 "EXECUTE BLOCK AS DECLARE I INTEGER = 3001; BEGIN\n"
                                 "  WHILE (I <= 10000) DO BEGIN\n"
                                 "    INSERT INTO AUDITORIA SELECT :I, AUDI_USUARIO, AUDI_FECHA, "
                                 "AUDI_HORA, TIDO_COD, AUDI_NUMERO, AUDI_OPERACION, AUDI_RAZON, "
                                 "AUDI_EQUIPO FROM AUDITORIA WHERE AUDI_ID = MOD(:I, 3000) + 1;\n"
                                 "    I = I + 1; END END^\n"
                                 "SET TERM ; ^\nCOMMIT;"));
        conexion = std::make_unique<Connection>(QStringLiteral("bench"));
        conexion->setParam(QStringLiteral("Database"), base);
        conexion->setParam(QStringLiteral("User_Name"), QStringLiteral("GERENTE"));
        conexion->setParam(QStringLiteral("password"), QStringLiteral("gerente"));
        conexion->connect();
        auditoria = new DataSet(QStringLiteral("CRepauditor"), conexion.get(), &ventana);
        auditoria->setCommandText(
            QStringLiteral("select * from rep_auditoria('', '01/01/2000', "
                           "'31/12/2100', 0, '') order by usuario, fecha, hora"));
        auditoria->open();
        new DataConnection(QStringLiteral("RAuditor"), auditoria, &ventana);
        proyecto = new ReportProject(&ventana);
        proyecto->projectFile = QStringLiteral(SOURCE_DIR "/resources/auditoria.rav");
        proyecto->open();
        proyecto->selectReport(QStringLiteral("PorUsuario"));
        proyecto->setParam(QStringLiteral("Compania"), QStringLiteral("Comercializadora Andina"));
        proyecto->setParam(QStringLiteral("Titulo"), QStringLiteral("Usuario:Todos"));
        proyecto->setParam(QStringLiteral("Usuario"), QStringLiteral("GERENTE"));
        pdf = new PdfRenderer(&ventana);
    }
};

Datos& datos() {
    static Datos d;
    return d;
}

void BM_AuditoriaPdf(benchmark::State& state) {
    Datos& d = datos();
    const QString archivo = d.carpeta.filePath(QStringLiteral("auditoria.pdf"));
    int paginas = 0;
    for (auto _ : state) {
        const ReportDocument documento = d.proyecto->generate();
        d.pdf->render(documento, archivo);
        paginas = int(documento.pages.size());
    }
    state.counters["filas"] = d.auditoria->rowCount();
    state.counters["paginas"] = paginas;
    state.counters["bytes"] = double(QFileInfo(archivo).size());
}
BENCHMARK(BM_AuditoriaPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SoloPaginas(benchmark::State& state) {
    Datos& d = datos();
    for (auto _ : state)
        benchmark::DoNotOptimize(d.proyecto->generate());
}
BENCHMARK(BM_SoloPaginas)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
