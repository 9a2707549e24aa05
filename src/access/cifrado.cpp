#include "access/cifrado.h"

const TablaClave tabla_clave = {5, 11, 7, 3};

qint32 clave_por_posicion(int posicion, TablaClave tabla, int alto) {
    const int resto = posicion % alto;
    return resto <= 0 ? tabla[alto] : tabla[resto];
}

namespace {
QByteArray desplaza(const QByteArray& texto, TablaClave tabla, int alto, int signo) {
    const int n = int(texto.size());
    QByteArray salida(n, '\0');
    for (int i = 1; i <= n; ++i) {
        const int c = static_cast<unsigned char>(texto[i - 1]);
        const qint64 desplazamiento = qint64(n) + i + clave_por_posicion(i, tabla, alto);
        salida[i - 1] = char((c + signo * desplazamiento) & 0xFF);
    }
    return salida;
}
} // namespace

QByteArray encripta_con_clave(const QByteArray& texto, TablaClave tabla, int alto) {
    return desplaza(texto, tabla, alto, +1);
}

QByteArray desencripta_con_clave(const QByteArray& texto, TablaClave tabla, int alto) {
    return desplaza(texto, tabla, alto, -1);
}

QByteArray encripta(const QByteArray& texto) {
    return encripta_con_clave(texto, tabla_clave, 3);
}

QByteArray desencripta(const QByteArray& texto) {
    return desencripta_con_clave(texto, tabla_clave, 3);
}
