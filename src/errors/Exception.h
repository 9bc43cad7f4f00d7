#pragma once

#include <QString>

// Every failure travels as one of these, carrying the finished text the user
// sees. Catch sites decide only where and under which caption to show it.
class Exception {
public:
    explicit Exception(QString message) : message_(std::move(message)) {}
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;
    virtual ~Exception() = default;

    const QString& message() const { return message_; }

private:
    QString message_;
};

class IOException : public Exception { public: using Exception::Exception; };
class SystemException : public Exception { public: using Exception::Exception; };
class ImageException : public Exception { public: using Exception::Exception; };
class ImageListViewException : public Exception { public: using Exception::Exception; };
class VideoArchiveException : public Exception { public: using Exception::Exception; };
class FirmInfoException : public Exception { public: using Exception::Exception; };
class WaveAudioException : public Exception { public: using Exception::Exception; };

class WindowException : public Exception {
public:
    using Exception::Exception;
    // The message is the system's text for an error number (errno).
    static WindowException fromError(int errorNumber);
    // The calling thread's errno, taken right after the failing call.
    static WindowException fromLastError();
};

// The recording data vanished while in use and the user has already been
// told. Deliberately outside the Exception family: handlers for Exception
// let it pass.
class DataMissingException {};

// At a cleanup point only the message survives: the caller sees a plain
// Exception, never the subclass.
[[noreturn]] inline void rethrowAsBase(const Exception& e) { throw Exception(e.message()); }
