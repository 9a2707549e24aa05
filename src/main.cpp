#include "shell/aplicacion.h"
#include "shell/aspecto.h"
#include "shell/principal.h"

int main(int argc, char** argv) {
    Aplicacion app(argc, argv);
    aplicarAspecto(app);
    Tfprincipal principal;
    principal.showMaximized();
    return app.exec();
}
