#pragma once

#include <QWidget>

// Not built yet: an empty window with its caption.
class Tfejecutasql : public QWidget {
    Q_OBJECT
public:
    explicit Tfejecutasql(QWidget* owner);
};
