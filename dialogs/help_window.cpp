#include "help_window.hpp"

#include "resources.hpp"
#include "template_builder.hpp"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace dialogs {

namespace {

bool startsListItem(const QString& line) {
    if (line.startsWith(QStringLiteral("- ")))
        return true;
    qsizetype digits = 0;
    while (digits < line.size() && line[digits].isDigit())
        ++digits;
    return digits > 0 && line.mid(digits).startsWith(QStringLiteral(". "));
}

// The text files are wrapped for editing; the window wraps the text to its own width.
QString joinParagraphs(const QString& text) {
    QString joined;
    bool inParagraph = false;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty()) {
            if (inParagraph)
                joined += QStringLiteral("\n\n");
            inParagraph = false;
            continue;
        }
        if (inParagraph)
            joined += startsListItem(line) ? QStringLiteral("\n") : QStringLiteral(" ");
        joined += line;
        inParagraph = true;
    }
    return joined.trimmed();
}

} // namespace

QString helpText(int helpId) {
    return joinParagraphs(resourceText(QStringLiteral("text"), helpId));
}

HelpWindow::HelpWindow(const QString& windowTitle, const QString& text, QWidget* parent)
    : QDialog(parent), view_(new QPlainTextEdit(this)) {
    setWindowTitle(windowTitle.isEmpty() ? tr("Help") : tr("Help: %1").arg(windowTitle));
    setFont(programFont());
    setSizeGripEnabled(true);

    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setPlainText(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);

    // Wide enough for comfortable lines, and as large as the window it explains may be.
    const DialogUnits units(font());
    resize(units.x(260), units.y(220));
    setMinimumSize(units.x(120), units.y(80));
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    view_->setFocus();
}

QString HelpWindow::text() const {
    return view_->toPlainText();
}

void showHelp(QWidget* parent, int helpId) {
    HelpWindow window(parent ? parent->windowTitle() : QString(), helpText(helpId), parent);
    window.exec();
}

void addHelpKey(QWidget* window, int helpId) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window,
                     [window, helpId] { showHelp(window, helpId); });
}

} // namespace dialogs
