#include "tools/conssql.h"

#include "audit/salidagrilla.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"
#include "platform/grid/datanavigator.h"
#include "platform/ui/keypreview.h"
#include "shell/principal.h"
#include "tools/herramientas.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

Tfconssql::Tfconssql(QWidget* owner)
    : QWidget(owner) {
    setObjectName(QStringLiteral("fconssql"));
    setWindowTitle(QStringLiteral("Consulta SQL"));
    resize(900, 560);
    // The window's own query on the company connection, as the connection is found.
    Tfprincipal& p = principal();
    const Fuente QAudit{QStringLiteral("QAudit"), &p.ConMantenim, {}, {}};
    CRepAuditor = p.cliente(QAudit, QStringLiteral("CRepAuditor"), {}, this);

    Memo1 = herramientas::nombrado(new QPlainTextEdit(this), "Memo1");
    Memo1->setMaximumHeight(130);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    SpeedButton5 = herramientas::nombrado(new QToolButton(this), "SpeedButton5");
    SpeedButton5->setText(QStringLiteral("F2:Resultado"));
    ckFiltros = herramientas::nombrado(new QCheckBox(QStringLiteral("Habilitar filtros"), this),
                                       "ckFiltros");
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(new QLabel(QStringLiteral("Archivo:"), this), 0, Qt::AlignTop);
    arriba->addWidget(Memo1, 1);
    auto* botones = new QVBoxLayout;
    botones->addWidget(SpeedButton5);
    botones->addWidget(ckFiltros);
    botones->addStretch(1);
    arriba->addLayout(botones);

    DBGridEh1 = herramientas::nombrado(new platform::DataGrid(this), "DBGridEh1");
    DBGridEh1->setDataSet(CRepAuditor);
    DBGridEh1->setReadOnly(true);
    DBGridEh1->setEnterMovesLikeTab(true);
    DBGridEh1->setAllowedActions(platform::DataGrid::Copy | platform::DataGrid::SelectAll);
    DBGridEh1->setFilterRowVisible(false);

    DBNavigator1 = herramientas::nombrado(new platform::DataNavigator(this), "DBNavigator1");
    DBNavigator1->setDataSet(CRepAuditor);
    DBNavigator1->onRefresh = [this] {
        CRepAuditor->close();
        ejecutar();
    };
    SpeedButton3 = herramientas::nombrado(new QToolButton(this), "SpeedButton3");
    SpeedButton3->setText(QStringLiteral("Esc: Salir"));
    for (QToolButton* boton : {SpeedButton5, SpeedButton3})
        boton->setFocusPolicy(Qt::NoFocus);
    auto* abajo = new QHBoxLayout;
    abajo->addWidget(DBNavigator1);
    abajo->addStretch(1);
    abajo->addWidget(SpeedButton3);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(arriba);
    columna->addWidget(DBGridEh1, 1);
    columna->addLayout(abajo);

    Panel5 = herramientas::nombrado(
        new QLabel(QStringLiteral("Generando informe. espere un momento..."), this), "Panel5");
    Panel5->setAlignment(Qt::AlignCenter);
    Panel5->setFrameShape(QFrame::Panel);
    Panel5->setFrameShadow(QFrame::Raised);
    Panel5->setAutoFillBackground(true);
    Panel5->resize(380, 60);
    Panel5->hide();

    connect(SpeedButton5, &QToolButton::clicked, this, &Tfconssql::SpeedButton5Click);
    connect(ckFiltros, &QCheckBox::clicked, this, &Tfconssql::ckFiltrosClick);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tfconssql::SpeedButton3Click);
    new platform::KeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });

    salida = new SalidaGrilla(this, DBGridEh1, QStringLiteral("Consulta"), ListaTipos::InglesCinco,
                              QStringLiteral("Comprobante contable"), SalidaGrilla::Guardar::Foco);
    salida->usarMenuEn(DBGridEh1);
}

bool Tfconssql::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && platform::KeyPreview::plain(event)) {
        close();
        return true;
    }
    return false;
}

void Tfconssql::SpeedButton5Click() {
    if (CRepAuditor->fetching())
        return;
    CRepAuditor->close();
    CRepAuditor->setCommandText(herramientas::sentenciaConsola(Memo1->toPlainText()));
    ejecutar();
}

void Tfconssql::ejecutar() {
    if (!herramientas::abrirConEspera(*CRepAuditor, Panel5) && cerrarAlTerminar_)
        close();
}

void Tfconssql::ckFiltrosClick() {
    DBGridEh1->setFilterRowVisible(ckFiltros->isChecked());
}

void Tfconssql::SpeedButton3Click() {
    close();
}

void Tfconssql::closeEvent(QCloseEvent* event) {
    // Rows still arriving: stop them and close once the fetch has returned.
    if (CRepAuditor->fetching()) {
        cerrarAlTerminar_ = true;
        CRepAuditor->close();
        event->ignore();
        return;
    }
    CRepAuditor->close();
    QWidget::closeEvent(event);
}

void Tfconssql::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel5->move((width() - Panel5->width()) / 2, (height() - Panel5->height()) / 2);
}
