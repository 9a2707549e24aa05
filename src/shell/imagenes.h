#pragma once

#include <QPixmap>

// The console's own pictures, painted once: the logo of the header and the
// dialogs, the seal at the header's right edge and the tool panel's picture.
namespace imagenes {
QPixmap logo(const QSize& size);
QPixmap sello(const QSize& size);
QPixmap panel(const QSize& size);
} // namespace imagenes
