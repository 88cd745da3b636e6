#include "run_log_window.hpp"

#include "candidate_table.hpp"
#include "explorer_window.hpp"
#include "looks.hpp"
#include "qt_text.hpp"
#include "template_builder.hpp"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

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

    auto* fitBox = new QGroupBox(tr("Fit the assumptions to the log"), this);
    auto* fitLayout = new QVBoxLayout(fitBox);
    auto* ticks = new QHBoxLayout;
    for (std::size_t i = 0; i < runs::kAssumptionCount; ++i) {
        const auto& info = runs::assumptionInfo(static_cast<runs::Assumption>(i));
        auto* box = new QCheckBox(toQString(info.label), fitBox);
        box->setObjectName(QStringLiteral("fit-%1").arg(toQString(info.key)));
        ticks->addWidget(box);
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
    resize(720, 480);
}

void RunLogWindow::fillTable() {
    const Candidate& candidate = model_->candidateList().at(static_cast<size_t>(row_));
    const auto units = model_->units();
    const auto inputs = engineInputs(candidate);
    const auto before =
        inputs ? runs::compare(*inputs, *candidate.runLog) : std::vector<runs::Comparison>{};
    table_->setRowCount(static_cast<int>(before.size()));
    for (std::size_t i = 0; i < before.size(); ++i) {
        const auto& c = before[i];
        const int r = static_cast<int>(i);
        table_->setItem(r, LineColumn, cell(QString::number(c.line)));
        auto* quantity = cell(measuredTitle(c.measured, units));
        quantity->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table_->setItem(r, QuantityColumn, quantity);
        table_->setItem(r, MeasuredColumn, cell(figureText(shown(c.measured, units, c.value))));
        table_->setItem(r, PredictedColumn,
                        cell(figureText(shown(c.measured, units, c.predicted))));
        table_->setItem(r, RatioColumn, cell(figureText(static_cast<float>(c.ratio))));
        const bool after = fitted_ && i < fitted_->comparisons.size();
        const auto* a = after ? &fitted_->comparisons[i] : nullptr;
        table_->setItem(r, FittedColumn,
                        cell(a ? figureText(shown(a->measured, units, a->predicted)) : QString()));
        table_->setItem(r, FittedRatioColumn,
                        cell(a ? figureText(static_cast<float>(a->ratio)) : QString()));
    }
    if (!inputs)
        fitText_->setText(toQString(problem(candidate).value_or("")));
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
            chosen.push_back(static_cast<runs::Assumption>(i));
    const auto result = runs::fit(*inputs, *candidate.runLog, chosen);
    if (const auto* e = std::get_if<runs::FitError>(&result)) {
        fitText_->setText(tr("Cannot fit: %1").arg(toQString(e->message)));
        fillTable();
        return false;
    }
    fitted_ = std::get<runs::FitResult>(result);
    const auto units = model_->units();
    QStringList lines;
    for (const auto& v : fitted_->values) {
        const auto& info = runs::assumptionInfo(v.assumption);
        const auto unit = toQString(fields::unitText(info.quantity, units));
        lines << tr("%1: %2 %4 (was %3 %4)")
                     .arg(toQString(info.label),
                          figureText(fields::toDisplay(info.quantity, units, v.fitted)),
                          figureText(fields::toDisplay(info.quantity, units, v.start)), unit)
                     .trimmed();
    }
    lines << tr("Error, root mean square: %1 % (was %2 %)%3")
                 .arg(figureText(static_cast<float>(fitted_->rms * 100)),
                      figureText(static_cast<float>(fitted_->rmsBefore * 100)),
                      fitted_->converged ? QString() : tr("; stopped before converging"));
    for (const auto& w : fitted_->warnings)
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
        for (const auto& row : runs::compare(*inputs, *candidate.runLog))
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
