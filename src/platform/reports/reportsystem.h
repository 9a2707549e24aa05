#pragma once

#include "platform/reports/reportdocument.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace platform {

class Renderer;

// The printer device of the report engine: the installed printers (from
// the Dialogs service, read again at each run) and the one reports go to,
// the default at first.
class PrinterDevice {
public:
    static PrinterDevice& instance();

    // Reads the installed printers again, keeping the chosen one while it
    // is still installed, else choosing the default one.
    void refresh();
    const QStringList& printers() const { return printers_; }
    int printerIndex() const { return index_; }
    void selectPrinter(const QString& name);
    QString printerName() const;
    // Where the printer is attached: the queue's location as the print
    // system reports it (empty when it tells none).
    QString port() const;
    bool valid() const { return index_ >= 0; }
    // The operating system's printer setup for the chosen printer; the
    // printer chosen there becomes the device's printer.
    bool setup(QWidget* parent);

private:
    PrinterDevice();
    QStringList printers_;
    int index_ = -1;
};

// The report system: how a report run is set up, where it goes and what
// the run shows on the way (setup dialog, status window, preview).
class ReportSystem : public QObject {
    Q_OBJECT
public:
    enum Setup {
        AllowCopies = 0x01,
        AllowCollate = 0x02,
        AllowDuplex = 0x04,
        AllowDestPreview = 0x08,
        AllowDestPrinter = 0x10,
        AllowDestFile = 0x20,
        AllowPrinterSetup = 0x40,
        AllowSetup = 0x80,
        AllowAll = 0xFF,
    };
    enum class Destination { Preview, Printer, File };
    enum Option {
        UseFiler = 0x1, // pages are always generated before output; kept for the callers
        ShowStatus = 0x2,
        AllowPrintFromPreview = 0x4, // the preview always offers printing; kept for the callers
        PreviewModal = 0x8,          // the preview is always modal; kept for the callers
    };
    enum class Duplex { Simplex, Vertical, Horizontal };
    enum class SetupStep { Create, Show, Wait, Free };

    struct PrinterSettings {
        int copies = 1;
        bool collate = false;
        Duplex duplex = Duplex::Simplex;
    };

    explicit ReportSystem(QObject* parent, const QString& name = QStringLiteral("RvSystem"));

    int systemSetups = AllowAll;
    Destination defaultDest = Destination::Preview;
    // What the setup chose for this run.
    Destination reportDest = Destination::Preview;
    QString outputFileName;
    bool doNativeOutput = false;      // the printer driver's output to the file
    Renderer* renderObject = nullptr; // none: the page snapshot
    PrinterSettings systemPrinter;
    bool aborted = false;

    int systemOptions = UseFiler | ShowStatus | AllowPrintFromPreview | PreviewModal;
    QString titleSetup = QStringLiteral("Opciones de impresión");
    QString titleStatus = QStringLiteral("Estado");
    QString titlePreview = QStringLiteral("Vista preliminar");
    QString statusGenerating = QStringLiteral("Generando página %p"); // %p: page number
    QString statusPrinting = QStringLiteral("Imprimiendo página %p");
    QString jobTitle;
    bool previewMaximized = true;
    int previewZoom = 100;      // percent
    double printerScaleX = 100; // percent
    double printerScaleY = 100;
    double unitsFactor = 1;

    // Replaces the default setup dialog. Called with create, show, wait and
    // free in that order (free also after an error); the handler hands its
    // dialog back through the reference and sets `aborted` when cancelled.
    std::function<void(SetupStep step, QDialog*& form)> onOverrideSetup;

    using Generator = std::function<ReportDocument(const std::function<void(int page)>& progress)>;
    // One run: setup dialog (when allowed), generation of the pages with the
    // status window, then preview, printer or file as chosen. An aborted
    // run produces nothing.
    void execute(const Generator& generate);

    // Output of generated pages to the chosen destination.
    void output(const ReportDocument& document);
    void print(const ReportDocument& document);
    void preview(const ReportDocument& document);
    void writeFile(const ReportDocument& document);

    // The last status text shown during a run.
    QString lastStatus() const { return lastStatus_; }

signals:
    void statusChanged(const QString& text);

private:
    void runSetup();
    void showStatus(const QString& format, int page);
    void preparePrinter(QPrinter& printer, const ReportDocument& document) const;
    void paintOn(QPrinter& printer, const ReportDocument& document, bool reportProgress);

    class StatusWindow;
    StatusWindow* status_ = nullptr;
    QString lastStatus_;
};

} // namespace platform
