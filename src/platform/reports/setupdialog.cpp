#include "platform/reports/setupdialog.h"

#include "platform/reports/renderers.h"
#include "platform/reports/reportsystem.h"
#include "platform/ui/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

namespace {

struct Format {
    QString name;
    QString pattern; // "*.pdf"
    Renderer* renderer = nullptr;
    bool native = false;
};

QList<Format> formats() {
    QList<Format> list{
        {QStringLiteral("Páginas del reporte (NDR)"), QStringLiteral("*.ndr")},
        {QStringLiteral("Salida de la impresora (PRN)"), QStringLiteral("*.prn"), nullptr, true}};
    for (Renderer* renderer : Renderer::registered())
        if (renderer->active)
            list.append({renderer->displayName, renderer->fileExtension, renderer});
    return list;
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

ReportSetupDialog::ReportSetupDialog(ReportSystem& system, QWidget* parent)
    : QDialog(parent)
    , system_(system) {
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(system.titleSetup);
    const int allowed = system.systemSetups;
    PrinterDevice& device = PrinterDevice::instance();

    printer_ = named(new QComboBox(this), "impresora");
    printer_->addItems(device.printers());
    printer_->setCurrentIndex(device.printerIndex());
    printer_->setEnabled(device.valid() && (allowed & ReportSystem::AllowPrinterSetup));
    copies_ = named(new QSpinBox(this), "copias");
    copies_->setRange(1, 999);
    copies_->setValue(qMax(1, system.systemPrinter.copies));
    collate_ = named(new QCheckBox(QStringLiteral("Intercalar"), this), "intercalar");
    collate_->setChecked(system.systemPrinter.collate);
    duplex_ = named(new QCheckBox(QStringLiteral("Doble cara"), this), "dobleCara");
    duplex_->setChecked(system.systemPrinter.duplex != ReportSystem::Duplex::Simplex);

    toPreview_ = named(new QRadioButton(QStringLiteral("&Vista preliminar"), this), "destinoVista");
    toPrinter_ = named(new QRadioButton(QStringLiteral("&Impresora"), this), "destinoImpresora");
    toFile_ = named(new QRadioButton(QStringLiteral("&Archivo"), this), "destinoArchivo");
    toPreview_->setEnabled(allowed & ReportSystem::AllowDestPreview);
    toPrinter_->setEnabled(device.valid() && (allowed & ReportSystem::AllowDestPrinter));
    toFile_->setEnabled(allowed & ReportSystem::AllowDestFile);
    switch (system.defaultDest) {
    case ReportSystem::Destination::Preview:
        toPreview_->setChecked(true);
        break;
    case ReportSystem::Destination::Printer:
        (toPrinter_->isEnabled() ? toPrinter_ : toPreview_)->setChecked(true);
        break;
    case ReportSystem::Destination::File:
        toFile_->setChecked(true);
        break;
    }

    fileName_ = named(new QLineEdit(this), "archivo");
    browse_ = named(new QToolButton(this), "examinar");
    browse_->setText(QStringLiteral("..."));
    format_ = named(new QComboBox(this), "formato");
    for (const Format& f : formats())
        format_->addItem(f.name);

    auto* printerBox = new QGroupBox(QStringLiteral("Impresora"), this);
    auto* printerForm = new QFormLayout(printerBox);
    printerForm->addRow(QStringLiteral("Nombre:"), printer_);
    printerForm->addRow(QStringLiteral("Copias:"), copies_);
    printerForm->addRow(collate_);
    printerForm->addRow(duplex_);

    auto* destinationBox = new QGroupBox(QStringLiteral("Destino"), this);
    auto* destination = new QVBoxLayout(destinationBox);
    destination->addWidget(toPreview_);
    destination->addWidget(toPrinter_);
    destination->addWidget(toFile_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse_);
    auto* fileForm = new QFormLayout;
    fileForm->addRow(QStringLiteral("Archivo:"), fileRow);
    fileForm->addRow(QStringLiteral("Formato:"), format_);
    destination->addLayout(fileForm);

    ok_ = named(new QToolButton(this), "aceptar");
    ok_->setText(QStringLiteral("Aceptar"));
    auto* cancel = named(new QToolButton(this), "cancelar");
    cancel->setText(QStringLiteral("Cancelar"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addWidget(destinationBox);
    layout->addLayout(buttons);

    for (QRadioButton* radio : {toPreview_, toPrinter_, toFile_})
        connect(radio, &QRadioButton::toggled, this, [this] { updateControls(); });
    connect(fileName_, &QLineEdit::textChanged, this, [this] { updateControls(); });
    connect(browse_, &QToolButton::clicked, this, [this] { browse(); });
    connect(ok_, &QToolButton::clicked, this, &ReportSetupDialog::accept);
    connect(cancel, &QToolButton::clicked, this, &ReportSetupDialog::reject);
    updateControls();
}

void ReportSetupDialog::updateControls() {
    const int allowed = system_.systemSetups;
    const bool printing = toPrinter_->isChecked();
    const bool file = toFile_->isChecked();
    copies_->setEnabled(printing && (allowed & ReportSystem::AllowCopies));
    collate_->setEnabled(printing && (allowed & ReportSystem::AllowCollate));
    duplex_->setEnabled(printing && (allowed & ReportSystem::AllowDuplex));
    fileName_->setEnabled(file);
    browse_->setEnabled(file);
    format_->setEnabled(file);
    ok_->setEnabled(!file || !fileName_->text().trimmed().isEmpty());
}

void ReportSetupDialog::browse() {
    const QList<Format> list = formats();
    QStringList filter;
    for (const Format& f : list)
        filter << f.name << f.pattern;
    Dialogs::SaveRequest request;
    request.fileName = fileName_->text();
    request.filter = filter.join(QLatin1Char('|'));
    request.filterIndex = format_->currentIndex() + 1;
    request.overwritePrompt = true;
    if (!Dialogs::instance().saveFile(this, request))
        return;
    fileName_->setText(request.fileName);
    if (request.filterIndex >= 1 && request.filterIndex <= list.size())
        format_->setCurrentIndex(request.filterIndex - 1);
}

void ReportSetupDialog::accept() {
    if (!ok_->isEnabled())
        return;
    PrinterDevice& device = PrinterDevice::instance();
    if (printer_->currentIndex() >= 0)
        device.selectPrinter(printer_->currentText());
    system_.systemPrinter.copies = copies_->value();
    system_.systemPrinter.collate = collate_->isChecked();
    system_.systemPrinter.duplex =
        duplex_->isChecked() ? ReportSystem::Duplex::Vertical : ReportSystem::Duplex::Simplex;
    system_.outputFileName.clear();
    system_.doNativeOutput = false;
    system_.renderObject = nullptr;
    if (toPrinter_->isChecked()) {
        system_.reportDest = ReportSystem::Destination::Printer;
    } else if (toPreview_->isChecked()) {
        system_.reportDest = ReportSystem::Destination::Preview;
    } else {
        const Format format = formats().value(format_->currentIndex());
        QString name = fileName_->text().trimmed();
        if (QFileInfo(name).suffix().isEmpty())
            name += format.pattern.mid(1);
        system_.reportDest = ReportSystem::Destination::File;
        system_.outputFileName = name;
        system_.doNativeOutput = format.native;
        system_.renderObject = format.renderer;
    }
    QDialog::accept();
}

} // namespace platform
