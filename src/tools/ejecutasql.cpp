#include "tools/ejecutasql.h"

#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "tools/herramientas.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

using platform::Dialogs;

Tfejecutasql::Tfejecutasql(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fejecutasql"));
    setWindowTitle(QStringLiteral("Ejecutar script SQL"));
    carpeta_programa = QCoreApplication::applicationDirPath();
    construir();
    Rutaisql->setText(QDir::toNativeSeparators(herramientas::carpetaIsqlPredeterminada()));
    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
}

Tfejecutasql::~Tfejecutasql() {
    detener();
}

void Tfejecutasql::construir() {
    resize(820, 520);
    Memo1 = herramientas::nombrado(new QPlainTextEdit(QStringLiteral("Memo1"), this), "Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    SpeedButton1 = herramientas::nombrado(new QToolButton(this), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral(" Abrir archivo"));
    Ubicacion = herramientas::nombrado(new QLineEdit(this), "Ubicacion");
    SpeedButton2 = herramientas::nombrado(new QToolButton(this), "SpeedButton2");
    SpeedButton2->setText(QStringLiteral(" Configurar ISQL"));
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(SpeedButton1);
    arriba->addWidget(new QLabel(QStringLiteral("Archivo:"), this));
    arriba->addWidget(Ubicacion, 1);
    arriba->addWidget(SpeedButton2);

    SpeedButton5 = herramientas::nombrado(new QToolButton(this), "SpeedButton5");
    SpeedButton5->setText(QStringLiteral("F2:Ejecutar"));
    SpeedButton3 = herramientas::nombrado(new QToolButton(this), "SpeedButton3");
    SpeedButton3->setText(QStringLiteral("Esc: Salir"));
    auto* abajo = new QHBoxLayout;
    abajo->addStretch(1);
    abajo->addWidget(SpeedButton5);
    abajo->addWidget(SpeedButton3);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(arriba);
    columna->addWidget(Memo1, 1);
    columna->addLayout(abajo);

    // The tool-location panel floats over the window.
    AdvPanel1 = herramientas::nombrado(new QFrame(this), "AdvPanel1");
    AdvPanel1->setFrameShape(QFrame::Panel);
    AdvPanel1->setFrameShadow(QFrame::Raised);
    AdvPanel1->setAutoFillBackground(true);
    auto* titulo = new QLabel(QStringLiteral("Ubicación Firebird"), AdvPanel1);
    titulo->setStyleSheet(QStringLiteral("font-weight: bold"));
    auto* cerrarPanel = herramientas::nombrado(new QToolButton(AdvPanel1), "CerrarPanel");
    cerrarPanel->setText(QStringLiteral("×"));
    cerrarPanel->setAutoRaise(true);
    Rutaisql = herramientas::nombrado(new QLineEdit(AdvPanel1), "Rutaisql");
    SpeedButton4 = herramientas::nombrado(new QToolButton(AdvPanel1), "SpeedButton4");
    SpeedButton4->setText(QStringLiteral(" Explorar"));
    auto* rejilla = new QGridLayout(AdvPanel1);
    rejilla->addWidget(titulo, 0, 0, 1, 2);
    rejilla->addWidget(cerrarPanel, 0, 2, Qt::AlignRight);
    rejilla->addWidget(new QLabel(QStringLiteral("Ubicación isql.exe"), AdvPanel1), 1, 0, 1, 3);
    rejilla->addWidget(Rutaisql, 2, 0, 1, 2);
    rejilla->addWidget(SpeedButton4, 2, 2);
    AdvPanel1->resize(460, 110);
    AdvPanel1->hide();

    Panel4 = herramientas::nombrado(
        new QLabel(QStringLiteral("Generando informe. espere un momento..."), this), "Panel4");
    Panel4->setAlignment(Qt::AlignCenter);
    Panel4->setFrameShape(QFrame::Panel);
    Panel4->setFrameShadow(QFrame::Raised);
    Panel4->setAutoFillBackground(true);
    Panel4->resize(380, 60);
    Panel4->hide();

    for (QToolButton* boton : {SpeedButton1, SpeedButton2, SpeedButton5, SpeedButton3})
        boton->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfejecutasql::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfejecutasql::SpeedButton2Click);
    connect(cerrarPanel, &QToolButton::clicked, AdvPanel1, &QWidget::hide);
    connect(SpeedButton4, &QToolButton::clicked, this, &Tfejecutasql::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &Tfejecutasql::SpeedButton5Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tfejecutasql::SpeedButton3Click);
}

bool Tfejecutasql::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && platform::KeyPreview::plain(event)) {
        close();
        return true;
    }
    return false;
}

QString Tfejecutasql::rutaScript() const {
    return QDir(carpeta_programa).filePath(QStringLiteral("script.sql"));
}

QString Tfejecutasql::rutaResultado() const {
    return QDir(carpeta_programa).filePath(QStringLiteral("resultado.txt"));
}

void Tfejecutasql::SpeedButton1Click() {
    const QString archivo = Dialogs::instance().openFile(this, QString(), QString(), QString());
    if (archivo.isEmpty())
        return;
    Ubicacion->setText(QDir::toNativeSeparators(archivo));
    Memo1->setPlainText(herramientas::leerArchivoTexto(archivo));
}

void Tfejecutasql::SpeedButton2Click() {
    AdvPanel1->move((width() - AdvPanel1->width()) / 2, 40);
    AdvPanel1->show();
    AdvPanel1->raise();
}

void Tfejecutasql::SpeedButton4Click() {
    const QString carpeta = Dialogs::instance().chooseFolder(
        this, QStringLiteral("Seleccione la ubicación del archivo isql.exe"), Rutaisql->text());
    if (!carpeta.isEmpty())
        Rutaisql->setText(QDir::toNativeSeparators(carpeta));
}

void Tfejecutasql::SpeedButton5Click() {
    // One run at a time per window.
    if (ejecutando()) {
        Dialogs::instance().beep();
        return;
    }
    Panel4->show();
    Panel4->raise();
    Panel4->repaint();
    try {
        herramientas::guardarScript(rutaScript(), Memo1->toPlainText());
        // The tool appends to its output file: start it empty, so the box
        // shows this run's output only.
        QFile(rutaResultado()).resize(0);
    } catch (...) {
        Panel4->hide();
        throw;
    }

    Tfprincipal& p = principal();
    const QString programa = herramientas::programaIsql(Rutaisql->text());
    delete proceso_;
    proceso_ = new QProcess(this);
    proceso_->setProgram(programa);
    proceso_->setArguments(herramientas::argumentosIsql(
        QDir::toNativeSeparators(rutaScript()), QDir::toNativeSeparators(rutaResultado()),
        herramientas::rutaBasePrincipal(p.ubicaciondb(), p.compania_actual)));
    proceso_->setProcessEnvironment(herramientas::entornoIsql(p.usuario_actual, p.clave_actual));
    proceso_->setWorkingDirectory(Rutaisql->text());
    proceso_->setProcessChannelMode(QProcess::MergedChannels);
    connect(proceso_, &QProcess::finished, this, [this](int, QProcess::ExitStatus estado) {
        terminado(estado == QProcess::NormalExit);
    });
    if (programa.isEmpty()) {
        terminado(false);
        return;
    }
    proceso_->start();
    if (!proceso_->waitForStarted())
        terminado(false);
    // The window stays responsive; terminado() follows when the tool ends.
}

void Tfejecutasql::terminado(bool arranco) {
    Dialogs& dialogos = Dialogs::instance();
    if (arranco)
        dialogos.notice(this, QStringLiteral("Script ejecutado"));
    else
        dialogos.notice(this, QStringLiteral("Error ejecutado script"));
    Memo1->clear();
    QString texto;
    if (QFile::exists(rutaResultado()))
        texto = herramientas::leerArchivoTexto(rutaResultado());
    // Whatever the tool said outside its output file (it could not open it, say).
    const QString consola =
        proceso_->isOpen() ? QString::fromLocal8Bit(proceso_->readAll()).trimmed() : QString();
    if (!consola.isEmpty())
        texto += (texto.isEmpty() ? QString() : QStringLiteral("\n")) + consola;
    Memo1->setPlainText(texto);
    Panel4->hide();
}

void Tfejecutasql::detener() {
    if (!ejecutando())
        return;
    proceso_->disconnect(this);
    proceso_->kill();
    proceso_->waitForFinished(5000);
}

void Tfejecutasql::SpeedButton3Click() {
    close();
}

void Tfejecutasql::closeEvent(QCloseEvent* event) {
    if (ejecutando()) {
        if (!Dialogs::instance().confirm(
                this, QStringLiteral("El script todavía se está ejecutando. ¿Desea detenerlo y "
                                     "cerrar la ventana?"))) {
            event->ignore();
            return;
        }
        detener();
    }
    QWidget::closeEvent(event);
}

void Tfejecutasql::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel4->move((width() - Panel4->width()) / 2, (height() - Panel4->height()) / 2);
}
