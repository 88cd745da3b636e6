#include "design_sheet.hpp"

#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "looks.hpp"
#include "qt_text.hpp"

#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>

namespace explorer {

DesignSheet::DesignSheet(const CandidateTable& table, const CurveChart& chart, QString fileName,
                         QFont font)
    : table_(table), chart_(chart), fileName_(std::move(fileName)), font_(std::move(font)) {}

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

QString DesignSheet::figures() const {
    const auto& candidates = table_.candidateList();
    // Candidates as columns, fields as rows: a sheet has more room down than across.
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr><th></th>");
    for (std::size_t c = 0; c < candidates.size(); ++c)
        html += QStringLiteral("<th><font color=\"%1\">&#9632;</font> %2</th>")
                    .arg(lookColour(table_.look(static_cast<int>(c))).name(),
                         toQString(candidates[c].name).toHtmlEscaped());
    html += QStringLiteral("</tr>");
    const int noteColumn = table_.columnCount() - 1;
    for (int column = 1; column <= noteColumn; ++column) {
        html += QStringLiteral("<tr><td>%1</td>")
                    .arg(table_.headerData(column, Qt::Horizontal, Qt::DisplayRole)
                             .toString()
                             .replace(QLatin1Char('\n'), QLatin1Char(' '))
                             .toHtmlEscaped());
        for (int r = 0; r < table_.rowCount(); ++r)
            html +=
                QStringLiteral("<td align=\"%1\">%2</td>")
                    .arg(column == noteColumn ? QStringLiteral("left") : QStringLiteral("right"),
                         table_.data(table_.index(r, column), Qt::DisplayRole)
                             .toString()
                             .toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

bool DesignSheet::writePdf(const QString& path) const {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    pdf.setTitle(QObject::tr("Vorlaxen Designer - design sheet"));
    pdf.setCreator(QStringLiteral("Vorlaxen Designer"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;

    // Laid out in points (1/72 in) whatever the writer's resolution.
    const double scale = pdf.resolution() / 72.0;
    painter.scale(scale, scale);
    paint(painter, QSizeF(pdf.width() / scale, pdf.height() / scale));
    return painter.end();
}

void DesignSheet::paint(QPainter& painter, const QSizeF& size) const {
    const QRectF page(QPointF(0, 0), size);
    QTextDocument head;
    head.setDefaultFont(QFont(font_.family(), 9));
    head.setTextWidth(page.width());
    head.setHtml(heading(QDate::currentDate()));
    head.drawContents(&painter);
    double top = head.size().height() + 4;

    // The chart takes the left part of the page at its on-screen proportions; the candidates'
    // figures stand beside it.
    const double chartWidth = page.width() * 0.55;
    const QSizeF shown = chart_.size();
    const double chartHeight =
        std::min(page.height() - top, chartWidth * shown.height() / std::max(1.0, shown.width()));
    chart_.paint(painter, QRectF(0, top, chartWidth, chartHeight));

    QTextDocument table;
    table.setDefaultFont(QFont(font_.family(), 7));
    table.setTextWidth(page.width() - chartWidth - 8);
    table.setHtml(figures());
    painter.save();
    painter.translate(chartWidth + 8, top);
    const double room = page.height() - top;
    if (table.size().height() > room) { // a long list is shrunk to stay on the one page
        const double shrink = room / table.size().height();
        painter.scale(shrink, shrink);
    }
    table.drawContents(&painter);
    painter.restore();
}

} // namespace explorer
