#pragma once

// A main window logged in on company 001 of fresh demo databases, for the
// window tests of this folder.
#include "shell/principal.h"
#include "support/servidor.h"

#include <QAbstractButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct Sesion {
    QTemporaryDir carpeta;
    QString ubicacion;
    std::unique_ptr<Tfprincipal> principal;

    void iniciar(const QString& usuario = QStringLiteral("GERENTE"),
                 const QString& clave = QStringLiteral("gerente")) {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        principal = std::make_unique<Tfprincipal>();
        iniciarSesion(*principal, ubicacion, usuario, clave, QStringLiteral("001"), carpeta.path());
        principal->show();
    }

    // The child window opened last.
    template <typename Ventana> Ventana* ultima() const {
        const QList<QMdiSubWindow*> hijas = principal->mdiArea()->subWindowList();
        return hijas.isEmpty() ? nullptr : qobject_cast<Ventana*>(hijas.last()->widget());
    }
};

// A click as the user makes it: through the application, so that an error
// reaches the program's error handling instead of the test.
inline void pulsar(QAbstractButton* boton) {
    QTest::mouseClick(boton, Qt::LeftButton);
}
