#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;
class QPrinter;
class QUrl;

namespace platform {

// Every message box, file and folder dialog, colour dialog, printer list,
// web address, beep and clock the windows use goes through the one Dialogs
// object installed at start. Tests install a scripted fake.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Error };

    struct SaveRequest {
        QString title;
        QString fileName;    // proposed name in; chosen path out
        QString filter;      // "Description (*.txt)|*.TXT|..." as in the old file dialogs
        int filterIndex = 1; // 1-based entry preselected in; chosen entry out
        QString defaultSuffix;
        bool overwritePrompt = false;
    };

    virtual ~Dialogs() = default;

    // A message box with an OK button (plain when icon is None).
    virtual void message(QWidget* parent, const QString& text, Icon icon) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // File to open; empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) = 0;
    // File to save; false when cancelled.
    virtual bool saveFile(QWidget* parent, SaveRequest& request) = 0;
    // A folder under root; empty when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& root) = 0;
    // The colour dialog; false when cancelled.
    virtual bool chooseColor(QWidget* parent, QColor& color) = 0;
    // The operating system's printer setup for a printer; false when cancelled.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
    // Names of the installed printers, in the platform's order.
    virtual QStringList printers() = 0;
    virtual QString defaultPrinter() = 0;
    virtual void openUrl(const QUrl& url) = 0;
    virtual void beep() = 0;
    virtual QDateTime now() = 0;
    // The workstation's short date and long time formats (QDate/QTime syntax).
    virtual QString shortDateFormat() = 0;
    virtual QString longTimeFormat() = 0;

    // Convenience: the two boxes the system uses most.
    void error(QWidget* parent, const QString& text) { message(parent, text, Icon::Error); }
    void notice(QWidget* parent, const QString& text) { message(parent, text, Icon::None); }
    QString shortDate(const QDate& date) { return date.toString(shortDateFormat()); }

    static Dialogs& instance();
    static void install(std::unique_ptr<Dialogs> dialogs);
};

// The Qt implementation of the dialogs.
class QtDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, Icon icon) override;
    bool confirm(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter) override;
    bool saveFile(QWidget* parent, SaveRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& root) override;
    bool chooseColor(QWidget* parent, QColor& color) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    QStringList printers() override;
    QString defaultPrinter() override;
    void openUrl(const QUrl& url) override;
    void beep() override;
    QDateTime now() override;
    QString shortDateFormat() override;
    QString longTimeFormat() override;
};

// "Text (*.txt)|*.TXT|CSV (*.csv)|*.CSV" into Qt's "Text (*.txt);;CSV (*.csv)" entries.
QStringList qtFilters(const QString& barFilter);

} // namespace platform
