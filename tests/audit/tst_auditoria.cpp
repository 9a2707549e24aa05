// Audit reports: the statement of each kind, the window's defaults, and the
// reports of the demo company written as PDF and text, read back.
#include "audit/auditoria.h"
#include "audit/consultas.h"
#include "audit/salidagrilla.h"
#include "platform/ansi.h"
#include "platform/data/dataset.h"
#include "shell/principal.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using platform::DataSet;

namespace {

QStringList paginasPdf(const QString& archivo) {
    QProcess proceso;
    proceso.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), archivo, "-"});
    proceso.waitForFinished(60000);
    QStringList paginas = QString::fromUtf8(proceso.readAllStandardOutput()).split('\f');
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty())
        paginas.removeLast();
    return paginas;
}

// Answers the report engine's own setup dialog with a file of a format.
void responderArchivo(const QString& archivo, const QString& formato, QString* titulo = nullptr) {
    alAbrirModal(QStringLiteral("ReportSetupDialog"), [=](QWidget* d) {
        if (titulo)
            *titulo = d->windowTitle();
        d->findChild<QRadioButton*>(QStringLiteral("destinoArchivo"))->setChecked(true);
        d->findChild<QLineEdit*>(QStringLiteral("archivo"))->setText(archivo);
        auto* formatos = d->findChild<QComboBox*>(QStringLiteral("formato"));
        formatos->setCurrentIndex(formatos->findText(formato));
        d->findChild<QToolButton*>(QStringLiteral("aceptar"))->click();
    });
}

} // namespace

class TstAuditoria : public QObject {
    Q_OBJECT
    QString ubicacion;
    QTemporaryDir carpeta;
    std::unique_ptr<Tfprincipal> p;
    QDate hoy;

    Tfauditoria* abrir() {
        auto* ventana = new Tfauditoria(p.get());
        p->abrirHija(ventana);
        return ventana;
    }

    // The rows the window's statement gives, read apart from the window.
    std::unique_ptr<DataSet> filas(const auditoria::Filtro& filtro) {
        auto datos = std::make_unique<DataSet>(QStringLiteral("esperado"), &p->ConMantenim);
        datos->setCommandText(auditoria::sentencia(filtro, QStringLiteral("dd/MM/yyyy")));
        datos->open();
        return datos;
    }

    QString mes(int dia) const {
        return QDate(hoy.year(), hoy.month(), dia).toString("dd/MM/yyyy");
    }

private slots:
    void initTestCase() {
        ubicacion = ServidorPrueba::instancia().crearDatos();
        QDir(carpeta.path()).mkpath(QStringLiteral("mantenimiento/reportes"));
        QVERIFY(
            QFile::copy(QStringLiteral(SOURCE_DIR "/resources/auditoria.rav"),
                        carpeta.filePath(QStringLiteral("mantenimiento/reportes/auditoria.rav"))));
        // The demo's audit trail runs up to the server's today.
        hoy = QDate::currentDate();
        FakeDialogs::actual().ahora = QDateTime(hoy, QTime(10, 30));
        p = std::make_unique<Tfprincipal>();
        iniciarSesion(*p, ubicacion, "GERENTE", "gerente", "001", carpeta.path());
        p->resize(1024, 768);
        p->show();
    }
    void cleanupTestCase() { p.reset(); }
    void init() { FakeDialogs::actual().limpiar(); }

    void sentencia_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QDate>("desde");
        QTest::addColumn<QDate>("hasta");
        QTest::addColumn<int>("tipoDocumento");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("esperada");
        const QDate d1(2026, 12, 1), d31(2026, 12, 31), n3(2026, 11, 3), n20(2026, 11, 20);
        const QString abierta = "select * from rep_auditoria('','01/12/2026','31/12/2026',0,'')";
        const QString filtrada =
            "select * from rep_auditoria('CAJERO','03/11/2026','20/11/2026',2,'001234')";
        const QStringList ordenes{" order by usuario, fecha, hora", " order by fecha, hora",
                                  " order by documento, fecha, hora"};
        const QStringList nombres{"por usuario", "cronológico", "por tipo"};
        for (int t = 0; t < 3; ++t) {
            QTest::addRow("%s, todo abierto", qPrintable(nombres[t]))
                << t << "Todos" << d1 << d31 << 0 << "" << abierta + ordenes[t];
            QTest::addRow("%s, con filtros", qPrintable(nombres[t]))
                << t << "CAJERO" << n3 << n20 << 2 << "001234" << filtrada + ordenes[t];
        }
        QTest::newRow("comilla en el código")
            << 0 << "Todos" << d1 << d31 << 0 << "O'Neill"
            << "select * from rep_auditoria('','01/12/2026','31/12/2026',0,'O''Neill')" +
                   ordenes[0];
        QTest::newRow("comilla en el usuario")
            << 1 << "d'Ar" << d1 << d31 << 0 << ""
            << "select * from rep_auditoria('d''Ar','01/12/2026','31/12/2026',0,'')" + ordenes[1];
        QTest::newRow("todos en minúsculas es un usuario")
            << 0 << "todos" << d1 << d31 << 0 << ""
            << "select * from rep_auditoria('todos','01/12/2026','31/12/2026',0,'')" + ordenes[0];
    }
    void sentencia() {
        QFETCH(int, tipo);
        QFETCH(QString, usuario);
        QFETCH(QDate, desde);
        QFETCH(QDate, hasta);
        QFETCH(int, tipoDocumento);
        QFETCH(QString, codigo);
        const auditoria::Filtro filtro{tipo, usuario, desde, hasta, tipoDocumento, codigo};
        QTEST(auditoria::sentencia(filtro, QStringLiteral("dd/MM/yyyy")), "esperada");
    }

    void alAbrirMuestraElMes_data() {
        QTest::addColumn<QDate>("dia");
        QTest::addColumn<QDate>("primero");
        QTest::addColumn<QDate>("ultimo");
        QTest::newRow("diciembre")
            << QDate(2026, 12, 11) << QDate(2026, 12, 1) << QDate(2026, 12, 31);
        QTest::newRow("febrero bisiesto")
            << QDate(2028, 2, 29) << QDate(2028, 2, 1) << QDate(2028, 2, 29);
        QTest::newRow("primero de abril")
            << QDate(2027, 4, 1) << QDate(2027, 4, 1) << QDate(2027, 4, 30);
    }
    void alAbrirMuestraElMes() {
        QFETCH(QDate, dia);
        FakeDialogs::actual().ahora = QDateTime(dia, QTime(8, 0));
        QPointer<Tfauditoria> v = abrir();
        FakeDialogs::actual().ahora = QDateTime(hoy, QTime(10, 30));
        QTEST(v->Fecini->date(), "primero");
        QTEST(v->Fecfin->date(), "ultimo");
        QCOMPARE(v->windowTitle(), QStringLiteral("Informes de auditoría"));
        QWidget* marco = v->parentWidget();
        QTRY_COMPARE(marco->size(), QSize(371, 302).expandedTo(marco->minimumSizeHint()));
        QCOMPARE(v->tipo(), 0);
        QCOMPARE(v->LUsuario->currentText(), QStringLiteral("Todos"));
        QCOMPARE(v->LUsuario->count(), 6); // Todos + the five users of 001
        QCOMPARE(v->LUsuario->itemText(1), QStringLiteral("SYSDBA"));
        QVERIFY(v->LUsuario->findText(QStringLiteral("auditor")) > 0);
        QCOMPARE(v->LTipo->currentText(), QStringLiteral("Todos"));
        QCOMPARE(v->LTipo->count(), 7);
        QCOMPARE(v->LTipo->itemText(2), QStringLiteral("Recibo de caja"));
        QVERIFY(v->Cod->text().isEmpty());
        QVERIFY(!v->Panel5->isVisible());
        QTest::keyClick(v, Qt::Key_Escape);
        QTRY_VERIFY(!v);
    }

    // The window sends what it shows: a typed user, the chosen type's code;
    // no rows: the message, and the window closes.
    void sentenciaDeLaVentanaSinFilas() {
        QPointer<Tfauditoria> v = abrir();
        v->setTipo(2);
        v->LUsuario->setEditText(QStringLiteral("O'Brien"));
        v->LTipo->setCurrentIndex(v->LTipo->findText(QStringLiteral("Recibo de caja")));
        v->Cod->setText(QStringLiteral("001234"));
        QTest::keyClick(v, Qt::Key_F2);
        QCOMPARE(v->CRepauditor->commandText(),
                 QStringLiteral("select * from rep_auditoria('O''Brien','%1','%2',2,'001234') "
                                "order by documento, fecha, hora")
                     .arg(mes(1), v->Fecfin->date().toString("dd/MM/yyyy")));
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"No hay datos que cumplan con los rangos indicados."});
        QTRY_VERIFY(!v);
    }

    // A typed type name that is no type queries nothing and keeps the window.
    void tipoEscritoInexistente() {
        QPointer<Tfauditoria> v = abrir();
        v->LTipo->setEditText(QStringLiteral("Factura de ventas"));
        QTest::keyClick(v, Qt::Key_F2);
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"No existe el tipo de documento \"Factura de ventas\"."});
        QVERIFY(v->CRepauditor->commandText().isEmpty());
        QTest::qWait(20);
        QVERIFY(v);
        v->close();
        QTRY_VERIFY(!v);
    }

    // Each kind of report as a PDF of the demo company's month.
    void pdfDeCadaReporte_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("campoGrupo");
        QTest::addColumn<QString>("rotuloGrupo");
        QTest::newRow("PorUsuario") << 0 << "USUARIO"
                                    << "Usuario: ";
        QTest::newRow("PorFecha") << 1 << "FECHA"
                                  << "Fecha: ";
        QTest::newRow("PorTipo") << 2 << "DOCUMENTO"
                                 << "Tipo de documento: ";
    }
    void pdfDeCadaReporte() {
        QFETCH(int, tipo);
        QFETCH(QString, campoGrupo);
        QFETCH(QString, rotuloGrupo);
        QPointer<Tfauditoria> v = abrir();
        v->setTipo(tipo);
        const QString archivo = carpeta.filePath(QStringLiteral("auditoria%1.pdf").arg(tipo));
        QString titulo;
        responderArchivo(archivo, QStringLiteral("Adobe Acrobat (PDF)"), &titulo);
        QTest::keyClick(v, Qt::Key_F2);
        QTRY_VERIFY(!v);
        QCOMPARE(titulo, QStringLiteral("Opciones"));

        auditoria::Filtro filtro;
        filtro.tipo = tipo;
        filtro.usuario = QStringLiteral("Todos");
        filtro.desde = QDate(hoy.year(), hoy.month(), 1);
        filtro.hasta = filtro.desde.addMonths(1).addDays(-1);
        const auto esperado = filas(filtro);
        QVERIFY(esperado->rowCount() > 40);
        const QStringList paginas = paginasPdf(archivo);
        QVERIFY(paginas.size() >= 2);
        const QString tituloInforme =
            QStringLiteral("Usuario:Todos - %1:%2 - Tipo:Todos")
                .arg(mes(1), filtro.hasta.toString(QStringLiteral("dd/MM/yyyy")));
        for (int i = 0; i < paginas.size(); ++i) {
            const QString& pagina = paginas[i];
            QVERIFY2(pagina.contains(QStringLiteral("Comercializadora Andina S.A.S.")),
                     qPrintable(pagina));
            QVERIFY(pagina.contains(tituloInforme));
            QVERIFY(pagina.contains(QStringLiteral("Usuario: GERENTE")));
            for (const char* encabezado : {"Usuario", "Fecha", "Hora", "Documento", "Número",
                                           "Operación", "Equipo", "Razón de anulación"})
                QVERIFY(pagina.contains(QString::fromUtf8(encabezado)));
            QVERIFY2(
                pagina.contains(QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())),
                qPrintable(pagina));
        }
        const QString todo = paginas.join(QString());
        const int grupo = esperado->fieldIndex(campoGrupo);
        const int numero = esperado->fieldIndex(QStringLiteral("NUMERODOC"));
        for (int fila = 0; fila < esperado->rowCount(); ++fila) {
            QVERIFY(todo.contains(rotuloGrupo + esperado->textAt(fila, grupo)));
            QVERIFY(todo.contains(esperado->textAt(fila, numero)));
        }
        QVERIFY(
            todo.contains(QStringLiteral("Total de operaciones: %1").arg(esperado->rowCount())));
    }

    // The text renderer: a name without extension gets ".txt"; the pages
    // at 10 characters and 6 lines per inch.
    void textoPlano() {
        QPointer<Tfauditoria> v = abrir();
        v->setTipo(1);
        v->LUsuario->setCurrentIndex(v->LUsuario->findText(QStringLiteral("CAJERO")));
        const QString base = carpeta.filePath(QStringLiteral("cronologico"));
        responderArchivo(base, QStringLiteral("Texto plano (TXT)"));
        QTest::keyClick(v, Qt::Key_F2);
        QTRY_VERIFY(!v);
        QFile f(base + QStringLiteral(".txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList paginas = platform::fromAnsi(f.readAll()).split('\f');

        auditoria::Filtro filtro;
        filtro.tipo = 1;
        filtro.usuario = QStringLiteral("CAJERO");
        filtro.desde = QDate(hoy.year(), hoy.month(), 1);
        filtro.hasta = filtro.desde.addMonths(1).addDays(-1);
        const auto esperado = filas(filtro);
        QVERIFY(esperado->rowCount() > 0);
        for (int i = 0; i < paginas.size(); ++i) {
            const QStringList lineas = paginas[i].split(QStringLiteral("\r\n"));
            QCOMPARE(lineas[3].trimmed(), QStringLiteral("Comercializadora Andina S.A.S."));
            QVERIFY(lineas[6].contains(QStringLiteral("Usuario:CAJERO - ")));
            QVERIFY(lineas[7].startsWith(QStringLiteral("    Usuario: GERENTE")));
            QVERIFY(lineas[47].endsWith(
                QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())));
        }
        const QString todo = paginas.join(QString());
        for (int fila = 0; fila < esperado->rowCount(); ++fila)
            QVERIFY(todo.contains(esperado->textAt(fila, esperado->fieldIndex("NUMERODOC"))));
        QVERIFY(!todo.contains(QStringLiteral("BODEGA")));
    }

    // F4 writes every row of the result to the chosen file and prints nothing;
    // without rows it writes nothing.
    void exportar() {
        FakeDialogs& dialogos = FakeDialogs::actual();
        const QString base = carpeta.filePath(QStringLiteral("exportada"));
        dialogos.guardar.enqueue({base, 2});
        QPointer<Tfauditoria> v = abrir();
        v->LUsuario->setCurrentIndex(v->LUsuario->findText(QStringLiteral("VENDE01")));
        QTest::keyClick(v, Qt::Key_F4);
        QTRY_VERIFY(!v);
        QCOMPARE(dialogos.pedidosGuardar.size(), 1);
        QCOMPARE(dialogos.pedidosGuardar[0].fileName, QStringLiteral("Auditoria"));
        QCOMPARE(dialogos.pedidosGuardar[0].filter, filtroDe(ListaTipos::EspanolCinco));
        QVERIFY(dialogos.mensajes.isEmpty());

        auditoria::Filtro filtro;
        filtro.usuario = QStringLiteral("VENDE01");
        filtro.desde = QDate(hoy.year(), hoy.month(), 1);
        filtro.hasta = filtro.desde.addMonths(1).addDays(-1);
        const auto esperado = filas(filtro);
        QFile f(base + QStringLiteral(".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lineas =
            platform::fromAnsi(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lineas.size(), esperado->rowCount() + 1);
        QCOMPARE(lineas[0], QStringLiteral("USUARIO,FECHA,HORA,DOCUMENTO,OPERACION,NUMERODOC,"
                                           "RAZONANULA,EQUIPO"));
        QVERIFY(lineas[1].startsWith(QStringLiteral("VENDE01,")));

        // No rows: the message, no save dialog.
        dialogos.limpiar();
        v = abrir();
        v->Cod->setText(QStringLiteral("no existe"));
        QTest::keyClick(v, Qt::Key_F4);
        QTRY_VERIFY(!v);
        QVERIFY(dialogos.pedidosGuardar.isEmpty());
        QCOMPARE(dialogos.textos(),
                 QStringList{"No hay datos que cumplan con los rangos indicados."});
    }

    // Cancelling the setup dialog writes nothing; the window still closes.
    void cancelarLaConfiguracion() {
        QPointer<Tfauditoria> v = abrir();
        alAbrirModal(QStringLiteral("ReportSetupDialog"), [](QWidget* d) {
            d->findChild<QRadioButton*>(QStringLiteral("destinoArchivo"))->setChecked(true);
            d->findChild<QLineEdit*>(QStringLiteral("archivo"))->setText("nunca");
            d->findChild<QToolButton*>(QStringLiteral("cancelar"))->click();
        });
        QTest::keyClick(v, Qt::Key_F2);
        QTRY_VERIFY(!v);
        QVERIFY(QDir(carpeta.path()).entryList({"nunca*"}).isEmpty());
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());
    }

    // Without the project file: the error names it and the window stays.
    void sinArchivoDeProyecto() {
        QTemporaryDir otra;
        p->dir_aplicacion = otra.path();
        QPointer<Tfauditoria> v = abrir();
        QTest::keyClick(v, Qt::Key_F2);
        p->dir_aplicacion = carpeta.path();
        const QString ruta = QDir(otra.path()).filePath("mantenimiento/reportes/auditoria.rav");
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"Se presento el siguiente error: No se encontró el archivo de "
                             "reportes \"" +
                             ruta + "\""});
        QCOMPARE(FakeDialogs::actual().mensajes[0].icono, platform::Dialogs::Icon::Error);
        QTest::qWait(20);
        QVERIFY(v);
        QVERIFY(!v->Panel5->isVisible());
        v->close();
        QTRY_VERIFY(!v);
    }
};

TEST_CLASS(TstAuditoria)
#include "tst_auditoria.moc"
