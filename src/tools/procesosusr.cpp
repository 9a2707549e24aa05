#include "tools/procesosusr.h"

#include "audit/salidagrilla.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/grid/datanavigator.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "tools/herramientas.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using platform::DataNavigator;
using platform::Dialogs;

namespace {
QString campoParametro(int n) {
    return QStringLiteral("PRUS_PARAM%1").arg(n + 1);
}
} // namespace

Tfprocusr::Tfprocusr(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fprocusr"));
    setWindowTitle(QStringLiteral("Procedimientos de usuario"));
    Tfprincipal& p = principal();
    CProcesos = p.cliente(p.TProcesos, QStringLiteral("CProcesos"), {}, this);
    CProcusr = p.cliente(p.QProcusuario, QStringLiteral("CProcusr"), {}, this);
    construir();

    p.ConfigurarProviders(this);
    CProcesos->open();
    const QDate hoy = Dialogs::instance().now().date();
    EFecIni->setDate(QDate(hoy.year(), hoy.month(), 1));
    EFecFin->setDate(QDate(hoy.year(), hoy.month(), hoy.daysInMonth()));
    const int nombre = CProcesos->fieldIndex(QStringLiteral("PRUS_NOMBRE"));
    const int sp = CProcesos->fieldIndex(QStringLiteral("PRUS_SP"));
    for (int row = 0; row < CProcesos->rowCount(); ++row)
        LProceso->addItem(CProcesos->textAt(row, nombre), CProcesos->textAt(row, sp));
    connect(LProceso, &QComboBox::currentIndexChanged, this, &Tfprocusr::LProcesoChange);
    LProceso->setCurrentIndex(CProcesos->isEmpty() ? -1 : 0);
    LProcesoChange();
}

void Tfprocusr::construir() {
    resize(900, 540);
    LProceso = herramientas::nombrado(new QComboBox(this), "LProceso");
    LProceso->setMinimumWidth(260);
    const QString formato = Dialogs::instance().shortDateFormat();
    EFecIni = herramientas::nombrado(new QDateEdit(this), "EFecIni");
    EFecFin = herramientas::nombrado(new QDateEdit(this), "EFecFin");
    for (QDateEdit* fecha : {EFecIni, EFecFin}) {
        fecha->setDisplayFormat(formato);
        fecha->setCalendarPopup(true);
    }
    Edit1 = herramientas::nombrado(new QLineEdit(this), "Edit1");
    Edit2 = herramientas::nombrado(new QLineEdit(this), "Edit2");
    Edit3 = herramientas::nombrado(new QLineEdit(this), "Edit3");
    Edit5 = herramientas::nombrado(new QLineEdit(this), "Edit5");
    Edit6 = herramientas::nombrado(new QLineEdit(this), "Edit6");
    const char* nombresEtiqueta[5] = {"Labpar1", "Labpar2", "Labpar3", "Labpar4", "Labpar5"};
    for (int n = 0; n < 5; ++n)
        Labpar[n] = herramientas::nombrado(new QLabel(this), nombresEtiqueta[n]);
    ckfiltro = herramientas::nombrado(new QCheckBox(QStringLiteral("Habilitar filtros"), this),
                                      "ckfiltro");
    SpeedButton5 = herramientas::nombrado(new QToolButton(this), "SpeedButton5");
    SpeedButton5->setText(QStringLiteral("F5:Generar"));

    auto* arriba = new QGridLayout;
    arriba->addWidget(new QLabel(QStringLiteral("Nombre del procedimiento:"), this), 0, 0);
    arriba->addWidget(LProceso, 0, 1, 1, 3);
    arriba->addWidget(new QLabel(QStringLiteral("Desde:"), this), 1, 0);
    arriba->addWidget(EFecIni, 1, 1);
    arriba->addWidget(new QLabel(QStringLiteral("Hasta:"), this), 1, 2);
    arriba->addWidget(EFecFin, 1, 3);
    const QList<QLineEdit*> cajas = parametros();
    for (int n = 0; n < 5; ++n) {
        arriba->addWidget(Labpar[n], 2 + n % 3, n < 3 ? 0 : 2);
        arriba->addWidget(cajas[n], 2 + n % 3, n < 3 ? 1 : 3);
    }
    arriba->addWidget(ckfiltro, 4, 3);
    arriba->addWidget(SpeedButton5, 0, 4, 2, 1);
    arriba->setColumnStretch(5, 1);

    DBGridEh1 = herramientas::nombrado(new platform::DataGrid(this), "DBGridEh1");
    DBGridEh1->setDataSet(CProcusr);
    DBGridEh1->setReadOnly(true);
    DBGridEh1->setEnterMovesLikeTab(true);
    DBGridEh1->setAllowedActions(platform::DataGrid::Copy | platform::DataGrid::SelectAll);
    DBGridEh1->setFooterVisible(true);
    DBGridEh1->setFilterRowVisible(false);

    DBNavigator1 = herramientas::nombrado(
        new DataNavigator(this, DataNavigator::First | DataNavigator::Prior | DataNavigator::Next |
                                    DataNavigator::Last | DataNavigator::Insert |
                                    DataNavigator::Delete | DataNavigator::Refresh),
        "DBNavigator1");
    DBNavigator1->setDataSet(CProcusr);
    DBNavigator1->onRefresh = [this] {
        CProcusr->close();
        ejecutar();
    };
    SBGrabar = herramientas::nombrado(new QToolButton(this), "SBGrabar");
    SBGrabar->setText(QStringLiteral("F2:Grabar"));
    SBCancelar = herramientas::nombrado(new QToolButton(this), "SBCancelar");
    SBCancelar->setText(QStringLiteral("Esc:Salir"));
    auto* abajo = new QHBoxLayout;
    abajo->addWidget(DBNavigator1);
    abajo->addStretch(1);
    abajo->addWidget(SBGrabar);
    abajo->addWidget(SBCancelar);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(arriba);
    columna->addWidget(DBGridEh1, 1);
    columna->addLayout(abajo);

    Panel3 = herramientas::nombrado(
        new QLabel(QStringLiteral("Ejecutando procedimiento. espere un momento ..."), this),
        "Panel3");
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setAutoFillBackground(true);
    Panel3->resize(380, 60);
    Panel3->hide();

    for (QToolButton* boton : {SBGrabar, SBCancelar})
        boton->setFocusPolicy(Qt::NoFocus);
    setTabOrder(LProceso, EFecIni);
    setTabOrder(EFecIni, EFecFin);
    setTabOrder(EFecFin, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, ckfiltro);
    setTabOrder(ckfiltro, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, SpeedButton5);
    setTabOrder(SpeedButton5, DBGridEh1);
    platform::enterMovesFocus({LProceso, EFecIni, EFecFin, Edit1, Edit2, Edit3, Edit5, Edit6});

    connect(SpeedButton5, &QToolButton::clicked, this, &Tfprocusr::SpeedButton5Click);
    connect(ckfiltro, &QCheckBox::clicked, this, &Tfprocusr::ckfiltroClick);
    connect(SBGrabar, &QToolButton::clicked, this, &Tfprocusr::SBGrabarClick);
    connect(SBCancelar, &QToolButton::clicked, this, &Tfprocusr::SBCancelarClick);

    salida = new SalidaGrilla(this, DBGridEh1, QString(), ListaTipos::EspanolTres,
                              QStringLiteral("Busqueda de Comprobantes"));
    salida->usarMenuEn(DBGridEh1);
}

void Tfprocusr::LProcesoChange() {
    const int fila = LProceso->currentIndex();
    if (fila >= 0)
        CProcesos->setCurrentRow(fila);
    for (int n = 0; n < 5; ++n)
        Labpar[n]->setText(fila >= 0 ? CProcesos->text(campoParametro(n)) : QString());
    // Files are saved under the procedure's name.
    salida->setNombrePorDefecto(LProceso->currentText());
}

void Tfprocusr::SpeedButton5Click() {
    if (CProcusr->fetching())
        return;
    if (Edit1->text().isEmpty()) {
        Dialogs::instance().notice(this,
                                   QStringLiteral("Debe indicar un parámetro al procedimiento."));
        return;
    }
    CProcusr->close();
    QStringList titulos;
    QStringList valores;
    const QList<QLineEdit*> cajas = parametros();
    for (int n = 0; n < 5; ++n) {
        titulos << Labpar[n]->text();
        valores << cajas[n]->text();
    }
    Dialogs& dialogos = Dialogs::instance();
    CProcusr->setCommandText(herramientas::sentenciaProcedimiento(
        LProceso->currentData().toString(), dialogos.shortDate(EFecIni->date()),
        dialogos.shortDate(EFecFin->date()), titulos, valores));
    ejecutar();
}

void Tfprocusr::ejecutar() {
    DBGridEh1->setColumns({});
    if (!herramientas::abrirConEspera(*CProcusr, Panel3)) {
        if (cerrarAlTerminar_)
            close();
        return;
    }
    DBGridEh1->setColumns(herramientas::columnasConSumas(*CProcusr));
    DBGridEh1->recalcFooter();
}

void Tfprocusr::ckfiltroClick() {
    DBGridEh1->setFilterRowVisible(ckfiltro->isChecked());
}

void Tfprocusr::SBGrabarClick() {
    salida->seleccionartodo();
    salida->guardarseleccion();
}

void Tfprocusr::SBCancelarClick() {
    close();
}

void Tfprocusr::closeEvent(QCloseEvent* event) {
    // Rows still arriving: stop them and close once the fetch has returned.
    if (CProcusr->fetching()) {
        cerrarAlTerminar_ = true;
        CProcusr->close();
        event->ignore();
        return;
    }
    CProcusr->close();
    CProcesos->close();
    QWidget::closeEvent(event);
}

void Tfprocusr::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel3->move((width() - Panel3->width()) / 2, (height() - Panel3->height()) / 2);
}
