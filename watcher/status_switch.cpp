#include "watcher/status_switch.h"

#include "host/plugin_names.h"
#include "host/service_name.h"
#include "platform/windows_api.h"
#include "watcher/protocol_name.h"

ServiceHandle getInfoService;
ServiceHandle setInfoService;
ServiceHandle enumService;

int32_t statusValue;
ConnectionInfoData statusInfoData;
ConnectionInfo statusInfo;
UserStatusChange statusChange;

void InitStatusRecords()
{
    statusInfo.size = sizeof(ConnectionInfo);
    statusInfo.data = &statusInfoData;
    statusChange.size = sizeof(UserStatusChange);
}

// The host may have written into the records during the previous switch: the parts every
// SetInfo relies on are laid out again before each switch.
static void PrepareStatusInfo()
{
    statusInfo.infoId = InfoUserStatus;
    statusInfoData.type = InfoTypeInteger;
    statusInfoData.buffer = &statusValue;
    statusInfoData.bufferSize = sizeof(statusValue);
}

void SwitchAllConnections(int32_t status)
{
    PrepareStatusInfo();
    statusValue = status;
    statusChange.status = status;
    statusChange.reserved2 = 0;
    hostServices.CallService(enumService, reinterpret_cast<intptr_t>(&ApplyStatusToConnection), 0);
}

static void ReportMissingService()
{
    MessageBoxA(nullptr, "Error", ZAVRIK_NAME, MB_OK | MB_ICONINFORMATION);
}

int32_t ZAVRIK_CALL ApplyStatusToConnection(ConnectionHandle connection, intptr_t /*context*/)
{
    char protocolName[ProtocolNameBufferSize];
    char serviceName[ServiceNameBufferSize];
    // A host that writes nothing leaves an empty name, not whatever the stack held.
    protocolName[0] = '\0';
    ConnectionInfoData curInfoData = {InfoTypeString, protocolName, ProtocolNameBufferSize};
    ConnectionInfo curInfo = {sizeof(ConnectionInfo), InfoProtocolName, &curInfoData};

    hostServices.CallService(getInfoService, reinterpret_cast<intptr_t>(connection),
                             reinterpret_cast<intptr_t>(&curInfo));

    // A name too long for the service name is never cut and looked up under a wrong name:
    // the connection counts as one whose protocol lacks the service.
    const char* name = FindProtocolName(curInfo, protocolName, ProtocolNameBufferSize);
    if (name == nullptr ||
        FormatServiceName(serviceName, ServiceNameBufferSize, CHANGE_USER_STATUS_PATTERN, name) < 0) {
        ReportMissingService();
        return 0;
    }

    const ServiceHandle svc = hostServices.GetService(serviceName);
    if (svc == nullptr) {
        ReportMissingService();
        return 0;
    }
    const int32_t accepted = hostServices.CallService(svc, reinterpret_cast<intptr_t>(connection),
                                                      reinterpret_cast<intptr_t>(&statusChange));
    if (accepted != 0) {
        hostServices.CallService(setInfoService, reinterpret_cast<intptr_t>(connection),
                                 reinterpret_cast<intptr_t>(&statusInfo));
    }
    return 0;
}
