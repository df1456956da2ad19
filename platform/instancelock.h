#pragma once

#include <QString>

#include <memory>

// A lock that one program at a time holds on this user's desktop, given up
// when its holder ends however it ends (a killed holder leaves nothing that
// blocks). On Windows a named mutex in the session's namespace; elsewhere a
// lock file in the user's runtime folder (XDG_RUNTIME_DIR, else the temp
// folder, with the user's id in the name).
class InstanceLock
{
public:
    enum class State {
        Held,          // this program holds it until the object is destroyed
        HeldElsewhere, // another program holds it
        Unavailable,   // no lock can be made here (see error())
    };

    // Tries once, at once, to take the lock called `name`.
    explicit InstanceLock(const QString &name);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    State state() const { return m_state; }
    // Why the lock could not be made, when Unavailable.
    QString error() const { return m_error; }

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    State m_state = State::Unavailable;
    QString m_error;
};
