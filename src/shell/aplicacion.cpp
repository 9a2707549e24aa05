#include "shell/aplicacion.h"

#include "platform/data/dberror.h"

#include <QDebug>

namespace {
Aplicacion::Hook& hook() {
    static Aplicacion::Hook h;
    return h;
}
} // namespace

Aplicacion::Aplicacion(int& argc, char** argv)
    : QApplication(argc, argv) {}

void Aplicacion::setHook(Hook h) {
    hook() = std::move(h);
}

void Aplicacion::protect(QObject* sender, const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::SilentAbort&) {
    } catch (const std::exception& error) {
        if (hook())
            hook()(sender, error);
        else
            qWarning() << "Unhandled error:" << error.what();
    }
}

bool Aplicacion::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    protect(receiver, [&] { result = QApplication::notify(receiver, event); });
    return result;
}
