#include "audit/dtformsetup.h"

#include "platform/reports/renderers.h"
#include "platform/ui/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using platform::PrinterDevice;
using platform::Renderer;
using Sistema = platform::ReportSystem;

namespace {

template <typename T> T* control(T* widget, const char* nombre) {
    widget->setObjectName(QLatin1String(nombre));
    return widget;
}

QToolButton* boton(QWidget* padre, const char* nombre, const QString& texto) {
    auto* b = control(new QToolButton(padre), nombre);
    b->setText(texto);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumWidth(80);
    return b;
}

} // namespace

TdtSetupForm::TdtSetupForm(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("dtSetupForm"));
    setWindowTitle(QStringLiteral("Opciones de impresión"));

    auto* grupoImpresora =
        control(new QGroupBox(QStringLiteral("Impresora seleccionada"), this), "GroupBox1");
    PrinterLabel = control(new QLabel(grupoImpresora), "PrinterLabel");
    PrinterLabel->setMinimumWidth(260);
    SetupBB = boton(grupoImpresora, "SetupBB", QStringLiteral("Configurar"));
    auto* filaImpresora = new QHBoxLayout(grupoImpresora);
    filaImpresora->addWidget(PrinterLabel, 1);
    filaImpresora->addWidget(SetupBB);

    auto* grupoOpciones = control(new QGroupBox(QStringLiteral("Opciones "), this), "GroupBox2");
    CopiesLabel = control(new QLabel(QStringLiteral("&Copias"), grupoOpciones), "CopiesLabel");
    CopiesED = control(new QLineEdit(grupoOpciones), "CopiesED");
    CopiesED->setMaximumWidth(60);
    // Digits only, as the key filter of the dialog lets through.
    CopiesED->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), CopiesED));
    CopiesLabel->setBuddy(CopiesED);
    CollateCK = control(new QCheckBox(QStringLiteral("in&tercalar"), grupoOpciones), "CollateCK");
    DuplexCK = control(new QCheckBox(QStringLiteral("&Duplex"), grupoOpciones), "DuplexCK");
    auto* opciones = new QGridLayout(grupoOpciones);
    opciones->addWidget(CopiesLabel, 0, 0);
    opciones->addWidget(CopiesED, 0, 1);
    opciones->addWidget(CollateCK, 1, 0, 1, 2);
    opciones->addWidget(DuplexCK, 2, 0, 1, 2);

    auto* grupoDestino =
        control(new QGroupBox(QStringLiteral("Destino del reporte "), this), "GroupBox3");
    PrinterRB = control(new QRadioButton(QStringLiteral("&Impresora"), grupoDestino), "PrinterRB");
    PreviewRB =
        control(new QRadioButton(QStringLiteral("&Vista preliminar"), grupoDestino), "PreviewRB");
    FileRB = control(new QRadioButton(QStringLiteral("&Archivo"), grupoDestino), "FileRB");
    editFileName = control(new QLineEdit(grupoDestino), "editFileName");
    FileNameSB = boton(grupoDestino, "FileNameSB", QStringLiteral("..."));
    FileNameSB->setMinimumWidth(0);
    auto* etiquetaFormato = new QLabel(QStringLiteral("Formato:"), grupoDestino);
    cboxFormat = control(new QComboBox(grupoDestino), "cboxFormat");
    auto* destino = new QGridLayout(grupoDestino);
    destino->addWidget(PrinterRB, 0, 0, 1, 3);
    destino->addWidget(PreviewRB, 1, 0, 1, 3);
    destino->addWidget(FileRB, 2, 0);
    destino->addWidget(editFileName, 2, 1);
    destino->addWidget(FileNameSB, 2, 2);
    destino->addWidget(etiquetaFormato, 3, 0);
    destino->addWidget(cboxFormat, 3, 1, 1, 2);

    bbtnOK = boton(this, "bbtnOK", QStringLiteral("OK"));
    BitBtn1 = boton(this, "BitBtn1", QStringLiteral("Cancelar"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(bbtnOK);
    botones->addWidget(BitBtn1);

    auto* columnaIzquierda = new QVBoxLayout;
    columnaIzquierda->addWidget(grupoImpresora);
    columnaIzquierda->addWidget(grupoDestino);
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(columnaIzquierda, 1);
    arriba->addWidget(grupoOpciones, 0, Qt::AlignTop);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addLayout(botones);
    todo->setSizeConstraint(QLayout::SetFixedSize);

    connect(PrinterRB, &QRadioButton::clicked, this, &TdtSetupForm::PrinterRBClick);
    connect(PreviewRB, &QRadioButton::clicked, this, &TdtSetupForm::PreviewRBClick);
    connect(FileRB, &QRadioButton::clicked, this, &TdtSetupForm::FileRBClick);
    connect(editFileName, &QLineEdit::textChanged, this, &TdtSetupForm::editFileNameChange);
    connect(FileNameSB, &QToolButton::clicked, this, &TdtSetupForm::FileNameSBClick);
    connect(cboxFormat, &QComboBox::activated, this, &TdtSetupForm::cboxFormatChange);
    connect(SetupBB, &QToolButton::clicked, this, &TdtSetupForm::SetupBBClick);
    connect(bbtnOK, &QToolButton::clicked, this, &TdtSetupForm::bbtnOKClick);
    connect(BitBtn1, &QToolButton::clicked, this, &TdtSetupForm::reject);
    FormCreate();
}

void TdtSetupForm::instalar(platform::ReportSystem* sistema, Sistema::SetupStep paso,
                            QDialog*& forma) {
    switch (paso) {
    case Sistema::SetupStep::Create: {
        auto* dialogo = new TdtSetupForm(nullptr);
        forma = dialogo;
        dialogo->setWindowTitle(sistema->titleSetup);
        dialogo->ReportSystem = sistema;
        break;
    }
    case Sistema::SetupStep::Show: {
        auto* dialogo = static_cast<TdtSetupForm*>(forma);
        dialogo->PreviewSetup = false;
        if (dialogo->exec() == QDialog::Rejected)
            sistema->aborted = true;
        break;
    }
    case Sistema::SetupStep::Wait:
        break;
    case Sistema::SetupStep::Free:
        delete forma;
        forma = nullptr;
        break;
    }
}

void TdtSetupForm::FormCreate() {
    editFileName->setEnabled(false);
    FileNameSB->setEnabled(false);
}

bool TdtSetupForm::permite(int opcion) const {
    return ReportSystem && (ReportSystem->systemSetups & opcion);
}

void TdtSetupForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
    // Once the dialog is active the focus is on OK.
    QTimer::singleShot(0, bbtnOK, [this] { bbtnOK->setFocus(); });
}

void TdtSetupForm::actualizarImpresora() {
    const PrinterDevice& dispositivo = PrinterDevice::instance();
    if (dispositivo.printers().isEmpty()) {
        PrinterLabel->setText(QStringLiteral("No hay impresoras instaladas!"));
        return;
    }
    const QString puerto = dispositivo.port();
    PrinterLabel->setText(puerto.isEmpty()
                              ? dispositivo.printerName()
                              : QStringLiteral("%1 en %2").arg(dispositivo.printerName(), puerto));
}

void TdtSetupForm::FormShow() {
    // 1. Formats and the save dialog's filter, in the same order.
    const int formato = cboxFormat->currentIndex();
    cboxFormat->clear();
    renderizadores_.clear();
    QStringList filtro{QStringLiteral("Rave Snapshot File (NDR)"), QStringLiteral("*.NDR"),
                       QStringLiteral("Native Printer Output (PRN)"), QStringLiteral("*.PRN")};
    cboxFormat->addItem(filtro[0]);
    cboxFormat->addItem(filtro[2]);
    for (Renderer* renderizador : Renderer::registered()) {
        if (!renderizador->active)
            continue;
        renderizadores_ << renderizador;
        cboxFormat->addItem(renderizador->displayName);
        filtro << renderizador->displayName << renderizador->fileExtension;
    }
    filtroGuardar_ = filtro.join(QLatin1Char('|'));

    // 2. The printer.
    actualizarImpresora();

    // 3. A format is always chosen.
    cboxFormat->setCurrentIndex(formato >= 0 && formato < cboxFormat->count() ? formato : 0);

    // 4. Destinations.
    const PrinterDevice& dispositivo = PrinterDevice::instance();
    const bool hayImpresora = dispositivo.valid();
    if (!hayImpresora) {
        PrinterRB->setEnabled(false);
        FileRB->setEnabled(false);
        if (permite(Sistema::AllowDestPreview)) {
            PreviewRB->setChecked(true);
            PreviewRBClick();
        } else {
            PreviewRB->setEnabled(false);
        }
    } else {
        PrinterRB->setEnabled(permite(Sistema::AllowDestPrinter));
        PreviewRB->setEnabled(permite(Sistema::AllowDestPreview));
        FileRB->setEnabled(permite(Sistema::AllowDestFile));
        switch (ReportSystem ? ReportSystem->defaultDest : Sistema::Destination::Preview) {
        case Sistema::Destination::Printer:
            PrinterRB->setChecked(true);
            PrinterRBClick();
            break;
        case Sistema::Destination::Preview:
            PreviewRB->setChecked(true);
            PreviewRBClick();
            break;
        case Sistema::Destination::File:
            FileRB->setChecked(true);
            FileRBClick();
            break;
        }
    }

    // 5. Copies, collation and duplex.
    const int copias = ReportSystem ? ReportSystem->systemPrinter.copies : 1;
    if (!hayImpresora) {
        for (QWidget* w : {static_cast<QWidget*>(CollateCK), static_cast<QWidget*>(CopiesED),
                           static_cast<QWidget*>(CopiesLabel), static_cast<QWidget*>(DuplexCK),
                           static_cast<QWidget*>(SetupBB)})
            w->setEnabled(false);
    } else {
        if (!permite(Sistema::AllowCollate))
            CollateCK->setEnabled(false);
        if (!permite(Sistema::AllowCopies)) {
            CopiesED->setEnabled(false);
            CopiesLabel->setEnabled(false);
        }
        if (!permite(Sistema::AllowDuplex))
            DuplexCK->setEnabled(false);
        if (!permite(Sistema::AllowPrinterSetup))
            SetupBB->setEnabled(false);
    }
    CopiesED->setText(QString::number(copias));
    CollateCK->setChecked(false);
    DuplexCK->setChecked(false);
}

void TdtSetupForm::PrinterRBClick() {
    editFileName->setEnabled(false);
    FileNameSB->setEnabled(false);
    cboxFormat->setEnabled(false);
    bbtnOK->setEnabled(true);
    SetupBB->setEnabled(permite(Sistema::AllowPrinterSetup));
    CopiesED->setEnabled(permite(Sistema::AllowCopies));
    CopiesLabel->setEnabled(permite(Sistema::AllowCopies));
    CollateCK->setEnabled(permite(Sistema::AllowCollate));
    DuplexCK->setEnabled(permite(Sistema::AllowDuplex));
}

void TdtSetupForm::PreviewRBClick() {
    editFileName->setEnabled(false);
    FileNameSB->setEnabled(false);
    cboxFormat->setEnabled(false);
    bbtnOK->setEnabled(true);
    SetupBB->setEnabled(PrinterDevice::instance().valid() && permite(Sistema::AllowPrinterSetup));
    CopiesED->setEnabled(false);
    CopiesLabel->setEnabled(false);
    CollateCK->setEnabled(false);
    DuplexCK->setEnabled(false);
}

void TdtSetupForm::FileRBClick() {
    editFileName->setEnabled(true);
    FileNameSB->setEnabled(true);
    cboxFormat->setEnabled(true);
    SetupBB->setEnabled(false);
    reglaDeOK();
}

void TdtSetupForm::reglaDeOK() {
    bbtnOK->setEnabled(!editFileName->text().trimmed().isEmpty());
}

void TdtSetupForm::editFileNameChange() {
    if (FileRB->isChecked())
        reglaDeOK();
}

void TdtSetupForm::FileNameSBClick() {
    platform::Dialogs::SaveRequest dlogSave;
    dlogSave.fileName = editFileName->text();
    dlogSave.filter = filtroGuardar_;
    dlogSave.filterIndex = entradaGuardar_;
    dlogSave.defaultSuffix = QStringLiteral("ndr");
    dlogSave.overwritePrompt = true;
    if (!platform::Dialogs::instance().saveFile(this, dlogSave))
        return;
    editFileName->setText(dlogSave.fileName);
    entradaGuardar_ = dlogSave.filterIndex;
    if (dlogSave.filterIndex >= 1 && dlogSave.filterIndex <= cboxFormat->count())
        cboxFormat->setCurrentIndex(dlogSave.filterIndex - 1);
}

void TdtSetupForm::cboxFormatChange() {
    entradaGuardar_ = cboxFormat->currentIndex() + 1;
}

void TdtSetupForm::SetupBBClick() {
    PrinterDevice::instance().setup(this);
    actualizarImpresora();
}

void TdtSetupForm::bbtnOKClick() {
    if (!PreviewSetup && ReportSystem) {
        Sistema& sistema = *ReportSystem;
        if (PrinterRB->isChecked()) {
            sistema.reportDest = Sistema::Destination::Printer;
            sistema.outputFileName.clear();
        } else if (PreviewRB->isChecked()) {
            sistema.reportDest = Sistema::Destination::Preview;
            sistema.outputFileName.clear();
        } else {
            sistema.reportDest = Sistema::Destination::File;
            QString nombre = editFileName->text().trimmed();
            const int entrada = cboxFormat->currentIndex();
            const bool sinPunto = !nombre.contains(QLatin1Char('.'));
            if (entrada <= 0) {
                sistema.doNativeOutput = false;
                sistema.renderObject = nullptr;
                if (sinPunto)
                    nombre += QStringLiteral(".ndr");
            } else if (entrada == 1) {
                sistema.doNativeOutput = true;
                sistema.renderObject = nullptr;
                if (sinPunto)
                    nombre += QStringLiteral(".prn");
            } else {
                Renderer* renderizador = renderizadores_.value(entrada - 2);
                sistema.doNativeOutput = false;
                sistema.renderObject = renderizador;
                if (sinPunto && renderizador)
                    nombre += renderizador->fileExtension.mid(1);
            }
            sistema.outputFileName = nombre;
        }
        // Only a usable number of copies replaces the printer's.
        if (permite(Sistema::AllowCopies)) {
            bool valido = false;
            const int copias = CopiesED->text().toInt(&valido);
            if (valido && copias >= 1)
                sistema.systemPrinter.copies = copias;
        }
        if (permite(Sistema::AllowCollate))
            sistema.systemPrinter.collate = CollateCK->isChecked();
        if (permite(Sistema::AllowDuplex)) {
            if (!DuplexCK->isChecked())
                sistema.systemPrinter.duplex = Sistema::Duplex::Simplex;
            else if (sistema.systemPrinter.duplex == Sistema::Duplex::Simplex)
                sistema.systemPrinter.duplex = Sistema::Duplex::Vertical;
        }
    }
    accept();
}
