#include "design_sheet.hpp"

#include "candidate_table.hpp"
#include "looks.hpp"
#include "qt_text.hpp"
#include "run_log_window.hpp"
#include "template_builder.hpp"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace explorer {

namespace {

constexpr int kHeadingPoints = 9;
constexpr int kFigurePoints = 7;
constexpr double kGap = 8;
// The chart's height for its width: a panel's plot a little flatter than it is wide, and room
// for the legend and the axis.
constexpr double kFirstPanelShape = 0.45;
constexpr double kMorePanelShape = 0.3;

// Texts are laid out in points: on a device of 72 dots an inch, whatever the screen is.
QPaintDevice* pointDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(std::lround(72.0 / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return &device;
}

QUrl lookUrl(int look) {
    return QUrl(QStringLiteral("look:%1").arg(look));
}

} // namespace

DesignSheet::DesignSheet(const CandidateTable& table, const CurveChart& chart, QString fileName,
                         std::vector<SheetMap> maps)
    : table_(table), content_(chart.content()), fileName_(std::move(fileName)),
      font_(dialogs::programFont(kFigurePoints)), maps_(std::move(maps)) {}

DesignSheet::~DesignSheet() = default;

QString DesignSheet::heading(const QDate& date) const {
    QString html = QObject::tr("<h2>Vorlaxen Designer &mdash; design sheet</h2><p>");
    if (!fileName_.isEmpty())
        html += fileName_.toHtmlEscaped() + QStringLiteral(" &middot; ");
    html += date.toString(Qt::ISODate) + QStringLiteral(" &middot; ") +
            (table_.units() == fields::UnitSystem::Metric ? QObject::tr("metric units")
                                                          : QObject::tr("the forms' units")) +
            QStringLiteral("</p>");
    html += QStringLiteral("<p><b>%1</b></p>")
                .arg(QObject::tr("These figures are proposals for discussion, worked out from the "
                                 "figures typed and basic arithmetic. They are not engineered, "
                                 "tested or fit for machine design: check every figure yourself "
                                 "before you rely on it.")
                         .toHtmlEscaped());
    return html;
}

// Candidates as columns, fields as rows; every figure on one line. Each part of the table heads
// its columns with the candidates' names again.
QString DesignSheet::figuresTable(int first, int last, int firstField, int lastField) const {
    const auto& candidates = table_.candidateList();
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\"><tr><th></th>");
    for (int c = first; c < last; ++c)
        html += QStringLiteral("<th><img src=\"%1\"><br>%2</th>")
                    .arg(lookUrl(table_.look(c)).toString(),
                         toQString(candidates[static_cast<std::size_t>(c)].name).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int column = firstField; column < lastField; ++column) {
        html += QStringLiteral("<tr><td style=\"white-space:nowrap\">%1</td>")
                    .arg(table_.headerData(column, Qt::Horizontal, Qt::DisplayRole)
                             .toString()
                             .replace(QLatin1Char('\n'), QLatin1Char(' '))
                             .toHtmlEscaped());
        for (int r = first; r < last; ++r)
            html += QStringLiteral("<td align=\"right\" style=\"white-space:nowrap\">%1</td>")
                        .arg(table_.data(table_.index(r, column), Qt::DisplayRole)
                                 .toString()
                                 .toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// What the curves cannot show, one paragraph per candidate, under the tables: words wrap where
// figures must not.
QString DesignSheet::notes() const {
    const int noteColumn = table_.columnCount() - 1;
    QString html;
    for (int r = 0; r < table_.rowCount(); ++r) {
        const QString note = table_.data(table_.index(r, noteColumn), Qt::DisplayRole).toString();
        if (!note.isEmpty())
            html += QStringLiteral("<p><img src=\"%1\"> <b>%2</b>: %3</p>")
                        .arg(lookUrl(table_.look(r)).toString(),
                             toQString(table_.candidateList()[static_cast<std::size_t>(r)].name)
                                 .toHtmlEscaped(),
                             note.toHtmlEscaped());
    }
    return html.isEmpty()
               ? html
               : QStringLiteral("<p><b>%1</b></p>")
                         .arg(table_.headerData(noteColumn, Qt::Horizontal, Qt::DisplayRole)
                                  .toString()
                                  .toHtmlEscaped()) +
                     html;
}

std::shared_ptr<QTextDocument> DesignSheet::document(const QString& html, double width,
                                                     int points) const {
    auto doc = std::make_shared<QTextDocument>();
    QFont font = font_;
    font.setPointSize(points);
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    doc->documentLayout()->setPaintDevice(pointDevice());
    for (int r = 0; r < table_.rowCount(); ++r) {
        // Each candidate's line, as its chart draws it, twice the resolution it is shown at.
        QImage sample(QSize(48, 12), QImage::Format_ARGB32_Premultiplied);
        sample.fill(Qt::transparent);
        QPainter painter(&sample);
        painter.scale(2, 2);
        paintLookSample(painter, QRectF(0, 0, 24, 6), table_.look(r));
        painter.end();
        sample.setDevicePixelRatio(2);
        doc->addResource(QTextDocument::ImageResource, lookUrl(table_.look(r)), sample);
    }
    doc->setTextWidth(width);
    doc->setHtml(html);
    return doc;
}

bool DesignSheet::figuresWhole(QTextDocument& text) {
    if (text.idealWidth() > text.textWidth() + 0.5)
        return false;
    for (QTextFrame* frame : text.rootFrame()->childFrames()) {
        auto* grid = qobject_cast<QTextTable*>(frame);
        if (!grid)
            continue;
        for (int row = 1; row < grid->rows(); ++row)
            for (int column = 0; column < grid->columns(); ++column) {
                const QTextBlock block = grid->cellAt(row, column).firstCursorPosition().block();
                if (block.layout() && block.layout()->lineCount() > 1)
                    return false;
            }
    }
    return true;
}

std::vector<DesignSheet::Page> DesignSheet::layout(const QSizeF& size) const {
    std::vector<Page> pages(1);
    double top = 0;
    auto place = [&](std::shared_ptr<QTextDocument> text, double height) {
        if (top > 0 && top + height > size.height()) {
            pages.emplace_back();
            top = 0;
        }
        pages.back().push_back({QRectF(0, top, size.width(), height), std::move(text)});
        top += height + kGap;
    };

    auto head = document(heading(QDate::currentDate()), size.width(), kHeadingPoints);
    place(head, head->size().height());

    // The chart across the page, taller by a share for each panel, and never past the page.
    const auto panels = static_cast<double>(content_.panels.size());
    const double shape = kFirstPanelShape + kMorePanelShape * std::max(0.0, panels - 1);
    const double chartHeight = std::min(size.width() * shape, size.height() - top);
    if (!content_.panels.empty())
        place(nullptr, chartHeight);

    // As many candidates to a table as fit across without wrapping a figure (judged on all the
    // fields, so that every part of a group has the same columns); then as many fields to a part
    // as fit in what is left of the page, the rest carried over.
    const int fields = table_.columnCount() - 1;
    const int count = table_.rowCount();
    for (int first = 0, widest = count; first < count;) {
        int last = first + 1;
        while (last < widest && figuresWhole(*document(figuresTable(first, last + 1, 1, fields),
                                                       size.width(), kFigurePoints)))
            ++last;
        // A part of fewer fields can come out a little wider than the whole group: then the
        // group is laid out again a candidate narrower.
        const std::size_t pagesBefore = pages.size();
        const std::size_t piecesBefore = pages.back().size();
        const double topBefore = top;
        bool whole = true;
        for (int field = 1; whole && field < fields;) {
            auto part = [&](int end) {
                return document(figuresTable(first, last, field, end), size.width(), kFigurePoints);
            };
            const double room = size.height() - top;
            int end = fields;
            auto doc = part(end);
            if (doc->size().height() > room) {
                // The most fields that fit, found by halving; on a fresh page when not even one
                // fits here.
                int fit = field;
                for (int low = field + 1, high = fields - 1; low <= high;) {
                    const int mid = (low + high) / 2;
                    if (part(mid)->size().height() <= room) {
                        fit = mid;
                        low = mid + 1;
                    } else {
                        high = mid - 1;
                    }
                }
                if (fit == field && top > 0) {
                    pages.emplace_back();
                    top = 0;
                    continue;
                }
                end = std::max(fit, field + 1);
                doc = part(end);
            }
            whole = last == first + 1 || figuresWhole(*doc);
            place(doc, doc->size().height());
            field = end;
        }
        if (!whole) {
            pages.resize(pagesBefore);
            pages.back().resize(piecesBefore);
            top = topBefore;
            widest = last - 1;
            continue;
        }
        first = last;
        widest = count;
    }
    if (const QString html = notes(); !html.isEmpty()) {
        auto doc = document(html, size.width(), kFigurePoints);
        place(doc, doc->size().height());
    }
    // A candidate's measured run beside the model's figures.
    if (const QString html = measuredSheetHtml(table_); !html.isEmpty()) {
        auto doc = document(html, size.width(), kFigurePoints);
        place(doc, doc->size().height());
    }
    placeMaps(pages, size);
    return pages;
}

// Each map on a page of its own: its name and reference over the map drawn as wide as the page,
// in the picture's proportions (or the plain sheet's).
void DesignSheet::placeMaps(std::vector<Page>& pages, const QSizeF& size) const {
    for (std::size_t i = 0; i < maps_.size(); ++i) {
        const SheetMap& m = maps_[i];
        const QString html =
            QObject::tr("<h3>Compressor map: %1</h3><p>Corrected flow in %2, referred to %3 K and "
                        "%4 psi absolute. Each candidate's sweep as a line of points, its own P2 "
                        "as a marked point.</p>")
                .arg(m.title.toHtmlEscaped(), toQString(compmap::flowUnitText(m.map.flowUnit)),
                     toQString(compmap::numberText(m.map.referenceTemperature)),
                     toQString(compmap::numberText(m.map.referencePressure)));
        auto title = document(html, size.width(), kHeadingPoints);
        const double top = title->size().height() + kGap;
        // Every candidate named under the map in its colour, so that none is told by colour alone.
        QString names;
        for (const auto& series : m.series)
            names += QStringLiteral("<span style=\"color:%1\">&#9679;&#8212;</span>&nbsp;%2 "
                                    "&nbsp;&nbsp; ")
                         .arg(series.colour.name(), series.name.toHtmlEscaped());
        auto legend = document(QStringLiteral("<p>%1</p>").arg(names), size.width(), kFigurePoints);
        const double legendHeight = legend->size().height();
        const QSizeF shape = m.picture.isNull() ? QSizeF(compmap::MapGeometry::kSheetWidth,
                                                         compmap::MapGeometry::kSheetHeight)
                                                : QSizeF(m.picture.size());
        const double height = std::min(size.width() * shape.height() / shape.width(),
                                       size.height() - top - kGap - legendHeight);
        Page page;
        page.push_back({QRectF(0, 0, size.width(), title->size().height()), std::move(title)});
        page.push_back({QRectF(0, top, size.width(), height), nullptr, static_cast<int>(i)});
        page.push_back(
            {QRectF(0, top + height + kGap, size.width(), legendHeight), std::move(legend)});
        pages.push_back(std::move(page));
    }
}

void DesignSheet::paintMapPiece(QPainter& painter, const Piece& piece) const {
    const SheetMap& m = maps_[static_cast<std::size_t>(piece.map)];
    const QImage* picture = m.picture.isNull() ? nullptr : &m.picture;
    // Drawn as on a screen of 96 dots per inch, scaled to points: labels, lines and points keep
    // the proportions they have in the window, in the program's font.
    constexpr double kPerPoint = 96.0 / 72.0;
    const QRectF area(QPointF(0, 0), piece.place.size() * kPerPoint);
    const compmap::MapGeometry geometry(m.map, picture, m.series, area);
    painter.save();
    painter.translate(piece.place.topLeft());
    painter.scale(1 / kPerPoint, 1 / kPerPoint);
    painter.setClipRect(area);
    QFont font = font_;
    font.setPixelSize(12);
    painter.setFont(font);
    compmap::MapOverlay overlay;
    overlay.series = m.series;
    compmap::paintMap(painter, geometry, m.map, picture, overlay);
    painter.restore();
}

void DesignSheet::paintPage(QPainter& painter, const Page& page) const {
    for (const Piece& piece : page) {
        if (piece.text) {
            painter.save();
            painter.translate(piece.place.topLeft());
            piece.text->drawContents(&painter);
            painter.restore();
            continue;
        }
        if (piece.map >= 0) {
            paintMapPiece(painter, piece);
            continue;
        }
        // The chart is laid out at the piece's size in pixels of the screen's resolution, then
        // drawn scaled to points, so its text keeps its point size and its shape is not stretched.
        if (!chart_) {
            chart_ = std::make_unique<CurveChart>();
            chart_->setAttribute(Qt::WA_DontShowOnScreen);
        }
        const double perPoint = chart_->logicalDpiY() / 72.0;
        chart_->resize((piece.place.size() * perPoint).toSize());
        chart_->show();
        chart_->plot(content_);
        QCoreApplication::sendPostedEvents();
        chart_->paint(painter, piece.place);
    }
}

void DesignSheet::paint(QPainter& painter, const QSizeF& size) const {
    const auto pages = layout(size);
    paintPage(painter, pages.front());
}

QPageSize::PageSizeId DesignSheet::localPaper() {
    const QLocale here = QLocale::system();
    return here.measurementSystem() == QLocale::ImperialUSSystem ||
                   here.territory() == QLocale::Canada
               ? QPageSize::Letter
               : QPageSize::A4;
}

bool DesignSheet::writePdf(QIODevice* out, QPageSize::PageSizeId paper) const {
    QPdfWriter pdf(out);
    pdf.setPageSize(QPageSize(paper));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    pdf.setTitle(QObject::tr("Vorlaxen Designer - design sheet"));
    pdf.setCreator(QStringLiteral("Vorlaxen Designer"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;

    // Laid out in points (1/72 in) whatever the writer's resolution.
    const double scale = pdf.resolution() / 72.0;
    const auto pages = layout(QSizeF(pdf.width() / scale, pdf.height() / scale));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, pages[i]);
        painter.restore();
    }
    return painter.end();
}

} // namespace explorer
