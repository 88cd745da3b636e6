#pragma once
// A modal dialog built from a numbered template among the resources, with the operations the
// windows of this program rely on: DoModal, OnInitDialog, UpdateData and its data exchange,
// a command table from command numbers to handlers, OnOK (1) and OnCancel (2).

#include "dialog_template.hpp"

#include <QDialog>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;
class CDataExchange;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int ID_HELP = 57670;

class CDialog : public QDialog {
    Q_OBJECT

public:
    // The framework's words for UpdateData's direction, in the class so that no global name can
    // meet a TRUE or FALSE of a system header.
    static constexpr bool TRUE = true;
    static constexpr bool FALSE = false;

    CDialog(int templateId, QWidget* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and returns only when it has ended, with the code it ended with.
    // Runs nest: a handler may open another modal dialog.
    int DoModal();

    // TRUE reads every bound control into its field in binding order; FALSE writes every field
    // into its control. A read that meets a box whose text is not a number stops there, tells
    // the user which box it is, puts the focus in it and returns false; the typed text stays.
    bool UpdateData(bool saveAndValidate = TRUE);

    // The control with this number, or nullptr.
    QWidget* GetDlgItem(int controlId) const;

    // Delivers a command number as a click or a menu choice does.
    void SendCommand(int commandId);

    const dialogs::DialogTemplate& dialogTemplate() const { return template_; }

    // What the user is told a box is called: its template name, or the label before it without
    // its colon.
    QString controlLabel(int controlId) const;
    // What the user is told a command is called, quoted: its button's caption, with the frame it
    // sits in when another button has the same caption, or its menu item's text; empty when
    // unknown.
    QString commandName(int commandId) const;

    // Shows this window's help (the text resource numbered as its template).
    void ShowHelp();

protected:
    // The exchange step: one DDX_ call per bound control, in binding order.
    virtual void DoDataExchange(CDataExchange& dx);
    // Writes every bound field into its control; returns true. The control the template marks
    // "focus" then gets the focus, its text selected so that typing replaces it.
    virtual bool OnInitDialog();
    // Reads the form and ends the dialog with 1. The fields are the dialog's to keep, so a box
    // that cannot be read does not hold the window open.
    virtual void OnOK();
    // Ends the dialog with 2 without reading.
    virtual void OnCancel();

    void EndDialog(int result);

    // Command table: the handler a command number runs.
    template <class Dialog> void mapCommand(int commandId, void (Dialog::*handler)()) {
        commands_[commandId] = [this, handler] { (static_cast<Dialog*>(this)->*handler)(); };
    }

    void reject() override; // Escape and the close box deliver 2
    void accept() override; // delivers 1
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class CDataExchange;

    struct WrittenNumber {
        QString text;
        float value = 0.0f;
    };

    bool exchange(bool saveAndValidate, bool reportFailure);
    void reportUnreadable(int controlId, const QString& text);

    dialogs::DialogTemplate template_;
    std::map<int, QWidget*> controls_;
    std::map<int, std::function<void()>> commands_;
    // What the program last wrote into each number box, so that a box the user has not changed
    // reads back as exactly the float that was written, not its six-digit text.
    std::map<int, WrittenNumber> written_;
    int runningCommand_ = 0; // the command whose handler is running, 0 for none
    bool ended_ = false;
    int endCode_ = 0;
    bool running_ = false;
};
