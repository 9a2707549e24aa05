#pragma once

#include <QByteArray>
#include <array>

// Scrambling of the administrator's password while it is held in memory.
// Texts are 8-bit strings; their length is kept and a byte 0 is an
// ordinary character.
using TablaClave = std::array<qint32, 4>;

extern const TablaClave tabla_clave;

qint32 clave_por_posicion(int posicion, TablaClave tabla, int alto);
QByteArray encripta_con_clave(const QByteArray& texto, TablaClave tabla, int alto);
QByteArray desencripta_con_clave(const QByteArray& texto, TablaClave tabla, int alto);
QByteArray encripta(const QByteArray& texto);
QByteArray desencripta(const QByteArray& texto);
