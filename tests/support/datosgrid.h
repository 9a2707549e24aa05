#pragma once

// Rows for the grid and export tests: a company database of its own with
// the table PRUEBA_GRID (accents, quotes, commas, line breaks, a long text,
// a character outside Windows-1252, nulls) and SUMAS (money values whose
// sum a double cannot hold to the cent).
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "support/servidor.h"

#include <QString>
#include <memory>

namespace datosgrid {

inline QString baseDeDatos() {
    static QString base;
    if (!base.isEmpty())
        return base;
    const QString ubicacion = ServidorPrueba::instancia().crearDatos(true);
    base = ServidorPrueba::ruta(ubicacion, QStringLiteral("001/contabil.fdb"));
    bool ok = false;
    const QString salida = ServidorPrueba::instancia().isql(base, QStringLiteral(R"(
create table prueba_grid (id integer, nombre varchar(60), valor numeric(15,2), fecha date,
    activo char(1), nota varchar(700) character set utf8);
create table sumas (id integer, valor numeric(18,2));
commit;
insert into prueba_grid values (1, 'Ñandú "comillas"', 1234.50, '2026-01-15', 'S', null);
insert into prueba_grid values (2, 'O''Brien, Ltda.', 0.10, '2026-02-01', 'N',
    'línea uno' || ascii_char(13) || ascii_char(10) || 'línea dos');
insert into prueba_grid values (3, 'Mañana €uro', -20.05, null, 'S', rpad('é', 600, 'é'));
insert into prueba_grid values (4, 'mapa <b>&amp;</b>', 0.20, '2026-12-31', 'N',
    'tab' || ascii_char(9) || 'x');
insert into prueba_grid values (5, 'Zeta', 100000.00, '2025-06-30', null, 'Ω fuera');
set term ^;
execute block as
declare i integer = 0;
begin
  while (i < 1000) do begin
    insert into sumas values (:i, 0.10);
    i = i + 1;
  end
  insert into sumas values (1000, 90071992547409.92);
end^
set term ;^
commit;
)"),
                                                            &ok);
    if (!ok)
        qFatal("datosgrid: %s", qPrintable(salida));
    return base;
}

inline std::unique_ptr<platform::Connection> conexion() {
    static int n = 0;
    auto c = std::make_unique<platform::Connection>(QStringLiteral("grid%1").arg(++n));
    c->setParam(QStringLiteral("Database"), baseDeDatos());
    c->setParam(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    c->setParam(QStringLiteral("password"), ServidorPrueba::instancia().claveSysdba());
    c->connect();
    return c;
}

} // namespace datosgrid
