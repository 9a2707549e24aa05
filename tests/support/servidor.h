#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class Tfprincipal;

// The private Firebird server of the test run. scripts/test starts it and
// exports FB_PORT and FB_PASSWORD; a test program started by hand starts
// its own and stops it at exit.
class ServidorPrueba {
public:
    static ServidorPrueba& instancia();

    int puerto() const { return puerto_; }
    QString claveSysdba() const { return clave_; }

    // Fresh suite databases (demo data unless `vacias`) in a new folder;
    // returns the server location to type at login ("127.0.0.1/port:/folder").
    QString crearDatos(bool vacias = false);
    // The database path of a location: location + "/datos/" + relative.
    static QString ruta(const QString& ubicacion, const QString& relativa);
    // Runs SQL through isql-fb as SYSDBA on a database; returns isql's output.
    QString isql(const QString& database, const QString& sql, bool* ok = nullptr);

    ~ServidorPrueba();

private:
    ServidorPrueba();
    int puerto_ = 0;
    QString clave_;
    std::unique_ptr<QTemporaryDir> propio_; // a server started by this program
    std::unique_ptr<QTemporaryDir> datos_;
    int creados_ = 0;
};

// A main window logged in as `usuario` on company `compania` of `ubicacion`,
// as the start-up flow leaves it (connections open, login state filled).
// Its application folder is `carpeta`.
void iniciarSesion(Tfprincipal& principal, const QString& ubicacion, const QString& usuario,
                   const QString& clave, const QString& compania, const QString& carpeta);

// Runs `accion` on the modal dialog named `objeto` once it is open (checked
// every few ms), so a test can answer a window shown with exec().
void alAbrirModal(const QString& objeto, std::function<void(class QWidget*)> accion);
