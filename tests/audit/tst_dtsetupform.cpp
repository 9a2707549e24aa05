// The print-options dialog against the printers of the test run's CUPS
// scheduler: what it shows and what its confirmation writes into the
// report system.
#include "audit/dtformsetup.h"
#include "platform/reports/renderers.h"
#include "support/cups.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using platform::PrinterDevice;
using platform::ReportSystem;
using Destino = ReportSystem::Destination;
using Duplex = ReportSystem::Duplex;

Q_DECLARE_METATYPE(Destino)
Q_DECLARE_METATYPE(Duplex)

class TstDtSetupForm : public QObject {
    Q_OBJECT
    QWidget ventana;
    ReportSystem* sistema = nullptr;
    platform::PdfRenderer* pdf = nullptr;
    platform::TextRenderer* texto = nullptr;

    // Runs the installer's steps with `accion` acting on the open dialog.
    void mostrar(const std::function<void(TdtSetupForm*)>& accion) {
        QDialog* forma = nullptr;
        TdtSetupForm::instalar(sistema, ReportSystem::SetupStep::Create, forma);
        QCOMPARE(forma->windowTitle(), QStringLiteral("Opciones"));
        QCOMPARE(forma->parent(), nullptr);
        bool actuo = false;
        alAbrirModal(QStringLiteral("dtSetupForm"), [&](QWidget* w) {
            accion(static_cast<TdtSetupForm*>(w));
            actuo = true;
            if (w->isVisible()) // the action left it open: as Esc would
                static_cast<QDialog*>(w)->reject();
        });
        TdtSetupForm::instalar(sistema, ReportSystem::SetupStep::Show, forma);
        TdtSetupForm::instalar(sistema, ReportSystem::SetupStep::Wait, forma);
        TdtSetupForm::instalar(sistema, ReportSystem::SetupStep::Free, forma);
        QVERIFY(actuo);
        QCOMPARE(forma, nullptr);
    }

private slots:
    void initTestCase() {
        ServidorCups::instancia();
        PrinterDevice::instance().refresh();
        sistema = new ReportSystem(&ventana, QStringLiteral("RvSystem1"));
        sistema->titleSetup = QStringLiteral("Opciones");
        pdf = new platform::PdfRenderer(&ventana, QStringLiteral("RvRenderPDF1"));
        texto = new platform::TextRenderer(&ventana, QStringLiteral("RvRenderText1"));
    }

    void reglasDeLaConfirmacion_data() {
        QTest::addColumn<bool>("sinImpresora");
        QTest::addColumn<QString>("destino"); // radio to press: PrinterRB, PreviewRB, FileRB
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QString>("copias");
        QTest::addColumn<bool>("intercalar");
        QTest::addColumn<bool>("duplex");
        QTest::addColumn<Duplex>("duplexAntes");
        // Expected.
        QTest::addColumn<QString>("apagados"); // controls disabled once shown
        QTest::addColumn<bool>("aceptado");
        QTest::addColumn<Destino>("destinoFinal");
        QTest::addColumn<QString>("archivoFinal");
        QTest::addColumn<bool>("nativo");
        QTest::addColumn<QString>("renderizador");
        QTest::addColumn<int>("copiasFinal");
        QTest::addColumn<bool>("intercaladoFinal");
        QTest::addColumn<Duplex>("duplexFinal");

        const QString pdf = QStringLiteral("Adobe Acrobat (PDF)");
        const QString ndr = QStringLiteral("Rave Snapshot File (NDR)");
        const QString prn = QStringLiteral("Native Printer Output (PRN)");
        const QString txt = QStringLiteral("Texto plano (TXT)");
        const Duplex S = Duplex::Simplex, V = Duplex::Vertical, H = Duplex::Horizontal;

        // No printer: only the preview, nothing of the printer's own.
        QTest::newRow("sin impresora")
            << true << ""
            << ""
            << ""
            << "" << false << false << S
            << "PrinterRB,FileRB,CopiesED,CopiesLabel,CollateCK,DuplexCK,SetupBB" << true
            << Destino::Preview << "" << false << "" << 2 << false << S;
        QTest::newRow("impresora") << false << "PrinterRB"
                                   << ""
                                   << ""
                                   << "3" << true << false << S << "" << true << Destino::Printer
                                   << "" << false << "" << 3 << true << S;
        QTest::newRow("archivo sin punto, instantánea")
            << false << "FileRB"
            << "informe" << ndr << "2" << false << false << S << "" << true << Destino::File
            << "informe.ndr" << false << "" << 2 << false << S;
        QTest::newRow("archivo sin punto, salida nativa")
            << false << "FileRB"
            << "informe" << prn << "2" << false << false << S << "" << true << Destino::File
            << "informe.prn" << true << "" << 2 << false << S;
        QTest::newRow("entrada PDF")
            << false << "FileRB"
            << "informe" << pdf << "2" << false << false << S << "" << true << Destino::File
            << "informe.pdf" << false << "RvRenderPDF1" << 2 << false << S;
        QTest::newRow("entrada texto")
            << false << "FileRB"
            << " informe " << txt << "2" << false << false << S << "" << true << Destino::File
            << "informe.txt" << false << "RvRenderText1" << 2 << false << S;
        QTest::newRow("punto en la carpeta")
            << false << "FileRB"
            << "/datos/v1.2/informe" << pdf << "2" << false << false << S << "" << true
            << Destino::File << "/datos/v1.2/informe" << false << "RvRenderPDF1" << 2 << false << S;
        QTest::newRow("nombre con punto")
            << false << "FileRB"
            << "  informe.final  " << prn << "2" << false << false << S << "" << true
            << Destino::File << "informe.final" << true << "" << 2 << false << S;
        QTest::newRow("nombre en blanco: OK apagado")
            << false << "FileRB"
            << "   " << pdf << "2" << false << false << S << "" << false << Destino::Preview << ""
            << false << "" << 2 << false << S;
        QTest::newRow("copias vacías no cambian")
            << false << "PrinterRB"
            << ""
            << ""
            << "" << false << false << S << "" << true << Destino::Printer << "" << false << "" << 2
            << false << S;
        QTest::newRow("cero copias no cambian")
            << false << "PrinterRB"
            << ""
            << ""
            << "0" << false << false << S << "" << true << Destino::Printer << "" << false << ""
            << 2 << false << S;
        QTest::newRow("duplex sobre simplex: vertical")
            << false << "PrinterRB"
            << ""
            << ""
            << "2" << false << true << S << "" << true << Destino::Printer << "" << false << "" << 2
            << false << V;
        QTest::newRow("duplex horizontal se conserva")
            << false << "PrinterRB"
            << ""
            << ""
            << "2" << false << true << H << "" << true << Destino::Printer << "" << false << "" << 2
            << false << H;
        QTest::newRow("sin duplex: simplex")
            << false << "PrinterRB"
            << ""
            << ""
            << "2" << false << false << V << "" << true << Destino::Printer << "" << false << ""
            << 2 << false << S;
        // Disabled for the preview, yet written back.
        QTest::newRow("vista preliminar escribe copias, intercalado y duplex")
            << false << "PreviewRB"
            << ""
            << ""
            << "4" << true << true << S
            << "CopiesED,CollateCK,DuplexCK,editFileName,FileNameSB,cboxFormat" << true
            << Destino::Preview << "" << false << "" << 4 << true << V;
    }

    void reglasDeLaConfirmacion() {
        QFETCH(bool, sinImpresora);
        QFETCH(QString, destino);
        QFETCH(QString, archivo);
        QFETCH(QString, formato);
        QFETCH(QString, copias);
        QFETCH(bool, intercalar);
        QFETCH(bool, duplex);
        QFETCH(Duplex, duplexAntes);
        QFETCH(QString, apagados);
        QFETCH(bool, aceptado);

        std::unique_ptr<SinImpresoras> ninguna;
        if (sinImpresora)
            ninguna = std::make_unique<SinImpresoras>();
        PrinterDevice::instance().refresh();
        sistema->systemSetups = ReportSystem::AllowAll;
        sistema->defaultDest = Destino::Printer;
        sistema->reportDest = Destino::Preview;
        sistema->outputFileName = QStringLiteral("antes");
        sistema->doNativeOutput = false;
        sistema->renderObject = nullptr;
        sistema->aborted = false;
        sistema->systemPrinter = {2, false, duplexAntes};

        QStringList apagadosVistos;
        QString etiqueta;
        bool okEncendido = false;
        mostrar([&](TdtSetupForm* d) {
            etiqueta = d->PrinterLabel->text();
            if (!destino.isEmpty())
                d->findChild<QRadioButton*>(destino)->click();
            for (const QString& nombre : apagados.split(',', Qt::SkipEmptyParts))
                if (!d->findChild<QWidget*>(nombre)->isEnabled())
                    apagadosVistos << nombre;
            if (!archivo.isEmpty())
                d->editFileName->setText(archivo);
            if (!formato.isEmpty())
                d->cboxFormat->setCurrentIndex(d->cboxFormat->findText(formato));
            d->CopiesED->setText(copias);
            d->CollateCK->setChecked(intercalar);
            d->DuplexCK->setChecked(duplex);
            okEncendido = d->bbtnOK->isEnabled();
            d->bbtnOK->click();
        });
        ninguna.reset();
        PrinterDevice::instance().refresh();

        QCOMPARE(apagadosVistos.join(','), apagados);
        QCOMPARE(etiqueta, sinImpresora ? QStringLiteral("No hay impresoras instaladas!")
                                        : ServidorCups::instancia().colaPredeterminada());
        QCOMPARE(okEncendido, aceptado);
        QCOMPARE(sistema->aborted, !aceptado);
        if (!aceptado)
            return;
        QTEST(sistema->reportDest, "destinoFinal");
        QString archivoFinal = sistema->outputFileName;
        QTEST(archivoFinal, "archivoFinal");
        QTEST(sistema->doNativeOutput, "nativo");
        const QString renderizador =
            sistema->renderObject ? sistema->renderObject->objectName() : QString();
        QTEST(renderizador, "renderizador");
        QTEST(sistema->systemPrinter.copies, "copiasFinal");
        QTEST(sistema->systemPrinter.collate, "intercaladoFinal");
        QTEST(sistema->systemPrinter.duplex, "duplexFinal");
    }

    // The browse button offers the formats in the list's order and picks
    // the format of the filter entry chosen there.
    void examinarEligeElFormato() {
        FakeDialogs& dialogos = FakeDialogs::actual();
        dialogos.pedidosGuardar.clear();
        dialogos.guardar.enqueue({QStringLiteral("/tmp/salida"), 3});
        sistema->defaultDest = Destino::File;
        int formato = -1;
        QString nombre;
        mostrar([&](TdtSetupForm* d) {
            QVERIFY(d->editFileName->isEnabled());
            QVERIFY(!d->bbtnOK->isEnabled());
            d->FileNameSB->click();
            formato = d->cboxFormat->currentIndex();
            nombre = d->editFileName->text();
            d->bbtnOK->click();
        });
        QCOMPARE(dialogos.pedidosGuardar.size(), 1);
        const auto& pedido = dialogos.pedidosGuardar.first();
        QVERIFY(pedido.filter.startsWith(
            QStringLiteral("Rave Snapshot File (NDR)|*.NDR|Native Printer Output (PRN)|*.PRN|")));
        QVERIFY(pedido.filter.contains(QStringLiteral("Adobe Acrobat (PDF)|*.pdf")));
        QCOMPARE(pedido.defaultSuffix, QStringLiteral("ndr"));
        QVERIFY(pedido.overwritePrompt);
        QCOMPARE(nombre, QStringLiteral("/tmp/salida"));
        QCOMPARE(formato, 2);
        QVERIFY(sistema->renderObject);
        QCOMPARE(sistema->outputFileName,
                 QStringLiteral("/tmp/salida") + sistema->renderObject->fileExtension.mid(1));
    }

    void cancelarAbortaLaCorrida() {
        sistema->aborted = false;
        mostrar([](TdtSetupForm* d) { d->BitBtn1->click(); });
        QVERIFY(sistema->aborted);
    }
};

TEST_CLASS(TstDtSetupForm)
#include "tst_dtsetupform.moc"
