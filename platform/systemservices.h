#pragma once

#include "platform/dialogs/messageboxes.h"
#include "platform/process/processservices.h"
#include "platform/registry/registry.h"
#include "platform/remoteapi/remoteapi.h"
#include "platform/services.h"
#include "platform/time/ticksource.h"

#include <memory>

// The real services of this machine, as the program hands them to the wizard.
struct SystemServices
{
    QtMessageBoxes messages;
    LibraryRemoteApi remoteApi;
    std::unique_ptr<Registry> registry = createSystemRegistry();
    SystemProcessServices processes;
    RealTickSource ticks;

    Services services() { return {messages, remoteApi, *registry, processes, ticks}; }
};
