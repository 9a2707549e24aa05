// The companies of a user: the work list, F8 and the save pass across the
// company databases, against the test server.
#include "apoyo.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"
#include "users/accesousuario.h"
#include "users/compusuario.h"
#include "users/usuarios.h"

#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QToolButton>

class TstCompUsuario : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;

    void usuario(const QString& codigo, const QString& admin = "N") {
        apoyo::sql(ubicacion, "general.fdb",
                   QStringLiteral("insert into usuario values ('%1', 'Nombre %1', '%2'); commit;")
                       .arg(codigo, admin));
    }
    void conceder(const QString& codigo, const QString& cia, const QString& anio = "2020") {
        apoyo::sql(ubicacion, "general.fdb",
                   QStringLiteral("insert into compania_usuario values ('%1', '%2'); commit;")
                       .arg(cia, codigo));
        apoyo::sql(ubicacion, cia + "/contabil.fdb",
                   QStringLiteral("insert into usuario (user_cod, user_anocnt, user_percnt, "
                                  "sucu_id) values ('%1', '%2', 4, 1); commit;")
                       .arg(codigo, anio));
    }
    QStringList concesiones(const QString& codigo) {
        return apoyo::valores(ubicacion, "general.fdb",
                              QStringLiteral("select comp_cod from compania_usuario where "
                                             "usua_cod = '%1' order by comp_cod")
                                  .arg(codigo));
    }
    QString filaCompania(const QString& cia, const QString& codigo) {
        return apoyo::valor(ubicacion, cia + "/contabil.fdb",
                            QStringLiteral("select user_anocnt || '|' || user_percnt || '|' || "
                                           "sucu_id from usuario where user_cod = '%1'")
                                .arg(codigo));
    }
    std::unique_ptr<Tfcompusuario> abrir(const QString& codigo) {
        p->usuario_sel = codigo;
        auto w = std::make_unique<Tfcompusuario>(p.get());
        w->show();
        return w;
    }
    static void marcar(Tfcompusuario& w, const QString& cia, const QString& acceso) {
        QVERIFY(w.Provisional->locate({"CODCIA"}, {cia}));
        w.Provisional->edit();
        w.Provisional->setValue("ACCESO", acceso);
        w.Provisional->post();
    }
    static QStringList lista(Tfcompusuario& w) {
        QStringList filas;
        for (int r = 0; r < w.Provisional->rowCount(); ++r)
            filas << w.Provisional->textAt(r, 0) + "|" + w.Provisional->textAt(r, 2);
        return filas;
    }
    void enLaCompaniaDeTrabajo() {
        QVERIFY(p->ConMantenim.connected());
        QCOMPARE(p->ConMantenim.param("Database"), p->rutaCompania("001"));
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        p = apoyo::sesionAdministrador(ubicacion, "001");
    }
    void init() { FakeDialogs::actual().limpiar(); }

    void listaSinConcesiones() {
        usuario("TNADA");
        auto w = abrir("TNADA");
        QVERIFY(p->usuario_sel.isEmpty());
        QCOMPARE(lista(*w), QStringList({"001|N", "002|N", "003|N"}));
        for (int r = 0; r < 3; ++r) {
            w->Provisional->setCurrentRow(r);
            QVERIFY(!w->SpeedButton2->isEnabled());
        }
        QCOMPARE(w->Provisional->textAt(1, 1), "Distribuciones Ñandú Ltda.");
    }

    // Two grants and a withdrawal in one pass, in list order; the window
    // closes because something was granted.
    void otorgaDosYRetiraUna() {
        usuario("TCOMP");
        conceder("TCOMP", "003");
        auto w = abrir("TCOMP");
        QCOMPARE(lista(*w), QStringList({"001|N", "002|N", "003|S"}));
        marcar(*w, "001", "S");
        marcar(*w, "002", "S");
        marcar(*w, "003", "N");
        // A ticked but unsaved company has no rights to edit yet.
        w->Provisional->setCurrentRow(0);
        QVERIFY(!w->SpeedButton2->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QVERIFY(!w->isVisible());
        QCOMPARE(concesiones("TCOMP"), QStringList({"001", "002"}));
        QCOMPARE(filaCompania("001", "TCOMP"), "2026|11|0");
        QCOMPARE(filaCompania("002", "TCOMP"), "2026|11|0");
        QCOMPARE(filaCompania("003", "TCOMP"), "");
        QVERIFY(w->Panel3->isHidden());
        enLaCompaniaDeTrabajo();
    }

    void soloRetirarDejaLaVentanaAbierta() {
        usuario("TRETIRA");
        conceder("TRETIRA", "002");
        auto w = abrir("TRETIRA");
        marcar(*w, "002", "N");
        QTest::keyClick(w.get(), Qt::Key_F2);
        QVERIFY(w->isVisible());
        QCOMPARE(concesiones("TRETIRA"), QStringList());
        QCOMPARE(filaCompania("002", "TRETIRA"), "");
        enLaCompaniaDeTrabajo();
        // The list tells what is stored now: F8 is gone with the grant.
        w->Provisional->setCurrentRow(1);
        QVERIFY(!w->SpeedButton2->isEnabled());
    }

    void filaExistenteSeConserva() {
        usuario("TEXISTE");
        apoyo::sql(ubicacion, "002/contabil.fdb",
                   "insert into usuario (user_cod, user_anocnt, user_percnt, sucu_id) values "
                   "('TEXISTE', '2019', 3, 2); commit;");
        auto w = abrir("TEXISTE");
        marcar(*w, "002", "S");
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(concesiones("TEXISTE"), QStringList({"002"}));
        QCOMPARE(filaCompania("002", "TEXISTE"), "2019|3|2");
    }

    // A company whose database cannot be opened ends the pass there: the
    // error is reported, the earlier rows stay as applied and the
    // connection is back on the working company.
    void companiaSinBaseTerminaElPaso() {
        apoyo::sql(ubicacion, "general.fdb",
                   "insert into compania (comp_cod, com_nombre) values ('000', 'Sin base'); "
                   "commit;");
        auto limpiar = qScopeGuard([this] {
            apoyo::sql(ubicacion, "general.fdb",
                       "delete from compania_usuario where comp_cod = '000'; delete from compania "
                       "where comp_cod = '000'; commit;");
        });
        usuario("TERROR");
        conceder("TERROR", "002");
        auto w = abrir("TERROR");
        marcar(*w, "000", "S");
        marcar(*w, "002", "N");
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QVERIFY(w->isVisible());
        // 002 comes first in the list and was withdrawn; the grant of 000
        // was written before its database failed.
        QCOMPARE(concesiones("TERROR"), QStringList({"000"}));
        QCOMPARE(filaCompania("002", "TERROR"), "");
        enLaCompaniaDeTrabajo();
    }

    void f8Rechazos_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("admin");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("sin acceso") << "TF8A"
                                    << "N"
                                    << "Debe dar acceso antes a esta compañía.";
        QTest::newRow("administrador")
            << "TF8B"
            << "S"
            << "El usuario administrador tiene acceso a todas las opciones.";
        QTest::newRow("bandera vacia")
            << "TF8C"
            << ""
            << "El usuario administrador tiene acceso a todas las opciones.";
    }
    void f8Rechazos() {
        QFETCH(QString, codigo);
        QFETCH(QString, admin);
        QFETCH(QString, mensaje);
        usuario(codigo, admin);
        if (admin != "N")
            conceder(codigo, "002");
        auto w = abrir(codigo);
        w->Provisional->setCurrentRow(1);
        QCOMPARE(w->SpeedButton2->isEnabled(), admin != "N");
        QTest::keyClick(w.get(), Qt::Key_F8);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList(mensaje));
        QVERIFY(w->isVisible());
    }

    // F8 on a granted company opens its rights editor; the connection is
    // on that company while it is open and back on the working one after.
    void f8AbreElEditor() {
        usuario("TF8E");
        conceder("TF8E", "002");
        auto w = abrir("TF8E");
        w->Provisional->setCurrentRow(1);
        QVERIFY(w->SpeedButton2->isEnabled());
        QString empresa, usuarioEditor, base;
        alAbrirModal("faccesousuario", [&](QWidget* v) {
            auto* editor = static_cast<Tfaccesousuario*>(v);
            empresa = editor->Edit1->text();
            usuarioEditor = editor->Edit2->text();
            base = p->ConMantenim.param("Database");
            QTest::keyClick(editor, Qt::Key_Escape);
        });
        QTest::keyClick(w.get(), Qt::Key_F8);
        QCOMPARE(empresa, "002");
        QCOMPARE(usuarioEditor, "TF8E");
        QCOMPARE(base, p->rutaCompania("002"));
        QVERIFY(w->Panel3->isHidden());
        enLaCompaniaDeTrabajo();
    }

    // F8 in the user list hands the user over.
    void desdeLaLista() {
        Tfusuarios usuarios(p.get());
        usuarios.show();
        QVERIFY(usuarios.CUsuarios->locate({"USUA_COD"}, {"VENDE01"}));
        QStringList vista;
        alAbrirModal("fcompusuario", [&](QWidget* v) {
            auto* w = static_cast<Tfcompusuario*>(v);
            vista = lista(*w) << w->usuario();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QTest::keyClick(&usuarios, Qt::Key_F8);
        QCOMPARE(vista, QStringList({"001|S", "002|S", "003|N", "VENDE01"}));
    }
};

TEST_CLASS(TstCompUsuario)
#include "tst_compusuario.moc"
