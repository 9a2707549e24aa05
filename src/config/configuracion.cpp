#include "config/configuracion.h"

Tfconfiguracion::Tfconfiguracion(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fconfiguracion"));
    setWindowTitle(QStringLiteral("Configuración"));
}
