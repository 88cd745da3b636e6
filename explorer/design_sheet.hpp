#pragma once
// The design sheet: the candidates' chart and figures on a page, with the heading and the
// caution that go with them, drawn on any paint device and written as a PDF.

#include <QDate>
#include <QFont>
#include <QSizeF>
#include <QString>

class QPainter;

namespace explorer {

class CandidateTable;
class CurveChart;

class DesignSheet {
public:
    // `fileName` names the candidates' file in the heading; empty for unsaved work.
    DesignSheet(const CandidateTable& table, const CurveChart& chart, QString fileName, QFont font);

    // The sheet's parts, as rich text.
    QString heading(const QDate& date) const;
    QString figures() const;

    // The sheet on a page of `size` points, as the PDF holds it.
    void paint(QPainter& painter, const QSizeF& size) const;
    // Writes the sheet to a PDF at `path`; false when the file cannot be written.
    bool writePdf(const QString& path) const;

private:
    const CandidateTable& table_;
    const CurveChart& chart_;
    QString fileName_;
    QFont font_;
};

} // namespace explorer
