#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace platform {

class ReportSystem;

// The report engine's own setup dialog, shown before a report when no
// window installs its own: printer, copies, destination and file format.
// Captioned with the report system's setup title.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    ReportSetupDialog(ReportSystem& system, QWidget* parent = nullptr);

    void accept() override;

private:
    void updateControls();
    void browse();

    ReportSystem& system_;
    QComboBox* printer_;
    QSpinBox* copies_;
    QCheckBox* collate_;
    QCheckBox* duplex_;
    QRadioButton* toPreview_;
    QRadioButton* toPrinter_;
    QRadioButton* toFile_;
    QLineEdit* fileName_;
    QToolButton* browse_;
    QComboBox* format_;
    QToolButton* ok_;
};

} // namespace platform
