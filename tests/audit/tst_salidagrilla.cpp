// Saving, copying, selecting and previewing a window's grid: the save
// dialog, the type lists, the extension rule, the pop-up menu and the
// preview, on a real result.
#include "audit/salidagrilla.h"
#include "platform/ansi.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "shell/aplicacion.h"
#include "support/datosgrid.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using platform::DataGrid;
using platform::DataSet;
using platform::ExportKind;

class TstSalidaGrilla : public QObject {
    Q_OBJECT
    std::unique_ptr<platform::Connection> conexion;
    std::unique_ptr<DataSet> datos;
    std::unique_ptr<QWidget> ventana;
    DataGrid* grilla = nullptr;
    QLineEdit* otro = nullptr;
    QTemporaryDir carpeta;

    QByteArray contenido(const QString& nombre) {
        QFile f(carpeta.filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
    }

    void enfocarGrilla(int fila = 0) {
        grilla->setCurrentIndex(grilla->model()->index(fila, datos->fieldIndex("NOMBRE")));
        grilla->setFocus();
        QTRY_VERIFY(grilla->hasFocus());
    }

private slots:
    void initTestCase() {
        conexion = datosgrid::conexion();
        QVERIFY(carpeta.isValid());
    }

    void init() {
        FakeDialogs::actual().limpiar();
        datos = std::make_unique<DataSet>(QStringLiteral("CRepAuditor"), conexion.get());
        datos->setCommandText(
            QStringLiteral("select id, nombre, valor from prueba_grid order by id"));
        datos->open();
        ventana = std::make_unique<QWidget>();
        auto* capas = new QVBoxLayout(ventana.get());
        otro = new QLineEdit(ventana.get());
        grilla = new DataGrid(ventana.get());
        grilla->setObjectName(QStringLiteral("DBGridEh1"));
        grilla->setDataSet(datos.get());
        grilla->setColumns({{"ID", "Código"}, {"NOMBRE", "Nombre"}, {"VALOR", "Valor"}});
        grilla->setAllowedActions(DataGrid::Copy | DataGrid::SelectAll);
        capas->addWidget(otro);
        capas->addWidget(grilla);
        ventana->resize(600, 400);
        ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(ventana.get()));
    }

    void cleanup() {
        ventana.reset();
        datos.reset();
    }

    void reglaDeExtension_data() {
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("archivo");
        QTest::newRow("sin extension") << "informe"
                                       << "csv"
                                       << "informe.csv";
        QTest::newRow("la misma en mayusculas") << "informe.CSV"
                                                << "csv"
                                                << "informe.CSV";
        QTest::newRow("otra extension queda delante") << "informe.txt"
                                                      << "csv"
                                                      << "informe.txt.csv";
        QTest::newRow("termina en las tres letras") << "informetxt"
                                                    << "txt"
                                                    << "informetxt";
        QTest::newRow("dos caracteres") << "ab"
                                        << "xls"
                                        << "ab.xls";
        QTest::newRow("tres caracteres iguales") << "HTM"
                                                 << "htm"
                                                 << "HTM";
        QTest::newRow("carpeta con punto") << "/tmp/v1.0/informe"
                                           << "rtf"
                                           << "/tmp/v1.0/informe.rtf";
    }
    void reglaDeExtension() {
        QFETCH(QString, escrito);
        QFETCH(QString, extension);
        QFETCH(QString, archivo);
        QCOMPARE(conExtension(escrito, extension), archivo);
    }

    void entradasDeLasListas_data() {
        QTest::addColumn<int>("lista");
        QTest::addColumn<int>("entrada");
        QTest::addColumn<bool>("existe");
        QTest::addColumn<int>("clase");
        QTest::addColumn<QString>("extension");
        const int cinco = int(ListaTipos::EspanolCinco), tres = int(ListaTipos::EspanolTres);
        QTest::newRow("5: texto") << cinco << 1 << true << int(ExportKind::Text) << "txt";
        QTest::newRow("5: csv") << cinco << 2 << true << int(ExportKind::Csv) << "csv";
        QTest::newRow("5: html") << cinco << 3 << true << int(ExportKind::Html) << "htm";
        QTest::newRow("5: rtf") << int(ListaTipos::InglesCinco) << 4 << true << int(ExportKind::Rtf)
                                << "rtf";
        QTest::newRow("5: excel") << cinco << 5 << true << int(ExportKind::Xls) << "xls";
        QTest::newRow("5: sexta") << cinco << 6 << false << 0 << "";
        QTest::newRow("3: excel es la tercera")
            << tres << 3 << true << int(ExportKind::Xls) << "xls";
        QTest::newRow("3: cuarta") << tres << 4 << false << 0 << "";
        QTest::newRow("cero") << tres << 0 << false << 0 << "";
    }
    void entradasDeLasListas() {
        QFETCH(int, lista);
        QFETCH(int, entrada);
        QFETCH(bool, existe);
        QFETCH(int, clase);
        QFETCH(QString, extension);
        ExportKind k = ExportKind::Text;
        QString e;
        QCOMPARE(claseDeEntrada(ListaTipos(lista), entrada, &k, &e), existe);
        if (existe) {
            QCOMPARE(int(k), clase);
            QCOMPARE(e, extension);
        }
    }

    void dialogoDeGuardarRecuerdaElTipoYNoElNombre() {
        SalidaGrilla salida(ventana.get(), grilla, "Consulta", ListaTipos::InglesCinco,
                            "Comprobante contable", SalidaGrilla::Guardar::Foco);
        FakeDialogs& d = FakeDialogs::actual();
        enfocarGrilla();
        grilla->selectAllRows();
        d.guardar.enqueue({carpeta.filePath("informe"), 2});
        salida.ppmSaveSelectionClick();
        d.guardar.enqueue({carpeta.filePath("otro.txt"), 4});
        salida.ppmSaveSelectionClick();
        salida.ppmSaveSelectionClick(); // cancelled
        QCOMPARE(d.pedidosGuardar.size(), 3);
        const QList<int> preseleccion = {1, 2, 4};
        for (int i = 0; i < 3; ++i) {
            const auto& p = d.pedidosGuardar[i];
            QCOMPARE(p.fileName, QStringLiteral("Consulta"));
            QCOMPARE(p.filterIndex, preseleccion[i]);
            QCOMPARE(p.filter,
                     QStringLiteral("Text files (*.txt)|*.TXT|Comma separated values (*.csv)|*.CSV|"
                                    "HTML file (*.htm)|*.HTM|Rich Text Format (*.rtf)|*.RTF|"
                                    "Microsoft Excel Workbook (*.xls)|*.XLS"));
            QVERIFY(p.defaultSuffix.isEmpty());
            QVERIFY(!p.overwritePrompt);
        }
        QVERIFY(contenido("informe.csv").startsWith(platform::toAnsi("Código,Nombre,Valor\r\n")));
        QVERIFY(contenido("otro.txt.rtf").startsWith("{\\rtf1"));
        QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files).size(), 2);
    }

    void entradaQueLaListaNoTieneNoEscribe() {
        SalidaGrilla salida(ventana.get(), grilla, "Proceso", ListaTipos::EspanolTres);
        FakeDialogs::actual().guardar.enqueue({carpeta.filePath("cuarta"), 4});
        salida.guardarseleccion();
        QCOMPARE(FakeDialogs::actual().pedidosGuardar.size(), 1);
        QVERIFY(!QFile::exists(carpeta.filePath("cuarta")));
        QVERIFY(!QFile::exists(carpeta.filePath("cuarta.xls")));
    }

    void seleccionOCeldaEnfocadaOTodo_data() {
        QTest::addColumn<bool>("ctrlClicEnFilas");
        QTest::addColumn<bool>("seleccionarTodo");
        QTest::addColumn<QByteArray>("esperado");
        QTest::newRow("sin seleccion: la celda enfocada")
            << false << false << QByteArray("Nombre\r\n\"O'Brien, Ltda.\"\r\n");
        QTest::newRow("filas elegidas")
            << true << false
            << QByteArray("Código,Nombre,Valor\r\n1,\"Ñandú \"\"comillas\"\"\",1234.50\r\n"
                          "4,mapa <b>&amp;</b>,0.20\r\n");
        QTest::newRow("todo (F2:Grabar)") << false << true << QByteArray();
    }
    void seleccionOCeldaEnfocadaOTodo() {
        QFETCH(bool, ctrlClicEnFilas);
        QFETCH(bool, seleccionarTodo);
        QFETCH(QByteArray, esperado);
        SalidaGrilla salida(ventana.get(), grilla, "Proceso", ListaTipos::EspanolTres);
        enfocarGrilla(1);
        if (ctrlClicEnFilas)
            for (int fila : {0, 3})
                QTest::mouseClick(grilla->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  grilla->visualRect(grilla->model()->index(fila, 1)).center());
        if (seleccionarTodo)
            salida.seleccionartodo();
        const QString nombre =
            QStringLiteral("sel%1%2.csv").arg(ctrlClicEnFilas).arg(seleccionarTodo);
        FakeDialogs::actual().guardar.enqueue({carpeta.filePath(nombre), 2});
        salida.ppmSaveSelectionClick();
        const QByteArray escrito = contenido(nombre);
        if (seleccionarTodo)
            QCOMPARE(escrito.count("\r\n"), 6); // titles and the five rows
        else
            QCOMPARE(escrito, platform::toAnsi(QString::fromUtf8(esperado)));
    }

    void grillaOcultaSoloSeleccionarTodo_data() {
        QTest::addColumn<int>("acciones");
        QTest::addColumn<int>("lineas");
        QTest::newRow("permite seleccionar todo") << int(DataGrid::SelectAll) << 6;
        QTest::newRow("no lo permite") << 0 << 2; // the current row's cell
    }
    void grillaOcultaSoloSeleccionarTodo() {
        QFETCH(int, acciones);
        QFETCH(int, lineas);
        grilla->hide();
        grilla->setAllowedActions(acciones);
        SalidaGrilla salida(ventana.get(), grilla, "Auditoria", ListaTipos::EspanolCinco);
        salida.seleccionartodo();
        const QString nombre = QStringLiteral("oculta%1.txt").arg(acciones);
        FakeDialogs::actual().guardar.enqueue({carpeta.filePath("oculta%1").arg(acciones), 1});
        salida.guardarseleccion();
        QCOMPARE(contenido(nombre).count("\r\n"), lineas);
        QCOMPARE(FakeDialogs::actual().pedidosGuardar.at(0).filter,
                 QStringLiteral("Archivo texto (*.txt)|*.TXT|Valores separados por comas "
                                "(*.csv)|*.CSV|Archivo HTML (*.htm)|*.HTM|Texto con formato "
                                "(*.rtf)|*.RTF|Libro de Microsoft Excel (*.xls)|*.XLS"));
    }

    void menuEnOrdenYSinGrillaEnfocadaNoHaceNada() {
        SalidaGrilla salida(ventana.get(), grilla, "Consulta", ListaTipos::InglesCinco,
                            "Comprobante contable", SalidaGrilla::Guardar::Foco);
        salida.usarMenuEn(grilla);
        QStringList textos;
        for (QAction* a : salida.PopupMenu1()->actions())
            textos << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(textos, QStringList({"&Copiar", "Se&lecccionar todo", "-", "&Imprimir",
                                      "&Guardar selección"}));
        QCOMPARE(grilla->contextMenuPolicy(), Qt::CustomContextMenu);

        otro->setFocus();
        QTRY_VERIFY(otro->hasFocus());
        QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
        for (QAction* a : salida.PopupMenu1()->actions())
            a->trigger(); // copy, select all, preview and save: nothing happens
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("antes"));
        QVERIFY(!grilla->selectionModel()->hasSelection());
        QVERIFY(FakeDialogs::actual().pedidosGuardar.isEmpty());
    }

    void copiarDelMenu() {
        SalidaGrilla salida(ventana.get(), grilla, "Consulta", ListaTipos::InglesCinco);
        enfocarGrilla(4);
        salida.ppmSelectAllClick();
        QCOMPARE(grilla->selectedRowList().size(), 5);
        salida.ppmCopyClick();
        const QString texto = QGuiApplication::clipboard()->text();
        QVERIFY(texto.startsWith(QStringLiteral("Código\tNombre\tValor\n1\tÑandú")));
        QCOMPARE(texto.count('\n'), 5);
    }

    void archivoQueNoSePuedeCrearLlegaAlManejoDeErrores() {
        SalidaGrilla salida(ventana.get(), grilla, "Consulta", ListaTipos::InglesCinco);
        salida.usarMenuEn(grilla);
        QStringList errores;
        Aplicacion::setHook([&](QObject*, const std::exception& e) { errores << e.what(); });
        enfocarGrilla();
        const QString archivo = carpeta.filePath("no/hay/carpeta");
        FakeDialogs::actual().guardar.enqueue({archivo, 1});
        QAction* guardar = salida.PopupMenu1()->findChild<QAction*>("ppmSaveSelection");
        QMetaObject::invokeMethod(guardar, &QAction::trigger, Qt::QueuedConnection);
        QTRY_COMPARE(errores.size(), 1);
        Aplicacion::setHook({});
        QVERIFY(errores[0].contains(archivo + ".txt"));
    }

    void vistaPreviaConEncabezadoYFecha() {
        SalidaGrilla salida(ventana.get(), grilla, "Proceso", ListaTipos::EspanolTres,
                            "Busqueda de Comprobantes");
        enfocarGrilla();
        int paginas = 0;
        alAbrirModal(QStringLiteral("PreviewGrid"), [&](QWidget* dialogo) {
            auto* vista = dialogo->findChild<QPrintPreviewWidget*>();
            paginas = vista ? vista->pageCount() : -1;
            qobject_cast<QDialog*>(dialogo)->reject();
        });
        salida.ppmPreviewClick();
        QCOMPARE(paginas, 1);

        // The same pages on paper, read back from a PDF.
        QPrinter impresora(QPrinter::HighResolution);
        impresora.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = carpeta.filePath("vista.pdf");
        impresora.setOutputFileName(pdf);
        salida.PrintDBGridEh1.print(impresora);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char* esperado : {"Page. 1", "Title", "Busqueda de Comprobantes", "Código",
                                     "Ñandú \"comillas\"", "1234.50", "Impreso: 11/12/2026"})
            QVERIFY2(texto.contains(QString::fromUtf8(esperado)), esperado);
        QVERIFY(texto.indexOf("Busqueda") < texto.indexOf("Ñandú"));
        QVERIFY(texto.indexOf("Zeta") < texto.indexOf("Impreso"));
    }
};

TEST_CLASS(TstSalidaGrilla)
#include "tst_salidagrilla.moc"
