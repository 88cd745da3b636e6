#pragma once
// The program's resources, addressed by number as the windows address them: dialog and menu
// templates, bitmaps and icons (drawn as SVG) and texts. Each lives in the resource folder of its
// kind under a file name that starts with its number ("132-turbo-analysis.dlg").

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace dialogs {

// The text of resource `id` in `folder` ("dialogs", "menus", "text"); empty when there is none.
QString resourceText(const QString& folder, int id);
// A named text resource of the "text" folder ("agreement.txt"); empty when there is none.
QString namedText(const QString& fileName);

// Bitmap `id` drawn at `size` device-independent pixels for a screen of `devicePixelRatio`.
QPixmap renderBitmap(int id, QSize size, qreal devicePixelRatio = 1.0);

// Icon `id` with its 32 by 32 (large) and 16 by 16 (small) images.
QIcon loadIcon(int id);
QPixmap iconPixmap(int id, int pixels, qreal devicePixelRatio = 1.0);

} // namespace dialogs
