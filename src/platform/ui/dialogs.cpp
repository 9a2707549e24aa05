#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QUrl>

namespace platform {

namespace {
std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}
} // namespace

Dialogs& Dialogs::instance() {
    if (!current())
        current() = std::make_unique<QtDialogs>();
    return *current();
}

void Dialogs::install(std::unique_ptr<Dialogs> dialogs) {
    current() = std::move(dialogs);
}

QStringList qtFilters(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i];
    return filters;
}

void QtDialogs::message(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    switch (icon) {
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::None:
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::NoButton, parent);
    QPushButton* si = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == si;
}

QString QtDialogs::openFile(QWidget* parent, const QString& title, const QString& folder,
                            const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder,
                                        qtFilters(filter).join(QStringLiteral(";;")));
}

bool QtDialogs::saveFile(QWidget* parent, SaveRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = qtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.selectFile(request.fileName);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.fileName = dialog.selectedFiles().constFirst();
    request.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& root) {
    return QFileDialog::getExistingDirectory(parent, title, root);
}

bool QtDialogs::chooseColor(QWidget* parent, QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

bool QtDialogs::printerSetup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QStringList QtDialogs::printers() {
    return QPrinterInfo::availablePrinterNames();
}

QString QtDialogs::defaultPrinter() {
    return QPrinterInfo::defaultPrinterName();
}

void QtDialogs::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void QtDialogs::beep() {
    QApplication::beep();
}

QDateTime QtDialogs::now() {
    return QDateTime::currentDateTime();
}

// The suite's workstations use the day/month/year notation; the stored
// procedures read the dates in it.
QString QtDialogs::shortDateFormat() {
    return QStringLiteral("dd/MM/yyyy");
}

QString QtDialogs::longTimeFormat() {
    return QStringLiteral("hh:mm:ss AP");
}

} // namespace platform
