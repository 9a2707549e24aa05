#include "tools/conssql.h"

Tfconssql::Tfconssql(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fconssql"));
    setWindowTitle(QStringLiteral("Consulta SQL"));
}
