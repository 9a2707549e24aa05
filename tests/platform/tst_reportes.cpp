// The report engine over real rows of the demo company: project file,
// pages, renderers, setup hook, default setup dialog and preview.
#include "platform/ansi.h"
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/reports/renderers.h"
#include "platform/reports/reportproject.h"
#include "platform/reports/reportsystem.h"
#include "platform/reports/setupdialog.h"
#include "support/cups.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace platform;

namespace {

QString pdfATexto(const QString& archivo) {
    QProcess proceso;
    proceso.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), archivo, "-"});
    proceso.waitForFinished(60000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

// pdftotext ends every page with a form feed.
QStringList paginasPdf(const QString& archivo) {
    QStringList paginas = pdfATexto(archivo).split(QLatin1Char('\f'));
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty())
        paginas.removeLast();
    return paginas;
}

const QString kProyecto = QStringLiteral(SOURCE_DIR "/resources/auditoria.rav");

} // namespace

class TstReportes : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Connection> conexion;
    QTemporaryDir carpeta;

    // A window with the engine's parts, the way report windows hold them.
    struct Ventana {
        QWidget ventana;
        DataSet* datos;
        ReportSystem* sistema;
        ReportProject* proyecto;
        PdfRenderer* pdf;
        TextRenderer* texto;

        Ventana(Connection* conexion, const QString& sql) {
            datos = new DataSet(QStringLiteral("CRepauditor"), conexion, &ventana);
            datos->setCommandText(sql);
            datos->open();
            new DataConnection(QStringLiteral("RAuditor"), datos, &ventana);
            sistema = new ReportSystem(&ventana, QStringLiteral("RvSystem1"));
            sistema->systemOptions &= ~ReportSystem::ShowStatus;
            proyecto = new ReportProject(&ventana, QStringLiteral("RvProject1"));
            proyecto->engine = sistema;
            proyecto->projectFile = kProyecto;
            proyecto->open();
            proyecto->setParam(QStringLiteral("Compania"), QStringLiteral("Compañía de Prueba"));
            proyecto->setParam(QStringLiteral("Titulo"),
                               QStringLiteral("Usuario:Todos - Tipo:Todos"));
            proyecto->setParam(QStringLiteral("Usuario"), QStringLiteral("GERENTE"));
            pdf = new PdfRenderer(&ventana, QStringLiteral("RvRenderPDF1"));
            texto = new TextRenderer(&ventana, QStringLiteral("RvRenderText1"));
        }
    };

    static QString auditoria(int filas) {
        // Document numbers run from 001001 up, one per audit row.
        return QStringLiteral("select * from rep_auditoria('', '01/01/2000', '31/12/2100', 0, '') "
                              "where numerodoc <= '%1' order by usuario, fecha, hora")
            .arg(1000 + filas, 6, 10, QLatin1Char('0'));
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        conexion = std::make_unique<Connection>(QStringLiteral("reportes"));
        conexion->setParam(QStringLiteral("Database"),
                           ServidorPrueba::ruta(ubicacion, "001/contabil.fdb"));
        conexion->setParam(QStringLiteral("User_Name"), QStringLiteral("GERENTE"));
        conexion->setParam(QStringLiteral("password"), QStringLiteral("gerente"));
        conexion->connect();
        setFieldDateFormats(QStringLiteral("dd/MM/yyyy"), QStringLiteral("hh:mm:ss"));
    }
    void cleanupTestCase() { conexion.reset(); }

    void archivoDeProyectoInexistenteLoNombra() {
        ReportProject proyecto(nullptr);
        proyecto.projectFile = carpeta.filePath(QStringLiteral("mantenimiento/reportes/x.rav"));
        try {
            proyecto.open();
            QFAIL("a missing project file was accepted");
        } catch (const ReportError& e) {
            QCOMPARE(e.text(), QStringLiteral("No se encontró el archivo de reportes \"%1\"")
                                   .arg(proyecto.projectFile));
        }
        QVERIFY(!proyecto.isOpen());
    }

    void proyectoTieneLosCuatroReportes() {
        ReportProject proyecto(nullptr);
        proyecto.projectFile = kProyecto;
        proyecto.open();
        QCOMPARE(proyecto.reportNames(),
                 QStringList({"PorUsuario", "PorFecha", "PorTipo", "Accesos"}));
        QVERIFY_THROWS_EXCEPTION(ReportError, proyecto.selectReport(QStringLiteral("porusuario")));
    }

    // Groups, headings, header parameters and "n de m" on every page.
    void pdfPaginadoConGruposYParametros() {
        Ventana v(conexion.get(), auditoria(150));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->systemSetups &= ~ReportSystem::AllowSetup;
        v.sistema->defaultDest = ReportSystem::Destination::File;
        v.sistema->renderObject = v.pdf;
        v.sistema->outputFileName = carpeta.filePath(QStringLiteral("usuarios.pdf"));
        QStringList estados;
        connect(v.sistema, &ReportSystem::statusChanged, this,
                [&estados](const QString& t) { estados << t; });
        v.proyecto->execute();

        const QStringList paginas = paginasPdf(v.sistema->outputFileName);
        QVERIFY(paginas.size() >= 5);
        QCOMPARE(estados.first(), QStringLiteral("Generando página 1"));
        QVERIFY(estados.contains(QStringLiteral("Generando página %1").arg(paginas.size())));
        for (int p = 0; p < paginas.size(); ++p) {
            const QString& texto = paginas[p];
            QVERIFY2(
                texto.contains(QStringLiteral("Página %1 de %2").arg(p + 1).arg(paginas.size())),
                qPrintable(texto));
            QVERIFY(texto.contains(QStringLiteral("Compañía de Prueba")));
            QVERIFY(texto.contains(QStringLiteral("Usuario:Todos - Tipo:Todos")));
            QVERIFY(texto.contains(QStringLiteral("Usuario: GERENTE")));
            QVERIFY(texto.contains(QStringLiteral("Razón de anulación")));
            QVERIFY(texto.contains(QStringLiteral("Documento")));
        }
        const QString todo = paginas.join(QString());
        for (const char* usuario : {"BODEGA", "CAJERO", "GERENTE", "SYSDBA", "VENDE01"})
            QVERIFY(todo.contains(QStringLiteral("Usuario: ") + QLatin1String(usuario)));
        QVERIFY(todo.contains(QStringLiteral("Total de operaciones: 150")));
        // Every row is there: each document number of the rows.
        for (int fila = 0; fila < v.datos->rowCount(); ++fila)
            QVERIFY(todo.contains(v.datos->textAt(fila, v.datos->fieldIndex("NUMERODOC"))));
    }

    // The text renderer puts the same cells at 10 cpi and 6 lpi.
    void textoPlanoEnRejilla() {
        Ventana v(conexion.get(), auditoria(150));
        v.proyecto->selectReport(QStringLiteral("PorFecha"));
        const ReportDocument documento = v.proyecto->generate();
        const QString archivo = carpeta.filePath(QStringLiteral("fecha.txt"));
        v.texto->render(documento, archivo);
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("P\xe1gina 1 de ")); // Windows-1252
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(!bytes.contains("\n\n"));
        const QStringList paginas = fromAnsi(bytes).split(QLatin1Char('\f'));
        QCOMPARE(paginas.size(), documento.pages.size());
        for (int p = 0; p < paginas.size(); ++p) {
            const QStringList lineas = paginas[p].split(QStringLiteral("\r\n"));
            QVERIFY(lineas.size() <= 51); // 8.5 in at 6 lpi
            for (const QString& linea : lineas)
                QVERIFY2(linea.size() <= 110, qPrintable(linea)); // 11 in at 10 cpi
            // Company centred on line 3, page number right-aligned at column 106.
            QCOMPARE(lineas[3].trimmed(), QStringLiteral("Compañía de Prueba"));
            QVERIFY(qAbs(lineas[3].indexOf(QStringLiteral("Compa")) - 47) <= 1);
            const QString pie = QStringLiteral("Página %1 de %2").arg(p + 1).arg(paginas.size());
            QVERIFY2(lineas[47].endsWith(pie), qPrintable(lineas[47]));
            QCOMPARE(lineas[47].size(), 106);
            QVERIFY(lineas[9].contains(QStringLiteral("Fecha      Hora        Usuario")));
        }
    }

    // The printer destination reaches a real queue: cups-pdf writes the pages.
    void impresoraRecibeElTrabajo() {
        ServidorCups& cups = ServidorCups::instancia();
        PrinterDevice::instance().refresh();
        PrinterDevice::instance().selectPrinter(cups.colaPdf());
        Ventana v(conexion.get(), auditoria(100));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->systemSetups &= ~ReportSystem::AllowSetup;
        v.sistema->defaultDest = ReportSystem::Destination::Printer;
        v.sistema->jobTitle = QStringLiteral("Reportes de inventario");
        QStringList estados;
        connect(v.sistema, &ReportSystem::statusChanged, this,
                [&estados](const QString& t) { estados << t; });
        const QStringList antes = cups.pdfs();
        v.proyecto->execute();
        const int paginas = int(v.proyecto->generate().pages.size());
        QVERIFY(estados.contains(QStringLiteral("Imprimiendo página %1").arg(paginas)));

        const QString pdf = cups.esperarPdf(antes);
        QVERIFY2(!pdf.isEmpty(), "the PDF queue wrote no file");
        const QStringList impresas = paginasPdf(pdf);
        QCOMPARE(impresas.size(), paginas);
        QVERIFY(impresas.first().contains(QStringLiteral("Compañía de Prueba")));
        QVERIFY(impresas.last().contains(QStringLiteral("Página %1 de %1").arg(paginas)));
        QVERIFY(impresas.last().contains(QStringLiteral("Total de operaciones: 100")));
        PrinterDevice::instance().selectPrinter(cups.colaPredeterminada());
    }

    // A page snapshot reads back into the same pages.
    void instantaneaSeReleeIgual() {
        Ventana v(conexion.get(), auditoria(80));
        v.proyecto->selectReport(QStringLiteral("PorTipo"));
        const ReportDocument documento = v.proyecto->generate();
        const QString archivo = carpeta.filePath(QStringLiteral("tipo.ndr"));
        saveSnapshot(documento, archivo);
        const ReportDocument leido = loadSnapshot(archivo);
        QCOMPARE(leido.pages.size(), documento.pages.size());
        QCOMPARE(leido.layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(v.texto->text(leido), v.texto->text(documento));
    }

    // The printer driver's output to a file: the PDF stream the queue gets.
    void salidaNativaDeImpresora() {
        Ventana v(conexion.get(), auditoria(40));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->systemSetups &= ~ReportSystem::AllowSetup;
        v.sistema->defaultDest = ReportSystem::Destination::File;
        v.sistema->doNativeOutput = true;
        v.sistema->outputFileName = carpeta.filePath(QStringLiteral("informe.prn"));
        QStringList estados;
        connect(v.sistema, &ReportSystem::statusChanged, this,
                [&estados](const QString& t) { estados << t; });
        v.proyecto->execute();
        QFile f(v.sistema->outputFileName);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QVERIFY(pdfATexto(f.fileName()).contains(QStringLiteral("Compañía de Prueba")));
        QVERIFY(estados.contains(QStringLiteral("Imprimiendo página 1")));
    }

    // The override hook is called create, show, wait, free; free also after
    // an error; an aborted run writes nothing.
    void ganchoDeConfiguracion() {
        Ventana v(conexion.get(), auditoria(10));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->defaultDest = ReportSystem::Destination::File;
        v.sistema->outputFileName = carpeta.filePath(QStringLiteral("abortado.ndr"));
        QList<ReportSystem::SetupStep> pasos;
        bool fallar = false;
        v.sistema->onOverrideSetup = [&](ReportSystem::SetupStep paso, QDialog*& forma) {
            pasos << paso;
            if (paso == ReportSystem::SetupStep::Create)
                forma = new QDialog;
            if (paso == ReportSystem::SetupStep::Show) {
                if (fallar)
                    throw ReportError(QStringLiteral("falla"));
                v.sistema->aborted = true;
            }
            if (paso == ReportSystem::SetupStep::Free) {
                delete forma;
                forma = nullptr;
            }
        };
        v.proyecto->execute();
        using S = ReportSystem::SetupStep;
        QCOMPARE(pasos, QList<S>({S::Create, S::Show, S::Wait, S::Free}));
        QVERIFY(!QFile::exists(v.sistema->outputFileName));

        pasos.clear();
        fallar = true;
        QVERIFY_THROWS_EXCEPTION(ReportError, v.proyecto->execute());
        QCOMPARE(pasos, QList<S>({S::Create, S::Show, S::Free}));

        pasos.clear();
        v.sistema->systemSetups &= ~ReportSystem::AllowSetup;
        v.proyecto->execute();
        QVERIFY(pasos.isEmpty());
        QVERIFY(QFile::exists(v.sistema->outputFileName));
    }

    // The engine's own dialog: captioned with the setup title; a name
    // without extension gets the chosen format's; Cancel writes nothing.
    void dialogoPropioDelMotor() {
        Ventana v(conexion.get(), auditoria(30));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->titleSetup = QStringLiteral("Opciones");
        const QString base = carpeta.filePath(QStringLiteral("propio"));
        QString titulo;
        alAbrirModal(QStringLiteral("ReportSetupDialog"), [&](QWidget* d) {
            titulo = d->windowTitle();
            d->findChild<QRadioButton*>(QStringLiteral("destinoArchivo"))->setChecked(true);
            d->findChild<QLineEdit*>(QStringLiteral("archivo"))->setText(base);
            auto* formato = d->findChild<QComboBox*>(QStringLiteral("formato"));
            formato->setCurrentIndex(formato->findText(QStringLiteral("Texto plano (TXT)")));
            d->findChild<QToolButton*>(QStringLiteral("aceptar"))->click();
        });
        v.proyecto->execute();
        QCOMPARE(titulo, QStringLiteral("Opciones"));
        QVERIFY(QFile::exists(base + QStringLiteral(".txt")));

        alAbrirModal(QStringLiteral("ReportSetupDialog"), [&](QWidget* d) {
            d->findChild<QRadioButton*>(QStringLiteral("destinoArchivo"))->setChecked(true);
            d->findChild<QLineEdit*>(QStringLiteral("archivo"))->setText(base + "2.pdf");
            d->findChild<QToolButton*>(QStringLiteral("cancelar"))->click();
        });
        v.proyecto->execute();
        QVERIFY(v.sistema->aborted);
        QVERIFY(!QFile::exists(base + QStringLiteral("2.pdf")));
    }

    // Modal, maximised, titled, at zoom 100, with every page.
    void vistaPreliminar() {
        Ventana v(conexion.get(), auditoria(100));
        v.proyecto->selectReport(QStringLiteral("PorUsuario"));
        v.sistema->systemSetups &= ~ReportSystem::AllowSetup;
        v.sistema->defaultDest = ReportSystem::Destination::Preview;
        const int paginas = int(v.proyecto->generate().pages.size());
        QString titulo;
        bool maximizada = false;
        double zoom = 0;
        int mostradas = 0;
        alAbrirModal(QStringLiteral("VistaPreliminar"), [&](QWidget* d) {
            titulo = d->windowTitle();
            maximizada = d->isMaximized();
            auto* vista = d->findChild<QPrintPreviewWidget*>();
            zoom = vista->zoomFactor();
            mostradas = vista->pageCount();
            static_cast<QDialog*>(d)->reject();
        });
        v.proyecto->execute();
        QCOMPARE(titulo, QStringLiteral("Vista preliminar"));
        QVERIFY(maximizada);
        QCOMPARE(zoom, 1.0);
        QCOMPARE(mostradas, paginas);
    }
};

TEST_CLASS(TstReportes)
#include "tst_reportes.moc"
