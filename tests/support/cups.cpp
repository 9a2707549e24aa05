#include "support/cups.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QThread>
#include <stdexcept>

namespace {
// libcups keeps the server it found at its first call; tell it the new one
// in case the printer list was asked before the scheduler started.
void apuntarLibcups(const QByteArray& servidor) {
    using SetServer = void (*)(const char*);
    QLibrary libcups(QStringLiteral("cups"), 2);
    if (auto fijar = reinterpret_cast<SetServer>(libcups.resolve("cupsSetServer")))
        fijar(servidor.constData());
}

QString lpstat(const QStringList& args) {
    QProcess proceso;
    proceso.start(QStringLiteral("lpstat"), args);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

void esperar(int ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    QThread::msleep(ms);
}
} // namespace

ServidorCups& ServidorCups::instancia() {
    static ServidorCups servidor;
    return servidor;
}

ServidorCups::ServidorCups() {
    // The scheduler's filters run as lp and must reach the folder.
    carpeta_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orvilex-cups-XXXXXX"));
    QFile::setPermissions(carpeta_->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther);
    // With this program's id: a crash does not leave the scheduler running.
    const int rc = QProcess::execute(QStringLiteral(CUPSSERVER_SCRIPT),
                                     {QStringLiteral("start"), carpeta_->path(),
                                      QString::number(QCoreApplication::applicationPid())});
    if (rc != 0)
        throw std::runtime_error("cannot start the test CUPS scheduler");
    const QByteArray servidor = socket().toLocal8Bit();
    qputenv("CUPS_SERVER", servidor);
    apuntarLibcups(servidor);
}

ServidorCups::~ServidorCups() {
    QProcess::execute(QStringLiteral(CUPSSERVER_SCRIPT),
                      {QStringLiteral("stop"), carpeta_->path()});
}

QString ServidorCups::socket() const {
    return carpeta_->path() + QStringLiteral("/cups.sock");
}

QString ServidorCups::carpetaPdf() const {
    return carpeta_->path() + QStringLiteral("/pdf");
}

QStringList ServidorCups::colas() const {
    return lpstat({QStringLiteral("-h"), socket(), QStringLiteral("-e")})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ServidorCups::pdfs() const {
    QStringList lista;
    for (const QFileInfo& f :
         QDir(carpetaPdf()).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        lista << f.absoluteFilePath();
    return lista;
}

bool ServidorCups::esperarColas(int ms) const {
    QDeadlineTimer plazo(ms);
    while (!plazo.hasExpired()) {
        if (lpstat({QStringLiteral("-h"), socket(), QStringLiteral("-o")}).trimmed().isEmpty())
            return true;
        esperar(50);
    }
    return false;
}

QString ServidorCups::esperarPdf(const QStringList& antes, int ms) const {
    QDeadlineTimer plazo(ms);
    while (!plazo.hasExpired()) {
        // cups-pdf writes the file under mode 000 and opens it up when done.
        for (const QString& pdf : pdfs())
            if (!antes.contains(pdf) && QFileInfo(pdf).isReadable() &&
                (QFileInfo(pdf).permissions() & QFileDevice::ReadOther))
                return pdf;
        esperar(50);
    }
    return {};
}

SinImpresoras::SinImpresoras()
    : antes_(qgetenv("CUPS_SERVER")) {
    const QByteArray nadie = vacia_.filePath(QStringLiteral("sin-planificador.sock")).toLocal8Bit();
    qputenv("CUPS_SERVER", nadie);
    apuntarLibcups(nadie);
}

SinImpresoras::~SinImpresoras() {
    qputenv("CUPS_SERVER", antes_);
    apuntarLibcups(antes_);
}
