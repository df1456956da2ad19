#pragma once

class MessageBoxes;
class ProcessServices;
class Registry;
class RemoteApi;
class TickSource;

// Everything outside the program that the wizard window reaches, in one place
// so that the program passes the real services and tests pass doubles.
struct Services
{
    MessageBoxes &messages;
    RemoteApi &remoteApi;
    Registry &registry;
    ProcessServices &processes;
    TickSource &ticks;
};
