// Renders each window of the program to a PNG, as it looks when it opens, for the README.
//   vorlaxen-screenshots <folder>
#include "about_dialog.hpp"
#include "agreement_dialog.hpp"
#include "combustor_dialog.hpp"
#include "explorer_window.hpp"
#include "launcher_dialog.hpp"
#include "resources.hpp"
#include "turbo_analysis_dialog.hpp"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// Opens the dialog modally, saves what it shows once it is on screen, and closes it.
bool shoot(CDialog& dialog, const QString& path) {
    bool saved = false;
    QTimer::singleShot(100, &dialog, [&] {
        saved = dialog.grab().save(path);
        dialog.SendCommand(IDCANCEL);
    });
    dialog.DoModal();
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// Opens the dialog, runs `openAbove` (which opens a modal window over it) and saves that window.
bool shootAbove(CDialog& dialog, const QString& path, const std::function<void()>& openAbove) {
    bool saved = false;
    QTimer::singleShot(100, &dialog, [&] {
        QTimer::singleShot(100, &dialog, [&] {
            if (QWidget* above = QApplication::activeModalWidget(); above && above != &dialog) {
                saved = above->grab().save(path);
                above->close();
            }
        });
        openAbove();
        dialog.SendCommand(IDCANCEL);
    });
    dialog.DoModal();
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    // The explorer remembers units and sweeps; the pictures show a first opening, whatever this
    // machine's user has chosen.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorlaxen-screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QApplication::setWindowIcon(dialogs::loadIcon(128));

    bool ok = true;
    {
        AgreementDialog dialog;
        ok &= shoot(dialog, folder.filePath(QStringLiteral("agreement.png")));
    }
    {
        LauncherDialog dialog;
        ok &= shoot(dialog, folder.filePath(QStringLiteral("launcher.png")));
    }
    {
        AboutDialog dialog;
        ok &= shoot(dialog, folder.filePath(QStringLiteral("about.png")));
    }
    {
        TurboAnalysisDialog dialog;
        ok &= shoot(dialog, folder.filePath(QStringLiteral("turbo-analysis.png")));
    }
    {
        CombustorDialog dialog;
        ok &= shoot(dialog, folder.filePath(QStringLiteral("combustor.png")));
    }
    {
        TurboAnalysisDialog dialog;
        ok &= shootAbove(dialog, folder.filePath(QStringLiteral("help.png")),
                         [&] { dialog.ShowHelp(); });
    }
    {
        // The message a box without a number brings up.
        TurboAnalysisDialog dialog;
        ok &= shootAbove(dialog, folder.filePath(QStringLiteral("message.png")), [&] {
            qobject_cast<QLineEdit*>(
                dialog.GetDlgItem(
                    fields::formField(fields::kTurboAnalysisTemplate, "ambient-pressure").control))
                ->setText(QStringLiteral("abc"));
            dialog.SendCommand(TurboAnalysisDialog::IDC_CALC_MAX_RPM);
        });
    }
    {
        // The explorer as it opens with its two starting candidates, at a size that shows the
        // chart and the first columns of the table.
        ExplorerWindow dialog;
        dialog.resize(1280, 720);
        ok &= shoot(dialog, folder.filePath(QStringLiteral("design-explorer.png")));
        // Its design sheet as the PDF holds it: A4 across, 12 mm margins, at 2 pixels a point.
        QImage sheet(QSize(774, 527) * 2, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        {
            QPainter painter(&sheet);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(2, 2);
            dialog.paintDesignSheet(painter, QSizeF(774, 527));
        }
        const QString sheetPath = folder.filePath(QStringLiteral("design-sheet.png"));
        ok &= sheet.save(sheetPath);
        std::printf("wrote %s\n", qPrintable(sheetPath));
    }
    return ok ? 0 : 1;
}
