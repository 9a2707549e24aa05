#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fixed catalogue of the suite's modules, their option groups and
// options, on which access rights are kept. Module names and option
// numbers are what the suite's modules read from ACCESO_USUARIO.
namespace catalogo {

struct Grupo {
    QString titulo;
    QStringList opciones;
};

struct Modulo {
    QString titulo;
    QList<Grupo> grupos;
    // The name stored in ACUS_MODULO: the caption in upper case.
    QString nombre() const { return titulo.toUpper(); }
};

// The 14 modules in the order of the tree.
const QList<Modulo>& modulos();

// The number stored in ACUS_OPCION for an option, from the positions of its
// group in the module and of the option in the group (both from 0).
int numeroOpcion(const QString& modulo, int grupo, int opcion);

struct Opcion {
    QString modulo; // stored module name
    int posGrupo = 0;
    int posOpcion = 0;
    int numero = 0;
    QString grupo;  // group caption
    QString titulo; // option caption
};

// Every option in tree order (727).
QList<Opcion> opciones();

// The name an option gets in OPCION_MODULO: group and option captions.
QString descripcion(const Opcion& opcion);

// The INSERTs of OPCION_MODULO for every option (db/opciones.sql).
QString opcionesSql();

} // namespace catalogo
