#include "explorer_window.hpp"

#include "candidate_table.hpp"
#include "curve_chart.hpp"
#include "design_sheet.hpp"
#include "message_box.hpp"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
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
    QString path = QFileDialog::getSaveFileName(this, choice.caption, QString(), choice.filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + choice.suffix;
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

bool refused(QWidget* window, const QString& path) {
    dialogs::showMessage(window, window->windowTitle(),
                         QObject::tr("%1 could not be written.").arg(path));
    return false;
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
    return image.save(path, "PNG") || refused(this, path);
}

bool ExplorerWindow::exportChartSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(chart_->size());
    svg.setViewBox(QRect(QPoint(0, 0), chart_->size()));
    svg.setTitle(tr("Design Explorer chart"));
    QPainter painter;
    if (!painter.begin(&svg))
        return refused(this, path);
    chart_->paint(painter, QRectF(QPointF(0, 0), QSizeF(chart_->size())));
    painter.end();
    return QFileInfo(path).size() > 0 || refused(this, path);
}

bool ExplorerWindow::exportCurveCsv(const QString& path) {
    const QByteArray text = model_->curveCsv(curveRequest());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return refused(this, path);
    return true;
}

bool ExplorerWindow::exportDesignSheet(const QString& path) {
    return designSheet().writePdf(path) || refused(this, path);
}

void ExplorerWindow::paintDesignSheet(QPainter& painter, const QSizeF& size) {
    designSheet().paint(painter, size);
}

explorer::DesignSheet ExplorerWindow::designSheet() const {
    return {*model_, *chart_, file_.isEmpty() ? QString() : QFileInfo(file_).fileName(), font()};
}
