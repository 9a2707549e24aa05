#pragma once

#include "config/impresorascfg.h"

#include <QDialog>
#include <QIcon>
#include <QList>

class QToolButton;
class QTreeWidget;

// "Definición de impresoras": which installed printers the suite may use,
// each with its code, kept in impresoras.cfg of the application folder.
class Tfdefimpresoras : public QDialog {
    Q_OBJECT
public:
    explicit Tfdefimpresoras(QWidget* owner);

    void FormCreate();
    void ToolButton1Click(); // "Grabar"
    void ToolButton2Click(); // "Impresoras disponibles"

    // The rows of the list as shown: code, name, ticked.
    QList<config::ImpresoraDefinida> filas() const;

    QTreeWidget* ListView1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;

private:
    void mostrar(const QList<config::ImpresoraDefinida>& filas);
    // Gives a button a picture of the image list; the index stays readable
    // as the button's "imagen" property.
    void ponerImagen(QToolButton* boton, int indice);

    QList<QIcon> ImageList1;
};
