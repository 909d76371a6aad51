#include "tools/fakehost/fake_host.h"

#include <string.h>

#include <vector>

#include "platform/standin/standin_control.h"
#include "watcher/connection_records.h"

namespace {

enum ServiceKind { ServiceGetInfo, ServiceSetInfo, ServiceEnum, ServiceEnumProtocols, ServiceChangeStatus };

struct Service {
    std::string name;
    ServiceKind kind;
    std::string label;  // how the trace names the handle
};

struct RegisteredService {
    std::string name;
    ServiceHandler handler;
};

struct Connection {
    FakeConnectionSetup setup;
    int32_t storedStatus;
    ConnectionInfoData redirected;  // the host's own value record for ReplyRedirect
    std::vector<char> redirectedBytes;  // exactly the protocol's bytes, nothing after them
};

std::vector<Service> services;
std::vector<RegisteredService> registered;
std::vector<Connection> connections;
std::vector<std::string> omitted;
std::vector<std::string> lookups;
bool scribble;
int32_t scribbledValue = 0x77;  // where a scribbling SetInfo points the value record
char eventMarker;  // the one event's handle is this byte's address

constexpr uintptr_t ConnectionHandleBase = 0xC0000;

ConnectionHandle HandleOf(int index)
{
    return reinterpret_cast<ConnectionHandle>(ConnectionHandleBase + 0x10 * static_cast<uintptr_t>(index));
}

Connection* ConnectionOf(intptr_t handle)
{
    const uintptr_t value = static_cast<uintptr_t>(handle);
    if (value < ConnectionHandleBase || (value - ConnectionHandleBase) % 0x10 != 0) {
        return nullptr;
    }
    const size_t index = (value - ConnectionHandleBase) / 0x10;
    return index < connections.size() ? &connections[index] : nullptr;
}

void Fault(const std::string& text)
{
    TraceAdd(TraceFault, "FAULT " + text);
}

bool IsOmitted(const std::string& name)
{
    for (const std::string& o : omitted) {
        if (o == name) {
            return true;
        }
    }
    return false;
}

// Service handles are 1 + the index into `services`.
const Service* ServiceOf(ServiceHandle handle)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    return value >= 1 && value <= services.size() ? &services[value - 1] : nullptr;
}

void AddService(const std::string& name, ServiceKind kind, const std::string& label)
{
    for (const Service& s : services) {
        if (s.name == name) {
            return;
        }
    }
    services.push_back(Service{name, kind, label});
}

std::string Describe(ServiceHandle handle)
{
    const Service* service = ServiceOf(handle);
    return service != nullptr ? service->label : handle == nullptr ? "0" : "?";
}

// ---- the nine entries ----

void ZAVRIK_CALL Entry1() { Fault("entry 1 called"); }
void ZAVRIK_CALL Entry5() { Fault("entry 5 called"); }
void ZAVRIK_CALL Entry7() { Fault("entry 7 called"); }
void ZAVRIK_CALL Entry8() { Fault("entry 8 called"); }
void ZAVRIK_CALL Entry9() { Fault("entry 9 called"); }

int32_t ZAVRIK_CALL RegisterService(const char* name, ServiceHandler handler)
{
    TraceAdd(TraceHost, "RegisterService " + Quoted(name));
    if (name == nullptr || handler == nullptr) {
        Fault("RegisterService without a name or handler");
        return -1;
    }
    registered.push_back(RegisteredService{name, handler});
    return 0;
}

ServiceHandle ZAVRIK_CALL GetService(const char* name)
{
    ServiceHandle handle = nullptr;
    if (name == nullptr) {
        Fault("GetService without a name");
    } else {
        lookups.push_back(name);
        for (size_t i = 0; i < services.size(); ++i) {
            if (services[i].name == name && !IsOmitted(name)) {
                handle = reinterpret_cast<ServiceHandle>(i + 1);
            }
        }
    }
    TraceAdd(TraceHost, "GetService " + Quoted(name) + " -> " + Describe(handle));
    return handle;
}

EventHandle ZAVRIK_CALL GetEvent(const char* name)
{
    const bool known = name != nullptr && strcmp(name, "System/Connection/OnInfoChange") == 0;
    TraceAdd(TraceHost, "GetEvent " + Quoted(name) + " -> " + (known ? "OnInfoChange" : "0"));
    return known ? reinterpret_cast<EventHandle>(&eventMarker) : nullptr;
}

bool CheckInfoRecord(const char* service, const ConnectionInfo* info, int32_t infoId, int32_t type,
                     int32_t bufferSize)
{
    const std::string where = std::string(service) + ": ";
    if (info == nullptr) {
        Fault(where + "no ConnectionInfo");
        return false;
    }
    bool good = true;
    if (info->size != static_cast<int32_t>(sizeof(ConnectionInfo))) {
        Fault(where + "ConnectionInfo size " + std::to_string(info->size));
        good = false;
    }
    if (info->infoId != infoId) {
        Fault(where + "item " + std::to_string(info->infoId));
        good = false;
    }
    if (info->data == nullptr) {
        Fault(where + "no ConnectionInfoData");
        return false;
    }
    if (info->data->type != type || info->data->bufferSize != bufferSize || info->data->buffer == nullptr) {
        Fault(where + "value record type " + std::to_string(info->data->type) + " size " +
              std::to_string(info->data->bufferSize));
        good = false;
    }
    return good;
}

int32_t GetInfo(Connection& connection, ConnectionInfo* info)
{
    const FakeConnectionSetup& setup = connection.setup;
    if (!CheckInfoRecord("GetInfo", info, InfoProtocolName, InfoTypeString, ProtocolNameBufferSize)) {
        TraceAdd(TraceHost, "GetInfo " + setup.name + " refused");
        return 1;
    }
    ConnectionInfoData* data = info->data;
    char* buffer = static_cast<char*>(data->buffer);
    const size_t room = static_cast<size_t>(data->bufferSize);
    std::string shown;
    switch (setup.reply) {
    case ReplyName:
    case ReplyResized: {
        const size_t length = setup.protocol.size() < room ? setup.protocol.size() : room - 1;
        memcpy(buffer, setup.protocol.data(), length);
        buffer[length] = '\0';
        shown = Quoted(std::string(setup.protocol, 0, length).c_str());
        if (setup.reply == ReplyResized) {
            data->bufferSize = setup.claimedSize;
            shown += ", size now " + std::to_string(setup.claimedSize);
        }
        break;
    }
    case ReplyNothing:
        shown = "nothing";
        break;
    case ReplyRawBytes: {
        const size_t length = setup.protocol.size() < room ? setup.protocol.size() : room;
        memcpy(buffer, setup.protocol.data(), length);
        shown = std::to_string(length) + " bytes unterminated";
        break;
    }
    case ReplyRedirect:
        connection.redirectedBytes.assign(setup.protocol.begin(), setup.protocol.end());
        connection.redirected = ConnectionInfoData{InfoTypeString, connection.redirectedBytes.data(), setup.claimedSize};
        info->data = &connection.redirected;
        shown = "its own record of " + std::to_string(setup.claimedSize) + " bytes";
        break;
    case ReplyNullData:
        info->data = nullptr;
        shown = "no record";
        break;
    case ReplyNullBuffer:
        data->buffer = nullptr;
        shown = "no buffer";
        break;
    }
    TraceAdd(TraceHost, "GetInfo " + setup.name + " item 2000 -> " + shown);
    return 0;
}

int32_t SetInfo(Connection& connection, ConnectionInfo* info)
{
    if (!CheckInfoRecord("SetInfo", info, InfoUserStatus, InfoTypeInteger, 4)) {
        TraceAdd(TraceHost, "SetInfo " + connection.setup.name + " refused");
        return 1;
    }
    const int32_t value = *static_cast<const int32_t*>(info->data->buffer);
    if (value != LockedStatus && value != UnlockedStatus) {
        Fault("SetInfo: status " + std::to_string(value));
    }
    connection.storedStatus = value;
    TraceAdd(TraceHost, "SetInfo " + connection.setup.name + " item 1002 = " + std::to_string(value));
    if (scribble) {
        info->infoId = InfoProtocolName;
        info->data->type = InfoTypeString;
        info->data->buffer = &scribbledValue;
        info->data->bufferSize = ProtocolNameBufferSize;
    }
    return 0;
}

int32_t ChangeUserStatus(Connection& connection, UserStatusChange* change)
{
    if (change == nullptr) {
        Fault("ChangeUserStatus: no record");
        return 0;
    }
    if (change->size != 16 || change->reserved1 != 0 || change->reserved2 != 0) {
        Fault("ChangeUserStatus: size " + std::to_string(change->size) + " reserved " +
              std::to_string(change->reserved1) + " " + std::to_string(change->reserved2));
    }
    if (change->status != LockedStatus && change->status != UnlockedStatus) {
        Fault("ChangeUserStatus: status " + std::to_string(change->status));
    }
    const int32_t result = connection.setup.changeResult;
    TraceAdd(TraceHost, "ChangeUserStatus " + connection.setup.name + " status " + std::to_string(change->status) +
                            " -> " + std::to_string(result));
    if (scribble) {
        change->reserved2 = 0x77;
    }
    return result;
}

int32_t Enumerate(intptr_t first, intptr_t second)
{
    TraceAdd(TraceHost, "Enum");
    if (first == 0 || second != 0) {
        Fault("Enum: callback " + Hex(static_cast<uint32_t>(first)) + " context " + Hex(static_cast<uint32_t>(second)));
        return -1;
    }
    const ConnectionCallback callback = reinterpret_cast<ConnectionCallback>(first);
    for (size_t i = 0; i < connections.size(); ++i) {
        const int32_t result = callback(HandleOf(static_cast<int>(i)), second);
        if (result != 0) {
            Fault("Enum: callback returned " + std::to_string(result));
        }
    }
    TraceAdd(TraceHost, "Enum end");
    return 0;
}

int32_t ZAVRIK_CALL CallService(ServiceHandle handle, intptr_t first, intptr_t second)
{
    const Service* service = ServiceOf(handle);
    if (service == nullptr) {
        TraceAdd(TraceHost, "CallService " + Describe(handle) + " -> no such service");
        return -1;
    }
    if (service->kind == ServiceEnum) {
        return Enumerate(first, second);
    }
    if (service->kind == ServiceEnumProtocols) {
        Fault("System/EnumProtocols called");
        return -1;
    }
    Connection* connection = ConnectionOf(first);
    if (connection == nullptr) {
        Fault(service->name + ": unknown connection " + Hex(static_cast<uint32_t>(first)));
        return -1;
    }
    switch (service->kind) {
    case ServiceGetInfo:
        return GetInfo(*connection, reinterpret_cast<ConnectionInfo*>(second));
    case ServiceSetInfo:
        return SetInfo(*connection, reinterpret_cast<ConnectionInfo*>(second));
    case ServiceChangeStatus:
        if ("Protocol/" + connection->setup.protocol + "/Connection/ChangeUserStatus" != service->name) {
            Fault(service->name + " called for " + connection->setup.name);
        }
        return ChangeUserStatus(*connection, reinterpret_cast<UserStatusChange*>(second));
    default:
        return -1;
    }
}

// ---- the stand-in's calls, into the trace ----

void Observe(const StandInEvent* event, void* /*context*/)
{
    switch (event->kind) {
    case StandInEvOpenDesktop:
        TraceAdd(TraceProbe, "OpenDesktopA " + Quoted(event->text) + " " + Hex(event->flags) + " " +
                                 std::to_string(event->inherit) + " " + Hex(event->access) + " -> " +
                                 (event->result != 0 ? "desktop" : "NULL"));
        break;
    case StandInEvSwitchDesktop:
        TraceAdd(TraceProbe, "SwitchDesktop -> " + std::to_string(event->result));
        break;
    case StandInEvCloseDesktop:
        TraceAdd(TraceProbe, "CloseDesktop -> " + std::to_string(event->result));
        break;
    case StandInEvSetTimer:
        TraceAdd(TraceTimer, "SetTimer " + std::to_string(event->handle) + " " + std::to_string(event->period) +
                                 " -> " + (event->result != 0 ? "timer" : "0"));
        break;
    case StandInEvKillTimer:
        TraceAdd(TraceTimer, "KillTimer -> " + std::to_string(event->result));
        break;
    case StandInEvTick:
        TraceAdd(TraceTick, event->depth > 1 ? "tick (inside a box)" : "tick");
        break;
    case StandInEvBoxOpen:
        TraceAdd(TraceBox, "MessageBoxA " + Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event->owner))) +
                               " " + Quoted(event->text) + " " + Quoted(event->caption) + " " + Hex(event->style));
        break;
    case StandInEvBoxClose:
        TraceAdd(TraceBox, std::string("box closed by ") + event->closedBy);
        break;
    case StandInEvBoxRefused:
        TraceAdd(TraceBox, "no box: MessageBoxA " + Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event->owner))) +
                               " " + Quoted(event->text) + " " + Quoted(event->caption) + " " + Hex(event->style) +
                               " -> 0, the owner is not a window");
        break;
    case StandInEvTickEnd:
    case StandInEvAction:
        break;
    }
}

}  // namespace

void FakeHostReset()
{
    services.clear();
    registered.clear();
    connections.clear();
    omitted.clear();
    lookups.clear();
    scribble = false;
    AddService("System/Connection/GetInfo", ServiceGetInfo, "GetInfo");
    AddService("System/Connection/SetInfo", ServiceSetInfo, "SetInfo");
    AddService("System/Connection/Enum", ServiceEnum, "Enum");
    AddService("System/EnumProtocols", ServiceEnumProtocols, "EnumProtocols");
    TraceClear();
    StandInSetObserver(Observe, nullptr);
}

int FakeHostAddConnection(const FakeConnectionSetup& setup)
{
    connections.push_back(Connection{setup, 0, {}, {}});
    if (setup.hasService) {
        AddService("Protocol/" + setup.protocol + "/Connection/ChangeUserStatus", ServiceChangeStatus,
                   setup.protocol + "/ChangeUserStatus");
    }
    return static_cast<int>(connections.size()) - 1;
}

int FakeHostConnectionCount()
{
    return static_cast<int>(connections.size());
}

const FakeConnectionSetup& FakeHostConnection(int index)
{
    return connections.at(static_cast<size_t>(index)).setup;
}

void FakeHostOmitService(const char* name)
{
    omitted.push_back(name);
}

void FakeHostScribbleOnRecords(bool on)
{
    scribble = on;
}

HostServices FakeHostRecord()
{
    return HostServices{Entry1, RegisterService, GetService, CallService, Entry5, GetEvent, Entry7, Entry8, Entry9};
}

int32_t FakeHostStoredStatus(int index)
{
    return connections.at(static_cast<size_t>(index)).storedStatus;
}

const std::vector<std::string>& FakeHostLookups()
{
    return lookups;
}

int FakeHostRegisteredCount()
{
    return static_cast<int>(registered.size());
}

int32_t FakeHostCallPluginService(const char* name, intptr_t first, intptr_t second)
{
    for (const RegisteredService& service : registered) {
        if (service.name == name) {
            TraceAdd(TracePlugin, std::string("call ") + name);
            const int32_t result = service.handler(first, second);
            TraceAdd(TracePlugin, std::string(name) + " -> " + std::to_string(result));
            return result;
        }
    }
    Fault(std::string("no registered service ") + name);
    return -1;
}
