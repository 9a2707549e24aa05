#pragma once

#include <QDate>
#include <QString>

// The statements and texts of the audit reports, apart from their window.
namespace auditoria {

// A kind of audit report: the report of the project and the order of its rows.
struct TipoReporte {
    QString reporte; // "PorUsuario", "PorFecha", "PorTipo"
    QString orden;   // " order by ..."
};
// Kinds by the index of the window's radio group (0, 1, 2).
TipoReporte tipoReporte(int indice);

// What the user asked for.
struct Filtro {
    int tipo = 0;          // kind of report
    QString usuario;       // "Todos" (exactly): every user
    QDate desde, hasta;    // date range
    int tipoDocumento = 0; // TIDO_COD; 0: every type
    QString codigo;        // document code or number; empty: any
};

// "select * from rep_auditoria('user','from','to',type,'code') order by ...":
// typed texts quoted with their inner quotes doubled, dates in `formatoFecha`.
QString sentencia(const Filtro& filtro, const QString& formatoFecha);

// The "Titulo" parameter: "Usuario:X - from:to - Tipo:Y".
QString titulo(const QString& usuario, const QDate& desde, const QDate& hasta,
               const QString& tipoDocumento, const QString& formatoFecha);

} // namespace auditoria
