#pragma once

#include <QObject>
#include <functional>
#include <vector>

// Test classes of one test program register themselves with TEST_CLASS and
// the program's main runs them all (see testmain.cpp).
namespace prueba {
using Fabrica = std::function<QObject*()>;
std::vector<std::pair<const char*, Fabrica>>& clases();
struct Registro {
    Registro(const char* nombre, Fabrica fabrica) {
        clases().emplace_back(nombre, std::move(fabrica));
    }
};
} // namespace prueba

#define TEST_CLASS(Clase)                                                                          \
    static prueba::Registro registro_##Clase(#Clase, [] { return new Clase; });
