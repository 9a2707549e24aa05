#include "shell/aspecto.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

void aplicarAspecto(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Mantenimiento - Orvilex"));
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette p = app.style()->standardPalette();
    p.setColor(QPalette::Window, QColor(0xef, 0xf2, 0xf6));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xf4, 0xf7, 0xfb));
    p.setColor(QPalette::Button, QColor(0xe4, 0xea, 0xf2));
    p.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xb3));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe6));
    app.setPalette(p);
}
