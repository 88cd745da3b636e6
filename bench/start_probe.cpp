// The program exactly as main.cpp starts it, ending the moment the agreement has been painted,
// so that the time from starting the process to a visible agreement can be taken from outside
// (explorer_bench's ProgramStart case runs it).
#include "designer_app.hpp"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

DesignerApp theApp;

namespace {

class AgreementWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window()->windowTitle() ==
                              QLatin1String("Vorlaxen User License and Agreement")) {
                seen_ = true;
                // After this paint has been delivered: the agreement is on screen.
                QTimer::singleShot(0, [] {
                    std::fflush(stdout);
                    _exit(0);
                });
            }
        }
        return false;
    }

private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    AgreementWatch watch;
    application.installEventFilter(&watch);
    AfxWinMain(argc, argv);
    return 1; // the agreement never showed
}
