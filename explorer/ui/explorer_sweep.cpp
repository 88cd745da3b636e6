#include "explorer_window.hpp"

#include "candidate_columns.hpp"
#include "candidate_tube.hpp"
#include "combustor_view.hpp"

#include "candidate_table.hpp"
#include "chart_panels.hpp"
#include "curve_chart.hpp"
#include "explorer_settings.hpp"
#include "map_panel.hpp"
#include "number_text.hpp"
#include "qt_text.hpp"
#include "round_numbers.hpp"
#include "sweep.hpp"
#include "units.hpp"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using explorer::figureText;
using explorer::toQString;

// The chart's side of the window: what is swept, what is plotted, and the curves themselves.

QWidget* ExplorerWindow::buildChartSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);

    // The swept input on one line, its range on the next, so the side stays narrow.
    auto* sweep = new QGridLayout;
    sweep->addWidget(new QLabel(tr("Sweep:"), side), 0, 0);
    sweptInput_ = new QComboBox(side);
    sweptInput_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    sweptInput_->setMinimumContentsLength(12);
    for (std::size_t i = 0; i < turbo::kEngineInputCount; ++i) {
        const auto& field = turbo::engineField(static_cast<explorer::EngineInput>(i));
        sweptInput_->addItem(explorer::CandidateTable::fieldName(field), toQString(field.key));
    }
    sweep->addWidget(sweptInput_, 0, 1, 1, 6);
    int column = 0;
    auto box = [&](const QString& label) {
        sweep->addWidget(new QLabel(label, side), 1, column++);
        auto* edit = new QLineEdit(side);
        // Wide enough for any figure the box is given, "-1.23457e+06" included.
        edit->setMinimumWidth(
            edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000e+00")) + 12);
        sweep->addWidget(edit, 1, column++);
        sweep->setColumnStretch(column - 1, 1);
        connect(edit, &QLineEdit::editingFinished, this, [this] { sweepTextEdited(); });
        return edit;
    };
    sweepFrom_ = box(tr("from"));
    sweepTo_ = box(tr("to"));
    sweepStep_ = box(tr("step"));
    layout->addLayout(sweep);

    auto* plotRow = new QHBoxLayout;
    auto* plotLabel = new QLabel(tr("Plot:"), side);
    plotLabel->setAlignment(Qt::AlignTop);
    plotRow->addWidget(plotLabel);
    results_ = new QListWidget(side);
    results_->setFlow(QListView::LeftToRight);
    results_->setWrapping(true);
    results_->setResizeMode(QListView::Adjust);
    for (std::size_t i = 0; i < turbo::kEngineResultCount; ++i) {
        const auto& field = turbo::engineField(static_cast<explorer::EngineResult>(i));
        auto* item = new QListWidgetItem(explorer::CandidateTable::fieldName(field), results_);
        item->setData(Qt::UserRole, toQString(field.key));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    results_->setMaximumHeight(results_->fontMetrics().height() * 5);
    plotRow->addWidget(results_, 1);
    layout->addLayout(plotRow);

    // The curves are the first of the views of the candidates; others go in tabs beside them.
    chart_ = new explorer::CurveChart(side);
    maps_ = new explorer::MapPanel(
        model_, chart_, [this] { return curveRequest(); }, side);
    maps_->setDocumentMode(true);
    // Each candidate's flame tube, beside the curves; it stays, like them.
    combustor_ = new flametube::CombustorView(
        [this] { return explorer::tubeFigures(model_->candidateList()); },
        [this] { return units(); }, maps_);
    maps_->insertTab(1, combustor_, tr("Combustor"));
    maps_->tabBar()->setTabButton(1, QTabBar::RightSide, nullptr);
    connect(model_, &explorer::CandidateTable::candidatesChanged, combustor_,
            &flametube::CombustorView::refresh);
    connect(units_, &QComboBox::currentIndexChanged, combustor_,
            &flametube::CombustorView::refresh);
    maps_->setCurrentIndex(0);
    views_ = maps_;
    layout->addWidget(views_, 1);
    hover_ = new QLabel(side);
    hover_->setObjectName(QStringLiteral("hoverText"));
    layout->addWidget(hover_);

    connect(sweptInput_, &QComboBox::currentIndexChanged, this, [this] { sweptInputChanged(); });
    connect(results_, &QListWidget::itemChanged, this, [this] {
        saveSweepSettings();
        refreshChart();
    });
    return side;
}

// ---- settings -------------------------------------------------------------------------------

void ExplorerWindow::restoreSettings() {
    using explorer::readSetting;
    using explorer::Setting;
    using explorer::settingDefault;
    const auto system = fields::systemFromKey(readSetting(Setting::Units).toString().toStdString());
    {
        const QSignalBlocker block(units_);
        units_->setCurrentIndex(system == fields::UnitSystem::Metric ? 1 : 0);
    }
    model_->setUnits(units());

    {
        const QSignalBlocker block(sweptInput_);
        const int index = sweptInput_->findData(readSetting(Setting::SweptInput).toString());
        sweptInput_->setCurrentIndex(
            index >= 0 ? index
                       : sweptInput_->findData(settingDefault(Setting::SweptInput).toString()));
    }
    // The sweep is remembered as its boxes showed it, in the units remembered with it.
    const auto from =
        fields::parseSweepNumber(readSetting(Setting::SweepFrom).toString().toStdString());
    const auto to =
        fields::parseSweepNumber(readSetting(Setting::SweepTo).toString().toStdString());
    const auto step =
        fields::parseSweepNumber(readSetting(Setting::SweepStep).toString().toStdString());
    // A remembered sweep that gives no curve is not brought back: the window opens with one
    // that does.
    fields::Sweep plan;
    if (from && to && step &&
        fields::planSweep(*from, *to, *step, plan, explorer::kMaxCurvePoints) ==
            fields::SweepProblem::None)
        setSweep(*from, *to, *step);
    else
        defaultSweep();

    auto check = [this](const QStringList& plotted) {
        const QSignalBlocker block(results_);
        bool any = false;
        for (int i = 0; i < results_->count(); ++i) {
            QListWidgetItem* item = results_->item(i);
            const bool on = plotted.contains(item->data(Qt::UserRole).toString());
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            any |= on;
        }
        return any;
    };
    if (!check(readSetting(Setting::PlottedResults).toStringList()))
        check(settingDefault(Setting::PlottedResults).toStringList());
}

void ExplorerWindow::saveSweepSettings() const {
    if (!remembering_)
        return;
    using explorer::Setting;
    using explorer::writeSetting;
    writeSetting(Setting::Units, toQString(fields::systemKey(units())));
    writeSetting(Setting::SweptInput, sweptInput_->currentData().toString());
    writeSetting(Setting::SweepFrom, sweepFrom_->text());
    writeSetting(Setting::SweepTo, sweepTo_->text());
    writeSetting(Setting::SweepStep, sweepStep_->text());
    QStringList plotted;
    for (int i = 0; i < results_->count(); ++i)
        if (results_->item(i)->checkState() == Qt::Checked)
            plotted << results_->item(i)->data(Qt::UserRole).toString();
    writeSetting(Setting::PlottedResults, plotted);
}

// ---- units, sweep ---------------------------------------------------------------------------

fields::UnitSystem ExplorerWindow::units() const {
    return units_->currentIndex() == 1 ? fields::UnitSystem::Metric : fields::UnitSystem::Forms;
}

explorer::EngineInput ExplorerWindow::sweptInput() const {
    return static_cast<explorer::EngineInput>(std::max(sweptInput_->currentIndex(), 0));
}

std::vector<explorer::EngineResult> ExplorerWindow::plottedResults() const {
    std::vector<explorer::EngineResult> results;
    for (int i = 0; i < results_->count(); ++i)
        if (results_->item(i)->checkState() == Qt::Checked)
            results.push_back(static_cast<explorer::EngineResult>(i));
    return results;
}

explorer::CurveRequest ExplorerWindow::curveRequest() const {
    explorer::CurveRequest request;
    request.swept = sweptInput();
    request.from = sweep_.from;
    request.to = sweep_.to;
    request.step = sweep_.step;
    request.results = plottedResults();
    request.units = units();
    return request;
}

void ExplorerWindow::setSweep(double from, double to, double step) {
    sweepFrom_->setText(figureText(static_cast<float>(from)));
    sweepTo_->setText(figureText(static_cast<float>(to)));
    sweepStep_->setText(figureText(static_cast<float>(step)));
    sweep_.from = fields::parseSweepNumber(sweepFrom_->text().toStdString()).value_or(from);
    sweep_.to = fields::parseSweepNumber(sweepTo_->text().toStdString()).value_or(to);
    sweep_.step = fields::parseSweepNumber(sweepStep_->text().toStdString()).value_or(step);
}

// P2 from 0 to 50 psig; any other input from half to one and a half times the first
// candidate's value, in a hundred steps.
void ExplorerWindow::defaultSweep() {
    const explorer::EngineInput input = sweptInput();
    const auto quantity = turbo::engineField(input).quantity;
    if (input == explorer::EngineInput::P2) {
        const explorer::CurveRequest standard;
        const double factor = fields::displayPerForms(quantity, units());
        setRoundedSweep(standard.from * factor, standard.to * factor, standard.step * factor);
        return;
    }
    const auto& candidates = model_->candidateList();
    float value = turbo::EngineInputs()[input];
    if (!candidates.empty() && !candidates.front()[input].bad)
        value = candidates.front()[input].value;
    const double shown = fields::toDisplay(quantity, units(), value);
    setRoundedSweep(shown * 0.5, shown * 1.5, shown / 100.0);
}

// A default converted into metric units is made round; the forms' units keep their figures.
void ExplorerWindow::setRoundedSweep(double from, double to, double step) {
    if (units() == fields::UnitSystem::Forms) {
        setSweep(from, to, step);
        return;
    }
    const auto round = explorer::roundSweep(from, to, step);
    setSweep(round.from, round.to, round.step);
}

void ExplorerWindow::unitsChanged() {
    const fields::UnitSystem was = model_->units();
    model_->setUnits(units());
    const auto quantity = turbo::engineField(sweptInput()).quantity;
    const double factor =
        fields::displayPerForms(quantity, units()) / fields::displayPerForms(quantity, was);
    setRoundedSweep(sweep_.from * factor, sweep_.to * factor, sweep_.step * factor);
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::sweptInputChanged() {
    defaultSweep();
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::sweepTextEdited() {
    const auto from = fields::parseSweepNumber(sweepFrom_->text().toStdString());
    const auto to = fields::parseSweepNumber(sweepTo_->text().toStdString());
    const auto step = fields::parseSweepNumber(sweepStep_->text().toStdString());
    if (!from || !to || !step) {
        sweepProblem_ = tr("The sweep needs a number in each of \"from\", \"to\" and \"step\"; "
                           "the chart shows the last sweep that could be read.");
        showRowNote();
        return;
    }
    if (*from == sweep_.from && *to == sweep_.to && *step == sweep_.step) {
        refreshChart(); // the boxes read again: an earlier complaint no longer holds
        return;
    }
    sweep_.from = *from;
    sweep_.to = *to;
    sweep_.step = *step;
    saveSweepSettings();
    refreshChart();
}

void ExplorerWindow::refreshChart() {
    const explorer::CurveRequest request = curveRequest();
    model_->setRequest(request);
    const auto& work = model_->workspace();
    chart_->plot(explorer::titleWithUnit(turbo::engineField(request.swept), request.units),
                 std::min(request.from, request.to), std::max(request.from, request.to),
                 explorer::chartPanels(work));
    sweepProblem_ = explorer::sweepProblemText(work.sweepProblem());
    if (work.size() > explorer::kMostDrawn && sweepProblem_.isEmpty())
        sweepProblem_ = tr("The chart draws the first %1 of the %2 candidates.")
                            .arg(explorer::kMostDrawn)
                            .arg(explorer::table::groupedCount(work.size()));
    showRowNote();
    maps_->refresh();
}
