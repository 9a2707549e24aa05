#include "config/impresorascfg.h"

#include "platform/ansi.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace config {

namespace {
struct Linea {
    QByteArray texto;
    bool conCR = false; // ended by CR (LF), which marks a row written by the dialog
};

QList<Linea> lineas(const QByteArray& contenido) {
    QList<Linea> lista;
    QByteArray texto;
    for (qsizetype i = 0; i < contenido.size(); ++i) {
        const char c = contenido[i];
        if (c == '\r' || c == '\n') {
            lista << Linea{texto, c == '\r'};
            texto.clear();
            // Only the LF of a CR LF pair belongs to the line end.
            if (c == '\r' && i + 1 < contenido.size() && contenido[i + 1] == '\n')
                ++i;
        } else {
            texto.append(c);
        }
    }
    if (!texto.isEmpty())
        lista << Linea{texto, false};
    return lista;
}
} // namespace

QString rutaImpresorasCfg(const QString& carpeta) {
    return QDir(carpeta).filePath(QStringLiteral("impresoras.cfg"));
}

QList<ImpresoraDefinida> leerDefiniciones(const QByteArray& contenido) {
    QList<ImpresoraDefinida> filas;
    for (const Linea& linea : lineas(contenido)) {
        const qsizetype coma = linea.texto.indexOf(',');
        if (coma < 0)
            continue;
        filas << ImpresoraDefinida{platform::fromAnsi(linea.texto.left(coma)),
                                   platform::fromAnsi(linea.texto.mid(coma + 1)), linea.conCR};
    }
    return filas;
}

QStringList leerCodigos(const QByteArray& contenido) {
    QStringList codigos;
    for (const ImpresoraDefinida& fila : leerDefiniciones(contenido))
        codigos << fila.codigo;
    return codigos;
}

QByteArray escribirDefiniciones(const QList<ImpresoraDefinida>& filas) {
    QByteArray contenido;
    for (const ImpresoraDefinida& fila : filas)
        if (fila.marcada)
            contenido +=
                platform::toAnsi(fila.codigo) + ',' + platform::toAnsi(fila.nombre) + "\r\n";
    return contenido;
}

QList<ImpresoraDefinida> numerarImpresoras(const QStringList& nombres) {
    QList<ImpresoraDefinida> filas;
    for (qsizetype i = 0; i < nombres.size(); ++i)
        filas << ImpresoraDefinida{QString::number(i + 1), nombres[i], false};
    return filas;
}

bool leerArchivo(const QString& ruta, QByteArray& contenido) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return false;
    contenido = archivo.readAll();
    return archivo.error() == QFileDevice::NoError;
}

void guardarDefiniciones(const QString& ruta, const QList<ImpresoraDefinida>& filas) {
    QSaveFile archivo(ruta);
    archivo.setDirectWriteFallback(true);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(escribirDefiniciones(filas)) < 0 ||
        !archivo.commit())
        throw std::runtime_error(QStringLiteral("No se pudo grabar el archivo %1: %2")
                                     .arg(QDir::toNativeSeparators(ruta), archivo.errorString())
                                     .toStdString());
}

} // namespace config
