#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;
namespace platform {
class DataSet;
}

// Login dialog: server, user and password; opens the general database with
// exactly those credentials and fills the main window's login state.
class Tfacceso : public QDialog {
    Q_OBJECT
public:
    explicit Tfacceso(QWidget* owner);

    QStringList lista_servidores;

    void EntrarClick();
    void SalirClick();
    void Timer1Timer();

    QLineEdit* Tusua = nullptr;
    QLineEdit* TClave = nullptr;
    QComboBox* Servidor = nullptr;
    QLabel* Panel1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
    platform::DataSet* Cusuario = nullptr;
};
