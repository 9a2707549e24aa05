#include "config/defimpresoras.h"

Tfdefimpresoras::Tfdefimpresoras(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("fdefimpresoras"));
    setWindowTitle(QStringLiteral("Definición de impresoras"));
}
