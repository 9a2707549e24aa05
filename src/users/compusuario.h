#pragma once

#include <QDialog>

// Not built yet: an empty window with its caption.
class Tfcompusuario : public QDialog {
    Q_OBJECT
public:
    explicit Tfcompusuario(QWidget* owner);
};
