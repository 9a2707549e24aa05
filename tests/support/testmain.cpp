#include "support/testmain.h"

#include "shell/aplicacion.h"
#include "support/fakedialogs.h"

#include <QTest>

namespace prueba {
std::vector<std::pair<const char*, Fabrica>>& clases() {
    static std::vector<std::pair<const char*, Fabrica>> lista;
    return lista;
}
} // namespace prueba

// Runs every registered class; "-class Name" runs one of them, the other
// arguments go to Qt Test.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    Aplicacion app(argc, argv);
    QStringList args = app.arguments();
    QString solo;
    const qsizetype at = args.indexOf(QStringLiteral("-class"));
    if (at >= 0 && at + 1 < args.size()) {
        solo = args[at + 1];
        args.remove(at, 2);
    }
    int fallos = 0;
    for (auto& [nombre, fabrica] : prueba::clases()) {
        if (!solo.isEmpty() && solo != QLatin1String(nombre))
            continue;
        FakeDialogs::instalar();
        QObject* objeto = fabrica();
        fallos += QTest::qExec(objeto, args);
        delete objeto;
    }
    return fallos == 0 ? 0 : 1;
}
