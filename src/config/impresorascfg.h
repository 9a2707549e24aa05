#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// impresoras.cfg in the application folder: the printers the suite may use,
// one line each, "code,name" ended by CR LF, Windows-1252, no header. No
// printer chosen is an empty file.
//
// Reading is by lines. A line ends at CR LF, a bare CR or a bare LF (the end
// of the file ends the last one too). The code is the text before the first
// comma and the name all after it, so an entry of any length or a name with
// a comma is kept whole. A line without a comma names no printer and is
// skipped, leaving its neighbours as they are.
namespace config {

struct ImpresoraDefinida {
    QString codigo;
    QString nombre;
    bool marcada = false;

    bool operator==(const ImpresoraDefinida&) const = default;
};

QString rutaImpresorasCfg(const QString& carpeta);

// The printer definitions dialog's reading: code and name of each line; a
// line ended by CR (LF) comes back ticked, by a bare LF or the file's end
// unticked.
QList<ImpresoraDefinida> leerDefiniciones(const QByteArray& contenido);
// The ticked rows in order, each "code,name" CR LF.
QByteArray escribirDefiniciones(const QList<ImpresoraDefinida>& filas);
// The configuration editor's reading: the codes only, in file order.
QStringList leerCodigos(const QByteArray& contenido);

// The installed printers numbered from 1 in the platform's order, unticked.
QList<ImpresoraDefinida> numerarImpresoras(const QStringList& nombres);

// The file's bytes; false when it is missing or cannot be read.
bool leerArchivo(const QString& ruta, QByteArray& contenido);
// Replaces the file with the ticked rows; an earlier file stays whole when
// the new one cannot be written. Throws std::runtime_error then.
void guardarDefiniciones(const QString& ruta, const QList<ImpresoraDefinida>& filas);

} // namespace config
