#pragma once

#include <QWidget>

// Not built yet: an empty window with its caption.
class Tfconssql : public QWidget {
    Q_OBJECT
public:
    explicit Tfconssql(QWidget* owner);
};
