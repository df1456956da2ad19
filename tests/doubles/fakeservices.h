#pragma once

#include "doubles/scriptedmessageboxes.h"
#include "platform/process/processservices.h"
#include "platform/registry/registry.h"
#include "platform/remoteapi/remoteapi.h"
#include "platform/services.h"
#include "platform/time/ticksource.h"

#include <QHash>
#include <QList>

#include <functional>

// A handheld that answers or not, and counts the calls made to it.
class FakeRemoteApi final : public RemoteApi
{
public:
    int32_t CeRapiInitEx(RapiInit *init) override;
    int32_t CeGetVersionEx(unsigned char *record) override;

    bool connected = true;
    bool libraryMissing = false; // every call throws, as an unbound library does
    int initCalls = 0;
    int versionCalls = 0;
};

class FakeRegistry final : public Registry
{
public:
    std::optional<QString> defaultValue(uint32_t hive, const QString &keyPath, QString *whyNot = nullptr) override;

    QHash<QString, QString> localMachine; // key path -> default value
    QStringList queries;
};

// A process that ends when end() is called: by the test, or by the services
// below on their own.
class FakeProcess final : public LaunchedProcess
{
public:
    bool hasEnded() const override { return m_ended; }
    ProcessEnd howEnded() const override { return m_end; }
    void end(ProcessEnd how = {});

private:
    bool m_ended = false;
    ProcessEnd m_end;
};

class FakeProcessServices final : public ProcessServices
{
public:
    QString currentDirectory() const override { return directory; }
    bool isReadableFile(const QString &path) const override { return !missingFiles.contains(path); }
    ProgramCheck checkProgram(const QString &program) const override
    {
        return programs.value(program, ProgramCheck::Runnable);
    }
    std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) override;

    QString directory = QStringLiteral("/opt/torvex");
    QStringList missingFiles;  // full paths; every other file is there
    QHash<QString, ProgramCheck> programs; // every other program is runnable
    QList<LaunchCommand> started;
    QString failWith;          // non-empty: every start fails with this reason
    int autoEndMs = 0;         // processes end this long after starting; < 0: only by the test
    QList<FakeProcess *> running;
    std::function<void(const LaunchCommand &)> onStart;
};

// Timers that run `speedUp` times faster than real time (at least 0 ms).
class FastTickSource final : public TickSource
{
public:
    explicit FastTickSource(int speedUp = 1000) : m_speedUp(speedUp) {}
    QTimer *createTimer(std::chrono::milliseconds interval, QObject *parent) override;

private:
    int m_speedUp;
};

// All the doubles together, ready to hand to a Form1.
struct FakeServices
{
    ScriptedMessageBoxes messages;
    FakeRemoteApi remoteApi;
    FakeRegistry registry;
    FakeProcessServices processes;
    FastTickSource ticks;

    Services services() { return {messages, remoteApi, registry, processes, ticks}; }
};
