#pragma once

#include <QString>

#include <memory>

// Where the program writes its own lines: standard output, standard error, a
// log file. Every write is checked and carried through to its last byte (a
// short write is continued, an interrupted one retried), so that a text is
// either written whole or reported as not written. Files and pipes get UTF-8;
// a Windows console gets the text itself, whatever its code page.
class OutputStream
{
public:
    enum class Standard { Output, Error };

    virtual ~OutputStream() = default;

    // Writes all of `text`; false when it could not, and errorString() says why.
    virtual bool write(const QString &text) = 0;
    // Why the last write failed, or why the stream cannot be written at all
    // (closed, or open for reading only); empty while all is well.
    virtual QString errorString() const = 0;

    // The program's own standard output or error, checked at once.
    static std::unique_ptr<OutputStream> openStandard(Standard which);
    // A log, appended to and created when missing; null, with `error` set,
    // when it cannot be opened. A FIFO is waited on until it has a reader.
    static std::unique_ptr<OutputStream> openLog(const QString &path, QString *error);
};
