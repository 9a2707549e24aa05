#pragma once

#include "platform/reports/reportsystem.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace platform {
class Renderer;
}

// The system's print-options dialog for reports: printer, copies,
// collation, duplex and the destination (printer, preview or a file in one
// of the formats of the report engine). Report windows put it in place of
// the engine's setup dialog through the report system's setup hook.
class TdtSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TdtSetupForm(QWidget* owner);

    // The report system the dialog reads and writes, handed over by the installer.
    platform::ReportSystem* ReportSystem = nullptr;
    // False: the destination mode, the only one reports use before a run.
    bool PreviewSetup = false;

    // The setup hook of a report window: create, show, wait, free.
    static void instalar(platform::ReportSystem* sistema, platform::ReportSystem::SetupStep paso,
                         QDialog*& forma);

    QLabel* PrinterLabel;
    QToolButton* SetupBB;
    QLabel* CopiesLabel;
    QLineEdit* CopiesED;
    QCheckBox* CollateCK;
    QCheckBox* DuplexCK;
    QRadioButton* PrinterRB;
    QRadioButton* PreviewRB;
    QRadioButton* FileRB;
    QLineEdit* editFileName;
    QToolButton* FileNameSB;
    QComboBox* cboxFormat;
    QToolButton* bbtnOK;
    QToolButton* BitBtn1;

    void FormShow();
    void PrinterRBClick();
    void PreviewRBClick();
    void FileRBClick();
    void editFileNameChange();
    void FileNameSBClick();
    void cboxFormatChange();
    void SetupBBClick();
    void bbtnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void reglaDeOK();
    void actualizarImpresora();
    bool permite(int opcion) const;

    // The save dialog's settings (dlogSave): its filter is built at show time.
    QString filtroGuardar_;
    int entradaGuardar_ = 1;
    QList<platform::Renderer*> renderizadores_; // format entries 2 and on
};
