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
    };

    // Where the machine's lock called `name` lies: the file
    // /run/lock/<name>.lock (else in /var/lock, else in /tmp: the first
    // folder where every user may make files), or the mutex Global\<name>
    // on Windows.
    static QString machineWide(const QString &name);

    // Tries once, at once, to take the lock at `location`, as machineWide()
    // gives it or any other file or mutex name of the same kind.
    explicit InstanceLock(const QString &location);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    State state() const { return m_state; }
    QString location() const { return m_location; }
    // Why the lock could not be made, when Unavailable.
    QString error() const { return m_error; }
    // Who holds it, when HeldElsewhere and the system tells: "process 1234
    // (TorvexSetup)"; empty otherwise.
    QString holder() const { return m_holder; }

    // While held, every program started through ChildProcess holds the lock
    // too, as its only inherited descriptor or handle beside the standard
    // ones: the lock then lasts until the last of them has ended.
    void passToStartedPrograms();

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    State m_state = State::Unavailable;
    QString m_location;
    QString m_error;
    QString m_holder;
};
