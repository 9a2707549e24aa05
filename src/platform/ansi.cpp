#include "platform/ansi.h"

namespace platform {

namespace {
// Windows-1252 characters 0x80..0x9F; 0 where the code page has none.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QByteArray toAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == u && u != 0)
                byte = char(0x80 + i);
        out.append(byte);
    }
    return out;
}

QString fromAnsi(const char* data, qsizetype size) {
    QString out;
    out.reserve(size);
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(char16_t(b)));
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes) {
    return fromAnsi(bytes.constData(), bytes.size());
}

} // namespace platform
