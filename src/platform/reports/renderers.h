#pragma once

#include "platform/reports/reportdocument.h"

#include <QObject>
#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace platform {

// A component that turns a generated report into a file format. Renderers
// register with the engine when they are created and leave when they are
// destroyed, so the setup dialogs offer those of every window alive.
class Renderer : public QObject {
    Q_OBJECT
public:
    Renderer(const QString& name, const QString& displayName, const QString& fileExtension,
             QObject* parent);
    ~Renderer() override;

    bool active = true;
    QString displayName;
    QString fileExtension; // pattern, "*.pdf"

    virtual void render(const ReportDocument& document, const QString& fileName) = 0;

    // The live renderers in registration order.
    static QList<Renderer*> registered();
};

// PDF through QPdfWriter. Qt always embeds the subsets of the fonts it
// uses, so `embedFonts` and `fontEncoding` are kept for the callers' sake
// only; `metafileDpi` is the resolution the pages are drawn at.
class PdfRenderer : public Renderer {
    Q_OBJECT
public:
    explicit PdfRenderer(QObject* parent, const QString& name = QStringLiteral("RvRenderPDF"));

    bool embedFonts = false;
    int imageQuality = 90;
    int metafileDpi = 300;
    QString fontEncoding = QStringLiteral("WinAnsi");

    void render(const ReportDocument& document, const QString& fileName) override;
};

// Plain text: each page cell becomes a character at `cpi` characters and
// `lpi` lines per inch. Windows-1252, CR LF line ends, a form feed between
// pages, trailing blanks dropped.
class TextRenderer : public Renderer {
    Q_OBJECT
public:
    explicit TextRenderer(QObject* parent, const QString& name = QStringLiteral("RvRenderText"));

    int cpi = 10;
    int lpi = 6;

    QString text(const ReportDocument& document) const;
    void render(const ReportDocument& document, const QString& fileName) override;
};

// Draws one page on a painter whose device has the given resolution.
void paintPage(QPainter& painter, const ReportPage& page, double dpiX, double dpiY);

// Draws the pages (from..to, 0-based, inclusive) on a paged device that is
// already begun by the painter; `progress` is told each page number (1-based).
void paintDocument(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document,
                   int from = 0, int to = -1, const std::function<void(int)>& progress = {});

} // namespace platform
