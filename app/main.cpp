// The program: the single application object, and the entry that runs it.
#include "command_line.hpp"
#include "designer_app.hpp"
#include "output_job.hpp"

#include <QApplication>

#include <csignal>

DesignerApp theApp;

int main(int argc, char** argv) {
    // Past a file size limit a write fails with its reason, which a save shows, instead of ending
    // the program with the user's work in it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const auto status = command_line::answerBeforeWindows(argc, argv))
        return *status;
    if (const auto job = command_line::outputJob(argc, argv)) {
        // Nothing is shown, so no display is needed: offscreen unless -platform says otherwise.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return output_job::run(*job);
    }
    // Built here so that Qt takes its own options before ours are checked; the program's start-up
    // then runs on this same application object.
    QApplication application(argc, argv);
    if (const auto status = command_line::refuseUnknown(QCoreApplication::arguments()))
        return *status;
    return AfxWinMain(argc, argv);
}
