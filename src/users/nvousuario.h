#pragma once

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
namespace platform {
class DataSet;
}

// Adds a user to the general database. Its server account is made from
// the user list (Alt+F2), with the code as password.
class Tfnvousuario : public QDialog {
    Q_OBJECT
public:
    explicit Tfnvousuario(QWidget* owner);

    void SpeedButton1Click(); // F2: save
    void SpeedButton3Click(); // Esc: cancel

    platform::DataSet* CUsuario = nullptr;
    QLineEdit* DBEdit1 = nullptr;
    QLineEdit* DBEdit2 = nullptr;
    QLineEdit* Clave = nullptr;
    QCheckBox* DBCheckBox1 = nullptr;
    QLabel* Panel3 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
};
