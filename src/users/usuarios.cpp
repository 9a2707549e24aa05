#include "users/usuarios.h"

Tfusuarios::Tfusuarios(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fusuarios"));
    setWindowTitle(QStringLiteral("Mantenimiento de usuarios"));
}
