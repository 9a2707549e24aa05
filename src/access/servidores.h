#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// SERVIDORES.cfg: one server location per line. A line ends at a CR (which
// takes the byte after it along) or an LF; a last line without an end is
// not taken. Lines are kept whole, whatever their length.
QStringList leerServidores(const QByteArray& contenido);
// The list from the file in the application folder; empty when it is missing.
QStringList leerArchivoServidores(const QString& carpeta);
