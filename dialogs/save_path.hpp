#pragma once
// Choosing where a file goes and writing it, the same for every file the windows save.

#include <QByteArray>
#include <QString>

class QWidget;

namespace dialogs {

// Asks where to save with the file dialog. The suffix is added by the dialog itself when the name
// has none, so that the question whether to replace a file asks about the file that will be
// written. Empty when the user cancels.
QString askSavePath(QWidget* parent, const QString& caption, const QString& start,
                    const QString& filter, const QString& suffix);

// Writes data to path without ever leaving a half-written or empty file. On failure tells the user
// why, in the system's words, that the file was not changed, and returns false.
bool writeUserFile(QWidget* parent, const QString& path, const QByteArray& data);

// What to do with a file that changed on disk since it was opened or saved, as the user answers.
enum class DiskChange { Reload, Overwrite, SaveElsewhere, Cancel };
DiskChange askAboutDiskChange(QWidget* parent, const QString& path);

} // namespace dialogs
