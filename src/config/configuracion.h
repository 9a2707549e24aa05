#pragma once

#include <QWidget>

// Not built yet: an empty window with its caption.
class Tfconfiguracion : public QWidget {
    Q_OBJECT
public:
    explicit Tfconfiguracion(QWidget* owner);
};
