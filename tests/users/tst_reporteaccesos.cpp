// The access-rights report of the editor's panel against the demo company:
// its statement, the printed report read back, the administrator's rights
// and the export.
#include "apoyo.h"
#include "audit/dtformsetup.h"
#include "audit/salidagrilla.h"
#include "platform/ansi.h"
#include "shell/principal.h"
#include "support/cups.h"
#include "support/fakedialogs.h"
#include "support/servidor.h"
#include "support/testmain.h"
#include "users/accesousuario.h"
#include "users/operaciones.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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

// Answers the print-options dialog with a file of a format.
void responderArchivo(const QString& archivo, const QString& formato, QString* titulo = nullptr) {
    alAbrirModal(QStringLiteral("dtSetupForm"), [=](QWidget* w) {
        auto* d = static_cast<TdtSetupForm*>(w);
        if (titulo)
            *titulo = d->windowTitle();
        d->FileRB->click();
        d->editFileName->setText(archivo);
        d->cboxFormat->setCurrentIndex(d->cboxFormat->findText(formato));
        d->bbtnOK->click();
    });
}

} // namespace

class TstReporteAccesos : public QObject {
    Q_OBJECT
    QString ubicacion;
    std::unique_ptr<Tfprincipal> p;
    QTemporaryDir salida;

    std::unique_ptr<Tfaccesousuario> abrirPanel() {
        p->usuario_sel = QStringLiteral("CAJERO");
        p->compania_sel = QStringLiteral("001");
        auto w = std::make_unique<Tfaccesousuario>(p.get());
        w->show();
        w->SpeedButton6->click();
        return w;
    }
    static void rango(Tfaccesousuario& w, const QString& desde, const QString& hasta) {
        w.LUserd->setCurrentIndex(w.LUserd->findText(desde));
        w.LUserh->setCurrentIndex(w.LUserh->findText(hasta));
    }

private slots:
    void initTestCase() {
        // Files are offered only with a printer installed.
        ServidorCups::instancia();
        ubicacion = ServidorPrueba::instancia().crearDatos();
        // GERENTE is an administrator; its stored rights say otherwise.
        apoyo::sql(ubicacion, "001/contabil.fdb",
                   "insert into acceso_usuario values ('GERENTE', 'FACTURACION', 0, 'N');"
                   "insert into acceso_usuario values ('GERENTE', 'FACTURACION', 1, 'N');"
                   "insert into acceso_usuario values ('GERENTE', 'CAJA', 20, 'S');"
                   "insert into acceso_usuario values ('VENDE01', 'FACTURACION', 21, 'N');"
                   "commit;");
        p = apoyo::sesionAdministrador(ubicacion);
        const QString reportes =
            QDir(p->dir_aplicacion).filePath(QStringLiteral("mantenimiento/reportes"));
        QDir().mkpath(reportes);
        QFile::remove(reportes + QStringLiteral("/auditoria.rav"));
        QVERIFY(QFile::copy(QStringLiteral(SOURCE_DIR "/resources/auditoria.rav"),
                            reportes + QStringLiteral("/auditoria.rav")));
    }
    void cleanupTestCase() { p.reset(); }
    void init() { FakeDialogs::actual().limpiar(); }

    void sentencia_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<QString>("hasta");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("rango") << "CAJERO"
                               << "VENDE01"
                               << "select * from rep_acceso_usuarios('CAJERO','VENDE01')";
        QTest::newRow("sin elegir") << ""
                                    << ""
                                    << "select * from rep_acceso_usuarios('','')";
        QTest::newRow("comillas") << "O'Neil"
                                  << "x''y"
                                  << "select * from rep_acceso_usuarios('O''Neil','x''''y')";
    }
    void sentencia() {
        QFETCH(QString, desde);
        QFETCH(QString, hasta);
        QTEST(usuarios::sentenciaReporteAccesos(desde, hasta), "esperada");
        QCOMPARE(usuarios::tituloReporteAccesos(desde, hasta),
                 QStringLiteral("Usuarios:") + desde + " - " + hasta);
    }

    void panelConSusBuscadores() {
        auto w = abrirPanel();
        QVERIFY(w->AdvPanel1->isVisible());
        QVERIFY(w->CUsua->isOpen());
        QCOMPARE(w->LUserd->count(), 5);
        QVERIFY(w->LUserd->currentText().isEmpty());
        QVERIFY(w->LUserh->findText(QStringLiteral("auditor")) >= 0);
        const int fila = w->LUserd->findText(QStringLiteral("GERENTE"));
        QCOMPARE(w->LUserd->model()->index(fila, 1).data().toString(),
                 QStringLiteral("Álvaro Peña Quiñónez"));
        QVERIFY(!w->findChild<QWidget*>(QStringLiteral("Panel7"))->isVisible());
        QVERIFY(!w->DBGridEh1->isVisible());
        w->SpeedButton8->click();
        QVERIFY(!w->AdvPanel1->isVisible());
        QVERIFY(!w->CUsua->isOpen());
    }

    // The printed report: header parameters, groups per user with the name
    // and the administrator flag, the rows, page numbers; an administrator's
    // options all granted. A second run of the window prints again.
    void reporteEnPdf() {
        auto w = abrirPanel();
        rango(*w, QStringLiteral("CAJERO"), QStringLiteral("VENDE01"));
        const QString archivo = salida.filePath(QStringLiteral("accesos"));
        QString titulo;
        responderArchivo(archivo, QStringLiteral("Adobe Acrobat (PDF)"), &titulo);
        w->SpeedButton7->click();
        QCOMPARE(titulo, QStringLiteral("Opciones"));
        QVERIFY(!w->AdvPanel1->isVisible());
        QVERIFY(!w->CReporte->isOpen());
        QVERIFY(FakeDialogs::actual().mensajes.isEmpty());

        const QStringList paginas = paginasPdf(archivo + QStringLiteral(".pdf"));
        QVERIFY(!paginas.isEmpty());
        for (int i = 0; i < paginas.size(); ++i) {
            const QString& pagina = paginas[i];
            QVERIFY(pagina.contains(QStringLiteral("Comercializadora Andina S.A.S.")));
            QVERIFY(pagina.contains(QStringLiteral("Usuarios:CAJERO - VENDE01")));
            QVERIFY(pagina.contains(QStringLiteral("Usuario: SYSDBA")));
            for (const char* titulo : {"Módulo", "Opción", "Descripción", "Acceso"})
                QVERIFY(pagina.contains(QString::fromUtf8(titulo)));
            QVERIFY(
                pagina.contains(QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())));
        }
        const QString todo = paginas.join(QString());
        QVERIFY(todo.contains(QStringLiteral("Usuario: CAJERO - José Ibáñez")));
        QVERIFY(todo.contains(QStringLiteral("Usuario: GERENTE - Álvaro Peña Quiñónez")));
        QVERIFY(todo.contains(QStringLiteral("Usuario: VENDE01 - Lucía Gómez Rincón")));
        QVERIFY(!todo.contains(QStringLiteral("auditor")));
        // The administrator's section: every option shows "S".
        const qsizetype inicio = todo.indexOf(QStringLiteral("Usuario: GERENTE"));
        const qsizetype fin = todo.indexOf(QStringLiteral("Opciones de GERENTE"));
        QVERIFY(inicio > 0 && fin > inicio);
        const QStringList gerente = todo.mid(inicio, fin - inicio).split('\n');
        int opciones = 0;
        for (const QString& linea : gerente) {
            const QString l = linea.trimmed();
            if (l.startsWith(QStringLiteral("FACTURACION")) ||
                l.startsWith(QStringLiteral("CAJA"))) {
                ++opciones;
                QVERIFY2(l.endsWith(QStringLiteral(" S")), qPrintable(l));
            }
        }
        QCOMPARE(opciones, 3);
        QVERIFY(todo.contains(QStringLiteral("Administrador: S")));

        // Again in the same window: the same project file, a second file.
        w->SpeedButton6->click();
        rango(*w, QStringLiteral("VENDE01"), QStringLiteral("VENDE01"));
        responderArchivo(archivo + QStringLiteral("2.txt"), QStringLiteral("Texto plano (TXT)"));
        w->SpeedButton7->click();
        QFile texto(archivo + QStringLiteral("2.txt"));
        QVERIFY(texto.open(QIODevice::ReadOnly));
        const QString contenido = platform::fromAnsi(texto.readAll());
        QVERIFY(contenido.contains(QStringLiteral("Usuario: VENDE01 - Lucía Gómez Rincón")));
        QVERIFY(contenido.contains(QStringLiteral("Administrador: N")));
        QVERIFY(contenido.contains(QStringLiteral("Página 1 de 1")));
    }

    // F4 writes the rows of the hidden grid, an administrator's as "S"; the
    // next F2 prints again.
    void exportar() {
        auto w = abrirPanel();
        rango(*w, QStringLiteral("GERENTE"), QStringLiteral("VENDE01"));
        const QString base = salida.filePath(QStringLiteral("exportados"));
        FakeDialogs::actual().guardar.enqueue({base, 2});
        w->botonExportar->click();
        const auto& pedido = FakeDialogs::actual().pedidosGuardar.value(0);
        QCOMPARE(pedido.fileName, QStringLiteral("Accesos"));
        QCOMPARE(pedido.filter, filtroDe(ListaTipos::EspanolCinco));
        QFile f(base + QStringLiteral(".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lineas =
            platform::fromAnsi(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lineas[0], QStringLiteral("CODUSER,VEND,CAJA,PUNTO,AGENCIA,NOMAGENCIA,EMAIL,"
                                           "MODULO,CODOPC,OPCION,SINO"));
        int gerente = 0;
        bool vendedorSinOpcion = false;
        for (const QString& linea : lineas.mid(1)) {
            if (linea.startsWith(QStringLiteral("GERENTE,"))) {
                ++gerente;
                QVERIFY2(linea.endsWith(QStringLiteral(",S")), qPrintable(linea));
            }
            if (linea.startsWith(QStringLiteral("VENDE01,")) &&
                linea.endsWith(QStringLiteral(",N")))
                vendedorSinOpcion = true;
        }
        QCOMPARE(gerente, 3);
        QVERIFY(vendedorSinOpcion);

        w->SpeedButton6->click();
        rango(*w, QStringLiteral("CAJERO"), QStringLiteral("CAJERO"));
        bool mostrado = false;
        alAbrirModal(QStringLiteral("dtSetupForm"), [&mostrado](QWidget* d) {
            mostrado = true;
            static_cast<TdtSetupForm*>(d)->BitBtn1->click();
        });
        w->SpeedButton7->click();
        QVERIFY(mostrado);
        QCOMPARE(FakeDialogs::actual().pedidosGuardar.size(), 1);
    }

    // A range without users: the message, nothing printed or written.
    void rangoVacio() {
        auto w = abrirPanel();
        rango(*w, QStringLiteral("VENDE01"), QStringLiteral("CAJERO"));
        w->botonExportar->click();
        QCOMPARE(FakeDialogs::actual().textos(),
                 QStringList{"No hay datos que cumplan con los rangos indicados."});
        QVERIFY(FakeDialogs::actual().pedidosGuardar.isEmpty());
        QVERIFY(!w->AdvPanel1->isVisible());
    }
};

TEST_CLASS(TstReporteAccesos)
#include "tst_reporteaccesos.moc"
