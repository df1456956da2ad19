#pragma once

#include <QString>

// Makes the kit folder the current one, so that the manager gets exactly the
// paths it would get had Setup been started there. Empty `kit`: stays where
// it is. Returns false, with a message naming the folder, when it cannot.
bool enterKitFolder(const QString &kit, QString *error);
