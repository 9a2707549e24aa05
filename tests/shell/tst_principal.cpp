// The main window: header, tool buttons, the Window menu, the single
// configuration window and the application folder.
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

class TstPrincipal : public QObject {
    Q_OBJECT
    QString ubicacion;
    QTemporaryDir carpeta;

    static QMenu* menuVentana(Tfprincipal& p) { return p.findChild<QMenu*>("Ventana1"); }

    static QStringList textosVentana(Tfprincipal& p) {
        QMenu* menu = menuVentana(p);
        emit menu->aboutToShow();
        QStringList textos;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                textos << a->text() + (a->isEnabled() ? "" : " (off)");
        return textos;
    }

private slots:
    void initTestCase() { ubicacion = ServidorPrueba::instancia().crearDatos(); }

    void aspectoInicial() {
        Tfprincipal p;
        QCOMPARE(p.windowTitle(), QString("Mantenimiento - Orvilex"));
        QCOMPARE(p.mensajeEstado(), QString("Mensaje:"));
        QCOMPARE(p.findChild<QLabel*>("Panel1")->text(), QString("Fecha"));
        QStringList botones;
        for (const char* nombre : {"sButton2", "sButton3", "sButton4", "sButton1", "sButton5",
                                   "AdvGlowButton1", "AdvGlowButton2"})
            botones
                << p.findChild<QToolButton*>(nombre)->property("caption").toString().simplified();
        QCOMPARE(botones,
                 (QStringList{"Configurar impresoras", "Administrar usuarios", "Configuración",
                              "Auditoría", "Procedimientos", "Consulta SQL", "Script SQL"}));
        QStringList menus;
        for (QAction* a : p.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{"&Archivo", "&Edición", "&Opciones", "Ventana", "Ayuda"}));
        // The logo opens our web site.
        FakeDialogs::actual().direcciones.clear();
        p.findChild<QToolButton*>("Image1")->click();
        QCOMPARE(FakeDialogs::actual().direcciones.size(), 1);
        QVERIFY(FakeDialogs::actual().direcciones[0].toString().startsWith("https://"));
    }

    void menuVentanaConHijas() {
        Tfprincipal p;
        iniciarSesion(p, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
        const QStringList sinHijas{"&Organizar (off)", "&Cascada (off)", "&Minimizar todas (off)",
                                   "Org. &Horizontalmente (off)", "Org. &Verticalmente (off)"};
        QCOMPARE(textosVentana(p), sinHijas);
        p.findChild<QToolButton*>("AdvGlowButton1")->click();
        p.findChild<QToolButton*>("AdvGlowButton1")->click();
        QCOMPARE(p.mdiArea()->subWindowList().size(), 2);
        QCOMPARE(textosVentana(p),
                 (QStringList{"&Organizar", "&Cascada", "&Minimizar todas", "Org. &Horizontalmente",
                              "Org. &Verticalmente", "&1 Consulta SQL", "&2 Consulta SQL"}));
        // A child that closes leaves the frame and the list.
        p.mdiArea()->subWindowList().first()->widget()->close();
        QTRY_COMPARE(p.mdiArea()->subWindowList().size(), 1);
        p.mdiArea()->subWindowList().first()->close();
        QTRY_COMPARE(p.mdiArea()->subWindowList().size(), 0);
        QCOMPARE(textosVentana(p), sinHijas);
    }

    void unaSolaConfiguracion() {
        Tfprincipal p;
        iniciarSesion(p, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
        p.show();
        auto* boton = p.findChild<QToolButton*>("sButton4");
        boton->click();
        QTRY_VERIFY(p.config_abierta);
        p.findChild<QToolButton*>("sButton1")->click(); // another child in front of it
        boton->click();
        int configuraciones = 0;
        for (QMdiSubWindow* hija : p.mdiArea()->subWindowList())
            configuraciones += hija->widget()->objectName() == "fconfiguracion";
        QCOMPARE(configuraciones, 1);
        QCOMPARE(p.mdiArea()->activeSubWindow()->widget()->objectName(), QString("fconfiguracion"));
        QVERIFY(p.mdiArea()->activeSubWindow()->isMaximized());
    }

    // File dialogs move the current folder; the next activation restores it.
    void carpetaDeLaAplicacion() {
        Tfprincipal p;
        iniciarSesion(p, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
        QDir::setCurrent(QDir::tempPath());
        p.FormActivate();
        QCOMPARE(QDir::current().canonicalPath(), QDir(carpeta.path()).canonicalPath());
    }
};

TEST_CLASS(TstPrincipal)
#include "tst_principal.moc"
