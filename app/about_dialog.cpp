#include "about_dialog.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

// Where the documentation is for this copy of the program: beside its installed folder, or, for
// a program run from its build, the source folder with the README.
QString documentationFolder() {
    const QDir installed(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" VX_DOCS_FROM_BIN));
    if (installed.exists())
        return installed.canonicalPath();
    if (QFileInfo::exists(QStringLiteral(VX_SOURCE_DIR "/README.md")))
        return QStringLiteral(VX_SOURCE_DIR);
    return QDir::cleanPath(installed.absolutePath());
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : CDialog(100, parent) {
    const QString prefix = QStringLiteral("Documentation: ");
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!label->text().startsWith(prefix))
            continue;
        const QString folder = documentationFolder();
        const QString whole = prefix + folder;
        // A long path loses its middle, never its end; the tooltip has it whole.
        label->setText(label->fontMetrics().elidedText(whole, Qt::ElideMiddle, label->width()));
        label->setToolTip(folder);
    }
}
