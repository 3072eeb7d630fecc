#pragma once

#include <QString>

#include <optional>

#include "ledger/inifile.h"
#include "netimport/fnet.h"

namespace netimport {

// The "net" section of ini.ini: url (the default service address when the key is missing),
// proxy, proxyport and id. The password has no key: it is never written.
NetFields ReadNetFields(const ledger::IniFile& ini);

// Writes the fields back. A text that is shown as it was read keeps its bytes. A text with a
// character that has no CP932 form is not written (its key keeps its old value); the message
// says which. nullopt when everything was written.
std::optional<QString> WriteNetFields(ledger::IniFile& ini, const NetFields& fields);

}  // namespace netimport
