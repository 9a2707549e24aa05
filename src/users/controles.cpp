#include "users/controles.h"

#include "platform/data/dataset.h"
#include "shell/principal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

using platform::FieldKind;

namespace usuarios {

QToolButton* botonAccion(QWidget* ventana, const QString& nombre, const QString& texto) {
    auto* boton = new QToolButton(ventana);
    boton->setObjectName(nombre);
    boton->setText(texto);
    boton->setAutoRaise(true);
    boton->setFocusPolicy(Qt::NoFocus);
    return boton;
}

QHBoxLayout* barraGrabarSalir(QWidget* ventana, const QString& textoSalir,
                              const std::function<void()>& grabar,
                              const std::function<void()>& salir) {
    QToolButton* botonGrabar =
        botonAccion(ventana, QStringLiteral("SpeedButton1"), QStringLiteral("F2: &Grabar"));
    QToolButton* botonSalir = botonAccion(ventana, QStringLiteral("SpeedButton3"), textoSalir);
    QObject::connect(botonGrabar, &QToolButton::clicked, ventana, grabar);
    QObject::connect(botonSalir, &QToolButton::clicked, ventana, salir);
    auto* barra = new QHBoxLayout;
    barra->addWidget(botonGrabar);
    barra->addStretch(1);
    barra->addWidget(botonSalir);
    return barra;
}

QLabel* panelEstado(QWidget* ventana, const QString& nombre, const QString& texto) {
    auto* panel = new QLabel(texto, ventana);
    panel->setObjectName(nombre);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setMinimumHeight(36);
    panel->hide();
    return panel;
}

void mostrarPanel(QLabel* panel, bool visible) {
    panel->setVisible(visible);
    panel->window()->repaint();
}

platform::DataSet* usuariosGenerales(QObject* dueno, const QString& nombre) {
    Tfprincipal& p = principal();
    return p.cliente(p.TUsuario, nombre,
                     {{QStringLiteral("USUA_COD"), FieldKind::String, 12, true},
                      {QStringLiteral("USUA_NOMBRE"), FieldKind::String, 60},
                      {QStringLiteral("USUA_ADMIN"), FieldKind::FixedString, 1}},
                     dueno);
}

} // namespace usuarios
