// The access-rights editor against the test server: reading, toggling,
// saving in one transaction, copying, the profile and the branch, and the
// company connection back on the working company.
#include "apoyo.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"
#include "users/accesousuario.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using Estados = QList<int>;

class TstAccesoUsuario : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;

    // A user of the general database with a row in the company databases given.
    void usuario(const QString& codigo, const QStringList& companias, const QString& admin = "N") {
        apoyo::sql(ubicacion, "general.fdb",
                   QStringLiteral("insert into usuario values ('%1', 'Nombre %1', '%2'); commit;")
                       .arg(codigo, admin));
        for (const QString& cia : companias)
            apoyo::sql(ubicacion, cia + "/contabil.fdb",
                       QStringLiteral("insert into usuario (user_cod, sucu_id) values ('%1', 2); "
                                      "commit;")
                           .arg(codigo));
    }
    void derechos(const QString& cia, const QString& codigo, const QStringList& filas) {
        QString sql;
        for (const QString& f : filas) {
            const QStringList partes = f.split('|');
            sql += QStringLiteral("insert into acceso_usuario values ('%1', '%2', %3, '%4');")
                       .arg(codigo, partes[0], partes[1], partes[2]);
        }
        apoyo::sql(ubicacion, cia + "/contabil.fdb", sql + "commit;");
    }
    // The stored rights as "MODULE|number|S", in storage order.
    QStringList guardados(const QString& cia, const QString& codigo) {
        return apoyo::valores(ubicacion, cia + "/contabil.fdb",
                              QStringLiteral("select acus_modulo || '|' || acus_opcion || '|' || "
                                             "acus_si from acceso_usuario where user_cod = '%1' "
                                             "order by acus_modulo, acus_opcion, acus_si")
                                  .arg(codigo));
    }
    std::unique_ptr<Tfaccesousuario> abrir(const QString& codigo, const QString& cia) {
        p->usuario_sel = codigo;
        p->compania_sel = cia;
        auto w = std::make_unique<Tfaccesousuario>(p.get());
        w->show();
        return w;
    }
    static QTreeWidgetItem* nodo(Tfaccesousuario& w, const QString& modulo, const QString& grupo,
                                 const QString& opcion = {}) {
        for (QTreeWidgetItemIterator it(w.TreeView1); *it; ++it) {
            QTreeWidgetItem* g = *it;
            if (g->parent() && !g->parent()->parent() && g->parent()->text(0) == modulo &&
                g->text(0) == grupo) {
                if (opcion.isEmpty())
                    return g;
                for (int i = 0; i < g->childCount(); ++i)
                    if (g->child(i)->text(0) == opcion)
                        return g->child(i);
            }
        }
        return nullptr;
    }
    static int estado(Tfaccesousuario& w, const QString& modulo, const QString& grupo,
                      const QString& opcion) {
        return Tfaccesousuario::concedida(nodo(w, modulo, grupo, opcion)) ? 1 : 0;
    }
    static Estados estados(Tfaccesousuario& w) {
        Estados lista;
        for (QTreeWidgetItemIterator it(w.TreeView1); *it; ++it)
            if ((*it)->data(0, Tfaccesousuario::RolEsOpcion).toBool())
                lista << (Tfaccesousuario::concedida(*it) ? 1 : 0);
        return lista;
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

    void sinDerechosTodoCruzadoYGraba727() {
        usuario("TDER1", {"002"});
        auto w = abrir("TDER1", "002");
        QCOMPARE(w->Edit1->text(), "002");
        QCOMPARE(w->Edit3->text(), "Distribuciones Ñandú Ltda.");
        QCOMPARE(w->Edit2->text(), "TDER1");
        QCOMPARE(w->Edit4->text(), "Nombre TDER1");
        QVERIFY(p->usuario_sel.isEmpty());
        QVERIFY(p->compania_sel.isEmpty());
        QCOMPARE(p->ConMantenim.param("Database"), p->rutaCompania("002"));
        QCOMPARE(estados(*w), Estados(727, 0));
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QVERIFY(!w->isVisible());
        const QStringList filas = guardados("002", "TDER1");
        QCOMPARE(filas.size(), 727);
        QCOMPARE(filas.filter("|S").size(), 0);
        QVERIFY(filas.contains("C. X PAGAR|0|N"));
        QCOMPARE(filas.filter(QRegularExpression("^NOMINA\\|90\\|")).size(), 2);
        enLaCompaniaDeTrabajo();
    }

    // Selecting an option flips it; the ticks are stored and read back. Two
    // nodes sharing a number are stored twice and read from the first row.
    void marcasSobrevivenGrabarYReabrir() {
        usuario("TDER2", {"001"});
        {
            auto w = abrir("TDER2", "001");
            for (auto [m, g, o] : {std::tuple{"FACTURACION", "Facturas", "Registrar"},
                                   {"BANCOS", "Devolución cheques", "Registrar"},
                                   {"NOMINA", "Dotaciones", "Registrar"},
                                   {"C. X PAGAR", "Cargos", "Buscar"}})
                w->TreeView1->setCurrentItem(nodo(*w, m, g, o));
            QCOMPARE(estado(*w, "BANCOS", "Devolución cheques", "Registrar"), 1);
            // Selecting the node already selected does not flip it back.
            w->TreeView1->setCurrentItem(nodo(*w, "C. X PAGAR", "Cargos", "Buscar"));
            QCOMPARE(estado(*w, "C. X PAGAR", "Cargos", "Buscar"), 1);
            QTest::keyClick(w.get(), Qt::Key_F2);
        }
        const QStringList filas = guardados("001", "TDER2");
        QCOMPARE(filas.filter("|S"), QStringList({"BANCOS|40|S", "C. X PAGAR|11|S",
                                                  "FACTURACION|20|S", "NOMINA|90|S"}));
        QVERIFY(filas.contains("NOMINA|90|N"));
        auto w = abrir("TDER2", "001");
        QCOMPARE(estado(*w, "FACTURACION", "Facturas", "Registrar"), 1);
        QCOMPARE(estado(*w, "BANCOS", "Devolución cheques", "Registrar"), 1);
        QCOMPARE(estado(*w, "C. X PAGAR", "Cargos", "Buscar"), 1);
        QCOMPARE(estado(*w, "FACTURACION", "Facturas", "Buscar"), 0);
        // Both NOMINA 90 nodes show the first stored row ("Nivel de formación").
        QCOMPARE(estado(*w, "NOMINA", "Dotaciones", "Registrar"), 0);
        QCOMPARE(estados(*w).count(1), 3);
    }

    void flechasVoltean() {
        usuario("TDER3", {"001"});
        auto w = abrir("TDER3", "001");
        w->TreeView1->setFocus();
        w->TreeView1->setCurrentItem(nodo(*w, "CAJA", "Recibos de caja"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w->TreeView1, Qt::Key_Down);
        QCOMPARE(estado(*w, "CAJA", "Recibos de caja", "Registrar"), 1);
        QCOMPARE(estado(*w, "CAJA", "Recibos de caja", "Buscar"), 1);
        QCOMPARE(estado(*w, "CAJA", "Recibos de caja", "Anular"), 1);
        QCOMPARE(estados(*w).count(1), 3);
        // Nothing is written before F2.
        QCOMPARE(guardados("001", "TDER3"), QStringList());
    }

    void modulosNoEditables() {
        auto w = abrir("CAJERO", "001");
        QCOMPARE(w->TreeView1->editTriggers(), QAbstractItemView::NoEditTriggers);
        QTreeWidgetItem* modulo = w->TreeView1->topLevelItem(4);
        QCOMPARE(modulo->text(0), "C. X PAGAR");
        QVERIFY(!(modulo->flags() & Qt::ItemIsEditable));
        QCOMPARE(w->TreeView1->topLevelItemCount(), 14);
        QCOMPARE(w->size(), QSize(431, 560));
    }

    // What is copied is what is stored for this user; the destination's
    // own rights go.
    void copiaReemplazaLosDelDestino() {
        usuario("TORIG", {"001"});
        usuario("TDEST", {"001"});
        derechos("001", "TORIG", {"CAJA|0|S", "CAJA|1|N", "NOMINA|90|N", "NOMINA|90|S"});
        derechos("001", "TDEST", {"BANCOS|0|S", "CRM|10|S"});
        auto w = abrir("TORIG", "001");
        // An unsaved toggle is not copied, and is undone where a row is stored.
        w->TreeView1->setCurrentItem(nodo(*w, "CAJA", "Cajas", "Buscar"));
        w->TreeView1->setCurrentItem(nodo(*w, "CRM", "Eventos", "Registrar"));
        QTest::keyClick(w.get(), Qt::Key_F8);
        QVERIFY(w->Panel6->isVisible());
        w->Usua->setCurrentIndex(w->Usua->findText("TDEST"));
        QTest::keyClick(w.get(), Qt::Key_F5);
        QVERIFY(!w->Panel6->isVisible());
        QCOMPARE(guardados("001", "TDEST"),
                 QStringList({"CAJA|0|S", "CAJA|1|N", "NOMINA|90|N", "NOMINA|90|S"}));
        QCOMPARE(guardados("001", "TORIG"), guardados("001", "TDEST"));
        QCOMPARE(estado(*w, "CAJA", "Cajas", "Buscar"), 0);
        QCOMPARE(estado(*w, "CRM", "Eventos", "Registrar"), 1);
        QVERIFY(w->isVisible());
    }

    void copiaRechazada_data() {
        QTest::addColumn<QString>("destino");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("sin destino") << ""
                                     << "";
        QTest::newRow("administrador")
            << "GERENTE"
            << "No se pueden modificar los permisos de un usuario administrador";
        QTest::newRow("el mismo") << "TMISMO"
                                  << "El usuario destino es el mismo usuario cuyos permisos se "
                                     "copian. Elija otro usuario.";
    }
    void copiaRechazada() {
        QFETCH(QString, destino);
        QFETCH(QString, mensaje);
        if (apoyo::cuenta(ubicacion, "general.fdb",
                          "select count(*) from usuario where usua_cod = 'TMISMO'") == 0) {
            usuario("TMISMO", {"001"});
            derechos("001", "TMISMO", {"CAJA|0|S", "CAJA|1|N"});
        }
        const QStringList antes = guardados("001", "GERENTE");
        auto w = abrir("TMISMO", "001");
        QTest::keyClick(w.get(), Qt::Key_F8);
        w->Usua->setCurrentIndex(w->Usua->findText(destino));
        QCOMPARE(w->Usua->currentText(), destino);
        QTest::keyClick(w.get(), Qt::Key_F5);
        QCOMPARE(FakeDialogs::actual().textos(),
                 mensaje.isEmpty() ? QStringList() : QStringList(mensaje));
        QVERIFY(!w->Panel6->isVisible());
        QCOMPARE(guardados("001", "TMISMO"), QStringList({"CAJA|0|S", "CAJA|1|N"}));
        QCOMPARE(guardados("001", "GERENTE"), antes);
    }

    void escCierraPanelYDespuesVentana() {
        auto w = abrir("CAJERO", "001");
        QTest::keyClick(w.get(), Qt::Key_F8);
        QVERIFY(w->Panel6->isVisible());
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->Panel6->isVisible());
        QVERIFY(w->isVisible());
        // F5 acts only while the copy panel is shown.
        QTest::keyClick(w.get(), Qt::Key_F5);
        QCOMPARE(FakeDialogs::actual().textos(), QStringList());
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        enLaCompaniaDeTrabajo();
    }

    // An insert refused half-way: the earlier rights stay and the
    // administrator is told so.
    void grabacionInterrumpidaConservaLosDerechos() {
        usuario("TFALLA", {"001"});
        derechos("001", "TFALLA", {"CAJA|0|S", "CRM|10|S", "PRODUCCION|62|S"});
        apoyo::sql(ubicacion, "001/contabil.fdb",
                   "alter table acceso_usuario add constraint ck_prueba_falla check "
                   "(user_cod <> 'TFALLA' or acus_modulo <> 'PRODUCCION' or acus_opcion <> 62 "
                   "or acus_si = 'S'); commit;");
        const QStringList antes = guardados("001", "TFALLA");
        auto w = abrir("TFALLA", "001");
        w->TreeView1->setCurrentItem(nodo(*w, "PRODUCCION", "Informes", "Programación"));
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QVERIFY(FakeDialogs::actual().textos()[0].contains(
            "No se grabaron los accesos del usuario TFALLA; se conservan los que tenía "
            "guardados."));
        QVERIFY(w->isVisible());
        QCOMPARE(guardados("001", "TFALLA"), antes);
        QCOMPARE(estado(*w, "PRODUCCION", "Informes", "Programación"), 0);
        // Once the option is granted again the same window saves.
        w->TreeView1->setCurrentItem(nodo(*w, "PRODUCCION", "Informes", "Comprobantes"));
        w->TreeView1->setCurrentItem(nodo(*w, "PRODUCCION", "Informes", "Programación"));
        QTest::keyClick(w.get(), Qt::Key_F2);
        QVERIFY(!w->isVisible());
        QCOMPARE(guardados("001", "TFALLA").size(), 727);
    }

    // The profile row and the branch.
    void perfilYSucursal() {
        usuario("TPERF", {"001", "003"});
        {
            auto w = abrir("TPERF", "001");
            QCOMPARE(w->Agencias->count(), 4);
            QCOMPARE(w->Agencias->currentText(), "Sucursal 2 - Norte");
            QVERIFY(w->Agencias->isEnabled());
            auto* nombre = w->Panel4->findChild<QLineEdit*>("USER_NOMBRE");
            auto* caja = w->Panel4->findChild<QLineEdit*>("CAJA_ID");
            apoyo::teclear(nombre, "Ñusta Peña");
            apoyo::teclear(caja, "7");
            w->Agencias->setCurrentIndex(0);
            QTest::keyClick(w.get(), Qt::Key_F2);
            QVERIFY(!w->isVisible());
        }
        QCOMPARE(apoyo::valor(ubicacion, "001/contabil.fdb",
                              "select user_nombre || '|' || caja_id || '|' || sucu_id from "
                              "usuario where user_cod = 'TPERF'"),
                 "Ñusta Peña|7|0");
        {
            auto w = abrir("TPERF", "001");
            QCOMPARE(w->Agencias->currentText(), "Todas");
            w->Agencias->setCurrentIndex(3);
            QTest::keyClick(w.get(), Qt::Key_F2);
        }
        QCOMPARE(apoyo::valor(ubicacion, "001/contabil.fdb",
                              "select sucu_id from usuario where user_cod = 'TPERF'"),
                 "3");
        // A company without branches: the list is empty and disabled, and
        // the save leaves the branch alone.
        auto w = abrir("TPERF", "003");
        QVERIFY(!w->Agencias->isEnabled());
        QCOMPARE(w->Agencias->currentText(), "");
        QTest::keyClick(w.get(), Qt::Key_F2);
        QCOMPARE(apoyo::valor(ubicacion, "003/contabil.fdb",
                              "select sucu_id from usuario where user_cod = 'TPERF'"),
                 "2");
        enLaCompaniaDeTrabajo();
    }

    // No row of the user in the company: nothing to edit and no other row
    // touched; the rights are still saved.
    void sinFilaEnLaCompania() {
        usuario("TSINFILA", {});
        const QStringList antes = apoyo::valores(
            ubicacion, "001/contabil.fdb",
            "select user_cod || '|' || coalesce(user_nombre, '') || '|' || coalesce(sucu_id, -1) "
            "from usuario order by user_cod");
        auto w = abrir("TSINFILA", "001");
        for (QLineEdit* e : w->Panel4->findChildren<QLineEdit*>()) {
            QVERIFY(!e->isEnabled());
            QVERIFY(e->text().isEmpty());
        }
        QVERIFY(!w->Agencias->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_F2);
        QVERIFY(!w->isVisible());
        QCOMPARE(apoyo::valores(ubicacion, "001/contabil.fdb",
                                "select user_cod || '|' || coalesce(user_nombre, '') || '|' || "
                                "coalesce(sucu_id, -1) from usuario order by user_cod"),
                 antes);
        QCOMPARE(guardados("001", "TSINFILA").size(), 727);
    }

    void companiaSinBaseVuelveALaDeTrabajo() {
        p->usuario_sel = "CAJERO";
        p->compania_sel = "999";
        try {
            Tfaccesousuario w(p.get());
            QFAIL("a missing company database was opened");
        } catch (const platform::DbError&) {
        }
        enLaCompaniaDeTrabajo();
    }

    void panelDeReporte() {
        auto w = abrir("CAJERO", "001");
        QVERIFY(w->AdvPanel1->isHidden());
        QCOMPARE(w->SpeedButton6->text(), "F9: Reporte");
        // F9 is not a key of this window.
        QTest::keyClick(w.get(), Qt::Key_F9);
        QVERIFY(w->AdvPanel1->isHidden());
        w->SpeedButton6->click();
        QVERIFY(w->AdvPanel1->isVisible());
        QVERIFY(w->CUsua->isOpen());
        QComboBox desde;
        w->llenarLookupUsuarios(&desde);
        QVERIFY(desde.findText("CAJERO") >= 0);
        QCOMPARE(desde.currentIndex(), -1);
    }
};

TEST_CLASS(TstAccesoUsuario)
#include "tst_accesousuario.moc"
