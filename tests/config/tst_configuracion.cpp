// The configuration editor against the real server and the demo data of
// company 001, printers from the test run's own CUPS scheduler.
#include "config/configuracion.h"
#include "config/defimpresoras.h"
#include "config/impresorascfg.h"
#include "platform/data/connection.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "shell/principal.h"
#include "support/cups.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>

using platform::DataSet;
using platform::GridColumn;

class TstConfiguracion : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<QTemporaryDir> carpeta;
    std::unique_ptr<Tfprincipal> ventana;
    std::unique_ptr<platform::Connection> lector;

    QString base() const { return ServidorPrueba::ruta(ubicacion, "001/contabil.fdb"); }
    void sql(const QString& texto) {
        bool ok = false;
        const QString salida = ServidorPrueba::instancia().isql(base(), texto, &ok);
        QVERIFY2(ok, qPrintable(salida));
    }

    // Every row of CONFIGURACION as "module|category|property|value", read
    // by a connection of its own.
    QStringList filasEnBase() {
        DataSet datos(QStringLiteral("lectura"), lector.get());
        datos.setCommandText(QStringLiteral(
            "select conf_modulo || '|' || conf_categoria || '|' || conf_propiedad || '|' || "
            "coalesce(conf_valor, '<null>') from configuracion order by 1"));
        datos.open();
        QStringList filas;
        for (int r = 0; r < datos.rowCount(); ++r)
            filas << datos.textAt(r, 0);
        return filas;
    }
    // Properties written by updates since the last call (trigger log).
    QStringList actualizadas() {
        DataSet datos(QStringLiteral("registro"), lector.get());
        datos.setCommandText(QStringLiteral("select propiedad from registro_cambios order by id"));
        datos.open();
        QStringList lista;
        for (int r = 0; r < datos.rowCount(); ++r)
            lista << datos.textAt(r, 0);
        sql(QStringLiteral("delete from registro_cambios; commit;"));
        return lista;
    }

    std::unique_ptr<Tfconfiguracion> abrir() {
        auto v = std::make_unique<Tfconfiguracion>(ventana.get());
        v->resize(900, 600);
        return v;
    }
    // The window on its own on the screen, for typing into the grid.
    std::unique_ptr<Tfconfiguracion> abrirVisible() {
        auto v = abrir();
        v->setParent(nullptr, Qt::Window);
        v->show();
        if (!QTest::qWaitForWindowExposed(v.get()))
            return nullptr;
        return v;
    }
    // The value cell of a row made current in the grid.
    static QModelIndex celdaValor(Tfconfiguracion& v, const QString& propiedad) {
        ir(v, propiedad);
        const QModelIndex celda = v.DBGridEh1->model()->index(
            v.Cconfigura->currentRow(), v.Cconfigura->fieldIndex("CONF_VALOR"));
        v.DBGridEh1->setCurrentIndex(celda);
        return celda;
    }
    static bool editable(Tfconfiguracion& v, const QModelIndex& celda) {
        return v.DBGridEh1->model()->flags(celda) & Qt::ItemIsEditable;
    }
    static QStringList entradas(QComboBox* lista) {
        QStringList textos;
        for (int i = 0; i < lista->count(); ++i)
            textos << lista->itemText(i);
        return textos;
    }

    static QTreeWidgetItem* nodo(Tfconfiguracion& v, const QString& modulo,
                                 const QString& categoria = {}) {
        for (int m = 0; m < v.TreeView1->topLevelItemCount(); ++m) {
            QTreeWidgetItem* item = v.TreeView1->topLevelItem(m);
            if (item->text(0) != modulo)
                continue;
            if (categoria.isEmpty())
                return item;
            for (int c = 0; c < item->childCount(); ++c)
                if (item->child(c)->text(0) == categoria)
                    return item->child(c);
        }
        return nullptr;
    }
    static void elegir(Tfconfiguracion& v, const QString& modulo, const QString& categoria = {}) {
        QTreeWidgetItem* item = nodo(v, modulo, categoria);
        QVERIFY(item);
        v.TreeView1->setCurrentItem(item);
    }
    static QStringList columna(DataSet& datos, const QString& campo) {
        QStringList lista;
        if (!datos.isOpen())
            return lista;
        for (int r = 0; r < datos.rowCount(); ++r)
            lista << datos.textAt(r, datos.fieldIndex(campo));
        return lista;
    }
    static void ir(Tfconfiguracion& v, const QString& propiedad) {
        QVERIFY(v.Cconfigura->locate({"CONF_PROPIEDAD"}, {propiedad}));
    }
    // Presses the value cell's button and types a value, as the grid does.
    static void teclear(Tfconfiguracion& v, const QString& propiedad, const QString& texto) {
        ir(v, propiedad);
        v.DBGridEh1Columns3EditButtonDown();
        v.Cconfigura->edit();
        v.Cconfigura->setValue("CONF_VALOR", texto);
        v.Cconfigura->post();
    }
    static QString valor(Tfconfiguracion& v, const QString& propiedad) {
        ir(v, propiedad);
        return v.Cconfigura->text("CONF_VALOR");
    }
    static bool bloqueada(Tfconfiguracion& v) { return v.DBGridEh1->isReadOnly(); }
    static bool pendientes(Tfconfiguracion& v) {
        return v.SpeedButton3->isEnabled() && v.SpeedButton1->isEnabled();
    }
    static void pulsar(QWidget* w, Qt::Key tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(w, tecla, mod);
    }

private slots:
    void initTestCase() {
        ServidorCups::instancia();
        ubicacion = ServidorPrueba::instancia().crearDatos();
        // Every update of a row leaves its property in a log.
        sql(QStringLiteral(
            "create table registro_cambios (id integer generated by default as identity, "
            "propiedad varchar(100));\n"
            "grant all on registro_cambios to public;\n"
            "set term ^ ;\n"
            "create trigger configuracion_cambio for configuracion after update as begin "
            "insert into registro_cambios (propiedad) values (new.conf_propiedad); end^\n"
            "set term ; ^\n"
            "commit;"));
        carpeta = std::make_unique<QTemporaryDir>();
        ventana = std::make_unique<Tfprincipal>();
        iniciarSesion(*ventana, ubicacion, "GERENTE", "gerente", "001", carpeta->path());
        lector = std::make_unique<platform::Connection>(QStringLiteral("lector"));
        lector->setParam("Database", base());
        lector->setParam("User_Name", "SYSDBA");
        lector->setParam("password", ServidorPrueba::instancia().claveSysdba());
        lector->connect();
    }
    void init() {
        FakeDialogs::actual().limpiar();
        QFile::remove(config::rutaImpresorasCfg(carpeta->path()));
    }
    void cleanupTestCase() {
        // The main window made the application folder the current one.
        QDir::setCurrent(QDir::tempPath());
        ventana.reset();
        lector.reset();
    }

    void arbolDeModulosYCategorias() {
        auto v = abrir();
        QStringList arbol;
        for (int m = 0; m < v->TreeView1->topLevelItemCount(); ++m) {
            QTreeWidgetItem* modulo = v->TreeView1->topLevelItem(m);
            QStringList categorias;
            for (int c = 0; c < modulo->childCount(); ++c)
                categorias << modulo->child(c)->text(0);
            arbol << modulo->text(0) + ": " + categorias.join(", ");
        }
        QCOMPARE(
            arbol,
            QStringList({"CARTERA: COBRO", "CONTABILIDAD: CIERRE", "FACTURACION: IMPRESION, VENTAS",
                         "GENERAL: APARIENCIA, GENERAL", "INVENTARIO: COSTOS, IMPRESION"}));
        QVERIFY(!v->Cconfigura->isOpen());
        QVERIFY(v->Panel1->isHidden());
        QVERIFY(!pendientes(*v));
    }

    void mismaCategoriaEnDosModulos() {
        auto v = abrir();
        elegir(*v, "FACTURACION", "IMPRESION");
        QCOMPARE(columna(*v->Cconfigura, "CONF_PROPIEDAD"),
                 QStringList({"COPIAS POR FACTURA", "IMPRESORA FACTURAS", "IMPRIME LOGO"}));
        QCOMPARE(v->DBMemo1->toPlainText(),
                 QString("Número de copias que se imprimen de cada factura."));
        elegir(*v, "INVENTARIO", "IMPRESION");
        QCOMPARE(columna(*v->Cconfigura, "CONF_PROPIEDAD"),
                 QStringList({"COLOR ETIQUETA", "IMPRESORA ROTULOS"}));
        // A module node empties the grid and the help text.
        elegir(*v, "INVENTARIO");
        QVERIFY(!v->Cconfigura->isOpen());
        QCOMPARE(v->DBGridEh1->model()->rowCount(), 0);
        QCOMPARE(v->DBMemo1->toPlainText(), QString());
    }

    void botonDeLaCeldaSegunLaFila_data() {
        QTest::addColumn<QString>("propiedad");
        QTest::addColumn<GridColumn::Button>("boton");
        QTest::addColumn<QStringList>("lista");
        QTest::newRow("S,N") << "PERMITE PRECIO MENOR AL COSTO" << GridColumn::Button::Auto
                             << QStringList{"S", "N"};
        QTest::newRow("empty entry kept") << "LISTA DE PRECIOS" << GridColumn::Button::Auto
                                          << QStringList{"MAYORISTA", "DETAL", "", "ESPECIAL"};
        QTest::newRow("one value")
            << "PIE DE FACTURA" << GridColumn::Button::Ellipsis << QStringList{};
    }
    void botonDeLaCeldaSegunLaFila() {
        QFETCH(QString, propiedad);
        QFETCH(GridColumn::Button, boton);
        QFETCH(QStringList, lista);
        auto v = abrir();
        elegir(*v, "FACTURACION", "VENTAS");
        ir(*v, propiedad);
        const GridColumn& c = v->DBGridEh1->column("CONF_VALOR");
        QCOMPARE(c.button, boton);
        QCOMPARE(c.pickList, lista);
    }

    void valorPermitidoSeGuardaComoSeEscribio() {
        auto v = abrir();
        elegir(*v, "FACTURACION", "IMPRESION");
        const QStringList antes = filasEnBase();
        actualizadas();
        teclear(*v, "IMPRIME LOGO", "n");
        QVERIFY(pendientes(*v));
        QVERIFY(bloqueada(*v));
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
        pulsar(v->DBGridEh1, Qt::Key_F2);
        QVERIFY(!pendientes(*v));
        QStringList despues = antes;
        despues.replaceInStrings("FACTURACION|IMPRESION|IMPRIME LOGO|S",
                                 "FACTURACION|IMPRESION|IMPRIME LOGO|n");
        QCOMPARE(filasEnBase(), despues);
        QCOMPARE(actualizadas(), QStringList{"IMPRIME LOGO"});
        sql("update configuracion set conf_valor = 'S' where conf_propiedad = 'IMPRIME LOGO'; "
            "delete from registro_cambios; commit;");
    }

    // Through the grid: the cell opens only with its button; a drop-down
    // entry is picked, a value is typed in another case, text is typed in
    // an ellipsis cell.
    void edicionEnLaCuadricula() {
        auto v = abrirVisible();
        QVERIFY(v);
        elegir(*v, "FACTURACION", "IMPRESION");
        QModelIndex celda = celdaValor(*v, "IMPRIME LOGO");
        QVERIFY(!editable(*v, celda));
        QTest::keyClick(v->DBGridEh1, Qt::Key_Down, Qt::AltModifier);
        auto* lista = v->DBGridEh1->findChild<QComboBox*>();
        QVERIFY(lista);
        QCOMPARE(entradas(lista), QStringList({"S", "N"}));
        lista->setCurrentIndex(1);
        emit lista->activated(1);
        QTRY_COMPARE(valor(*v, "IMPRIME LOGO"), QString("N"));
        QVERIFY(bloqueada(*v));
        QVERIFY(pendientes(*v));

        celda = celdaValor(*v, "IMPRIME LOGO");
        // The button, the list closed, then typing into the open cell.
        v->DBGridEh1->pressEditButton();
        QVERIFY(editable(*v, celda));
        lista = v->DBGridEh1->findChild<QComboBox*>();
        QVERIFY(lista);
        lista->hidePopup();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(editable(*v, celda));
        v->DBGridEh1->setFocus();
        QTest::keyClicks(v->DBGridEh1, "s");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(v->DBGridEh1->findChild<QComboBox*>()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(v->Cconfigura->state(), DataSet::State::Browse);
        QTRY_COMPARE(valor(*v, "IMPRIME LOGO"), QString("s"));
        QVERIFY(bloqueada(*v));

        // A value out of the list typed into the open cell is refused.
        celda = celdaValor(*v, "IMPRIME LOGO");
        v->DBGridEh1->pressEditButton();
        lista = v->DBGridEh1->findChild<QComboBox*>();
        lista->hidePopup();
        lista->lineEdit()->selectAll();
        QTest::keyClicks(lista->lineEdit(), "X");
        QTest::keyClick(lista->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(FakeDialogs::actual().textos(),
                     QStringList{"El valor \"X\" no está entre los valores permitidos: S, N."});
        QCOMPARE(valor(*v, "IMPRIME LOGO"), QString("s"));
        QVERIFY(bloqueada(*v));
        FakeDialogs::actual().limpiar();

        elegir(*v, "FACTURACION", "VENTAS");
        celda = celdaValor(*v, "PIE DE FACTURA");
        QVERIFY(!editable(*v, celda));
        v->DBGridEh1->pressEditButton();
        QVERIFY(editable(*v, celda));
        auto* texto =
            v->DBGridEh1->viewport()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(texto);
        texto->selectAll();
        QTest::keyClicks(texto, "Hasta luego");
        QTest::keyClick(texto, Qt::Key_Return);
        // The editor hands its text over once control is back in the event loop.
        QTRY_COMPARE(v->Cconfigura->state(), DataSet::State::Browse);
        QTRY_COMPARE(valor(*v, "PIE DE FACTURA"), QString("Hasta luego"));
        QVERIFY(bloqueada(*v));
        QVERIFY(pendientes(*v));
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
    }

    void valorFueraDeLaListaSeRechaza() {
        auto v = abrir();
        elegir(*v, "FACTURACION", "IMPRESION");
        teclear(*v, "COPIAS POR FACTURA", "7");
        QCOMPARE(valor(*v, "COPIAS POR FACTURA"), QString("2"));
        QVERIFY(!pendientes(*v));
        QTRY_COMPARE(FakeDialogs::actual().textos(),
                     QStringList{"El valor \"7\" no está entre los valores permitidos: 1, 2, 3."});
        QCOMPARE(v->Cconfigura->changeCount(), 0);
    }

    void grabaSoloLasFilasCambiadas() {
        auto v = abrir();
        elegir(*v, "FACTURACION", "VENTAS");
        actualizadas();
        teclear(*v, "PIE DE FACTURA", "Vuelva pronto");
        teclear(*v, "LISTA DE PRECIOS", "MAYORISTA"); // the same value again
        v->SpeedButton3Click();
        QCOMPARE(actualizadas(), QStringList{"PIE DE FACTURA"});
        QVERIFY(filasEnBase().contains("FACTURACION|VENTAS|PIE DE FACTURA|Vuelva pronto"));
        sql("update configuracion set conf_valor = 'Gracias por su compra' "
            "where conf_propiedad = 'PIE DE FACTURA'; delete from registro_cambios; commit;");
    }

    void deshacerVuelveALosValoresLeidos() {
        auto v = abrir();
        elegir(*v, "GENERAL", "GENERAL");
        teclear(*v, "MANEJA SUCURSALES", "N");
        teclear(*v, "DURACION DE LAS ADVERTENCIAS", "99");
        QVERIFY(pendientes(*v));
        pulsar(v->DBGridEh1, Qt::Key_Escape);
        QVERIFY(!pendientes(*v));
        QCOMPARE(valor(*v, "MANEJA SUCURSALES"), QString("S"));
        QCOMPARE(valor(*v, "DURACION DE LAS ADVERTENCIAS"), QString("30"));
        actualizadas();
        v->SpeedButton3Click();
        QCOMPARE(actualizadas(), QStringList());
        // Esc with nothing pending changes nothing.
        pulsar(v->DBGridEh1, Qt::Key_Escape);
        QVERIFY(!pendientes(*v));
    }

    void otraCategoriaDescartaLosCambios() {
        auto v = abrir();
        elegir(*v, "CARTERA", "COBRO");
        teclear(*v, "DIAS DE GRACIA", "15");
        elegir(*v, "CONTABILIDAD", "CIERRE");
        actualizadas();
        v->SpeedButton3Click();
        QCOMPARE(actualizadas(), QStringList());
        elegir(*v, "CARTERA", "COBRO");
        QCOMPARE(valor(*v, "DIAS DE GRACIA"), QString("5"));
    }

    void grabarSinCategoriaInformaElError() {
        auto v = abrir();
        v->show();
        actualizadas();
        pulsar(v->TreeView1, Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"Se presento el siguiente error: Cannot perform this operation on "
                             "a closed dataset"});
        QCOMPARE(actualizadas(), QStringList());
    }

    // The row changed by someone else after it was read is not overwritten.
    void filaCambiadaPorOtroNoSeSobreescribe() {
        auto v = abrir();
        elegir(*v, "CARTERA", "COBRO");
        teclear(*v, "DIAS DE GRACIA", "8");
        sql("update configuracion set conf_valor = '6' where conf_propiedad = 'DIAS DE GRACIA'; "
            "commit;");
        v->SpeedButton3Click();
        QVERIFY(filasEnBase().contains("CARTERA|COBRO|DIAS DE GRACIA|6"));
        QCOMPARE(FakeDialogs::actual().mensajes.size(), 1);
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        // Still pending: a later save may be tried again.
        QVERIFY(pendientes(*v));
        sql("update configuracion set conf_valor = '5' where conf_propiedad = 'DIAS DE GRACIA'; "
            "delete from registro_cambios; commit;");
    }

    void coloresConElDialogo() {
        auto v = abrir();
        FakeDialogs& d = FakeDialogs::actual();
        elegir(*v, "GENERAL", "APARIENCIA");
        ir(*v, "COLOR FONDO");
        QCOMPARE(v->DBGridEh1->column("CONF_VALOR").button, GridColumn::Button::Ellipsis);
        d.colores.enqueue(QColor(10, 20, 30));
        v->DBGridEh1Columns3EditButtonDown();
        v->DBGridEh1Columns3EditButtonClick();
        QCOMPARE(d.coloresPedidos, QList<QColor>{QColor(255, 0, 0)});
        QCOMPARE(valor(*v, "COLOR FONDO"), QString("$001E140A"));
        QVERIFY(bloqueada(*v));
        QVERIFY(pendientes(*v));

        ir(*v, "COLOR TITULOS");
        d.colores.enqueue(QColor(255, 0, 0));
        v->DBGridEh1Columns3EditButtonClick();
        QCOMPARE(d.coloresPedidos.last(), QColor(10, 20, 30));
        QCOMPARE(valor(*v, "COLOR TITULOS"), QString("clRed"));

        // Cancel changes nothing.
        ir(*v, "COLOR RESALTADO");
        v->DBGridEh1Columns3EditButtonClick();
        QCOMPARE(d.coloresPedidos.last(), QColor(0xA6, 0xCA, 0xF0));
        v->Cconfigura->post();
        QCOMPARE(valor(*v, "COLOR RESALTADO"), QString("clSkyBlue"));

        v->SpeedButton3Click();
        const QStringList filas = filasEnBase();
        QVERIFY(filas.contains("GENERAL|APARIENCIA|COLOR FONDO|$001E140A"));
        QVERIFY(filas.contains("GENERAL|APARIENCIA|COLOR TITULOS|clRed"));
        sql("update configuracion set conf_valor = 'clRed' where conf_propiedad = 'COLOR FONDO'; "
            "update configuracion set conf_valor = '$001E140A' "
            "where conf_propiedad = 'COLOR TITULOS'; commit;");

        elegir(*v, "INVENTARIO", "IMPRESION");
        ir(*v, "COLOR ETIQUETA");
        v->DBGridEh1Columns3EditButtonClick();
        QCOMPARE(d.coloresPedidos.last(), QColor(0, 0, 255));
    }

    void valoresQueNoAbrenElDialogo() {
        auto v = abrir();
        FakeDialogs& d = FakeDialogs::actual();
        elegir(*v, "GENERAL", "APARIENCIA");
        // Capitals: not taken for a colour, the cell opens for typing.
        teclear(*v, "COLOR FONDO", "CLRED");
        v->DBGridEh1Columns3EditButtonDown();
        v->DBGridEh1Columns3EditButtonClick();
        QVERIFY(d.coloresPedidos.isEmpty());
        QVERIFY(!bloqueada(*v));
        QCOMPARE(v->Cconfigura->state(), DataSet::State::Edit);
        v->Cconfigura->post();

        // A name of no colour: a Spanish message, the value stays.
        teclear(*v, "COLOR TITULOS", "clRojo");
        v->show();
        d.limpiar();
        ir(*v, "COLOR TITULOS");
        QMetaObject::invokeMethod(
            v->DBGridEh1, [&] { emit v->DBGridEh1->editButtonClicked(3); }, Qt::QueuedConnection);
        QTest::qWait(50);
        QVERIFY(d.coloresPedidos.isEmpty());
        QCOMPARE(d.textos(), QStringList{"Se presento el siguiente error: El valor \"clRojo\" no "
                                         "es un color válido."});
        QCOMPARE(valor(*v, "COLOR TITULOS"), QString("clRojo"));
    }

    void impresorasDelArchivo() {
        auto v = abrir();
        elegir(*v, "FACTURACION", "IMPRESION");
        ir(*v, "IMPRESORA FACTURAS");
        QCOMPARE(v->DBGridEh1->column("CONF_VALOR").button, GridColumn::Button::Auto);
        QCOMPARE(v->DBGridEh1->column("CONF_VALOR").pickList, QStringList{"Predeterminada"});

        // The printers of the scheduler, first and third chosen.
        {
            Tfdefimpresoras dialogo(ventana.get());
            dialogo.ToolButton2Click();
            dialogo.ListView1->topLevelItem(0)->setCheckState(0, Qt::Checked);
            dialogo.ListView1->topLevelItem(2)->setCheckState(0, Qt::Checked);
            dialogo.ToolButton1Click();
        }
        elegir(*v, "INVENTARIO", "IMPRESION");
        ir(*v, "IMPRESORA ROTULOS");
        QCOMPARE(v->DBGridEh1->column("CONF_VALOR").pickList,
                 QStringList({"Predeterminada", "1", "3"}));
        QCOMPARE(v->lista_impresoras, QStringList({"Predeterminada", "1", "3"}));
        // Any code may be typed.
        teclear(*v, "IMPRESORA ROTULOS", "7");
        QCOMPARE(valor(*v, "IMPRESORA ROTULOS"), QString("7"));
        QVERIFY(pendientes(*v));
    }

    void busquedaEnTodosLosModulos() {
        auto v = abrir();
        elegir(*v, "CARTERA", "COBRO");
        v->show();
        v->SpeedButton4->click();
        QVERIFY(!v->GroupBox1->isHidden());
        // Nothing happens with an empty text.
        v->PngSpeedButton1Click();
        QVERIFY(!v->CBuscar->isOpen());
        v->Edit1->setText("color");
        v->PngSpeedButton1Click();
        QCOMPARE(
            columna(*v->CBuscar, "CONF_PROPIEDAD"),
            QStringList({"COLOR FONDO", "COLOR RESALTADO", "COLOR TITULOS", "COLOR ETIQUETA"}));
        QCOMPARE(columna(*v->CBuscar, "CONF_MODULO"),
                 QStringList({"GENERAL", "GENERAL", "GENERAL", "INVENTARIO"}));
        // The tree and the grid stay where they were.
        QCOMPARE(v->TreeView1->currentItem()->text(0), QString("COBRO"));
        QCOMPARE(columna(*v->Cconfigura, "CONF_PROPIEDAD"),
                 QStringList({"COBRA INTERESES", "DIAS DE GRACIA"}));

        v->PngSpeedButton2Click();
        QVERIFY(v->GroupBox1->isHidden());
        QCOMPARE(v->Edit1->text(), QString());
        QVERIFY(!v->CBuscar->isOpen());
    }

    void busquedaConComilla() {
        sql("insert into configuracion values ('VENTAS', 'PUNTO', 'NOMBRE D''ARCHIVO', 'x', '', "
            "''); commit;");
        auto v = abrir();
        v->SpeedButton4Click();
        v->Edit1->setText("d'arch");
        v->PngSpeedButton1Click();
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
        QCOMPARE(columna(*v->CBuscar, "CONF_PROPIEDAD"), QStringList{"NOMBRE D'ARCHIVO"});
        v->Edit1->setText("'");
        v->PngSpeedButton1Click();
        QCOMPARE(columna(*v->CBuscar, "CONF_PROPIEDAD"), QStringList{"NOMBRE D'ARCHIVO"});
        sql("delete from configuracion where conf_modulo = 'VENTAS'; commit;");
    }

    void unaSolaVentanaYConfigAbierta() {
        ventana->resize(1000, 700);
        ventana->show();
        ventana->sButton4Click();
        QTRY_VERIFY(ventana->config_abierta);
        ventana->sButton4Click();
        QList<QMdiSubWindow*> hijas = ventana->mdiArea()->subWindowList();
        QCOMPARE(hijas.size(), 1);
        auto* v = qobject_cast<Tfconfiguracion*>(hijas[0]->widget());
        QVERIFY(v);
        QVERIFY(hijas[0]->isMaximized());
        // A third of the main window's width less 130 for the tree, half of
        // its height less 120 for the grid.
        const auto limitar = [](int n, int minimo, int maximo) {
            return std::clamp(n, minimo, maximo);
        };
        QTRY_COMPARE(v->Panel5->width(),
                     limitar(int(std::ceil((ventana->width() - 130) / 3.0)), 150, 400));
        QTRY_COMPARE(v->Panel8->height(),
                     limitar(int(std::ceil((ventana->height() - 120) / 2.0)), 140, 400));
        QPointer<Tfconfiguracion> vigilada(v);
        pulsar(v->TreeView1, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(vigilada.isNull());
        QVERIFY(!ventana->config_abierta);
        QTRY_COMPARE(ventana->mdiArea()->subWindowList().size(), 0);
        ventana->hide();
    }

    // A failed connection is reported and the window opens all the same,
    // empty, with its connecting panel still shown.
    void conexionFallidaAlAbrir() {
        const QString clave = ventana->clave_actual;
        ventana->clave_actual = "otra";
        auto v = abrir();
        ventana->clave_actual = clave;
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"El nombre de Usuario o la clave son incorrectas."});
        QVERIFY(!v->Panel1->isHidden());
        QCOMPARE(v->TreeView1->topLevelItemCount(), 0);
        ventana->volverACompaniaDeTrabajo();
    }

    void apuntaALaCompaniaDeTrabajo() {
        ventana->apuntarCompania("002");
        auto v = abrir();
        QCOMPARE(ventana->ConMantenim.param("Database"), ventana->rutaCompania("001"));
        QVERIFY(ventana->ConMantenim.connected());
    }
};

TEST_CLASS(TstConfiguracion)
#include "tst_configuracion.moc"
