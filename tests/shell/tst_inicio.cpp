// Start-up end to end against the demo databases: login dialog, company
// chooser, the checks of the main window and each refusal.
#include "access/companias.h"
#include "access/ctrlacceso.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Intento {
    QString servidor;
    QString usuario;
    QString clave;
};

void escribir(Tfacceso* d, const Intento& i) {
    d->Servidor->setEditText(i.servidor);
    d->Tusua->setText(i.usuario);
    d->TClave->setText(i.clave);
}
} // namespace

class TstInicio : public QObject {
    Q_OBJECT
    QString ubicacion;
    QTemporaryDir carpeta;

    // Runs the flow: each login attempt in turn (the last must succeed or
    // the dialog is left with Esc), then the company of code `compania`
    // is chosen with F10 (an empty code leaves the chooser with Esc).
    std::unique_ptr<Tfprincipal> arrancar(const QList<Intento>& intentos, const QString& compania,
                                          QStringList* mensajesDelDialogo = nullptr) {
        auto p = std::make_unique<Tfprincipal>();
        p->dir_aplicacion = carpeta.path();
        alAbrirModal("facceso", [=](QWidget* w) {
            auto* d = static_cast<Tfacceso*>(w);
            for (const Intento& i : intentos) {
                escribir(d, i);
                QTest::keyClick(d->Tusua, Qt::Key_F2);
                if (d->isVisible() && mensajesDelDialogo)
                    *mensajesDelDialogo << FakeDialogs::actual().textos().value(0);
                FakeDialogs::actual().limpiar();
            }
            if (d->isVisible())
                QTest::keyClick(d->Tusua, Qt::Key_Escape);
        });
        alAbrirModal("fcompanias", [=](QWidget* w) {
            auto* d = static_cast<Tfcompanias*>(w);
            if (compania.isEmpty() || !d->CCompania->locate({"COMP_COD"}, {compania})) {
                QTest::keyClick(d->DBGrid1, Qt::Key_Escape);
                return;
            }
            QTest::keyClick(d->DBGrid1, Qt::Key_F10);
        });
        FakeDialogs::actual().limpiar();
        p->FormActivate();
        return p;
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        QFile cfg(QDir(carpeta.path()).filePath("SERVIDORES.cfg"));
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write(("otro-equipo:/nada\r\n" + ubicacion + "\r\n").toUtf8());
    }

    void entradaEnMinusculas() {
        auto p = arrancar({{ubicacion, "gerente", "gerente"}}, "001");
        QVERIFY(!p->terminando());
        QVERIFY(!p->pendiente_acceso);
        QCOMPARE(p->usuario_actual, QString("GERENTE"));
        QCOMPARE(p->compania_actual, QString("001"));
        QCOMPARE(p->EUsuario->text(), QString("GERENTE"));
        QCOMPARE(p->ECompania->text(), QString("Comercializadora Andina S.A.S."));
        // The login connection keeps the name as typed; the others use upper case.
        QCOMPARE(p->ConGeneral.param("User_Name"), QString("gerente"));
        QCOMPARE(p->orvilex.param("user_name"), QString("GERENTE"));
        QVERIFY(p->ConMantenim.param("Database").endsWith("/datos/001/contabil.fdb"));
        QVERIFY(p->ConMantenim.connected());
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
        // The warning of the status bar is cleared when its time is up.
        p->mostrar_advertencia("aviso");
        QTRY_VERIFY_WITH_TIMEOUT(!p->advertenciaVisible(), 5000);
        QCOMPARE(p->mensajeEstado(), QString("Mensaje:"));
    }

    void rechazos_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("compania");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("sin compania")
            << "GERENTE"
            << "gerente"
            << ""
            << "Acceso no permitido. Ingrese al módulo principal o especifique un "
               "nombre de usuario válido.";
        QTest::newRow("no es administrador") << "cajero"
                                             << "cajero"
                                             << "001"
                                             << "El usuario debe ser administrador.";
        QTest::newRow("sin fila en la compania") << "GERENTE"
                                                 << "gerente"
                                                 << "003"
                                                 << "El usuario no tiene acceso a la compañía.";
        QTest::newRow("usuario desconocido") << "BODEGA"
                                             << "bodega"
                                             << "001"
                                             << "Nombre de usuario incorrecto.";
    }
    void rechazos() {
        QFETCH(QString, usuario);
        QFETCH(QString, clave);
        QFETCH(QString, compania);
        QFETCH(QString, mensaje);
        ServidorPrueba& s = ServidorPrueba::instancia();
        const QString general = ServidorPrueba::ruta(ubicacion, "general.fdb");
        // GERENTE is granted company 003, whose database has no row for him;
        // BODEGA has a server account and a company but no USUARIO row.
        s.isql(general,
               "update or insert into compania_usuario values ('003', 'GERENTE'); commit;");
        s.isql(general, "alter table compania_usuario drop constraint fk_compusu_usuario; commit;");
        s.isql(general, "delete from usuario where usua_cod = 'BODEGA'; "
                        "update or insert into compania_usuario values ('001', 'BODEGA'); commit;");
        auto p = arrancar({{ubicacion, usuario, clave}}, compania);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList{mensaje});
        QCOMPARE(FakeDialogs::actual().mensajes.value(0).icono, platform::Dialogs::Icon::Error);
        QVERIFY(p->terminando());
        QVERIFY(p->pendiente_acceso);
    }

    // A refused login is reported, the dialog stays open with what was
    // typed, and a second try with the current fields succeeds.
    void segundoIntento_data() {
        QTest::addColumn<QString>("servidor");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("clave equivocada") << ubicacion << "mala"
                                          << "El nombre de Usuario o la clave son incorrectas.";
        QTest::newRow("equipo inalcanzable")
            << "equipo-inexistente.invalid:/orvilex"
            << "gerente"
            << "No se encontró el equipo servidor con nombre equipo-inexistente.invalid";
        QTest::newRow("clave vacia") << ubicacion << ""
                                     << "El nombre de Usuario o la clave son incorrectas.";
    }
    void segundoIntento() {
        QFETCH(QString, servidor);
        QFETCH(QString, clave);
        QFETCH(QString, mensaje);
        QStringList vistos;
        auto p = arrancar({{servidor, "GERENTE", clave}, {ubicacion, "GERENTE", "gerente"}}, "002",
                          &vistos);
        QCOMPARE(vistos, QStringList{mensaje});
        QVERIFY(!p->terminando());
        QVERIFY(!p->pendiente_acceso);
        QCOMPARE(p->ECompania->text(), QString("Distribuciones Ñandú Ltda."));
    }

    void listaDeServidoresYTeclas() {
        Tfprincipal p;
        p.dir_aplicacion = carpeta.path();
        Tfacceso d(&p);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.Servidor->count(), 2);
        QCOMPARE(d.Servidor->currentText(), QString("otro-equipo:/nada"));
        escribir(&d, {ubicacion, "GERENTE", "gerente"});
        // Enter moves on and never logs in.
        d.TClave->setFocus();
        QTest::keyClick(d.TClave, Qt::Key_Return);
        QVERIFY(d.Servidor->hasFocus() || d.Servidor->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d.Tusua);
        for (auto mod : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
            QTest::keyClick(d.Tusua, Qt::Key_F2, mod);
        QVERIFY(d.isVisible());
        QVERIFY(!p.ConGeneral.connected());
        QTest::keyClick(d.Tusua, Qt::Key_F2);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(p.ConGeneral.connected());
        QCOMPARE(p.EUsuario->text(), QString("Álvaro Peña Quiñónez"));
        QCOMPARE(p.servidor, ubicacion);
    }

    void elegirCompaniaConTeclas() {
        Tfprincipal p;
        iniciarSesion(p, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
        Tfcompanias d(&p);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.CCompania->locate({"COMP_COD"}, {"002"}));
        const int fila = d.CCompania->currentRow();
        d.CCompania->first();
        p.compania_ok = false;
        for (auto mod : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
            QTest::keyClick(d.DBGrid1, Qt::Key_F10, mod);
        QVERIFY(!p.compania_ok);
        const QPoint punto = d.DBGrid1->visualRect(d.DBGrid1->model()->index(fila, 1)).center();
        QTest::mouseClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, punto);
        QVERIFY(p.compania_ok);
        QCOMPARE(p.compania_actual, QString("002"));
    }
};

TEST_CLASS(TstInicio)
#include "tst_inicio.moc"
