#pragma once

#include <QDialog>

// Not built yet: an empty window with its caption.
class Tfdefimpresoras : public QDialog {
    Q_OBJECT
public:
    explicit Tfdefimpresoras(QWidget* owner);
};
