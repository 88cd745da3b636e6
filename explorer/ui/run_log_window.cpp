#include "run_log_window.hpp"

#include "candidate_table.hpp"
#include "explorer_window.hpp"
#include "looks.hpp"
#include "qt_text.hpp"
#include "round_numbers.hpp"
#include "template_builder.hpp"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <map>

namespace explorer {

namespace {

enum Column {
    LineColumn,
    QuantityColumn,
    MeasuredColumn,
    PredictedColumn,
    RatioColumn,
    FittedColumn,
    FittedRatioColumn,
    ColumnCount
};

QString measuredTitle(runs::Measured m, fields::UnitSystem units) {
    const auto& info = runs::measuredInfo(m);
    const auto unit = fields::unitText(info.quantity, units);
    return unit.empty() ? toQString(info.label)
                        : QStringLiteral("%1 (%2)").arg(toQString(info.label), toQString(unit));
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

float shown(runs::Measured m, fields::UnitSystem units, float value) {
    return fields::toDisplay(runs::measuredInfo(m).quantity, units, value);
}

QString shown(double value) {
    return std::isfinite(value) ? figureText(static_cast<float>(value)) : QStringLiteral("-");
}

// A marker shape for each measured quantity, so the series tell apart without colour too.
QScatterSeries::MarkerShape shapeOf(runs::Measured m) {
    switch (m) {
    case runs::Measured::Thrust:
        return QScatterSeries::MarkerShapeCircle;
    case runs::Measured::FuelFlow:
        return QScatterSeries::MarkerShapeTriangle;
    default:
        return QScatterSeries::MarkerShapeRectangle;
    }
}

void setRoundRange(QValueAxis* axis, double low, double high) {
    if (!(low < high)) {
        low -= 1;
        high += 1;
    }
    const RoundRange r = roundAxis(low, high, 5);
    axis->setRange(r.from, r.to);
    if (r.step > 0) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(r.step);
    }
}

} // namespace

RunLogWindow::RunLogWindow(CandidateTable* model, int row, QWidget* parent)
    : QDialog(parent), model_(model), row_(row) {
    const Candidate& candidate = model_->candidateList().at(static_cast<size_t>(row));
    const runs::RunLog& log = *candidate.runLog;
    setWindowTitle(tr("Measured Run: %1").arg(toQString(candidate.name)));
    setFont(dialogs::programFont());
    auto* layout = new QVBoxLayout(this);

    QString about = tr("%1: %n point(s)", nullptr, static_cast<int>(log.points.size()))
                        .arg(QFileInfo(toQString(log.file)).fileName());
    if (!log.otherColumns.empty()) {
        QStringList other;
        for (const auto& name : log.otherColumns)
            other << toQString(name);
        about += tr("; not used: %1").arg(other.join(QStringLiteral(", ")));
    }
    layout->addWidget(new QLabel(about, this));

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("measuredTable"));
    table_->setColumnCount(ColumnCount);
    table_->setHorizontalHeaderLabels({tr("Line"), tr("Quantity"), tr("Measured"), tr("Predicted"),
                                       tr("Ratio"), tr("After Fit"), tr("Ratio After Fit")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_, 1);

    chart_ = new QChart;
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->setBackgroundRoundness(0);
    chart_->setTitleFont(font());
    chart_->legend()->setFont(font());
    chart_->legend()->setAlignment(Qt::AlignRight);
    auto* chartView = new QChartView(chart_, this);
    chartView->setObjectName(QStringLiteral("residualChart"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(200);
    layout->addWidget(chartView, 1);

    auto* fitBox = new QGroupBox(tr("Fit the assumptions to the log"), this);
    auto* fitLayout = new QVBoxLayout(fitBox);
    // Four to a row, so that a longer table of assumptions does not widen the window.
    auto* ticks = new QGridLayout;
    for (const auto& info : runs::assumptions()) {
        auto* box = new QCheckBox(toQString(info.label), fitBox);
        box->setObjectName(QStringLiteral("fit-%1").arg(toQString(info.key)));
        const int at = static_cast<int>(choices_.size());
        ticks->addWidget(box, at / 4, at % 4);
        choices_.push_back(box);
    }
    fitLayout->addLayout(ticks);
    auto* buttons = new QHBoxLayout;
    fit_ = new QPushButton(tr("&Fit"), fitBox);
    copy_ = new QPushButton(tr("Add &Calibrated Copy"), fitBox);
    copy_->setEnabled(false);
    buttons->addWidget(fit_);
    buttons->addWidget(copy_);
    buttons->addStretch(1);
    fitLayout->addLayout(buttons);
    fitText_ = new QLabel(fitBox);
    fitText_->setObjectName(QStringLiteral("fitText"));
    fitText_->setWordWrap(true);
    fitText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fitLayout->addWidget(fitText_);
    layout->addWidget(fitBox);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(close);
    connect(fit_, &QPushButton::clicked, this, [this] { runFit(); });
    connect(copy_, &QPushButton::clicked, this, [this] {
        addCalibratedCopy();
        accept();
    });
    fillTable();
    resize(760, 720);
}

runs::ModelSetup RunLogWindow::setup() const {
    runs::ModelSetup setup;
    if (const auto* entry = model_->mapOf(row_); entry && entry->map)
        setup.map = &*entry->map;
    return setup;
}

void RunLogWindow::fillTable() {
    const Candidate& candidate = model_->candidateList().at(static_cast<size_t>(row_));
    const auto units = model_->units();
    const auto inputs = engineInputs(candidate);
    const auto before = inputs ? runs::compare(*inputs, *candidate.runLog, setup()) : runs::Held{};
    // After a fit its values are the rows: a fitted air flow adds the measured flows.
    const auto& rows = fitted_ ? fitted_->comparisons : before.comparisons;
    std::map<std::pair<std::size_t, runs::Measured>, const runs::Comparison*> atStart;
    for (const auto& c : before.comparisons)
        atStart[{c.point, c.measured}] = &c;
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& c = rows[i];
        const int r = static_cast<int>(i);
        const auto found = atStart.find({c.point, c.measured});
        const auto* b = found == atStart.end() ? nullptr : found->second;
        const auto* a = fitted_ ? &c : nullptr;
        table_->setItem(r, LineColumn, cell(QString::number(c.line)));
        auto* quantity = cell(measuredTitle(c.measured, units));
        quantity->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table_->setItem(r, QuantityColumn, quantity);
        table_->setItem(r, MeasuredColumn, cell(figureText(shown(c.measured, units, c.value))));
        table_->setItem(r, PredictedColumn,
                        cell(b ? figureText(shown(c.measured, units, b->predicted)) : QString()));
        table_->setItem(r, RatioColumn, cell(b ? shown(b->ratio) : QString()));
        table_->setItem(r, FittedColumn,
                        cell(a ? figureText(shown(a->measured, units, a->predicted)) : QString()));
        table_->setItem(r, FittedRatioColumn, cell(a ? shown(a->ratio) : QString()));
    }
    fillChart(rows);
    if (!inputs)
        fitText_->setText(toQString(problem(candidate).value_or("")));
    else if (!fitted_ && !before.skipped.empty()) {
        QStringList lines;
        for (const auto& s : before.skipped)
            lines << tr("Skipped line %1: %2").arg(s.line).arg(toQString(s.reason));
        fitText_->setText(lines.join(QLatin1Char('\n')));
    }
}

void RunLogWindow::fillChart(const std::vector<runs::Comparison>& comparisons) {
    chart_->removeAllSeries();
    // A removed axis is handed back to us, not deleted.
    for (auto* axis : chart_->axes()) {
        chart_->removeAxis(axis);
        delete axis;
    }
    const auto units = model_->units();
    chart_->setTitle(fitted_ ? tr("Error after the fit against P2") : tr("Error against P2"));
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(measuredTitle(runs::Measured::P2, units));
    y->setTitleText(tr("Error (%)"));
    for (auto* axis : {x, y}) {
        axis->setLabelsFont(font());
        axis->setTitleFont(font());
    }
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    double xLow = INFINITY, xHigh = -INFINITY, yLow = 0, yHigh = 0;
    std::map<runs::Measured, QScatterSeries*> series;
    for (const auto& c : comparisons) {
        auto*& s = series[c.measured];
        if (!s) {
            s = new QScatterSeries;
            s->setName(toQString(runs::measuredInfo(c.measured).label));
            s->setMarkerShape(shapeOf(c.measured));
            s->setMarkerSize(9);
            s->setColor(lookColour(static_cast<int>(series.size()) - 1));
            chart_->addSeries(s);
            s->attachAxis(x);
            s->attachAxis(y);
        }
        const double p2 = shown(runs::Measured::P2, units, c.p2), error = c.residual * 100;
        s->append(p2, error);
        xLow = std::min(xLow, p2);
        xHigh = std::max(xHigh, p2);
        yLow = std::min(yLow, error);
        yHigh = std::max(yHigh, error);
    }
    if (comparisons.empty())
        xLow = 0, xHigh = 1;
    setRoundRange(x, xLow, xHigh);
    setRoundRange(y, yLow, yHigh);
    // The line of no error, for the eye.
    auto* zero = new QLineSeries;
    zero->append(x->min(), 0);
    zero->append(x->max(), 0);
    zero->setPen(QPen(Qt::gray, 1, Qt::DashLine));
    chart_->addSeries(zero);
    zero->attachAxis(x);
    zero->attachAxis(y);
    chart_->legend()->markers(zero).at(0)->setVisible(false);
}

bool RunLogWindow::runFit() {
    fitted_.reset();
    copy_->setEnabled(false);
    const Candidate& candidate = model_->candidateList().at(static_cast<size_t>(row_));
    const auto inputs = engineInputs(candidate);
    if (!inputs) {
        fitText_->setText(toQString(problem(candidate).value_or("")));
        return false;
    }
    std::vector<runs::Assumption> chosen;
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->isChecked())
            chosen.push_back(i);
    const auto result = runs::fit(*inputs, *candidate.runLog, chosen, setup());
    if (const auto* e = std::get_if<runs::FitError>(&result)) {
        fillTable();
        fitText_->setText(tr("Cannot fit: %1").arg(toQString(e->message)));
        return false;
    }
    fitted_ = std::get<runs::FitResult>(result);
    const auto units = model_->units();
    const auto& r = *fitted_;
    QStringList lines;
    for (const auto& v : r.values) {
        const auto& info = runs::assumptionInfo(v.assumption);
        const auto unit = toQString(fields::unitText(info.quantity, units));
        const auto display = [&](double value) {
            return shown(fields::toDisplay(info.quantity, units, static_cast<float>(value)));
        };
        const auto withUnit = [&](double value) {
            return unit.isEmpty() ? display(value) : display(value) + QLatin1Char(' ') + unit;
        };
        lines << tr("%1: %2 \u00b1 %3 (was %4)")
                     .arg(toQString(info.label), display(v.fitted), withUnit(v.stdError),
                          withUnit(v.start));
    }
    lines << tr("Error, root mean square: %1 % (was %2 %)%3")
                 .arg(shown(r.rms * 100), shown(r.rmsBefore * 100),
                      r.converged ? QString() : tr("; stopped before converging"));
    lines << tr("Degrees of freedom: %1; reduced chi-square of the relative errors: %2")
                 .arg(r.dof)
                 .arg(shown(r.reducedChiSquare));
    for (std::size_t i = 0; i < r.values.size(); ++i)
        for (std::size_t j = i + 1; j < r.values.size(); ++j)
            lines << tr("Correlation of %1 with %2: %3")
                         .arg(toQString(runs::assumptionInfo(r.values[i].assumption).label),
                              toQString(runs::assumptionInfo(r.values[j].assumption).label),
                              shown(r.correlationOf(i, j)));
    for (const auto& s : r.skipped)
        lines << tr("Skipped line %1: %2").arg(s.line).arg(toQString(s.reason));
    for (const auto& w : r.warnings)
        lines << tr("Note: %1").arg(toQString(w));
    fitText_->setText(lines.join(QLatin1Char('\n')));
    copy_->setEnabled(true);
    fillTable();
    return true;
}

int RunLogWindow::addCalibratedCopy() {
    if (!fitted_)
        return -1;
    Candidate copy = model_->candidateList().at(static_cast<size_t>(row_));
    copy.name = tr("%1 (calibrated)").arg(toQString(copy.name)).toStdString();
    copy.massFlowSource = fitted_->calibrated.massFlowSource;
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i)
        copy.inputs[i] = Cell::number(fitted_->calibrated.values[i]);
    return model_->insertCandidate(row_ + 1, std::move(copy));
}

QString measuredSheetHtml(const CandidateTable& model) {
    QString html;
    const auto units = model.units();
    const auto& candidates = model.candidateList();
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const Candidate& candidate = candidates[c];
        const auto inputs = engineInputs(candidate);
        if (!candidate.runLog || !inputs)
            continue;
        html += QStringLiteral("<p><font color=\"%1\">&#9632;</font> <b>%2</b></p>")
                    .arg(lookColour(model.look(static_cast<int>(c))).name(),
                         QObject::tr("%1 against %2")
                             .arg(toQString(candidate.name),
                                  QFileInfo(toQString(candidate.runLog->file)).fileName())
                             .toHtmlEscaped());
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
        for (const QString& heading :
             {QObject::tr("Line"), QObject::tr("Quantity"), QObject::tr("Measured"),
              QObject::tr("Predicted"), QObject::tr("Ratio")})
            html += QStringLiteral("<th>%1</th>").arg(heading);
        html += QStringLiteral("</tr>");
        for (const auto& row : runs::compare(*inputs, *candidate.runLog).comparisons)
            html += QStringLiteral("<tr><td align=\"right\">%1</td><td>%2</td><td "
                                   "align=\"right\">%3</td><td align=\"right\">%4</td><td "
                                   "align=\"right\">%5</td></tr>")
                        .arg(QString::number(row.line),
                             measuredTitle(row.measured, units).toHtmlEscaped(),
                             figureText(shown(row.measured, units, row.value)),
                             figureText(shown(row.measured, units, row.predicted)),
                             figureText(static_cast<float>(row.ratio)));
        html += QStringLiteral("</table>");
    }
    return html;
}

void addRunLogActions(ExplorerWindow* window, QMenu* menu) {
    menu->addSeparator();
    auto currentRow = [window] {
        const QModelIndex at = window->table()->currentIndex();
        return at.isValid() ? at.row() : -1;
    };
    QAction* open = menu->addAction(QObject::tr("Open Run &Log..."));
    open->setObjectName(QStringLiteral("openRunLog"));
    QObject::connect(open, &QAction::triggered, window, [window, currentRow] {
        const int row = currentRow();
        if (row < 0)
            return;
        const QString path =
            QFileDialog::getOpenFileName(window, QObject::tr("Open Run Log"), QString(),
                                         QObject::tr("Run logs (*.csv *.txt);;All files (*)"));
        if (!path.isEmpty())
            openRunLog(window, row, path);
    });
    QAction* show = menu->addAction(QObject::tr("&Measured Run and Fit..."));
    show->setObjectName(QStringLiteral("showRunLog"));
    QObject::connect(show, &QAction::triggered, window, [window, currentRow] {
        const int row = currentRow();
        auto* model = window->candidates();
        if (row < 0)
            return;
        if (!model->candidateList().at(static_cast<size_t>(row)).runLog) {
            QMessageBox::information(window, window->windowTitle(),
                                     QObject::tr("Open a run log for this candidate first."));
            return;
        }
        RunLogWindow runWindow(model, row, window);
        if (runWindow.exec() == QDialog::Accepted)
            window->table()->selectRow(row + 1);
    });
}

bool openRunLog(ExplorerWindow* window, int row, const QString& path) {
    const auto read = runs::loadRunLog(path.toStdString());
    if (const auto* e = std::get_if<runs::RunLogError>(&read)) {
        QMessageBox::warning(
            window, window->windowTitle(),
            QObject::tr("The run log cannot be read.\n\n%1").arg(toQString(e->text())));
        return false;
    }
    window->candidates()->setRunLog(
        row, std::make_shared<const runs::RunLog>(std::get<runs::RunLog>(read)));
    return true;
}

} // namespace explorer
