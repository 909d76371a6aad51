// Switching the user status of every connection the host holds to one value.
#pragma once

#include <stdint.h>

#include "host/host_services.h"
#include "watcher/connection_records.h"

// Handles of the host services a switch uses, looked up by Initialize; a 0 is passed on as
// it is.
extern ServiceHandle getInfoService;
extern ServiceHandle setInfoService;
extern ServiceHandle enumService;

// The records of the current switch, module-wide and used by one switch at a time.
extern int32_t statusValue;
extern ConnectionInfoData statusInfoData;
extern ConnectionInfo statusInfo;
extern UserStatusChange statusChange;

// Sets the constant parts of the module-wide records; called once by Initialize.
void InitStatusRecords();

// Sets every connection to `status` (LockedStatus or UnlockedStatus) through its protocol's
// status-change service, and records the new status in the connection's information.
void SwitchAllConnections(int32_t status);

// The enumeration callback: switches one connection; always returns 0.
int32_t ZAVRIK_CALL ApplyStatusToConnection(ConnectionHandle connection, intptr_t context);
