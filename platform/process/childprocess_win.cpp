#include "platform/process/childprocess.h"

#include "platform/text/systemtexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QWinEventNotifier>

#include <vector>

#include <qt_windows.h>

namespace {

// The handles a started program inherits, and nothing else of ours: the null
// device as its standard streams (as on POSIX, the wizard's output is not its
// to share). An inheritable copy made for this start only, so that no other
// program started meanwhile gets it. The lock is never among them (see
// keepWhileRunning()).
class InheritedHandles
{
public:
    InheritedHandles()
    {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        m_nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                            OPEN_EXISTING, 0, nullptr);
        if (m_nul == INVALID_HANDLE_VALUE) {
            m_nul = nullptr;
            return;
        }
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_storage.resize(size);
        const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size))
            return;
        if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &m_nul, sizeof(HANDLE), nullptr,
                                      nullptr)) {
            m_list = list;
        } else {
            DeleteProcThreadAttributeList(list);
        }
    }
    ~InheritedHandles()
    {
        if (m_list)
            DeleteProcThreadAttributeList(m_list);
        if (m_nul)
            CloseHandle(m_nul);
    }
    InheritedHandles(const InheritedHandles &) = delete;
    InheritedHandles &operator=(const InheritedHandles &) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return m_list; }
    HANDLE nul() const { return m_nul; }

private:
    HANDLE m_nul = nullptr;
    std::vector<char> m_storage;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
};

// Puts a copy of `kept` into the started program `process` that it cannot
// hand on (not inheritable), and that the system closes when it ends: the
// lock then lasts exactly as long as that program, whether or not the wizard
// is still there, and none of the programs it starts gets it. Copied just
// after the start rather than into a suspended program, which would stay
// suspended for good if the wizard were killed in between; a wizard killed in
// that moment takes the lock with it.
void keepWhileRunning(qintptr kept, HANDLE process)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), HANDLE(kept), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
}

} // namespace

void SystemProcessServices::takeChildEndsBack()
{
    // A process handle reports the end whatever the parent inherited.
}

bool ChildProcess::isFullPath(const QString &program)
{
    // A drive and its root (C:\...), or a share (\\server\...).
    const auto separator = [](QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); };
    if (program.size() >= 3 && program.at(0).isLetter() && program.at(1) == QLatin1Char(':'))
        return separator(program.at(2));
    return program.size() >= 3 && separator(program.at(0)) && separator(program.at(1));
}

bool ChildProcess::mayRun(const QString &)
{
    // Windows runs any regular file it can read as a program; there is no
    // permission of its own to check.
    return true;
}

std::unique_ptr<ChildProcess> ChildProcess::start(const LaunchCommand &command, Watch, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = cannotStart(command.program, reason);
        return nullptr;
    };
    if (holdsNul(command))
        return fail(nulInPath());
    // The system's limit for a command line, terminator included: refused
    // here with a reason rather than left to the system.
    if (command.commandLine.size() >= 32767) {
        return fail(QCoreApplication::translate("SystemProcessServices",
                                                "its command line is longer than Windows allows"));
    }

    // The application named is the program itself; the process gets exactly
    // our command line. A process handle is always watched natively.
    const QString program = QDir::toNativeSeparators(command.program);
    QString commandLine = command.commandLine; // CreateProcessW may write into it
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
    // A console manager gets no share of the wizard's console: neither its
    // Ctrl+C and close (a process group of its own) nor its window.
    DWORD flags = CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW;
    const InheritedHandles inherited;
    if (inherited.list()) {
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = startup.StartupInfo.hStdOutput = startup.StartupInfo.hStdError =
            inherited.nul();
        startup.lpAttributeList = inherited.list();
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    }
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(reinterpret_cast<const wchar_t *>(program.utf16()),
                        reinterpret_cast<wchar_t *>(commandLine.data()), nullptr, nullptr,
                        inherited.list() ? TRUE : FALSE, flags, nullptr, nullptr, &startup.StartupInfo, &created)) {
        return fail(systemErrorText(int(GetLastError())));
    }
    CloseHandle(created.hThread);
    if (s_kept != -1)
        keepWhileRunning(s_kept, created.hProcess);
    std::unique_ptr<ChildProcess> child(new ChildProcess(qint64(created.dwProcessId), nullptr));
    child->m_handle = created.hProcess;
    child->m_notifier = new QWinEventNotifier(created.hProcess, child.get());
    connect(child->m_notifier, &QWinEventNotifier::activated, child.get(), &ChildProcess::checkEnd);
    return child;
}

ChildProcess::~ChildProcess()
{
    // The notifier goes before the handle it watches. Closing the handle
    // leaves the process running; Windows keeps no zombies to reap.
    delete m_notifier;
    if (m_handle)
        CloseHandle(m_handle);
}

void ChildProcess::checkEnd()
{
    if (m_ended)
        return;
    DWORD code = 0;
    if (!GetExitCodeProcess(m_handle, &code)) {
        // Never read as an ordinary end with code 0.
        noticeEnd({ProcessEnd::Kind::Unknown, 0});
        return;
    }
    if (code == STILL_ACTIVE && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT)
        return; // a spurious wake-up; 259 is also a code a program may choose
    noticeEnd(ProcessEnd::fromWindowsExitCode(code));
}

void ChildProcess::stopWatching()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
}
