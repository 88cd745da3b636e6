#include "message_box.hpp"

#include "template_builder.hpp"

namespace dialogs {

void showMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setFont(programFont());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace dialogs
