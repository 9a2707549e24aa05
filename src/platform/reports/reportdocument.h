#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <stdexcept>

namespace platform {

// A failure of the report engine (missing project file, unknown report,
// a file that cannot be written). The text is for people: Spanish.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text)
        : std::runtime_error(text.toStdString())
        , text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// How an item of a page looks; each renderer decides the font.
enum class ItemStyle : quint8 { Title, Subtitle, Info, Heading, Group, Detail, Summary, Footer };

// Positions on a page are counted in the cells of a grid of 10 characters
// per inch and 6 lines per inch from the paper's top left corner. The
// plain-text renderer writes the cells one to one; the painter renders them
// at any resolution with proportional fonts that fit in the cells.
struct PageItem {
    enum class Kind : quint8 { Text, Rule };
    Kind kind = Kind::Text;
    ItemStyle style = ItemStyle::Detail;
    Qt::Alignment align = Qt::AlignLeft;
    int column = 0;
    int line = 0;
    int width = 0;  // characters
    int height = 1; // lines
    QString text;
};

struct ReportPage {
    QList<PageItem> items;
};

// A generated report: its pages, ready for any renderer (the "filer").
struct ReportDocument {
    QString title;
    QPageLayout layout{QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()};
    QList<ReportPage> pages;

    // The page in grid cells.
    int pageColumns() const;
    int pageLines() const;
};

constexpr double kCellsPerInchX = 10.0;
constexpr double kCellsPerInchY = 6.0;

// The page snapshot ("ndr"): the generated pages serialised with
// QDataStream, so a saved report can be previewed, printed or rendered to
// any format later exactly as it was generated.
void saveSnapshot(const ReportDocument& document, const QString& fileName);
ReportDocument loadSnapshot(const QString& fileName);

} // namespace platform
