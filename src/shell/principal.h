#pragma once

#include "platform/data/connection.h"
#include "platform/data/dataset.h"

#include <QMainWindow>
#include <exception>

class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QStatusBar;
class QTimer;
class QToolButton;

// A query or table of the main window that other windows' client datasets
// read through their providers: its component name, connection and text.
struct Fuente {
    QString nombre;
    platform::Connection* conexion = nullptr;
    QString tabla; // a table component: all rows of this table
    QString sql;   // a query component: its fixed text (may be empty)
};

// The main window: MDI frame, header, tool panel, status bar, the login
// state, the three connections, the shared datasets and the error handler.
class Tfprincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfprincipal(QWidget* parent = nullptr);
    ~Tfprincipal() override;

    // Login state.
    bool pendiente_acceso = true;
    QString usuario_actual;
    QString clave_actual;
    QByteArray clave_cifrada;
    QString servidor;
    QString compania_actual;
    bool compania_ok = false;
    bool config_abierta = false;
    QString usuario_sel;
    QString compania_sel;
    QString dir_aplicacion;

    // Connections.
    platform::Connection orvilex{QStringLiteral("orvilex")};
    platform::Connection ConMantenim{QStringLiteral("ConMantenim")};
    platform::Connection ConGeneral{QStringLiteral("ConGeneral")};

    // Queries and tables read by the providers of other windows.
    Fuente TUsuario, TCompania, TCompusuario, QUsuarios, QBorrar, QUsergen, QUsuario,
        QConfiguracion, Qborrausr, TUser, TAgencias, QTipodoc, QRepauditor, TProcesos, QProcusuario;

    // The main window's own client datasets.
    platform::DataSet* CUser = nullptr;          // USUARIO of the general database
    platform::DataSet* CUsuario = nullptr;       // free statements on the company database
    platform::DataSet* CConfiguracion = nullptr; // the configuration lookup
    platform::DataSet* CBorrausr = nullptr;      // free statements on the company database

    // A client dataset of `owner` reading `fuente`.
    platform::DataSet* cliente(const Fuente& fuente, const QString& nombre,
                               const QList<platform::FieldDef>& campos, QObject* owner) const;

    // Helpers of the other windows.
    QString Diraplicacion() const { return dir_aplicacion; }
    QString ubicaciondb() const { return servidor; }
    QString rutaGeneral() const;
    QString rutaCompania(const QString& codigo) const;
    QString configuracion(const QString& modulo, const QString& categoria,
                          const QString& propiedad);
    void mostrar_advertencia(const QString& texto);

    // Re-points a connection: disconnect, set the database and the logged-in
    // credentials, connect.
    void apuntar(platform::Connection& conexion, const QString& database);
    void apuntarCompania(const QString& codigo);
    // Back on the working company's database, whatever happened before.
    void volverACompaniaDeTrabajo();

    // Error handling.
    void ConfigurarProviders(QObject* form);
    void ManejarError(QObject* sender, platform::DataSet* datos, const QString& texto,
                      bool esErrorDeBase = true);
    void ManejarClientError(platform::DataSet& datos, const platform::DbError& error,
                            platform::DataAction& accion);
    void ENoManejada(QObject* sender, const std::exception& error);

    // Status bar panel 0.
    QString mensajeEstado() const;
    void setMensajeEstado(const QString& texto);
    bool advertenciaVisible() const { return advertencia_; }

    // Start-up flow, run on activation while pendiente_acceso is set.
    void FormActivate();
    // Ends the program (the flow's refusals and the login dialog's Esc).
    void terminar();
    bool terminando() const { return terminando_; }

    QMdiArea* mdiArea() const { return mdi_; }
    // Adds a window to the frame as a child window that frees itself on close.
    void abrirHija(QWidget* ventana, bool maximizada = false);

    // Tool buttons.
    void sButton1Click();
    void sButton2Click();
    void sButton3Click();
    void sButton4Click();
    void sButton5Click();
    void AdvGlowButton1Click();
    void AdvGlowButton2Click();

    QLineEdit* ECompania = nullptr;
    QLineEdit* EUsuario = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void construirEncabezado();
    void construirPanel();
    void construirMenus();
    void construirEstado();
    void actualizarMenuVentana();
    void limpiarAdvertencia();
    void flujoDeInicio();
    void activarDespues();
    bool revisarUsuario();

    QMdiArea* mdi_ = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer2 = nullptr;
    QMenu* menuVentana_ = nullptr;
    bool advertencia_ = false;
    bool flujoEnCurso_ = false;
    bool terminando_ = false;
};

// The one main window of the program.
Tfprincipal& principal();
Tfprincipal* fprincipal();
