#pragma once

#include <QWidget>

// Not built yet: an empty window with its caption.
class Tfprocusr : public QWidget {
    Q_OBJECT
public:
    explicit Tfprocusr(QWidget* owner);
};
