// The printers the platform lists and prints to are the test run's own CUPS
// scheduler: its queues, and real PDF output from its cups-pdf queue.
#include "platform/ui/dialogs.h"
#include "support/cups.h"
#include "support/testmain.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTest>

class TstCups : public QObject {
    Q_OBJECT

    static QString pdftotext(const QString& pdf) {
        QProcess proceso;
        proceso.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        proceso.waitForFinished(30000);
        return QString::fromUtf8(proceso.readAllStandardOutput());
    }

private slots:
    void initTestCase() { ServidorCups::instancia(); }

    void laListaDeImpresorasEsLaDelPlanificador() {
        ServidorCups& cups = ServidorCups::instancia();
        const QStringList colas = cups.colas();
        QCOMPARE(colas, QStringList({"Contabilidad", "PDF", "Recepcion"}));
        QCOMPARE(QPrinterInfo::availablePrinterNames(), colas);
        QCOMPARE(platform::Dialogs::instance().printers(), colas);
        QCOMPARE(QPrinterInfo::defaultPrinterName(), cups.colaPredeterminada());
    }

    void imprimirEnLaColaPdfEscribeUnPdf() {
        ServidorCups& cups = ServidorCups::instancia();
        const QStringList antes = cups.pdfs();
        QPrinter printer;
        printer.setPrinterName(cups.colaPdf());
        QVERIFY(printer.isValid());
        printer.setDocName(QStringLiteral("prueba"));
        {
            QPainter painter;
            QVERIFY(painter.begin(&printer));
            painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 24));
            painter.drawText(QPointF(100, 200), QStringLiteral("Pagina de prueba"));
            painter.end();
        }
        const QString pdf = cups.esperarPdf(antes);
        QVERIFY2(!pdf.isEmpty(), "the PDF queue wrote no file");
        QVERIFY(pdftotext(pdf).contains(QStringLiteral("Pagina de prueba")));
    }
};

TEST_CLASS(TstCups)
#include "tst_cups.moc"
