#pragma once

#include <QWidget>

// Not built yet: an empty window with its caption.
class Tfauditoria : public QWidget {
    Q_OBJECT
public:
    explicit Tfauditoria(QWidget* owner);
};
