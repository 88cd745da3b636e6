#pragma once
// The design sheet: the candidates' chart and figures on paper, with the heading and the caution
// that go with them, drawn on any paint device and written as a PDF. The chart is drawn at the
// page's size in its own proportions; the figures go into tables of as many candidates as fit
// across the page without wrapping a number, each split by fields where the page ends and carried
// on under the candidates' names again, over as many pages as they need.

#include "curve_chart.hpp"
#include "drawing.hpp"
#include "map_painter.hpp"

#include <QDate>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QPainter;
class QTextDocument;

namespace explorer {

class CandidateTable;

// A compressor map in use, with the candidates' points on it, for a page of its own.
struct SheetMap {
    QString title;
    compmap::CompressorMap map;
    QImage picture; // null without one
    std::vector<compmap::MapSeries> series;
};

class DesignSheet {
public:
    // The candidates' engine sections, each a page after the maps, drawn for a page of the given
    // size in millimetres.
    using Sections = std::function<std::vector<flametube::Drawing>(double, double)>;

    // `fileName` names the candidates' file in the heading; empty for unsaved work. `chart` gives
    // what is plotted; each of `maps` gets a page after the figures.
    DesignSheet(const CandidateTable& table, const CurveChart& chart, QString fileName,
                std::vector<SheetMap> maps = {}, Sections sections = {});
    ~DesignSheet();

    // One piece of a page: a text (heading, figures, notes) or the chart, at its place in points.
    struct Piece {
        QRectF place;
        std::shared_ptr<QTextDocument> text; // null for the chart or a map
        int map = -1;                        // a map's index in the sheet's maps
        int section = -1;                    // a drawing's index among the sections
    };
    using Page = std::vector<Piece>;

    // The sheet laid out on pages of `size` points (the printable part of the paper).
    std::vector<Page> layout(const QSizeF& size) const;
    void paintPage(QPainter& painter, const Page& page) const;
    // The first page, as the PDF holds it.
    void paint(QPainter& painter, const QSizeF& size) const;

    // Writes every page as a PDF to `out` on paper of `paper`; false when it cannot be written.
    bool writePdf(QIODevice* out, QPageSize::PageSizeId paper) const;
    // A4, or Letter where the system's measures are American.
    static QPageSize::PageSizeId localPaper();

    // True when no figure of the sheet's tables in `text` is wrapped and the tables are no wider
    // than the text's width.
    static bool figuresWhole(QTextDocument& text);

    QString heading(const QDate& date) const;

private:
    std::shared_ptr<QTextDocument> document(const QString& html, double width, int points) const;
    // Candidates [first, last) and the table's field columns [firstField, lastField).
    QString figuresTable(int first, int last, int firstField, int lastField) const;
    QString notes() const;
    void placeMaps(std::vector<Page>& pages, const QSizeF& size) const;
    void paintMapPiece(QPainter& painter, const Piece& piece) const;
    void placeSections(std::vector<Page>& pages, const QSizeF& size) const;

    const CandidateTable& table_;
    ChartContent content_;
    QString fileName_;
    QFont font_;
    std::vector<SheetMap> maps_;
    Sections sections_;
    mutable std::vector<flametube::Drawing> drawings_; // as last laid out
    mutable std::unique_ptr<CurveChart> chart_;        // drawn at the sheet's size, never on screen
};

} // namespace explorer
