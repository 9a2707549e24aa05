#include "users/compusuario.h"

Tfcompusuario::Tfcompusuario(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fcompusuario"));
    setWindowTitle(QStringLiteral("Compañías por usuario"));
}
