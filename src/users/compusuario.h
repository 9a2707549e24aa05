#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QToolButton;
namespace platform {
class DataGrid;
class DataSet;
} // namespace platform

// Which companies one user may enter: a work list of every company with a
// check box, saved as grants in the general database and as the user's row
// in each company's own database; from a granted company, its rights.
class Tfcompusuario : public QDialog {
    Q_OBJECT
public:
    explicit Tfcompusuario(QWidget* owner);

    void SpeedButton1Click(); // F2: save pass
    void SpeedButton2Click(); // F8: access rights of the current company

    QString usuario() const { return usuario_; }

    platform::DataSet* Provisional = nullptr; // the work list, in memory
    platform::DataSet* CCompusuario = nullptr;
    platform::DataSet* CCompania = nullptr;
    platform::DataSet* CUser = nullptr;
    platform::DataGrid* DBGridEh1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QLabel* Panel3 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormKeyDown(QKeyEvent* event);
    void ProvisionalAfterScroll();
    void estado(const QString& texto);

    QString usuario_;
};
