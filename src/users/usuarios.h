#pragma once

#include <QDialog>

// Not built yet: an empty window with its caption.
class Tfusuarios : public QDialog {
    Q_OBJECT
public:
    explicit Tfusuarios(QWidget* owner);
};
