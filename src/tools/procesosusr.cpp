#include "tools/procesosusr.h"

Tfprocusr::Tfprocusr(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fprocusr"));
    setWindowTitle(QStringLiteral("Procedimientos de usuario"));
}
