#include "platform/reports/reportsystem.h"

#include "platform/reports/renderers.h"
#include "platform/reports/setupdialog.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

namespace platform {

// ------------------------------------------------------------- printer device

PrinterDevice::PrinterDevice() {
    refresh();
}

PrinterDevice& PrinterDevice::instance() {
    static PrinterDevice device;
    return device;
}

void PrinterDevice::refresh() {
    const QString chosen = printerName();
    printers_ = Dialogs::instance().printers();
    index_ = -1;
    selectPrinter(chosen);
    if (index_ < 0)
        selectPrinter(Dialogs::instance().defaultPrinter());
    if (index_ < 0 && !printers_.isEmpty())
        index_ = 0;
}

void PrinterDevice::selectPrinter(const QString& name) {
    const int found = int(printers_.indexOf(name));
    if (found >= 0)
        index_ = found;
}

QString PrinterDevice::printerName() const {
    return valid() ? printers_[index_] : QString();
}

QString PrinterDevice::port() const {
    return valid() ? QPrinterInfo::printerInfo(printerName()).location() : QString();
}

bool PrinterDevice::setup(QWidget* parent) {
    if (!valid())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName());
    if (!Dialogs::instance().printerSetup(parent, printer))
        return false;
    selectPrinter(printer.printerName());
    return true;
}

// ------------------------------------------------------------- status window

class ReportSystem::StatusWindow : public QDialog {
public:
    StatusWindow(const QString& title, QWidget* parent)
        : QDialog(parent) {
        setObjectName(QStringLiteral("EstadoReporte"));
        setWindowTitle(title);
        setModal(false);
        label_ = new QLabel(this);
        label_->setObjectName(QStringLiteral("StatusLabel"));
        label_->setMinimumWidth(260);
        label_->setAlignment(Qt::AlignCenter);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label_);
    }
    void show(const QString& text) {
        label_->setText(text);
        if (!isVisible())
            QDialog::show();
        // Lets the window paint without taking clicks meant for the run.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QLabel* label_;
};

// ------------------------------------------------------------- report system

ReportSystem::ReportSystem(QObject* parent, const QString& name)
    : QObject(parent) {
    setObjectName(name);
}

void ReportSystem::execute(const Generator& generate) {
    PrinterDevice::instance().refresh();
    aborted = false;
    reportDest = defaultDest;
    if (systemSetups & AllowSetup)
        runSetup();
    if (aborted)
        return;
    std::unique_ptr<StatusWindow> status;
    if ((systemOptions & ShowStatus) && qobject_cast<QApplication*>(QCoreApplication::instance()))
        status = std::make_unique<StatusWindow>(titleStatus, QApplication::activeWindow());
    status_ = status.get();
    try {
        const ReportDocument document =
            generate([this](int page) { showStatus(statusGenerating, page); });
        if (status)
            status->hide();
        output(document);
    } catch (...) {
        status_ = nullptr;
        throw;
    }
    status_ = nullptr;
}

void ReportSystem::runSetup() {
    if (onOverrideSetup) {
        QDialog* form = nullptr;
        try {
            onOverrideSetup(SetupStep::Create, form);
            onOverrideSetup(SetupStep::Show, form);
            onOverrideSetup(SetupStep::Wait, form);
        } catch (...) {
            onOverrideSetup(SetupStep::Free, form);
            throw;
        }
        onOverrideSetup(SetupStep::Free, form);
        return;
    }
    ReportSetupDialog dialog(*this, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        aborted = true;
}

void ReportSystem::showStatus(const QString& format, int page) {
    lastStatus_ = QString(format).replace(QLatin1String("%p"), QString::number(page));
    if (status_)
        status_->show(lastStatus_);
    emit statusChanged(lastStatus_);
}

void ReportSystem::output(const ReportDocument& document) {
    switch (reportDest) {
    case Destination::Preview:
        preview(document);
        break;
    case Destination::Printer:
        print(document);
        break;
    case Destination::File:
        writeFile(document);
        break;
    }
}

void ReportSystem::preparePrinter(QPrinter& printer, const ReportDocument& document) const {
    const PrinterDevice& device = PrinterDevice::instance();
    if (device.valid())
        printer.setPrinterName(device.printerName());
    printer.setDocName(jobTitle.isEmpty() ? document.title : jobTitle);
    printer.setCopyCount(qMax(1, systemPrinter.copies));
    printer.setCollateCopies(systemPrinter.collate);
    switch (systemPrinter.duplex) {
    case Duplex::Simplex:
        printer.setDuplex(QPrinter::DuplexNone);
        break;
    case Duplex::Vertical:
        printer.setDuplex(QPrinter::DuplexLongSide);
        break;
    case Duplex::Horizontal:
        printer.setDuplex(QPrinter::DuplexShortSide);
        break;
    }
    printer.setFullPage(true);
    printer.setPageSize(document.layout.pageSize());
    printer.setPageOrientation(document.layout.orientation());
    printer.setPageMargins(QMarginsF(), QPageLayout::Point);
}

void ReportSystem::paintOn(QPrinter& printer, const ReportDocument& document, bool reportProgress) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("No se pudo imprimir en \"%1\"")
                              .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                      : printer.outputFileName()));
    painter.scale(printerScaleX / 100.0, printerScaleY / 100.0);
    std::function<void(int)> progress;
    if (reportProgress)
        progress = [this](int page) { showStatus(statusPrinting, page); };
    paintDocument(painter, printer, document, 0, -1, progress);
    painter.end();
}

void ReportSystem::print(const ReportDocument& document) {
    if (!PrinterDevice::instance().valid())
        throw ReportError(QStringLiteral("No hay impresoras instaladas."));
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, document);
    paintOn(printer, document, true);
}

void ReportSystem::preview(const ReportDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, document);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("VistaPreliminar"));
    dialog.setWindowTitle(titlePreview);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this, &document](QPrinter* target) { paintOn(*target, document, false); });
    if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) {
        widget->setZoomMode(QPrintPreviewWidget::CustomZoom);
        widget->setZoomFactor(previewZoom / 100.0);
    }
    if (previewMaximized)
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

void ReportSystem::writeFile(const ReportDocument& document) {
    if (outputFileName.trimmed().isEmpty())
        throw ReportError(QStringLiteral("No se indicó el archivo de salida del reporte."));
    if (doNativeOutput) {
        // The printer driver's output: on CUPS Qt hands the queue a PDF
        // stream; with an output file the same engine writes it there.
        {
            QFile probe(outputFileName);
            if (!probe.open(QIODevice::WriteOnly))
                throw ReportError(QStringLiteral("No se pudo escribir el archivo \"%1\": %2")
                                      .arg(outputFileName, probe.errorString()));
        }
        QPrinter printer(QPrinter::HighResolution);
        preparePrinter(printer, document);
        printer.setOutputFileName(outputFileName);
        paintOn(printer, document, true);
        return;
    }
    if (renderObject && Renderer::registered().contains(renderObject)) {
        renderObject->render(document, outputFileName);
        return;
    }
    saveSnapshot(document, outputFileName);
}

} // namespace platform
