#pragma once

#include <QString>
#include <functional>

class QHBoxLayout;
class QLabel;
class QObject;
class QToolButton;
class QWidget;
namespace platform {
class DataSet;
}

// Pieces the windows of user administration are made of.
namespace usuarios {

// A flat button with its key in the caption; it never takes the focus.
QToolButton* botonAccion(QWidget* ventana, const QString& nombre, const QString& texto);

// The "F2: &Grabar" button (SpeedButton1) and the exit button (SpeedButton3)
// at the foot of a dialog, wired to its handlers.
QHBoxLayout* barraGrabarSalir(QWidget* ventana, const QString& textoSalir,
                              const std::function<void()>& grabar,
                              const std::function<void()>& salir);

// The hidden status panel shown while a slow step runs.
QLabel* panelEstado(QWidget* ventana, const QString& nombre, const QString& texto);

// Shows or hides a status panel and paints the window at once, before the
// slow step starts.
void mostrarPanel(QLabel* panel, bool visible);

// The client dataset over the general database's USUARIO (the main
// window's TUsuario) with its three fields.
platform::DataSet* usuariosGenerales(QObject* dueno, const QString& nombre);

} // namespace usuarios
