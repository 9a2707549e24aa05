#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The private CUPS scheduler of a test program (tests/support/cupsserver).
//
// The first call of instancia() starts a scheduler of this program's own in a
// temporary folder and points the program's CUPS client at its socket
// (CUPS_SERVER, and libcups's cached server), so QPrinterInfo, QPrinter and
// Dialogs::printers() see its queues and nothing else. It is stopped when
// the program ends (or, should it crash, soon after). Call it before the
// printers matter, e.g. in
// initTestCase():
//
//     ServidorCups& cups = ServidorCups::instancia();
//     QCOMPARE(QPrinterInfo::availablePrinterNames(), cups.colas());
//
//     const QStringList antes = cups.pdfs();
//     QPrinter printer;
//     printer.setPrinterName(cups.colaPdf());
//     ... paint the pages with QPainter on `printer` ...
//     const QString pdf = cups.esperarPdf(antes); // path of the new PDF
//
// The queues: "Contabilidad" and "Recepcion" (the default) discard what they
// get; "PDF" writes every job as a PDF file into carpetaPdf().
class ServidorCups {
public:
    static ServidorCups& instancia();

    // The scheduler's socket (the value of CUPS_SERVER).
    QString socket() const;
    // The queue names in the scheduler's order, as lpstat lists them.
    QStringList colas() const;
    QString colaPdf() const { return QStringLiteral("PDF"); }
    QString colaPredeterminada() const { return QStringLiteral("Recepcion"); }
    // The folder the PDF queue writes to, and the PDF files in it now.
    QString carpetaPdf() const;
    QStringList pdfs() const;
    // Waits (processing events) for a PDF file not among `antes` to be
    // complete; returns its path, or an empty text after `ms` milliseconds.
    QString esperarPdf(const QStringList& antes, int ms = 60000) const;
    // Waits until the scheduler holds no pending job.
    bool esperarColas(int ms = 60000) const;

    ~ServidorCups();

private:
    ServidorCups();
    std::unique_ptr<QTemporaryDir> carpeta_;
};

// While alive, the program's CUPS client reaches no scheduler: as far as
// Qt and the platform can tell, no printer is installed.
class SinImpresoras {
public:
    SinImpresoras();
    ~SinImpresoras();
    SinImpresoras(const SinImpresoras&) = delete;
    SinImpresoras& operator=(const SinImpresoras&) = delete;

private:
    QByteArray antes_;
    QTemporaryDir vacia_;
};
