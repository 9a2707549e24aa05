#pragma once

#include "platform/ui/dialogs.h"

#include <QList>
#include <QPair>
#include <QQueue>
#include <functional>

// The scripted stand-in for every dialog: records what was shown and
// answers from queues. An empty queue answers "cancel" (or "No"). The
// installed printers are the real ones (the tests' own CUPS scheduler).
class FakeDialogs : public platform::QtDialogs {
public:
    struct Mensaje {
        QString texto;
        Icon icono;
    };

    static FakeDialogs& instalar();
    static FakeDialogs& actual();

    QList<Mensaje> mensajes;
    int pitidos = 0;
    QList<QUrl> direcciones;

    QQueue<bool> respuestas;             // confirm()
    QQueue<QString> abrir;               // openFile()
    QQueue<QPair<QString, int>> guardar; // saveFile(): name and filter entry
    QList<SaveRequest> pedidosGuardar;   // what saveFile() was asked
    QQueue<QString> carpetas;            // chooseFolder()
    QQueue<QColor> colores;              // chooseColor()
    QList<QColor> coloresPedidos;        // the colour each colour dialog opened on
    QDateTime ahora = QDateTime(QDate(2026, 12, 11), QTime(10, 30, 0));
    // Runs inside message(): lets a test act while a box "is open".
    std::function<void(const QString&)> alMostrar;

    QStringList textos() const;
    void limpiar();

    void message(QWidget* parent, const QString& text, Icon icon) override;
    bool confirm(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const QString& title, const QString& folder,
                     const QString& filter) override;
    bool saveFile(QWidget* parent, SaveRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& root) override;
    bool chooseColor(QWidget* parent, QColor& color) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    void openUrl(const QUrl& url) override;
    void beep() override;
    QDateTime now() override;
    QString shortDateFormat() override;
    QString longTimeFormat() override;
};
