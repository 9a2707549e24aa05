#include "access/servidores.h"

#include "platform/ansi.h"

#include <QDir>
#include <QFile>

QStringList leerServidores(const QByteArray& contenido) {
    QStringList lista;
    QByteArray linea;
    for (qsizetype i = 0; i < contenido.size(); ++i) {
        const char c = contenido[i];
        if (c == '\r' || c == '\n') {
            lista << platform::fromAnsi(linea);
            linea.clear();
            if (c == '\r')
                ++i; // the byte after a CR is part of the line end
        } else {
            linea.append(c);
        }
    }
    return lista;
}

QStringList leerArchivoServidores(const QString& carpeta) {
    QFile archivo(QDir(carpeta).filePath(QStringLiteral("SERVIDORES.cfg")));
    if (!archivo.open(QIODevice::ReadOnly))
        return {};
    return leerServidores(archivo.readAll());
}
