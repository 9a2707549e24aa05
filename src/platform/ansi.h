#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Text files of the suite are 8-bit Windows-1252 ("ANSI"). Characters
// outside the code page are written as '?'.
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
QString fromAnsi(const char* data, qsizetype size);

} // namespace platform
