// The data grid over a real result: sorting by titles, the filter row, the
// footer sums, check boxes, search, the permitted actions and cell editing.
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "support/datosgrid.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using platform::DataGrid;
using platform::DataSet;
using platform::GridColumn;

class TstDataGrid : public QObject {
    Q_OBJECT
    std::unique_ptr<platform::Connection> conexion;
    std::unique_ptr<DataSet> datos;
    std::unique_ptr<DataGrid> grid;

    void abrir(const QString& sql) {
        datos = std::make_unique<DataSet>(QStringLiteral("CPrueba"), conexion.get());
        datos->setCommandText(sql);
        datos->open();
        grid = std::make_unique<DataGrid>();
        grid->setObjectName(QStringLiteral("DBGridEh1"));
        grid->setDataSet(datos.get());
        grid->resize(700, 300);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    // The ID of each visible row, in order.
    QList<int> ids() const {
        QList<int> lista;
        for (int r = 0; r < datos->rowCount(); ++r)
            lista << datos->valueAt(r, 0).toInt();
        return lista;
    }

    int campo(const QString& nombre) const { return datos->fieldIndex(nombre); }

    void clicTitulo(const QString& nombre, Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        QHeaderView* h = grid->horizontalHeader();
        const int f = campo(nombre);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, teclas,
                          QPoint(h->sectionViewportPosition(f) + h->sectionSize(f) / 2, 5));
    }

    void clicFila(int fila, Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        const QRect r = grid->visualRect(grid->model()->index(fila, campo("NOMBRE")));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, teclas, r.center());
    }

private slots:
    void initTestCase() { conexion = datosgrid::conexion(); }

    void init() { abrir(QStringLiteral("select * from prueba_grid order by id")); }

    void cleanup() {
        grid.reset();
        datos.reset();
    }

    void tituloOrdenaYCtrlAgregaColumnas() {
        clicTitulo("VALOR");
        QCOMPARE(ids(), QList<int>({3, 2, 4, 1, 5}));
        clicTitulo("VALOR");
        QCOMPARE(ids(), QList<int>({5, 1, 4, 2, 3}));
        clicTitulo("ACTIVO");
        QCOMPARE(datos->sort().size(), 1);
        clicTitulo("ID", Qt::ControlModifier);
        QCOMPARE(datos->sort().size(), 2);
        QCOMPARE(ids(), QList<int>({5, 2, 4, 1, 3})); // null, N, N, S, S
        clicTitulo("ID", Qt::ControlModifier);        // turns the second key
        QCOMPARE(ids(), QList<int>({5, 4, 2, 3, 1}));
    }

    void filaDeFiltro_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QList<int>>("esperados");
        QTest::newRow("contiene, sin mayusculas") << "NOMBRE"
                                                  << "ma" << QList<int>{3, 4};
        QTest::newRow("acento") << "NOMBRE"
                                << "ÑAN" << QList<int>{1, 3};
        QTest::newRow("mayor numerico") << "VALOR"
                                        << ">100" << QList<int>{1, 5};
        QTest::newRow("menor o igual") << "VALOR"
                                       << "<=0.10" << QList<int>{2, 3};
        QTest::newRow("fecha") << "FECHA"
                               << ">=01/06/2026" << QList<int>{4};
        QTest::newRow("igual") << "ACTIVO"
                               << "=s" << QList<int>{1, 3};
        QTest::newRow("distinto") << "ACTIVO"
                                  << "<>S" << QList<int>{2, 4};
        QTest::newRow("sin coincidencias") << "NOMBRE"
                                           << "xyz" << QList<int>{};
    }
    void filaDeFiltro() {
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        QFETCH(QList<int>, esperados);
        grid->setFilterRowVisible(true);
        auto* filtro = grid->findChild<QLineEdit*>(QStringLiteral("Filtro_") + campo);
        QVERIFY(filtro);
        QVERIFY(filtro->isVisible());
        QTest::keyClicks(filtro, texto);
        QTest::keyClick(filtro, Qt::Key_Return);
        QCOMPARE(ids(), esperados);
        // Hidden, the filter row keeps no rows out; shown again, it filters again.
        grid->setFilterRowVisible(false);
        QCOMPARE(ids(), QList<int>({1, 2, 3, 4, 5}));
        grid->setFilterRowVisible(true);
        QCOMPARE(ids(), esperados);
        grid->clearFilters();
        QCOMPARE(datos->rowCount(), 5);
    }

    void pieSumaExactaYSigueAlFiltro() {
        abrir(QStringLiteral("select * from sumas order by id"));
        GridColumn& valor = grid->column("VALOR");
        valor.displayFormat = valor.footerFormat = QStringLiteral("#,###.00");
        valor.footerSum = true;
        valor.footerColor = QColor(0xC0, 0xDC, 0xC0);
        grid->setFooterVisible(true);
        grid->recalcFooter();
        // 1000 × 0.10 + 90071992547409.92: a sum in doubles misses the cents.
        QCOMPARE(grid->footerText("VALOR"), QStringLiteral("90,071,992,547,509.92"));
        QCOMPARE(grid->footerText("ID"), QString());
        QVERIFY(grid->findChild<QWidget*>(QStringLiteral("Footer"))->isVisible());
        QCOMPARE(grid->displayText(1000, campo("VALOR")), QStringLiteral("90,071,992,547,409.92"));
        grid->setFilterRowVisible(true);
        grid->setFilterText("VALOR", "<1");
        QCOMPARE(datos->rowCount(), 1000);
        QCOMPARE(grid->footerText("VALOR"), QStringLiteral("100.00"));
    }

    void formatoDecimal_data() {
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("miles") << "#,###.00"
                               << "1234.5"
                               << "1,234.50";
        QTest::newRow("millones negativos") << "#,###.00"
                                            << "-1234567.891"
                                            << "-1,234,567.89";
        QTest::newRow("redondeo lleva") << "#,###.00"
                                        << "999.995"
                                        << "1,000.00";
        QTest::newRow("sin entero obligatorio") << "#,###.00"
                                                << "0.1"
                                                << ".10";
        QTest::newRow("cero obligatorio") << "#,##0.00"
                                          << "0.1"
                                          << "0.10";
        QTest::newRow("negativo que redondea a cero") << "#,##0.00"
                                                      << "-0.004"
                                                      << "0.00";
        QTest::newRow("entero") << "#,###"
                                << "1234567"
                                << "1,234,567";
        QTest::newRow("sin miles") << "0.000"
                                   << "12.3456"
                                   << "12.346";
    }
    void formatoDecimal() {
        QFETCH(QString, formato);
        QFETCH(QString, valor);
        QFETCH(QString, esperado);
        QCOMPARE(platform::formatDecimal(formato, valor), esperado);
    }

    void seleccionarTodoSoloSiSePermite_data() {
        QTest::addColumn<int>("acciones");
        QTest::addColumn<int>("filas");
        QTest::newRow("permitido") << int(DataGrid::SelectAll) << 5;
        QTest::newRow("no permitido") << int(DataGrid::Copy) << 1; // the current row only
    }
    void seleccionarTodoSoloSiSePermite() {
        QFETCH(int, acciones);
        QFETCH(int, filas);
        grid->setAllowedActions(acciones);
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selectedRowList().size(), filas);
        grid->clearSelection();
        grid->selectAllRows();
        QCOMPARE(grid->selectedRowList().size(), filas);
    }

    void clicSimpleNoSeleccionaCtrlAlterna() {
        clicFila(1);
        QCOMPARE(grid->currentIndex().row(), 1);
        QVERIFY(!grid->selectionModel()->hasSelection());
        clicFila(0, Qt::ControlModifier);
        clicFila(3, Qt::ControlModifier);
        QCOMPARE(grid->selectedRowList(), QList<int>({0, 3}));
        clicFila(0, Qt::ControlModifier);
        QCOMPARE(grid->selectedRowList(), QList<int>({3}));
        clicFila(2);
        QCOMPARE(grid->selectedRowList(), QList<int>({2})); // nothing selected: the current row
        QVERIFY(!grid->selectionModel()->hasSelection());
    }

    void copiarPoneLaSeleccion() {
        grid->setAllowedActions(DataGrid::Copy | DataGrid::SelectAll);
        grid->setColumns({{"ID"}, {"NOMBRE", "Nombre"}, {"VALOR"}});
        clicFila(0, Qt::ControlModifier);
        clicFila(2, Qt::ControlModifier);
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->text(), QStringLiteral("ID\tNombre\tVALOR\n"
                                              "1\tÑandú \"comillas\"\t1234.50\n"
                                              "3\tMañana €uro\t-20.05"));
        QVERIFY(mime->hasHtml());
        QVERIFY(mime->html().contains(QStringLiteral("<td>Ñandú &quot;comillas&quot;</td>")));
        QVERIFY(!mime->html().contains(QStringLiteral("O'Brien")));

        // With nothing selected the focused cell is the selection.
        clicFila(1);
        QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("O'Brien, Ltda."));
    }

    void copiarNoPermitidoNoTocaElPortapapeles() {
        grid->setAllowedActions(DataGrid::SelectAll);
        QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
        grid->selectAllRows();
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
        grid->copyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("antes"));
    }

    void casillasConListaDeClaves() {
        GridColumn activo{"ACTIVO"};
        activo.checkedValue = QStringLiteral("S");
        activo.uncheckedValue = QStringLiteral("N");
        activo.readOnly = false;
        grid->setColumns({{"ID"}, {"NOMBRE"}, activo});
        const int f = campo("ACTIVO");
        auto estado = [&](int fila) {
            return grid->model()->index(fila, f).data(Qt::CheckStateRole);
        };
        QCOMPARE(estado(0).toInt(), int(Qt::Checked));
        QCOMPARE(estado(1).toInt(), int(Qt::Unchecked));
        QCOMPARE(estado(4).toInt(), int(Qt::PartiallyChecked)); // null
        QVERIFY(grid->model()->index(0, f).data(Qt::DisplayRole).isNull());

        grid->setReadOnly(false);
        grid->setCurrentIndex(grid->model()->index(1, f));
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_Space);
        QCOMPARE(datos->valueAt(1, f).toString(), QStringLiteral("S"));
        const QRect celda = grid->visualRect(grid->model()->index(1, f));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(datos->valueAt(1, f).toString(), QStringLiteral("N"));

        grid->setReadOnly(true); // locked: the box does not change
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(datos->valueAt(1, f).toString(), QStringLiteral("N"));
    }

    void busquedaIncremental() {
        grid->setCurrentIndex(grid->model()->index(0, campo("NOMBRE")));
        grid->setFocus();
        QTest::keyClicks(grid.get(), QStringLiteral("ma"));
        QCOMPARE(grid->currentIndex().row(), 2); // "Mañana €uro"
        QTest::keyClicks(grid.get(), QStringLiteral("p"));
        QCOMPARE(grid->currentIndex().row(), 3); // "mapa ..."
        QCOMPARE(grid->searchText(), QStringLiteral("map"));
        QCOMPARE(datos->currentRow(), 3);
        const int pitidos = FakeDialogs::actual().pitidos;
        QTest::keyClicks(grid.get(), QStringLiteral("q")); // no "mapq": stays, beeps
        QCOMPARE(grid->currentIndex().row(), 3);
        QCOMPARE(FakeDialogs::actual().pitidos, pitidos + 1);
    }

    void buscar_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("columna"); // -1: every column
        QTest::addColumn<bool>("mayusculas");
        QTest::addColumn<bool>("completo");
        QTest::addColumn<int>("fila"); // -1: not found
        QTest::newRow("parte, cualquier columna") << "brien" << -1 << false << false << 1;
        QTest::newRow("mayusculas distintas") << "BRIEN" << -1 << true << false << -1;
        QTest::newRow("campo completo") << "Zeta" << 1 << false << true << 4;
        QTest::newRow("campo completo falla con parte") << "Zet" << 1 << false << true << -1;
        QTest::newRow("otra columna") << "1234.50" << 2 << false << false << 0;
    }
    void buscar() {
        QFETCH(QString, texto);
        QFETCH(int, columna);
        QFETCH(bool, mayusculas);
        QFETCH(bool, completo);
        QFETCH(int, fila);
        grid->setCurrentIndex(grid->model()->index(0, 1));
        if (fila == 0) // searching starts after the current row
            grid->setCurrentIndex(grid->model()->index(4, 1));
        const bool hallado = grid->findNext(texto, columna, mayusculas, completo, fila != 0);
        QCOMPARE(hallado, fila >= 0);
        if (hallado)
            QCOMPARE(grid->currentIndex().row(), fila);
    }

    void botonDeCeldaDesbloqueaLaEdicion() {
        GridColumn nombre{"NOMBRE"};
        nombre.readOnly = false;
        nombre.button = GridColumn::Button::Ellipsis;
        grid->setColumns({{"ID"}, nombre});
        grid->setReadOnly(true);
        QSignalSpy abajo(grid.get(), &DataGrid::editButtonDown);
        QSignalSpy clic(grid.get(), &DataGrid::editButtonClicked);
        connect(grid.get(), &DataGrid::editButtonDown, grid.get(),
                [this] { grid->setReadOnly(false); });
        const QModelIndex celda = grid->model()->index(1, campo("NOMBRE"));
        grid->setCurrentIndex(celda);
        grid->setFocus();
        // Locked: typing searches instead of editing.
        QTest::keyClicks(grid.get(), QStringLiteral("z"));
        QVERIFY(!grid->isEditing());
        grid->setCurrentIndex(celda);
        const QRect boton = grid->editButtonRect(celda);
        QVERIFY(!boton.isNull());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, boton.center());
        QCOMPARE(abajo.size(), 1);
        QCOMPARE(abajo.at(0).at(0).toInt(), 1); // the column's index in columns()
        QCOMPARE(clic.size(), 1);
        QVERIFY(grid->isEditing());
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Nuevo, nombre"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits when the event loop runs.
        QTRY_COMPARE(datos->valueAt(1, campo("NOMBRE")).toString(),
                     QStringLiteral("Nuevo, nombre"));
        QCOMPARE(datos->changeCount(), 1);
    }

    void listaDesplegableEscribeLoElegido() {
        GridColumn activo{"ACTIVO"};
        activo.readOnly = false;
        activo.button = GridColumn::Button::Auto;
        activo.pickList = QStringList{"S", "N", "X"};
        grid->setColumns({{"ID"}, activo});
        connect(grid.get(), &DataGrid::editButtonDown, grid.get(),
                [this] { grid->setReadOnly(false); });
        grid->setCurrentIndex(grid->model()->index(0, campo("ACTIVO")));
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_Down, Qt::AltModifier);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        QCOMPARE(datos->valueAt(0, campo("ACTIVO")).toString(), QStringLiteral("X"));
    }

    void columnasEnOrdenDeGrillaConTitulos() {
        GridColumn oculta{"NOTA"};
        oculta.visible = false;
        grid->setColumns({{"NOMBRE", "Nombre"}, {"ID", "Código", 40, 80}, oculta, {"VALOR"}});
        auto orden = [&] {
            QStringList t;
            for (const auto& [f, titulo] : grid->visibleColumns())
                t << titulo;
            return t;
        };
        QCOMPARE(orden(), QStringList({"Nombre", "Código", "VALOR"}));
        QCOMPARE(grid->horizontalHeader()->sectionSize(campo("ID")), 80); // minimum width
        QHeaderView* h = grid->horizontalHeader();
        h->moveSection(h->visualIndex(campo("VALOR")), 0); // as a drag by the user does
        QCOMPARE(orden(), QStringList({"VALOR", "Nombre", "Código"}));
        QCOMPARE(grid->columns().first().field, QStringLiteral("VALOR"));
        // Sorting resets the model; the order, widths and hidden columns stay.
        clicTitulo("VALOR");
        QCOMPARE(orden(), QStringList({"VALOR", "Nombre", "Código"}));
        QVERIFY(h->isSectionHidden(campo("NOTA")));
    }

    void enterComoTab() {
        grid->setColumns({{"ID"}, {"NOMBRE"}, {"VALOR"}});
        grid->setEnterMovesLikeTab(true);
        grid->setCurrentIndex(grid->model()->index(0, campo("NOMBRE")));
        grid->setFocus();
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, campo("VALOR")));
        QTest::keyClick(grid.get(), Qt::Key_Return); // past the last column: next row
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, campo("ID")));
        QCOMPARE(datos->currentRow(), 1);
    }

    void nuevoResultadoConOtrasColumnas() {
        clicTitulo("NOTA");
        grid->setFilterRowVisible(true);
        grid->setFilterText("NOTA", "e");
        datos->close();
        datos->setCommandText(QStringLiteral("select id, valor from sumas where id < 3"));
        datos->open();
        QCOMPARE(datos->rowCount(), 3);
        QVERIFY(datos->sort().isEmpty());
        QCOMPARE(grid->visibleColumns().size(), 2);
        QCOMPARE(grid->filterText("NOTA"), QString());
    }
};

TEST_CLASS(TstDataGrid)
#include "tst_datagrid.moc"
