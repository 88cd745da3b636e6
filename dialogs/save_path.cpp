#include "save_path.hpp"

#include "message_box.hpp"
#include "template_builder.hpp"
#include "user_file.hpp"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace dialogs {

QString askSavePath(QWidget* parent, const QString& caption, const QString& start,
                    const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, caption, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setFont(programFont());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool writeUserFile(QWidget* parent, const QString& path, const QByteArray& data) {
    const QByteArray name = QFile::encodeName(path);
    const bool existed = QFileInfo(path).exists();
    const auto problem =
        userfile::write(std::string(name.constData(), std::size_t(name.size())),
                        std::string_view(data.constData(), std::size_t(data.size())));
    if (!problem)
        return true;
    showMessage(parent, parent ? parent->windowTitle() : QString(),
                QObject::tr("%1 was not saved: %2\n%3")
                    .arg(path, QString::fromLocal8Bit(*problem),
                         existed ? QObject::tr("The file was not changed.")
                                 : QObject::tr("No file was made.")));
    return false;
}

DiskChange askAboutDiskChange(QWidget* parent, const QString& path) {
    // A file deleted or moved away was not changed, and cannot be reloaded.
    const bool gone = !QFileInfo(path).exists();
    QMessageBox ask(
        QMessageBox::Warning, parent ? parent->windowTitle() : QString(),
        gone ? QObject::tr("%1 was deleted or moved away since it was opened or saved here.\n"
                           "Saving makes it again.")
                   .arg(path)
             : QObject::tr("%1 was changed on disk since it was opened or saved here.\n"
                           "Overwriting it loses those changes; reloading it loses the ones made "
                           "here.")
                   .arg(path),
        QMessageBox::Cancel, parent);
    ask.setFont(programFont());
    ask.setTextFormat(Qt::PlainText);
    QAbstractButton* reload =
        gone ? nullptr : ask.addButton(QObject::tr("&Reload"), QMessageBox::DestructiveRole);
    QAbstractButton* overwrite = ask.addButton(
        gone ? QObject::tr("&Save") : QObject::tr("&Overwrite"), QMessageBox::DestructiveRole);
    QAbstractButton* elsewhere =
        ask.addButton(QObject::tr("Save &Elsewhere..."), QMessageBox::AcceptRole);
    ask.setDefaultButton(static_cast<QPushButton*>(elsewhere));
    ask.exec();
    if (reload && ask.clickedButton() == reload)
        return DiskChange::Reload;
    if (ask.clickedButton() == overwrite)
        return DiskChange::Overwrite;
    if (ask.clickedButton() == elsewhere)
        return DiskChange::SaveElsewhere;
    return DiskChange::Cancel;
}

} // namespace dialogs
