// A host that holds a set of connections, offers the services the plug-in relies on, checks
// every record it receives and writes every call into the trace. Tests and the scenario
// host share it.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "host/host_services.h"
#include "tools/fakehost/trace.h"

// What "System/Connection/GetInfo" leaves behind for a connection's protocol name.
enum FakeInfoReply {
    ReplyName,        // the protocol name, terminated, cut to the buffer as a host would
    ReplyNothing,     // writes nothing
    ReplyRawBytes,    // the protocol bytes as they stand, no terminator added
    ReplyRedirect,    // points the request at a value record of its own (protocol bytes,
                      // no terminator added, bufferSize claimedSize)
    ReplyNullData,    // clears the request's data pointer
    ReplyNullBuffer,  // clears the value record's buffer pointer
    ReplyResized,     // the name, as ReplyName, but the plug-in's own value record now
                      // claims bufferSize claimedSize
};

struct FakeConnectionSetup {
    std::string name;      // how the trace names the connection
    std::string protocol;  // its protocol's name
    bool hasService = true;     // whether the protocol offers Connection/ChangeUserStatus
    int32_t changeResult = 1;   // what that service returns; non-zero means accepted
    FakeInfoReply reply = ReplyName;
    int32_t claimedSize = 0;  // the bufferSize a ReplyRedirect or ReplyResized record states
};

// A host with no connections, every System/ service present, an empty trace, and the
// stand-in's calls written into the trace.
void FakeHostReset();
// Adds a connection; returns its index. Connections are enumerated in the order added.
int FakeHostAddConnection(const FakeConnectionSetup& setup);
int FakeHostConnectionCount();
const FakeConnectionSetup& FakeHostConnection(int index);
// "System/..." service `name` does not exist: GetService gives 0 for it.
void FakeHostOmitService(const char* name);
// A careless host: after each call, the protocol service writes into the status-change
// record's reserved field, and SetInfo into every field of its request and value record that
// a switch lays out (item, type, buffer, size).
void FakeHostScribbleOnRecords(bool scribble);

// The record handed to Initialize: all nine entries; the five the plug-in must never call
// report a fault.
HostServices FakeHostRecord();

// The status the host stored for a connection through SetInfo item 1002; 0 if none.
int32_t FakeHostStoredStatus(int index);
// Every name the plug-in passed to GetService, in order.
const std::vector<std::string>& FakeHostLookups();
// The number of services the plug-in registered.
int FakeHostRegisteredCount();
// The host calls the plug-in's service `name`; a service never registered is a fault.
int32_t FakeHostCallPluginService(const char* name, intptr_t first, intptr_t second);
