#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QToolButton;
namespace platform {
class DataGrid;
class DataSet;
} // namespace platform

// The list of the suite's users: new user, change, deletion (on the server
// and in the databases), the companies of a user, and the server accounts
// of all listed users in one pass.
class Tfusuarios : public QDialog {
    Q_OBJECT
public:
    explicit Tfusuarios(QWidget* owner);

    void SpeedButton1Click(); // F5: new user
    void SpeedButton2Click(); // F4: change the selected user
    void SpeedButton4Click(); // F8: companies of the selected user
    void SpeedButton5Click(); // F3: delete the selected user
    // Alt+F2: a server account for every listed user, its code as password.
    void crearCuentasServidor();

    platform::DataSet* CUsuarios = nullptr;
    platform::DataGrid* DBGridEh1 = nullptr;
    QLabel* Panel3 = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
    QToolButton* boton(const QString& nombre, const QString& texto, void (Tfusuarios::*accion)());
    QString codigoActual() const;
    void mostrarEstado(bool visible);
};
