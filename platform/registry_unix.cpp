#include "platform/registry.h"

std::unique_ptr<Registry> createSystemRegistry()
{
    return std::make_unique<RegFileRegistry>(RegFileRegistry::defaultPath());
}
