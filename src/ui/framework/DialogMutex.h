#pragma once

#include <QString>

class QWidget;

// The marker by which instances of the program tell each other that one of
// them has a settings dialog open. Held for the duration of one settings
// operation; another instance holding it only causes warning 5060, and the
// operation goes on. Realised as an exclusive lock on a file in the user's
// runtime folder, which the kernel releases when the holder dies.
class DialogMutex {
public:
    static constexpr const char* kSettingsName = "NOVARRA_VIEWER";

    DialogMutex(const QString& name, QWidget* warningOwner);
    DialogMutex(const DialogMutex&) = delete;
    DialogMutex& operator=(const DialogMutex&) = delete;
    virtual ~DialogMutex();

    bool isHeld() const { return fd_ >= 0; }

    // Where the marker of `name` lives.
    static QString lockFilePath(const QString& name);

private:
    QString name_;
    int fd_ = -1;
};
