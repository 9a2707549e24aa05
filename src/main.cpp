#include "platform/data/dataset.h"
#include "shell/aplicacion.h"
#include "shell/aspecto.h"
#include "shell/principal.h"

#include <QScreen>

int main(int argc, char** argv) {
    platform::settleLocalTimeZone();
    Aplicacion app(argc, argv);
    aplicarAspecto(app);
    Tfprincipal principal;
    // Fills the screen also where no window manager maximises it.
    principal.resize(principal.screen()->availableSize());
    principal.showMaximized();
    return app.exec();
}
