#pragma once

#include <QString>

#include <memory>

// A lock that one program at a time holds on this machine, whoever runs it,
// given up when its holder ends however it ends (a killed holder leaves
// nothing that blocks). On Windows a named mutex whose existence is the lock;
// elsewhere an flock() on a file that every user can open.
class InstanceLock
{
public:
    enum class State {
        Held,          // this program holds it until the object is destroyed
        HeldElsewhere, // another program holds it (see holder())
        Unavailable,   // no lock can be made here (see error())
        Refused,       // a lock the caller named breaks the rules below (see error())
    };

    // Where the lock comes from. The machine's is found in a folder of the
    // system's, and any file there is used as it is. One the caller names is
    // held to stricter rules, or refused: on POSIX a regular file of the
    // caller's own that holds nothing, never reached through a symbolic link
    // at its name (made, empty, where there is none yet); on Windows a plain
    // mutex name, with Local\ or Global\ before it at most.
    enum class Origin { Machine, Caller };

    // Where the machine's lock called `name` lies: the file
    // /run/lock/<name>.lock (else in /var/lock, else in /tmp: the first
    // folder where every user may make files), or the mutex Global\<name>
    // on Windows.
    static QString machineWide(const QString &name);

    // Tries once, at once, to take the lock at `location`, as machineWide()
    // gives it or any other file or mutex name of the same kind.
    explicit InstanceLock(const QString &location, Origin origin = Origin::Machine);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    State state() const { return m_state; }
    QString location() const { return m_location; }
    // Why the lock could not be made, when Unavailable or Refused.
    QString error() const { return m_error; }
    // Who holds it, when HeldElsewhere and the system tells: "process 1234
    // (TorvexSetup)"; empty otherwise.
    QString holder() const { return m_holder; }

    // While held, the lock is also held for exactly as long as each program
    // started through ChildProcess from now on runs, however this program
    // ends, and never for the programs those start in turn (see
    // ChildProcess::setKept()).
    void keepForStartedPrograms();

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    State m_state = State::Unavailable;
    QString m_location;
    QString m_error;
    QString m_holder;
};
