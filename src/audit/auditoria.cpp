#include "audit/auditoria.h"

Tfauditoria::Tfauditoria(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fauditoria"));
    setWindowTitle(QStringLiteral("Informes de auditoría"));
}
