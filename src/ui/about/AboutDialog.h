#pragma once

#include "ui/framework/Dialog.h"

#include <QFont>

// The version information dialog (template 132): product name, version,
// notice and rights holder, and an OK button. The caller creates it, runs it
// with runModal over the main window and deletes it.
class AboutDialog : public Dialog {
public:
    static constexpr int kTemplate = 132;
    // Control ids of the template; each control carries its id as its
    // object name.
    static constexpr int kProductName = 1053;
    static constexpr int kVersion = 1035;
    static constexpr int kRightsHolder = 1037;
    static constexpr int kLink = 1038;
    static constexpr int kOkButton = 1;

    AboutDialog();

protected:
    void build() override;
    void initDialog() override;

private:
    QFont noticeFont_;
};
