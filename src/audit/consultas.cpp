#include "audit/consultas.h"

#include "platform/data/dataset.h"

namespace auditoria {

TipoReporte tipoReporte(int indice) {
    switch (indice) {
    case 1:
        return {QStringLiteral("PorFecha"), QStringLiteral(" order by fecha, hora")};
    case 2:
        return {QStringLiteral("PorTipo"), QStringLiteral(" order by documento, fecha, hora")};
    default:
        return {QStringLiteral("PorUsuario"), QStringLiteral(" order by usuario, fecha, hora")};
    }
}

QString sentencia(const Filtro& filtro, const QString& formatoFecha) {
    using platform::quoted;
    const QString usuario = filtro.usuario == QLatin1String("Todos") ? QString() : filtro.usuario;
    return QStringLiteral("select * from rep_auditoria(") + quoted(usuario) + QLatin1Char(',') +
           quoted(filtro.desde.toString(formatoFecha)) + QLatin1Char(',') +
           quoted(filtro.hasta.toString(formatoFecha)) + QLatin1Char(',') +
           QString::number(filtro.tipoDocumento) + QLatin1Char(',') + quoted(filtro.codigo) +
           QLatin1Char(')') + tipoReporte(filtro.tipo).orden;
}

QString titulo(const QString& usuario, const QDate& desde, const QDate& hasta,
               const QString& tipoDocumento, const QString& formatoFecha) {
    return QStringLiteral("Usuario:") + usuario + QStringLiteral(" - ") +
           desde.toString(formatoFecha) + QLatin1Char(':') + hasta.toString(formatoFecha) +
           QStringLiteral(" - Tipo:") + tipoDocumento;
}

} // namespace auditoria
