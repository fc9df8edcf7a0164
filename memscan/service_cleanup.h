#pragma once
// Stopping a named service and deleting its entries under both stored
// control sets, for an infected process that could not be ended.

namespace brisko {

// 1 when the service was stopped, else 0. A stop still pending after 30
// polls of a second counts as not stopped.
int stopService(const char* name);

// Deletes the service's Enum and Security subkeys and then its key, under
// ControlSet001 and then ControlSet002. 1 when at least one key was
// deleted, else 0; an empty name deletes nothing.
int deleteServiceEntries(const char* name);

// Deletes HKEY_LOCAL_MACHINE\subkey; 1 on success, else 0.
int deleteMachineKey(const char* subkey);

}  // namespace brisko
