// Start-up and shut-down.
#include "host/host_services.h"
#include "platform/windows_api.h"
#include "plugin/exports.h"
#include "plugin/option_dialog.h"
#include "watcher/lock_watcher.h"
#include "watcher/status_switch.h"

// Looked up at start-up and held; nothing reads them afterwards.
ServiceHandle enumProtocolsService;
EventHandle infoChangeEvent;

// The record must hold every entry the plug-in calls; the others may be null.
static bool HasCalledEntries(const HostServices* host)
{
    return host != nullptr && host->RegisterService != nullptr && host->GetService != nullptr &&
           host->CallService != nullptr && host->GetEvent != nullptr;
}

extern "C" int32_t ZAVRIK_CALL Initialize(const HostServices* host)
{
    if (!HasCalledEntries(host)) {
        return -1;
    }
    hostServices = *host;
    RegisterOptionService();
    getInfoService = hostServices.GetService("System/Connection/GetInfo");
    setInfoService = hostServices.GetService("System/Connection/SetInfo");
    enumService = hostServices.GetService("System/Connection/Enum");
    enumProtocolsService = hostServices.GetService("System/EnumProtocols");
    infoChangeEvent = hostServices.GetEvent("System/Connection/OnInfoChange");
    InitStatusRecords();
    return StartLockWatcher() ? 0 : -1;
}

extern "C" int32_t ZAVRIK_CALL Terminate(void)
{
    StopLockWatcher();
    return 0;
}
