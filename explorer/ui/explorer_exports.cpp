#include "explorer_window.hpp"
#include "map_view.hpp"

#include "candidate_table.hpp"
#include "combustor_view.hpp"
#include "curve_chart.hpp"
#include "design_sheet.hpp"
#include "map_panel.hpp"
#include "message_box.hpp"
#include "save_path.hpp"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

// ---- exports ---------------------------------------------------------------------------------

void ExplorerWindow::OnExport(int kind) {
    struct Choice {
        QString caption, filter, suffix;
    };
    static const Choice choices[] = {
        {tr("Export Chart as PNG"), tr("PNG pictures (*.png)"), QStringLiteral("png")},
        {tr("Export Chart as SVG"), tr("SVG drawings (*.svg)"), QStringLiteral("svg")},
        {tr("Export Curve Data as CSV"), tr("CSV files (*.csv)"), QStringLiteral("csv")},
        {tr("Export Design Sheet as PDF"), tr("PDF documents (*.pdf)"), QStringLiteral("pdf")},
    };
    const Choice& choice = choices[kind];
    const QString path =
        dialogs::askSavePath(this, choice.caption, QString(), choice.filter, choice.suffix);
    if (path.isEmpty())
        return;
    switch (kind) {
    case ExportPng:
        exportChartImage(path);
        break;
    case ExportSvg:
        exportChartSvg(path);
        break;
    case ExportCsv:
        exportCurveCsv(path);
        break;
    case ExportPdf:
        exportDesignSheet(path);
        break;
    }
}

namespace {

// Every export is made in memory and written through the one path for users' files, so that a
// failure says what the system said and leaves any old file as it was.
template <typename Write> bool writeThrough(QWidget* window, const QString& path, Write write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer)) {
        dialogs::showMessage(
            window, window->windowTitle(),
            QObject::tr("%1 was not saved: the export could not be made.").arg(path));
        return false;
    }
    return dialogs::writeUserFile(window, path, bytes);
}

} // namespace

bool ExplorerWindow::exportChartImage(const QString& path) {
    // Twice the screen's pixels, so the picture stays sharp on paper and on a projector.
    const QSize size = chart_->size();
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        chart_->paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return writeThrough(this, path, [&](QIODevice& out) {
        return image.save(&out, compmap::imageFormatFor(path));
    });
}

bool ExplorerWindow::exportChartSvg(const QString& path) {
    return writeThrough(this, path, [&](QIODevice& out) {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(chart_->size());
        svg.setViewBox(QRect(QPoint(0, 0), chart_->size()));
        svg.setTitle(tr("Design Explorer chart"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        chart_->paint(painter, QRectF(QPointF(0, 0), QSizeF(chart_->size())));
        return painter.end();
    });
}

bool ExplorerWindow::exportCurveCsv(const QString& path) {
    model_->setRequest(curveRequest());
    const QByteArray text = model_->curveCsv();
    return writeThrough(this, path, [&](QIODevice& out) { return out.write(text) == text.size(); });
}

bool ExplorerWindow::exportDesignSheet(const QString& path) {
    return writeThrough(this, path, [&](QIODevice& out) {
        return designSheet(fileName()).writePdf(&out, explorer::DesignSheet::localPaper());
    });
}

QByteArray ExplorerWindow::designSheetPdf(const QString& name) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!designSheet(name).writePdf(&buffer, explorer::DesignSheet::localPaper()))
        return {};
    return bytes;
}

void ExplorerWindow::paintDesignSheet(QPainter& painter, const QSizeF& size) {
    designSheet(fileName()).paint(painter, size);
}

QString ExplorerWindow::fileName() const {
    return file_.isEmpty() ? QString() : QFileInfo(file_).fileName();
}

explorer::DesignSheet ExplorerWindow::designSheet(const QString& name) const {
    return {
        *model_, *chart_, name, maps_->sheetMaps(),
        [view = combustor_](double width, double height) { return view->sections(width, height); }};
}
