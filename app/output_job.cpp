#include "output_job.hpp"

#include "candidate_table.hpp"
#include "chart_panels.hpp"
#include "explorer_window.hpp"
#include "qt_text.hpp"
#include "sweep.hpp"
#include "user_file.hpp"
#include "version_record.hpp"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

#include <cstdio>

namespace output_job {

namespace {

constexpr int kFileProblem = 1;
constexpr int kUsageError = 2;

int fail(int status, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", version_record::kOriginalFilename,
                 message.toLocal8Bit().constData());
    return status;
}

// Sets the window's units, sweep and plotted results as a person would in its boxes; empty when
// all were taken, else what is wrong.
QString setUp(ExplorerWindow& window, const command_line::OutputJob& job) {
    if (!job.units.isEmpty()) {
        const auto system = fields::systemFromKey(job.units.toStdString());
        if (!system)
            return QStringLiteral("--units takes forms or metric, not \"%1\".").arg(job.units);
        window.unitsBox()->setCurrentIndex(*system == fields::UnitSystem::Metric ? 1 : 0);
    }
    if (!job.sweep.isEmpty()) {
        const auto equals = job.sweep.indexOf(QLatin1Char('='));
        const QStringList range = job.sweep.mid(equals + 1).split(QLatin1Char(':'));
        const int input = window.sweptInputBox()->findData(job.sweep.left(equals));
        if (equals < 0 || input < 0 || range.size() != 3)
            return QStringLiteral("--sweep takes KEY=FROM:TO:STEP with the key of an input, not "
                                  "\"%1\".")
                .arg(job.sweep);
        for (const QString& number : range)
            if (!fields::parseSweepNumber(number.toStdString()))
                return QStringLiteral("--sweep: \"%1\" is not a number.").arg(number);
        window.sweptInputBox()->setCurrentIndex(input);
        window.sweepFromBox()->setText(range[0]);
        window.sweepToBox()->setText(range[1]);
        window.sweepStepBox()->setText(range[2]);
        emit window.sweepStepBox()->editingFinished();
    }
    if (!job.plot.isEmpty()) {
        QListWidget* results = window.resultsList();
        const QStringList keys = job.plot.split(QLatin1Char(','));
        for (const QString& key : keys) {
            bool known = false;
            for (int i = 0; i < results->count(); ++i)
                known |= results->item(i)->data(Qt::UserRole).toString() == key;
            if (!known)
                return QStringLiteral("--plot: \"%1\" is not the key of a result.").arg(key);
        }
        for (int i = 0; i < results->count(); ++i)
            results->item(i)->setCheckState(
                keys.contains(results->item(i)->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                               : Qt::Unchecked);
    }
    return {};
}

} // namespace

int run(const command_line::OutputJob& job) {
    ExplorerWindow window;        // with the explorer's remembered units, sweep and plotted results
    window.setRemembering(false); // what the command line sets is for this file only
    QString problem, note;
    if (!window.candidates()->load(job.candidates, &problem, &note))
        return fail(kFileProblem, problem);
    if (!note.isEmpty()) // said, but no reason not to write the rest
        fail(0, note);
    if (const QString wrong = setUp(window, job); !wrong.isEmpty())
        return fail(kUsageError, wrong);
    window.refreshChart();
    const auto sweep = window.candidates()->workspace().sweepProblem();
    if (sweep != fields::SweepProblem::None)
        return fail(kUsageError, explorer::sweepProblemText(sweep));
    const QByteArray bytes = job.kind == command_line::OutputJob::Sheet
                                 ? window.designSheetPdf(QFileInfo(job.candidates).fileName())
                                 : window.candidates()->curveCsv();
    if (bytes.isEmpty())
        return fail(
            kFileProblem,
            QStringLiteral("%1 was not written: the sheet could not be made.").arg(job.output));
    if (const auto error = userfile::write(QFile::encodeName(job.output).toStdString(),
                                           std::string_view(bytes.constData(), bytes.size())))
        return fail(
            kFileProblem,
            QStringLiteral("%1 was not written: %2").arg(job.output, explorer::toQString(*error)));
    return 0;
}

} // namespace output_job
