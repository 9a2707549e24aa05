#include "support/servidor.h"

#include "access/cifrado.h"
#include "platform/ansi.h"
#include "shell/principal.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

namespace {
QString leer(const QString& archivo, const QString& clave) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith(clave.toUtf8() + '='))
            return QString::fromUtf8(linea.mid(clave.size() + 1)).trimmed();
    return {};
}
} // namespace

ServidorPrueba& ServidorPrueba::instancia() {
    static ServidorPrueba servidor;
    return servidor;
}

ServidorPrueba::ServidorPrueba() {
    puerto_ = qEnvironmentVariableIntValue("FB_PORT");
    clave_ = qEnvironmentVariable("FB_PASSWORD");
    if (puerto_ == 0) {
        propio_ = std::make_unique<QTemporaryDir>();
        const int rc = QProcess::execute(QStringLiteral(FBSERVER_SCRIPT),
                                         {QStringLiteral("start"), propio_->path()});
        if (rc != 0)
            throw std::runtime_error("cannot start the test Firebird server");
        const QString env = propio_->path() + QStringLiteral("/server.env");
        puerto_ = leer(env, QStringLiteral("FB_PORT")).toInt();
        clave_ = leer(env, QStringLiteral("FB_PASSWORD"));
    }
    datos_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orvilex-datos-XXXXXX"));
}

ServidorPrueba::~ServidorPrueba() {
    if (propio_)
        QProcess::execute(QStringLiteral(FBSERVER_SCRIPT),
                          {QStringLiteral("stop"), propio_->path()});
}

QString ServidorPrueba::crearDatos(bool vacias) {
    const QString carpeta = datos_->path() + QStringLiteral("/juego%1").arg(++creados_);
    QStringList args{carpeta, QString::number(puerto_), clave_};
    if (vacias)
        args << QStringLiteral("--empty");
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(QStringLiteral(DB_CREATE_SCRIPT), args);
    proceso.waitForFinished(120000);
    if (proceso.exitCode() != 0)
        throw std::runtime_error(("db/create failed: " + proceso.readAll()).toStdString());
    return QStringLiteral("127.0.0.1/%1:%2").arg(puerto_).arg(carpeta);
}

QString ServidorPrueba::ruta(const QString& ubicacion, const QString& relativa) {
    return ubicacion + QStringLiteral("/datos/") + relativa;
}

QString ServidorPrueba::isql(const QString& database, const QString& sql, bool* ok) {
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_USER"), QStringLiteral("SYSDBA"));
    env.insert(QStringLiteral("ISC_PASSWORD"), clave_);
    proceso.setProcessEnvironment(env);
    proceso.start(QStringLiteral("isql-fb"),
                  {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"), database});
    proceso.write(sql.toUtf8() + "\n");
    proceso.closeWriteChannel();
    proceso.waitForFinished(60000);
    const QString salida = QString::fromUtf8(proceso.readAll());
    if (ok)
        *ok = proceso.exitCode() == 0 && !salida.contains(QLatin1String("Statement failed"));
    return salida;
}

void iniciarSesion(Tfprincipal& p, const QString& ubicacion, const QString& usuario,
                   const QString& clave, const QString& compania, const QString& carpeta) {
    p.dir_aplicacion = carpeta;
    p.servidor = ubicacion;
    p.usuario_actual = usuario.toUpper();
    p.clave_actual = clave;
    p.clave_cifrada = encripta(platform::toAnsi(clave));
    p.compania_actual = compania;
    p.ConGeneral.setParam(QStringLiteral("Database"), p.rutaGeneral());
    p.ConGeneral.setParam(QStringLiteral("User_Name"), usuario);
    p.ConGeneral.setParam(QStringLiteral("password"), clave);
    p.ConGeneral.connect();
    p.apuntar(p.orvilex, p.rutaGeneral());
    p.apuntarCompania(compania);
    p.pendiente_acceso = false;
    p.compania_ok = true;
    p.EUsuario->setText(p.usuario_actual);
}

void alAbrirModal(const QString& objeto, std::function<void(QWidget*)> accion) {
    auto* temporizador = new QTimer;
    temporizador->setInterval(10);
    QObject::connect(temporizador, &QTimer::timeout, [temporizador, objeto, accion] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objeto) {
            temporizador->stop();
            temporizador->deleteLater();
            accion(modal);
        }
    });
    temporizador->start();
}
