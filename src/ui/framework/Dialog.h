#pragma once

#include <QDialog>

// Base of the program's modal dialogs. The caller creates the object, fills
// its inputs, runs it, reads its outputs and deletes it: closing a dialog
// never deletes it.
class Dialog : public QDialog {
public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2; // also Esc and the close box
    static constexpr int kFailed = -1;

    explicit Dialog(int templateId) : templateId_(templateId) {}

    // Builds the dialog over `owner` and runs it: the value given to
    // endDialog, kCancel for Esc and the close box. When the dialog cannot be
    // built, its WindowException is shown as a warning and kFailed returned.
    int runModal(QWidget* owner);

    int templateId() const { return templateId_; }

    void accept() override { endDialog(kOk); }
    void reject() override { endDialog(kCancel); }

protected:
    // Creates the controls (raises WindowException when that fails).
    virtual void build() {}
    // Called once the dialog stands, before it is shown: fill, then centre.
    virtual void initDialog();
    virtual bool handleMessage(QEvent* event);

    void endDialog(int result) { done(result); }

private:
    bool event(QEvent* event) final;

    int templateId_;
};
