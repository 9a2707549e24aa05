#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// The application object. Exceptions must not cross Qt's event loop: every
// exception that escapes an event handler is handed to the hook installed
// by the main window (ENoManejada). Deliberate aborts are dropped silently.
class Aplicacion : public QApplication {
public:
    Aplicacion(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    using Hook = std::function<void(QObject* sender, const std::exception& error)>;
    static void setHook(Hook hook);
    // Runs an action with the same protection as an event handler.
    static void protect(QObject* sender, const std::function<void()>& action);
};
