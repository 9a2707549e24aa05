#pragma once

#include <QProcess>
#include <QWidget>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// SQL script runner: writes the script box to script.sql, runs the server's
// command-line tool on the company main database and shows its output.
class Tfejecutasql : public QWidget {
    Q_OBJECT
public:
    explicit Tfejecutasql(QWidget* owner);
    ~Tfejecutasql() override;

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton3Click();
    bool FormKeyDown(QKeyEvent* event);

    // The program's folder, where script.sql and resultado.txt lie.
    QString carpeta_programa;
    bool ejecutando() const { return proceso_ && proceso_->state() != QProcess::NotRunning; }
    QProcess* proceso() const { return proceso_; }

    QPlainTextEdit* Memo1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* Ubicacion = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QFrame* AdvPanel1 = nullptr;
    QLineEdit* Rutaisql = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QLabel* Panel4 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void construir();
    void terminado(bool arranco);
    void detener();
    QString rutaScript() const;
    QString rutaResultado() const;

    QProcess* proceso_ = nullptr;
};
