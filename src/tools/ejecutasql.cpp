#include "tools/ejecutasql.h"

Tfejecutasql::Tfejecutasql(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fejecutasql"));
    setWindowTitle(QStringLiteral("Ejecutar script SQL"));
}
