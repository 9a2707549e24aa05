#include "shell/errores.h"

#include "platform/ansi.h"
#include "platform/data/dataset.h"

#include <QDir>
#include <QFile>

namespace errores {

QString entreComillas(const QString& texto, const QString& desde) {
    qsizetype inicio = 0;
    if (!desde.isEmpty()) {
        inicio = texto.indexOf(desde);
        if (inicio < 0)
            inicio = 0;
    }
    const qsizetype abre = texto.indexOf(QLatin1Char('"'), inicio);
    if (abre < 0)
        return QString();
    const qsizetype cierra = texto.indexOf(QLatin1Char('"'), abre + 1);
    if (cierra < 0)
        return QString();
    return texto.mid(abre + 1, cierra - abre - 1);
}

QString mensajeNoManejado(const QString& texto, bool esErrorDeBase) {
    const QString generico = QStringLiteral("Se presento el siguiente error: ") + texto;
    if (!esErrorDeBase)
        return generico;
    if (texto.contains(QLatin1String("Your user name and password are not defined")))
        return QStringLiteral("El nombre de Usuario o la clave son incorrectas.");
    // Firebird: I/O error during "open" operation for file "/path/x.fdb"
    if (texto.contains(QLatin1String("I/O error")) && texto.contains(QLatin1String("for file")))
        return QStringLiteral("No se encontró el archivo o la ruta ") +
               entreComillas(texto, QStringLiteral("for file"));
    if (texto.contains(QLatin1String("Unable to complete network request")))
        return QStringLiteral("No se encontró el equipo servidor con nombre ") +
               entreComillas(texto);
    return generico;
}

QString mensajeProveedor(const QString& texto, const QString& fuente) {
    const QString etiqueta = fuente.mid(1);
    if (texto.contains(QLatin1String("violation of PRIMARY")))
        return QStringLiteral("Ya existe el registro en la tabla ") + etiqueta;
    if (texto.contains(QLatin1String("violation of FOREIGN")))
        return QStringLiteral("Está borrando o insertando un registro en la tabla ") + etiqueta +
               QStringLiteral(" que tiene una relación con otra tabla.");
    return texto;
}

QString mensajeCliente(const QString& texto, const platform::DataSet& datos) {
    QString mensaje = texto;
    const QString inicio = texto.left(30);
    if (inicio == QLatin1String("Cannot delete master record wi") ||
        texto.contains(QLatin1String("Foreign key references are present")))
        mensaje = QStringLiteral("Error. Borre antes los detalles dependientes del registro.");
    if (inicio.left(3) == QLatin1String("Fie")) {
        QString lista;
        for (int f = 0; f < datos.fieldCount(); ++f) {
            const platform::FieldDef& campo = datos.field(f);
            if (campo.required && !campo.calculated && datos.value(f).isNull())
                lista += campo.name + QStringLiteral(", ");
        }
        mensaje = QStringLiteral("Los campos ") + lista + QStringLiteral(" son obligatorios.");
    } else if (inicio.left(3) == QLatin1String("key")) {
        // Client datasets here keep no unique index of their own; the key is
        // then told by its required fields, as the database defines it.
        QString lista;
        for (int f = 0; f < datos.fieldCount(); ++f)
            if (datos.field(f).required)
                lista += datos.field(f).name + QStringLiteral(" ");
        mensaje = QStringLiteral("Ya existe un registro con el mismo ") + lista;
    }
    return mensaje;
}

QByteArray lineaRegistro(const QString& fecha, const QString& hora, const QString& usuario,
                         const QString& texto) {
    return platform::toAnsi(fecha + QLatin1Char(',') + hora + QLatin1Char(',') + usuario +
                            QLatin1Char(',') + texto) +
           QByteArray("\r\n");
}

void anotar(const QString& carpeta, const QByteArray& linea) {
    QFile archivo(QDir(carpeta).filePath(QStringLiteral("ERRORES.TXT")));
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Append))
        archivo.write(linea);
}

} // namespace errores
