#include "support/fakedialogs.h"

#include <QUrl>

namespace {
FakeDialogs* g_actual = nullptr;
}

FakeDialogs& FakeDialogs::instalar() {
    auto nuevo = std::make_unique<FakeDialogs>();
    g_actual = nuevo.get();
    platform::Dialogs::install(std::move(nuevo));
    return *g_actual;
}

FakeDialogs& FakeDialogs::actual() {
    return g_actual ? *g_actual : instalar();
}

QStringList FakeDialogs::textos() const {
    QStringList lista;
    for (const Mensaje& m : mensajes)
        lista << m.texto;
    return lista;
}

void FakeDialogs::limpiar() {
    mensajes.clear();
    pitidos = 0;
    pedidosGuardar.clear();
    coloresPedidos.clear();
}

void FakeDialogs::message(QWidget*, const QString& text, Icon icon) {
    mensajes << Mensaje{text, icon};
    if (alMostrar)
        alMostrar(text);
}

bool FakeDialogs::confirm(QWidget*, const QString& text) {
    mensajes << Mensaje{text, Icon::Information};
    return !respuestas.isEmpty() && respuestas.dequeue();
}

QString FakeDialogs::openFile(QWidget*, const QString&, const QString&, const QString&) {
    return abrir.isEmpty() ? QString() : abrir.dequeue();
}

bool FakeDialogs::saveFile(QWidget*, SaveRequest& request) {
    pedidosGuardar << request;
    if (guardar.isEmpty())
        return false;
    const auto [nombre, entrada] = guardar.dequeue();
    request.fileName = nombre;
    request.filterIndex = entrada;
    return true;
}

QString FakeDialogs::chooseFolder(QWidget*, const QString&, const QString&) {
    return carpetas.isEmpty() ? QString() : carpetas.dequeue();
}

bool FakeDialogs::chooseColor(QWidget*, QColor& color) {
    coloresPedidos << color;
    if (colores.isEmpty())
        return false;
    color = colores.dequeue();
    return true;
}

bool FakeDialogs::printerSetup(QWidget*, QPrinter&) {
    return true;
}

void FakeDialogs::openUrl(const QUrl& url) {
    direcciones << url;
}

void FakeDialogs::beep() {
    ++pitidos;
}

QDateTime FakeDialogs::now() {
    return ahora;
}

QString FakeDialogs::shortDateFormat() {
    return QStringLiteral("dd/MM/yyyy");
}

QString FakeDialogs::longTimeFormat() {
    return QStringLiteral("hh:mm:ss AP");
}
