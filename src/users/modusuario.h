#pragma once

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
namespace platform {
class DataSet;
}

// Changes a user's name and administrator flag and, when a new password is
// typed twice, the password of its server account. The row is written only
// after the server has taken the new password.
class Tfmodusuario : public QDialog {
    Q_OBJECT
public:
    explicit Tfmodusuario(QWidget* owner);

    void SpeedButton1Click(); // F2: save
    void SpeedButton3Click(); // Esc: cancel

    platform::DataSet* CUsuario = nullptr;
    QLineEdit* DBEdit1 = nullptr;
    QLineEdit* DBEdit2 = nullptr;
    QCheckBox* DBCheckBox1 = nullptr;
    QLineEdit* Clave = nullptr;
    QLineEdit* Confirma = nullptr;
    QLabel* Panel3 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
    void aplicar();
};
