#include "tools/herramientas.h"

#include "platform/ansi.h"
#include "platform/data/dataset.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <stdexcept>

using platform::DataSet;
using platform::FieldDef;
using platform::FieldKind;
using platform::GridColumn;

namespace herramientas {

QString sentenciaProcedimiento(const QString& procedimiento, const QString& desde,
                               const QString& hasta, const QStringList& titulos,
                               const QStringList& valores) {
    QString sql = QStringLiteral("select * from ") + procedimiento + QLatin1Char('(') +
                  platform::quoted(desde) + QLatin1Char(',') + platform::quoted(hasta);
    for (qsizetype n = 0; n < titulos.size(); ++n)
        if (!titulos[n].isEmpty())
            sql += QLatin1Char(',') + platform::quoted(valores.value(n));
    return sql + QLatin1Char(')');
}

bool esNumerica(const FieldDef& campo) {
    return campo.kind == FieldKind::Integer || campo.kind == FieldKind::LargeInt ||
           campo.kind == FieldKind::Float || campo.kind == FieldKind::Numeric;
}

QList<GridColumn> columnasConSumas(const DataSet& datos) {
    QList<GridColumn> columnas;
    for (int f = 0; f < datos.fieldCount(); ++f) {
        GridColumn columna;
        columna.field = datos.field(f).name;
        if (esNumerica(datos.field(f))) {
            columna.displayFormat = QStringLiteral("#,###.00");
            columna.footerSum = true;
            columna.footerFormat = QStringLiteral("#,###.00");
            columna.footerColor = QColor(0xC0, 0xDC, 0xC0); // clMoneyGreen
        }
        columnas << columna;
    }
    return columnas;
}

QString sentenciaConsola(const QString& texto) {
    QString sql;
    for (const QString& linea : texto.split(QLatin1Char('\n')))
        sql += linea + QStringLiteral("\r\n");
    return sql;
}

bool abrirConEspera(DataSet& datos, QWidget* panel) {
    panel->show();
    panel->raise();
    panel->repaint();
    // Paint the rest of the window too before the server keeps us busy.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QElapsedTimer reloj;
    reloj.start();
    datos.fetchBatch = 256;
    datos.onFetchProgress = [&reloj](int) {
        if (reloj.elapsed() >= 40) {
            QCoreApplication::processEvents();
            reloj.restart();
        }
        return true;
    };
    try {
        datos.open();
    } catch (...) {
        datos.onFetchProgress = nullptr;
        panel->hide();
        throw;
    }
    datos.onFetchProgress = nullptr;
    panel->hide();
    return datos.isOpen();
}

QString carpetaIsqlPredeterminada() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Program Files\\Firebird\\Firebird_3_0");
#else
    return QStringLiteral("/usr/bin");
#endif
}

QString programaIsql(const QString& carpeta) {
#ifdef Q_OS_WIN
    const QStringList nombres{QStringLiteral("isql.exe")};
#else
    const QStringList nombres{QStringLiteral("isql-fb"), QStringLiteral("isql")};
#endif
    const QDir dir(carpeta);
    for (const QString& nombre : nombres) {
        const QFileInfo programa(dir.filePath(nombre));
        if (programa.isFile() && programa.isExecutable())
            return programa.filePath();
    }
    return QString();
}

QString rutaBasePrincipal(const QString& servidor, const QString& compania) {
    return servidor + QStringLiteral("/datos/") + compania + QStringLiteral("/orvilex.fdb");
}

QStringList argumentosIsql(const QString& script, const QString& resultado, const QString& base) {
    return {QStringLiteral("-q"),
            QStringLiteral("-m"),
            QStringLiteral("-ch"),
            QStringLiteral("WIN1252"),
            QStringLiteral("-i"),
            script,
            QStringLiteral("-o"),
            resultado,
            base};
}

QProcessEnvironment entornoIsql(const QString& usuario, const QString& clave) {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("ISC_USER"), usuario);
    entorno.insert(QStringLiteral("ISC_PASSWORD"), clave);
    return entorno;
}

void guardarScript(const QString& ruta, const QString& texto) {
    QByteArray contenido;
    for (const QString& linea : texto.split(QLatin1Char('\n')))
        contenido += platform::toAnsi(linea) + "\r\n";
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        archivo.write(contenido) != contenido.size())
        throw std::runtime_error(QStringLiteral("Cannot create file \"%1\". %2")
                                     .arg(QDir::toNativeSeparators(ruta), archivo.errorString())
                                     .toStdString());
}

QString leerArchivoTexto(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open file \"%1\". %2")
                                     .arg(QDir::toNativeSeparators(ruta), archivo.errorString())
                                     .toStdString());
    QString texto = platform::fromAnsi(archivo.readAll());
    texto.remove(QLatin1Char('\r'));
    // Like a text box's lines: the final line end ends the last line.
    if (texto.endsWith(QLatin1Char('\n')))
        texto.chop(1);
    return texto;
}

} // namespace herramientas
