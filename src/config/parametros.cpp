#include "config/parametros.h"

#include "platform/data/dataset.h"

namespace config {

QStringList separarPosibles(const QString& posibles) {
    if (posibles.isEmpty())
        return {};
    return posibles.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

CeldaValor celdaValor(const QString& posibles, const QStringList& codigosImpresoras) {
    using Button = platform::GridColumn::Button;
    CeldaValor celda;
    if (posibles == marcaImpresora) {
        // The mark itself is the one allowed value, so any code may be typed.
        celda.posibles = {posibles};
        celda.boton = Button::Auto;
        celda.lista = QStringList{impresoraPredeterminada} + codigosImpresoras;
        return celda;
    }
    celda.posibles = separarPosibles(posibles);
    if (celda.posibles.isEmpty()) {
        celda.boton = Button::Ellipsis;
        return celda;
    }
    if (celda.posibles.size() == 1) {
        // One value: typing or the colour dialog.
        celda.boton = Button::Ellipsis;
        return celda;
    }
    celda.boton = Button::Auto;
    celda.lista = celda.posibles;
    return celda;
}

bool valorPermitido(const QStringList& posibles, const QString& valor) {
    if (posibles.size() <= 1)
        return true;
    for (const QString& p : posibles)
        if (p.compare(valor, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

namespace {
constexpr quint32 bgr(quint32 rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr quint32 sistema(quint32 indice) {
    return 0xFF000000u | indice;
}
} // namespace

const QList<NombreColor>& nombresColor() {
    static const QList<NombreColor> nombres = {
        {"clBlack", bgr(0x000000)},
        {"clMaroon", bgr(0x800000)},
        {"clGreen", bgr(0x008000)},
        {"clOlive", bgr(0x808000)},
        {"clNavy", bgr(0x000080)},
        {"clPurple", bgr(0x800080)},
        {"clTeal", bgr(0x008080)},
        {"clGray", bgr(0x808080)},
        {"clSilver", bgr(0xC0C0C0)},
        {"clRed", bgr(0xFF0000)},
        {"clLime", bgr(0x00FF00)},
        {"clYellow", bgr(0xFFFF00)},
        {"clBlue", bgr(0x0000FF)},
        {"clFuchsia", bgr(0xFF00FF)},
        {"clAqua", bgr(0x00FFFF)},
        {"clWhite", bgr(0xFFFFFF)},
        {"clMoneyGreen", bgr(0xC0DCC0)},
        {"clSkyBlue", bgr(0xA6CAF0)},
        {"clCream", bgr(0xFFFBF0)},
        {"clMedGray", bgr(0xA0A0A4)},
        {"clScrollBar", sistema(0)},
        {"clBackground", sistema(1)},
        {"clActiveCaption", sistema(2)},
        {"clInactiveCaption", sistema(3)},
        {"clMenu", sistema(4)},
        {"clWindow", sistema(5)},
        {"clWindowFrame", sistema(6)},
        {"clMenuText", sistema(7)},
        {"clWindowText", sistema(8)},
        {"clCaptionText", sistema(9)},
        {"clActiveBorder", sistema(10)},
        {"clInactiveBorder", sistema(11)},
        {"clAppWorkSpace", sistema(12)},
        {"clHighlight", sistema(13)},
        {"clHighlightText", sistema(14)},
        {"clBtnFace", sistema(15)},
        {"clBtnShadow", sistema(16)},
        {"clGrayText", sistema(17)},
        {"clBtnText", sistema(18)},
        {"clInactiveCaptionText", sistema(19)},
        {"clBtnHighlight", sistema(20)},
        {"cl3DDkShadow", sistema(21)},
        {"cl3DLight", sistema(22)},
        {"clInfoText", sistema(23)},
        {"clInfoBk", sistema(24)},
        {"clHotLight", sistema(26)},
        {"clGradientActiveCaption", sistema(27)},
        {"clGradientInactiveCaption", sistema(28)},
        {"clMenuHighlight", sistema(29)},
        {"clMenuBar", sistema(30)},
        {"clNone", 0x1FFFFFFF},
        {"clDefault", 0x20000000},
    };
    return nombres;
}

std::optional<quint32> valorDeColor(const QString& texto) {
    for (const NombreColor& n : nombresColor())
        if (texto.compare(QLatin1String(n.nombre), Qt::CaseInsensitive) == 0)
            return n.valor;
    if (!texto.startsWith(QLatin1Char('$')) || texto.size() < 2)
        return std::nullopt;
    // Any number of digits, as long as the value fits in 32 bits.
    quint64 valor = 0;
    for (QChar c : texto.mid(1)) {
        const int digito = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digito < 0)
            return std::nullopt;
        valor = valor * 16 + quint64(digito);
        if (valor > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return quint32(valor);
}

QString textoDeColor(quint32 valor) {
    for (const NombreColor& n : nombresColor())
        if (n.valor == valor)
            return QLatin1String(n.nombre);
    return QStringLiteral("$%1").arg(valor, 8, 16, QLatin1Char('0')).toUpper();
}

QColor colorEnPantalla(quint32 valor, const QPalette& paleta) {
    if ((valor & 0xFF000000u) == 0xFF000000u) {
        using P = QPalette;
        struct Rol {
            P::ColorGroup grupo;
            P::ColorRole rol;
        };
        // The nearest role of the palette to each display colour of the system.
        static const Rol roles[] = {
            {P::Active, P::Button},
            {P::Active, P::Dark},
            {P::Active, P::Highlight},
            {P::Inactive, P::Highlight},
            {P::Active, P::Window},
            {P::Active, P::Base},
            {P::Active, P::Shadow},
            {P::Active, P::WindowText},
            {P::Active, P::Text},
            {P::Active, P::HighlightedText},
            {P::Active, P::Window},
            {P::Inactive, P::Window},
            {P::Active, P::Dark},
            {P::Active, P::Highlight},
            {P::Active, P::HighlightedText},
            {P::Active, P::Button},
            {P::Active, P::Dark},
            {P::Disabled, P::Text},
            {P::Active, P::ButtonText},
            {P::Inactive, P::HighlightedText},
            {P::Active, P::Light},
            {P::Active, P::Shadow},
            {P::Active, P::Midlight},
            {P::Active, P::ToolTipText},
            {P::Active, P::ToolTipBase},
            {P::Active, P::Window},
            {P::Active, P::Link},
            {P::Active, P::Highlight},
            {P::Inactive, P::Highlight},
            {P::Active, P::Highlight},
            {P::Active, P::Window},
        };
        const quint32 indice = valor & 0xFFu;
        if (indice < std::size(roles))
            return paleta.color(roles[indice].grupo, roles[indice].rol);
    }
    return QColor(int(valor & 0xFF), int((valor >> 8) & 0xFF), int((valor >> 16) & 0xFF));
}

quint32 valorDeRgb(const QColor& color) {
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

bool pareceColor(const QString& valor) {
    return valor.startsWith(QLatin1Char('$')) || valor.startsWith(QLatin1String("cl"));
}

QList<ModuloConfig> arbolConfiguracion(platform::DataSet& filas) {
    QList<ModuloConfig> arbol;
    QString modulo, categoria;
    bool primera = true;
    for (filas.first(); !filas.eof(); filas.next()) {
        const QString m = filas.text(QStringLiteral("CONF_MODULO"));
        const QString c = filas.text(QStringLiteral("CONF_CATEGORIA"));
        if (primera || m != modulo)
            arbol << ModuloConfig{m, {}};
        if (primera || m != modulo || c != categoria)
            arbol.last().categorias << c;
        modulo = m;
        categoria = c;
        primera = false;
    }
    return arbol;
}

QString sqlBuscarPropiedad() {
    return QStringLiteral("select CONF_MODULO, CONF_CATEGORIA, CONF_PROPIEDAD, CONF_VALOR "
                          "FROM CONFIGURACION "
                          "WHERE UPPER(CONF_PROPIEDAD) LIKE UPPER(CAST(? AS VARCHAR(300))) "
                          "ORDER BY CONF_MODULO, CONF_CATEGORIA, CONF_PROPIEDAD");
}

QVariantList parametrosBuscarPropiedad(const QString& texto) {
    return {QLatin1Char('%') + texto + QLatin1Char('%')};
}

} // namespace config
