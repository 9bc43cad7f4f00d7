#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

// Asks for one existing recording data file (*.dat in any letter case),
// starting in `initialFolder` (or, when that names a file, in its folder).
// Nothing when the user cancels.
std::optional<QString> chooseDataFile(QWidget* owner, const QString& initialFolder);

// The dialog chooseDataFile runs, set up but not shown.
std::unique_ptr<QFileDialog> createDataFileDialog(QWidget* owner, const QString& initialFolder);

// What actually asks the user; tests install one that answers at once so
// that nothing waits for a modal dialog. Returns the previous one; an empty
// function restores the real dialog.
using DataFileChooserPresenter =
    std::function<std::optional<QString>(QWidget* owner, const QString& initialFolder)>;
DataFileChooserPresenter setDataFileChooserPresenter(DataFileChooserPresenter presenter);
